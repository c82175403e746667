// Shell icons of the document types the editor writes, and the display
// names of registered classes. Every icon returned belongs to the caller.
#pragma once
#include <windows.h>

#include <string>

// The icon of the first of ".doc", ".docx", ".rtf" that has an associated
// program; null when none has.
HICON GetRichDocumentIcon();
// The icon of ".txt" files.
HICON GetTextDocumentIcon();
// Under HKEY_CLASSES_ROOT: the name of the CLSID the class names, else the
// class key's own default value; empty when neither exists.
std::wstring GetRegClassDisplayName(const std::wstring& classKey);
// The same, under the name the editor's helpers know it by.
inline std::wstring GetRegClassDisplayNameStr(const std::wstring& classKey) { return GetRegClassDisplayName(classKey); }
// True when the shell finds a program for files of the extension (asked of
// a temporary file of that type).
bool HasAssociatedProgram(const std::wstring& ext);
