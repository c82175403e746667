// Menu command ranges the editor fills at run time; the language file never
// translates them.
#pragma once
#include <windows.h>

constexpr UINT kLanguageItemFirst = 30000;
constexpr UINT kLanguageItemLast = 30049;
constexpr UINT kMacroItemFirst = 30100;
constexpr UINT kMacroItemLast = 30149;
constexpr UINT kRecentFolderFirst = 30150;
constexpr UINT kRecentFolderLast = 30159;

inline bool IsInRange(UINT id, UINT first, UINT last) { return id >= first && id <= last; }
