// A phrase file whose queued write failed after the save was reported: the
// main frame hears of it on its own thread, logs it, shows it in the status
// bar, beeps, and marks the text modified again when that phrase is still
// shown, so that the next commit tries the write once more.
#pragma once
#include <windows.h>

#include <string>

#include <vector>

// Posted to the frame to wake it: the failures wait in a queue of this
// module, so the message carries nothing (any process may post it).
constexpr UINT kPhraseWriteFailedMessage = WM_APP + 0x61;
// The queue keeps at most this many failures; more are only counted.
constexpr size_t kMaxQueuedWriteFailures = 64;

struct PhraseWriteFailure {
  std::wstring path;
  DWORD error = 0;
};

// Routes the writer's failures to the window (null: stops, and the queue
// is emptied).
void WatchPhraseWriteFailures(HWND frame);
// The failures queued since the last call, oldest first; *dropped gets the
// number that did not fit the queue.
std::vector<PhraseWriteFailure> TakePhraseWriteFailures(size_t* dropped);
class CDocument;

// The frame's work for one notice (doc: the frame's document, may be null);
// the text for the status bar.
std::wstring HandlePhraseWriteFailure(CDocument* doc, const std::wstring& path, DWORD error);
