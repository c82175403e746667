// Texts of the clipboard-history pane: its titles, the list's one-line
// captions, the hint of an empty list and the info tip's details.
#pragma once
#include <windows.h>

#include <string>

class CCHItem;

constexpr int kListTextMaxChars = 999;

// The localised text of a string id of the program.
std::wstring PaneString(UINT id);
std::wstring FormatItemNumber(int n);  // "%d."

// "Clipboard History[n] : Quillora", the pane's window title.
std::wstring HistoryPaneTitle(int count);
// "Quillora : Clipboard History [n]", the history caption other parts ask
// the tray window for.
std::wstring HistoryCaptionText(int count);

// A caption as one list line: line feeds and double blanks become one
// blank, CR/LF/TAB go from both ends; at most kListTextMaxChars characters.
std::wstring ListCaptionText(const std::wstring& caption);

// Broken into two lines at the first blank at or after the middle.
std::wstring BreakAtMiddleBlank(const std::wstring& text);
// The hint of an empty list: both hint strings broken, an empty line between.
std::wstring EmptyListHint();

// Image of an item in the list's image list: 5 when hovered, else by kind;
// -1 without an item.
int HistoryItemImage(const CCHItem* item, bool hovered);

// "Loaded from: [path]" / "Saved to: [path]", empty for an item without file.
std::wstring GetHistoryFileStateText(const CCHItem& item);

// The info tip's text of an item whose list text is listText: source URL,
// caption, kind, formats, size or length, lines, time and file state.
std::wstring HistoryItemDetails(const CCHItem& item, const std::wstring& listText);

// Copies at most capacity - 1 characters and terminates; nothing without
// a buffer. The number of characters copied.
int CopyToBuffer(const std::wstring& text, wchar_t* buffer, int capacity);
