// Small clipboard operations of the insertion: reading the clipboard text,
// putting one or several formats on it, and the paste key sequence.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

// A GMEM_MOVEABLE | GMEM_ZEROINIT block holding the bytes; null on failure.
HGLOBAL GlobalWithBytes(const void* data, size_t bytes);

// The clipboard's CF_UNICODETEXT, zero-terminated, in a buffer from
// VirtualAlloc; null when there is no text or the clipboard cannot be read.
wchar_t* GetClipboardTextCopy();
void FreeClipboardTextCopy(wchar_t* buffer);

// Empties the clipboard, puts the bytes under the format and CF_LOCALE with
// the thread locale beside them; true when the data itself was set.
bool PutDataOnClipboard(UINT format, const void* data, size_t bytes);
bool PutTextOnClipboard(const std::wstring& text);

// Format id -> bytes; set in ascending id. True when at least one was set.
using ClipboardFormatTable = std::map<UINT, std::vector<BYTE>>;
bool PutFormatsOnClipboard(const ClipboardFormatTable& formats);

// Releases held modifiers, then Ctrl+V; with wait, paced like a person.
void SendCtrlV(bool wait);
// Ctrl+V, then n presses of the Left arrow.
void PasteAndMoveCaretLeft(int n);
// After which Left presses (1-based) PasteAndMoveCaretLeft sleeps a
// millisecond, so a long caret walk does not flood the target.
std::vector<int> CaretPacingSleeps(int n);
