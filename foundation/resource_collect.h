// Collects the built-in texts of a program module (its own, or another
// program file loaded with LOAD_LIBRARY_AS_DATAFILE) into a language file:
// dialog control texts straight from the dialog templates, without creating
// the dialogs, and menu item texts. Keys already in the file stay.
#pragma once
#include <windows.h>

#include <string>

// Writes each control text of dialog dialogId that the section
// "Dialog[_name]_<id>" lacks; edit, rich edit, up-down and combo-box
// controls and controls without a text are left out. The number of keys
// written, or -1 when the template is missing or malformed.
int CollectDialogTexts(const std::wstring& lngFile, HMODULE module, WORD dialogId,
                       const std::wstring& name);
// Writes every item of menu resource menuId into "Menu" + suffix through the
// menu writer; false when the menu is missing.
bool CollectMenuTexts(const std::wstring& lngFile, HMODULE module, WORD menuId,
                      const std::wstring& suffix);
