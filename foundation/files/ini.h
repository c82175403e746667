// Thin helpers over the Private-Profile functions for UTF-16 ini files.
// Every helper takes the ini file's full path first; failure is reported by
// the result only.
#pragma once
#include <string>

constexpr int kIniValueChars = 260;  // read buffer: at most 259 characters kept

bool IniWriteString(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key,
                    const wchar_t* value);
bool IniWriteInt(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, int value);
// Copies the value into out (kIniValueChars characters); false and out
// untouched when the value is empty or missing.
bool IniReadString(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key,
                   wchar_t* out);
// Convenience form of the above: empty when missing or empty.
std::wstring IniReadString(const std::wstring& iniPath, const wchar_t* section, const wchar_t* key);
int IniReadInt(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, int def);
// Case-sensitive test for an entry named exactly key (the profile reads ignore case).
bool IniKeyExists(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key);
