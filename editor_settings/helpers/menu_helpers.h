// Menus built from menu resources and the texts of their items.
#pragma once
#include <windows.h>

#include <string>

// Called for each item with the id; false stops the search.
typedef bool (*MenuItemCallback)(HMENU menu, UINT id, void* context);

// True when the menu (and, with recurse, its pop-ups) holds an item with
// the id. callback may be null.
bool FindMenuItem(HMENU menu, UINT id, MenuItemCallback callback, void* context, bool recurse);
// Appends the command of the program's menu resource (its text, at most 256
// characters) to the menu. False when the menu holds it already, or the
// resource or the command in it is missing.
bool AppendResourceMenu(HMENU menu, UINT id, UINT menuResourceId);
// The item's text (of any length) without a trailing ellipsis; empty when
// the menu has no such item.
std::wstring GetMenuItemText(HMENU menu, UINT id);
std::wstring GetMenuItemTextFromResource(UINT menuResourceId, UINT id);
// The text up to its first tab: without the shortcut.
std::wstring GetMenuItemTextNoShortcut(HMENU menu, UINT id);
