// Moving text into and out of a rich edit control by streaming.
//
// RTF is held as text of 8-bit characters (every character <= 0xFF): it is
// narrowed to bytes for SF_RTF stream-in and stream-out bytes are widened
// one to one. Plain text goes in and out as UTF-16 (SF_TEXT | SF_UNICODE).
// Only data that begins with an RTF group is streamed as RTF: some rich edit
// versions refuse anything else, which would lose the text.
#pragma once
#include <windows.h>

#include <string>

// Replaces the whole contents; true when the control read any character.
bool RichEditStreamIn(HWND edit, const void* bytes, size_t count, bool unicode, bool rtf);

// True when the text begins with "{\rtf" or "{\urtf" (ASCII case ignored).
bool LooksLikeRtf(const wchar_t* text, size_t length);
// True for UTF-16 RTF that announces itself as Unicode: longer than six
// characters and beginning with "{\urtf" (ASCII case ignored).
bool IsUnicodeRtfText(const std::wstring& text);

// RTF held as text narrowed to the bytes of 8-bit RTF. Characters above
// 0xFF (and, in a "{\urtf" text, above 0x7F) become \uN escapes, which
// every rich edit version reads.
std::string NarrowRtf(const std::wstring& text);

// RTF (8-bit characters, or a Unicode "{\urtf" text) or plain text.
bool RichEditSetText(HWND edit, const std::wstring& text);
bool RichEditSetUnicodeText(HWND edit, const wchar_t* text);
// 8-bit RTF, or 8-bit plain text in the ANSI code page.
bool RichEditSetRtfA(HWND edit, const char* rtf);

// Character positions of the text (a paragraph mark counts one).
int RichEditCharCount(HWND edit);
// Characters of the whole text or of the selection.
int RichEditTextLength(HWND edit, bool selection);

// Contents as plain UTF-16 text or as RTF widened to UTF-16, of the whole
// text or of the selection. Empty, without streaming, when there is no text.
std::wstring RichEditStreamOut(HWND edit, bool plain, bool selection);
std::wstring RichEditGetRtf(HWND edit);
std::wstring RichEditGetText(HWND edit);
std::wstring RichEditGetSelText(HWND edit);
std::string RichEditGetRtfA(HWND edit, bool selection);

// Replaces every occurrence (ASCII case ignored, as the control's search
// does) and returns the count. The search goes on behind each replacement,
// so a replacement may contain the searched text.
int RichEditReplaceAll(HWND edit, const std::wstring& find, const std::wstring& replacement);

// Removes ch from the end and then from the start of the text and returns
// how many were removed; 0 when the text ends up empty (a text made only of
// ch counts as unchanged, though the control is then empty).
int RichEditTrimChar(HWND edit, wchar_t ch);
