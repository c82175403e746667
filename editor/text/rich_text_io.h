// The editor's rich-text I/O on any rich edit window: streaming through
// memory, the visible character range, and the Text Object Model helpers
// (range text, overtype, find-all). Every function answers "" or false
// instead of failing: no window, no OLE interface, a failed call.
//
// RTF follows the foundation's rule: held as text of 8-bit characters,
// narrowed to bytes on the way in and widened one to one on the way out.
// The plain text of stored RTF comes from the foundation's hidden converter
// (RtfToPlainText in foundation/ui/rich_edit_convert.h).
#pragma once
#include <windows.h>

#include <richedit.h>

#include <string>

struct ITextDocument;
struct ITextRange;

namespace rich_text {

// The whole text or the selection, as plain UTF-16 text (textMode) or as
// RTF widened to UTF-16; "" for an empty control.
std::wstring StreamOut(HWND window, bool textMode, bool selectionOnly);
std::wstring GetRtf(HWND window);
std::wstring GetPlainText(HWND window);
std::wstring GetSelectedPlainText(HWND window);

// Replaces the contents; true when the control read any character. The
// control's text limit is raised first where the data could exceed it, so
// a long text is never cut on load.
bool StreamIn(HWND window, const void* bytes, size_t length, bool unicode, bool rtf);
// RTF of 8-bit characters or a "{\urtf" UTF-16 text (narrowed first);
// anything that is not RTF goes in as plain text.
bool StreamInByPrefix(HWND window, const std::wstring& text);
// 8-bit RTF (a clipboard paste).
bool StreamInAnsiRtf(HWND window, const std::string& rtf);

// First character of the first visible line and the character at the
// client area's bottom-right corner.
bool GetVisibleRange(HWND window, LONG* first, LONG* last);

// The document and ranges of the control; the caller releases them.
ITextDocument* GetTextDocument(HWND window);
ITextRange* GetRange(HWND window, LONG first, LONG last);
std::wstring GetRangeText(HWND window, LONG first, LONG last);
std::wstring GetLinkText(HWND window, const CHARRANGE& range);

// Overtype mode through the selection's flags. Some rich edit versions
// cannot report them: known (when given) is then false and the caller
// follows the mode itself.
bool IsOvertype(HWND window, bool* known = nullptr);
bool SetOvertype(HWND window, bool on);

// One match of FindAll. The callback may set resumeAt and action bit
// kFindResumeSet to move the search on to resumeAt (else it goes on from
// start + 1), and kFindRenewText to search for the caller's string afresh.
struct FindMatch {
  LONG start;
  LONG end;
  LONG resumeAt;
  UINT action;
};
constexpr UINT kFindResumeSet = 1;
constexpr UINT kFindRenewText = 2;
// Find flags: tomMatchWord (2) and tomMatchCase (4).
constexpr UINT kMatchWord = 2;
constexpr UINT kMatchCase = 4;
// False stops the search.
typedef bool (*FindAllCallback)(HWND window, FindMatch& match, void* context);

// Every occurrence of what in start..end (end -1: to the end of the text);
// the number of matches.
int FindAll(HWND window, const std::wstring& what, UINT flags, LONG start, LONG end,
            FindAllCallback callback, void* context);
// The first occurrence in start..end; false when there is none.
bool FindFirst(HWND window, const std::wstring& what, UINT flags, LONG start, LONG end, CHARRANGE* found);

}  // namespace rich_text
