// The editor's lists of language files: the Language submenu and the
// language drop-down list. The menu itself is built by the foundation's
// BuildLanguageMenu; the editor has ids for at most 50 items.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "editor_settings/helpers/menu_ranges.h"
#include "foundation/localization/language_files.h"

constexpr size_t kLanguageMenuMostItems = kLanguageItemLast - kLanguageItemFirst + 1;

// The empty name (built-in English) first, then the program folder's
// "*.lng" files but excluded (any letter case), sorted without regard to
// case. 1 when the folder could be searched, 0 when no file matched.
int FindLngFiles(std::vector<std::wstring>& list, const std::wstring& excluded);

// The caption of one entry as the drop-down list shows it: the language's
// own name, else the file name; "English (Embedded)" for the empty entry.
std::wstring GetLanguageDisplayName(const std::wstring& entry);

// Empties the combo box and adds one item per entry, in the list's order
// (each item's data is its index in the list): "<prefix>: <name>", or the
// name alone for an empty prefix. An empty list is filled first with
// FindLngFiles, leaving out "LocalizeExample.lng". The entry equal to
// current (any letter case) is selected.
void FillLanguageCombo(HWND combo, const std::wstring& current, std::vector<std::wstring>& list,
                       const std::wstring& displayPrefix);
