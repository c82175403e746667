// Conversions through one hidden rich edit control per process, a child of
// the converter parent window (the tray window), on that window's thread.
#pragma once
#include <windows.h>

#include <string>

void SetHiddenRichEditParent(HWND parent);
// The hidden control, created on first use; null while it cannot be made
// (no parent yet), and the next call tries again.
HWND GetHiddenRichEdit();

// The plain text of RTF; plain text comes back as it was. RTF that our own
// reader knows is read without the control, with the control's result.
std::wstring RtfToPlainText(const std::wstring& rtfOrText);
std::wstring PlainTextViaRichEdit(const wchar_t* text);

// In-place rewrites of an 8-bit RTF buffer of size bytes (its string
// length): the result is written back only when it is shorter, and the
// count of changes is returned; 0 leaves the buffer untouched.
int RtfLineBreaksToSpaces(char* rtf, size_t size);
int RtfRemoveCharacters(char* rtf, size_t size, const std::wstring& characters);

// The RTF (or 8-bit plain text) in upper or lower case, as RTF of plain
// black text without bold, italic, underline, strike-out, protection or
// links; empty when it could not be loaded. RTF that our own reader knows
// is rewritten directly; RtfChangeCaseViaRichEdit always takes the control.
std::string RtfChangeCase(const std::string& rtf, bool upper);
std::string RtfChangeCaseViaRichEdit(const std::string& rtf, bool upper);
