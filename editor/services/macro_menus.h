// Macro menus and the descriptions of macros shown in menu tips.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The macros a macro menu lists, in menu order: the fixed macros first,
// then one per keyboard layout, never more than the id range holds (50).
std::vector<std::wstring> GetMenuMacroNames();
// The macro of a macro menu item (id 30100 + position); empty for any
// other id.
std::wstring GetMenuMacroName(UINT id);
// Appends one string item per listed macro, ids from 30100 on; the number
// of items appended.
int FillMacroMenu(HMENU menu);

// The macro expansion of a text for a preview (caret marks and layout
// macros taken out, no selected or clipboard text).
std::wstring ExpandForPreview(const std::wstring& text);

// The localised string id of a macro's description; 0 for an unknown macro.
UINT GetMacroDescriptionId(const std::wstring& macro);
// The macro's description, and "\r\r  [value]" behind it when its value for
// the foreground window is not empty; empty for an unknown macro.
std::wstring GetMacroDescription(const std::wstring& macro);

// Tip texts are cut to this many characters, so that a huge clipboard or
// selection cannot make a tip the size of the screen.
constexpr size_t kTipValueChars = 200;
// The text cut to kTipValueChars.
std::wstring CutForTip(const std::wstring& text);
