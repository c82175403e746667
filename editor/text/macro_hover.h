// What the phrase text control's hover help looks at: the word under the
// mouse, the macro written in it, the tip's markup, and whether the mouse
// is really over a link.
#pragma once
#include <windows.h>

#include <richedit.h>

#include <string>

// The run of characters without blanks or line breaks at a client point;
// empty when the point lies more than 20 pixels below the last line, over
// a blank, or the text is empty.
std::wstring GetWordAtPoint(HWND control, POINT client);
// The first macro of the table written anywhere in the word, else the full
// form of a macro with an argument whose opening part begins the word
// ("%PROMPT_TEXT={abc}%" gives "%PROMPT_TEXT={}%"); empty for none. The
// word is trimmed of "\r\n\t " first; shorter than two characters: none.
std::wstring FindMacroInWord(const std::wstring& word);
// The tip's HTML; empty when the description is.
std::wstring MakeMacroTipHtml(const std::wstring& title, const std::wstring& macro,
                              const std::wstring& description);
// True when the character at the client point lies in the link range and
// the point is no further from that character's top than its height.
bool IsCursorOverLink(HWND control, const CHARRANGE& link, POINT client);
