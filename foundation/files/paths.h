// Paths of the running program, parts of paths, temporary names and file
// names made from text. Failures give an empty string.
#pragma once
#include <string>

// Full path of the running program file.
std::wstring GetModulePath();
// Program folder; with withSlash it ends with exactly one backslash, without
// it all trailing backslashes are removed.
std::wstring GetAppFolderEx(bool withSlash);
std::wstring GetAppFolder();
std::wstring GetAppFolderWithSlash();

// Extension with its dot ("C:\a\b.txt" -> ".txt"); empty when none.
std::wstring GetFileExt(const std::wstring& path);
// File name with extension.
std::wstring GetFileNameFromPath(const std::wstring& path);
// Drive and folder. Without noBackslash it ends with one backslash; with it
// the trailing backslash goes, except for a bare drive ("X:\").
std::wstring GetFolderFromPath(const std::wstring& path, bool noBackslash);
// The user's temporary folder, with trailing backslash.
std::wstring GetTempFolder();

// ".ext" for "ext"; an extension with its dot and an empty one stay.
std::wstring EnsureLeadingDot(const std::wstring& ext);
// A name for a new file in folder (empty: the temporary folder) that no file
// has yet, such as "abcd1A2B.tmp.txt" for extension "txt"; the file is not
// created. Empty on failure.
std::wstring MakeTempFileName(const std::wstring& folder, const std::wstring& ext);
std::wstring GetTempFileNameWithExt(const std::wstring& ext);

// Expands %NAME% tokens of the environment; tokens naming no variable stay.
std::wstring ExpandEnvVars(const std::wstring& text);
// A file name from the first line of text: unsafe characters (and blanks
// with replaceSpaces) become "_", runs of "_" shrink, at most maxLength
// characters when maxLength > 0.
std::wstring MakeFileNameFromText(const std::wstring& text, bool replaceSpaces, int maxLength);
