// A phrase file whose queued write failed after the save was reported: the
// main frame hears of it on its own thread, logs it, shows it in the status
// bar, beeps, and marks the text modified again when that phrase is still
// shown, so that the next commit tries the write once more.
#pragma once
#include <windows.h>

#include <string>

// Posted to the frame: lParam a heap-allocated std::wstring (the path) that
// the receiver takes with TakePhraseWriteFailurePath, wParam the system
// error code.
constexpr UINT kPhraseWriteFailedMessage = WM_APP + 0x61;
// The path a failure message carries, or null when lParam is no path this
// process posted (any program can post the message); each is taken once.
std::wstring* TakePhraseWriteFailurePath(LPARAM lParam);

// Routes the writer's failures to the window (null: stops).
void WatchPhraseWriteFailures(HWND frame);
class CDocument;

// The frame's work for one notice (doc: the frame's document, may be null);
// the text for the status bar.
std::wstring HandlePhraseWriteFailure(CDocument* doc, const std::wstring& path, DWORD error);
