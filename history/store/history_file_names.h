// Names of the files of the clipboard history: bases, numbers, extensions,
// and what a name says about the kind of its data.
#pragma once
#include <string>

class CCHItem;

// "." + the extension of the item's kind; empty for an unknown kind.
std::wstring GetHistoryFileExtension(const CCHItem& item);
std::wstring GetHistoryFileExtension(int kind);
// "clipboard_history", with "Unicode_" in front for Unicode text.
std::wstring GetHistoryBaseName(const CCHItem& item);
std::wstring GetHistoryBaseName(int kind);
// folder + "\" + base + N + extension for the first N from 1 that no file
// has; empty when none is free.
std::wstring MakeUniqueHistoryFileName(const std::wstring& folder, const std::wstring& extension,
                                       const std::wstring& base);
// The extension without its dot, case-insensitive: "bmp" 4, "bnd" 3,
// "txt" 1, "rtf" 2, "html" 5, anything else 1.
int GetKindFromExtension(const std::wstring& path);
// A ".txt" whose file name begins with "Unicode_".
bool IsUnicodeTextFile(const std::wstring& path);
// A bare file name that stays inside the folder it is joined to: not empty,
// no "\", "/", ":" and not "." or "..".
bool IsPlainFileName(const std::wstring& name);
