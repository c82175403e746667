// Where Settings.ini lies and how a key is read when there are two of them.
//
// The file beside the programs is used when the suite runs from a removable
// or network drive or when the user may write there; otherwise a file in the
// product folder of the user's profile. Writes go to the file in use; most
// reads prefer the file beside the programs when it holds the key. The choice
// is made again on every access, never cached: the editor, the welcome
// program and the tray program may each change the files at any time. Only
// within one load may the readers answer from sections read once for it
// (settings_read_batch.h); nothing read is kept past that load.
#pragma once
#include <string>

#include "settings/settings_names.h"

// Test seam: the folders the two files are placed in. Empty means the real
// ones (the running program's folder, the user's profile folder).
void SetSettingsFolders(const std::wstring& programFolder, const std::wstring& profileFolder);
// Program folder with a trailing backslash.
std::wstring GetSettingsProgramFolder();

std::wstring GetSettingsIniPath();
// Creates the file (empty, everyone may use it) when it is missing and the
// folder is writable.
std::wstring GetProgramFolderSettingsPath();
// Empty when the profile folder is unknown.
std::wstring GetUserSettingsPath(bool createFolder);
bool IsPortableRun();

int ReadSettingsInt(const wchar_t* key, int def,
                    const wchar_t* section = settings_names::kSettings);
std::wstring ReadSettingsString(const wchar_t* key, const wchar_t* def,
                                const wchar_t* section = settings_names::kSettings);
// Whether either file holds an entry named exactly key (case and all).
bool SettingsKeyExists(const wchar_t* key, const wchar_t* section = settings_names::kSettings);

// Language: the given file first, then the program-folder file, then the
// per-user file; the first non-empty value.
std::wstring ReadLanguage(const std::wstring& iniPath);
// Writes only the file-name part of language.
bool WriteLanguage(const std::wstring& language, const std::wstring& iniPath);

int ReadWriteLog(int def);
bool WriteWriteLog(int value);
bool IsWelcomeAlreadyStarted();
bool IsInstalledByInstaller();
