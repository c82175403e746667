// Collects the built-in texts of a program module (its own, or another
// program file loaded with LOAD_LIBRARY_AS_DATAFILE) into a language file:
// dialog control texts straight from the dialog templates, without creating
// the dialogs, menu item texts and string-table texts. Keys already in the
// file stay; each section is read once and written once.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The result of a collection whose write into the language file failed.
constexpr int kLngCollectWriteFailed = -2;

// Writes each control text of dialog dialogId that the section
// "Dialog[_name]_<id>" lacks; edit, rich edit, up-down and combo-box
// controls and controls without a text are left out. The number of keys
// written, -1 when the template is missing or malformed, or
// kLngCollectWriteFailed.
int CollectDialogTexts(const std::wstring& lngFile, HMODULE module, WORD dialogId,
                       const std::wstring& name);
// Writes every item of menu resource menuId into "Menu" + suffix through the
// menu writer. The number of keys written, -1 when the menu is missing, or
// kLngCollectWriteFailed.
int CollectMenuTexts(const std::wstring& lngFile, HMODULE module, WORD menuId,
                      const std::wstring& suffix);
// Writes the built-in text of each listed string id that "Strings" + suffix
// lacks, escaped as the string loader reads it. Ids without a text are left
// out. Unlike binding the process-wide loader, this touches neither the
// current language nor the example file. The number of keys written, or
// kLngCollectWriteFailed.
int CollectStringTexts(const std::wstring& lngFile, HMODULE module, const std::vector<UINT>& ids,
                       const std::wstring& suffix);

// The ids of the module's resources of one type, in the order the
// enumeration reports them; a resource with a name instead of a number
// counts as 0.
std::vector<UINT> EnumResourceIds(HMODULE module, LPCWSTR type);
