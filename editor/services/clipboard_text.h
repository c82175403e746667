// The editor's clipboard reads. Text is always CF_UNICODETEXT; data that
// another program put there is read no further than its block's size and
// its first zero character.
#pragma once
#include <windows.h>

#include <string>

// The window that opens the clipboard when a caller names none (the main
// frame sets itself here when it is created).
void SetClipboardOwnerWindow(HWND window);
HWND GetClipboardOwnerWindow();

// The data handle of an available format, the clipboard opened (with no
// owner) and closed again around the read; null otherwise.
HANDLE GetClipboardDataHandle(UINT format);
// The clipboard's Unicode text; false and the empty text when there is none
// or the clipboard cannot be opened.
bool GetClipboardText(std::wstring& out, HWND owner = nullptr);
// A copy of the clipboard's Unicode text in a new committed block of the
// data's size + 2 bytes, always ending in a zero character (a block of odd
// size loses its last byte). The caller frees it with VirtualFree
// (MEM_RELEASE). Null when there is no text or it cannot be read.
wchar_t* CopyClipboardUnicodeText();
// The registered "Rich Text Format", registered once.
UINT GetRtfClipboardFormat();

// The text of a CF_UNICODETEXT block: at most its size, up to its first
// zero character.
std::wstring ReadUnicodeBlock(HGLOBAL data);
