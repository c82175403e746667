// Language files: UTF-16 ini files (".lng") holding the translations of the
// programs' menus, dialogs and strings, where they lie, the process-wide
// current language, and the list of languages with its popup menu.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

constexpr wchar_t kLngMainSection[] = L"Main";
constexpr wchar_t kLngKeyPrefix[] = L"LangPrefix";
constexpr wchar_t kLngKeyAuthor[] = L"Author";
constexpr wchar_t kLngKeyLocalized[] = L"LangLocalized";
// Section suffixes of the three programs (menu and string sections).
constexpr wchar_t kLngSuffixClient[] = L"_Client";
constexpr wchar_t kLngSuffixEditor[] = L"_Editor";
constexpr wchar_t kLngSuffixWelcome[] = L"_Welcome";
inline std::wstring GetClientSuffix() { return kLngSuffixClient; }
inline std::wstring GetWelcomeSuffix() { return kLngSuffixWelcome; }

struct LangFileInfo {
  std::wstring name;    // "LangLocalized"
  std::wstring author;  // "Author"
};

// Folder of the language files, with one trailing backslash: the program
// folder, or its parent when the program sits in a "Debug" or "Release"
// build folder.
std::wstring GetLngFolder();
// The same rule for any program folder (with or without trailing backslash).
std::wstring GetLngFolderOf(std::wstring programFolder);
// The language file's path in that folder. An empty name stands for
// "LocalizeExample.lng", and the caller's variable is set to that name.
std::wstring GetLngFilePath(std::wstring& fileName);
std::wstring GetLngFilePath(const wchar_t* fileName);
std::wstring GetLocalizeExampleFileName();
// "LocalizeExample.lng" in the folder of the given path; empty when the path
// has no folder part.
std::wstring GetLocalizeExamplePath(const std::wstring& lngPath);
// True when path names the example file itself (names compared ignoring case).
bool IsLocalizeExampleFile(const std::wstring& lngPath);

// Writes the 32-bit value 0xFEFF (bytes FF FE 00 00) at the file position.
bool WriteUnicodeBom(HANDLE file);
// Creates a missing file with the UTF-16 header so that the profile
// functions write UTF-16 into it; an existing file is left alone.
void CreateLangFile(const std::wstring& path);
// A missing file is created and gets the three header keys with defaults.
void WriteLangFileHeader(const std::wstring& path);

std::wstring GetLangLocalizedName(const std::wstring& path);
std::wstring GetLangPrefix(const std::wstring& path);
int GetLangFileInfo(const std::wstring& path, LangFileInfo* info);
std::wstring GetEmbeddedLanguageName();

int SetCurrentLanguage(const std::wstring& path);
std::wstring GetCurrentLanguage();

// File names of the language folder's "*.lng" files, sorted ignoring case,
// after an empty first entry standing for the built-in English. leaveOut
// (may be null) is not listed. False when the folder cannot be searched.
bool EnumLanguageFiles(std::vector<std::wstring>& list, const wchar_t* leaveOut);
// The file name of the first listed language file whose LangPrefix equals
// prefix (ignoring case); empty when none does.
std::wstring FindLanguageFileByPrefix(const std::wstring& prefix);
// One string item per entry, ids firstId, firstId + 1...; the entry equal
// to current becomes the default item with a radio check. The caption is
// the language's own name, else the file name without its extension.
// Entries past maxItems are left out (their ids would fall outside the
// caller's range). False for an empty list.
bool BuildLanguageMenu(HMENU menu, UINT firstId, const std::vector<std::wstring>& list,
                       const std::wstring& current, size_t maxItems = static_cast<size_t>(-1));

bool IsRussianLangCode(const std::wstring& code);
bool IsRussianLangFile(const std::wstring& path);
std::wstring GetFallbackLangPrefix(const std::wstring& code);
bool IsDifferentNoCase(const std::wstring& a, const std::wstring& b);

// Profile access shared by the localisers. The read returns the number of
// characters read (def is returned for a missing key); reads and writes
// with an empty file path do nothing, since the profile functions would
// take WIN.INI then. The write creates a missing file with the UTF-16
// header first, and refuses a file past kMaxLngFileBytes, which the reads
// take as empty.
DWORD ReadLngValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   const wchar_t* def, DWORD maxChars, std::wstring* out);
bool WriteLngValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value);
