// The editor's reader of the tray program's shared settings area: the main
// hotkey and a handed-over selected text. A missing or malformed area
// gives empty values (key and modifiers 0, no text).
#pragma once
#include <windows.h>

#include <string>

// The record's UTF-8 text: between 1 and 51200 bytes up to its first 0,
// which must lie inside the mapped view; otherwise empty.
std::string ReadSettingsAreaText();
// True when the record was found; each output may be null.
bool ReadSettingsArea(WORD* key, WORD* modifiers, bool* doubled, std::wstring* selectedText);
bool ReadMainHotkey(WORD* key, WORD* modifiers, bool* doubled);
std::wstring GetSelectedTextFromArea();
