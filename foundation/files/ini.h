// Thin helpers over the Private-Profile functions for UTF-16 ini files.
// Every helper takes the ini file's full path first; failure is reported by
// the result only.
#pragma once
#include <string>
#include <vector>

constexpr int kIniValueChars = 260;  // read buffer: at most 259 characters kept

// The profile functions read the whole file again at every call, so a file
// past its bound is read as empty (each read gives its default) rather than
// stalling the program: settings files hold a few kilobytes, language files
// a few hundred. Such a file is never written either: what the programs
// would write into it are the defaults they read, over the values it holds.
constexpr unsigned long kMaxSettingsFileBytes = 256 * 1024;
constexpr unsigned long kMaxLngFileBytes = 768 * 1024;
// False when the file exists and is larger than maxBytes.
bool IsProfileFileWithin(const wchar_t* path, unsigned long maxBytes);
// The same test before a write; a file past its bound is logged once per
// program run and leaves ERROR_FILE_TOO_LARGE as the last error.
bool IsProfileFileWritable(const wchar_t* path, unsigned long maxBytes);

// The writers refuse a file past kMaxSettingsFileBytes (false).
bool IniWriteString(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key,
                    const wchar_t* value);
bool IniWriteInt(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, int value);
// A structure in the profile functions' hexadecimal form with its checksum.
bool IniWriteStruct(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, const void* data,
                    unsigned size);
// Copies the value into out (kIniValueChars characters); false and out
// untouched when the value is empty or missing.
bool IniReadString(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key,
                   wchar_t* out);
// Convenience form of the above: empty when missing or empty.
std::wstring IniReadString(const std::wstring& iniPath, const wchar_t* section, const wchar_t* key);
int IniReadInt(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, int def);
// Case-sensitive test for an entry named exactly key (the profile reads ignore case).
bool IniKeyExists(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key);
// The section's "key=value" lines as GetPrivateProfileSectionW returns them,
// the buffer grown until they fit. A file larger than maxBytes reads as
// empty; complete (when given) is false for a section too long to read whole.
std::vector<std::wstring> ReadIniSection(const std::wstring& path, const wchar_t* section,
                                         unsigned long maxBytes, bool* complete = nullptr);
