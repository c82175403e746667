// Texts of history items: captions for menus and lists, the plain text of
// an item, and the history appended to a popup menu.
#pragma once
#include <windows.h>

#include <string>

#include "history/store/history_item.h"

constexpr int kHistoryMenuCaptionChars = 50;

// The item's text: kind 0 through the ANSI code page, kind 1 as is, kind 2
// as the plain text of its RTF; names for kinds 3 and 4.
std::wstring HistoryItemKindText(const CCHItem& item);
// The text of the item when it has one (kinds 0, 1 and 2), else empty.
std::wstring HistoryItemPlainText(const CCHItem& item);
// What inserting the item puts into the target: kinds 0 and 1 their text
// (dataType 0), kind 2 its RTF one byte per character (dataType 1); false
// for the kinds without text.
bool HistoryItemInsertText(const CCHItem& item, std::wstring* text, int* dataType);
// maxChars <= 0: no limit. A cut never splits a surrogate pair.
std::wstring HistoryItemCaption(const CCHItem& item, int maxChars, bool firstLineOnly);

// Deletes the items with ids first..last; with 5 or more items left, every
// separator goes as well.
void RemoveMenuItemRange(HMENU menu, UINT first, UINT last);
