#include "settings/settings_files.h"

#include <windows.h>
#include <shlobj.h>

#include <mutex>

#include "foundation/files/files.h"
#include "foundation/files/ini.h"
#include "foundation/files/paths.h"
#include "foundation/system/handles.h"
#include "foundation/system/security.h"
#include "settings/settings_read_batch.h"

namespace sn = settings_names;

namespace {

constexpr DWORD kTwoFileStringChars = 2601;

std::mutex g_foldersLock;
std::wstring g_programFolder;  // test overrides
std::wstring g_profileFolder;
// The user's profile folder stays where it is while a program runs: the
// shell's first answer is kept, or every key read would ask it again.
std::wstring g_shellProfileFolder;

std::wstring WithSlash(std::wstring folder) {
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder + L'\\';
}

std::wstring ProfileFolder() {
  {
    std::lock_guard<std::mutex> lock(g_foldersLock);
    if (!g_profileFolder.empty()) return g_profileFolder;
    if (!g_shellProfileFolder.empty()) return g_shellProfileFolder;
  }
  wchar_t buf[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buf, CSIDL_PROFILE, FALSE)) return std::wstring();
  std::lock_guard<std::mutex> lock(g_foldersLock);
  g_shellProfileFolder = buf;
  return g_shellProfileFolder;
}

std::wstring ProductFolder() {
  std::wstring profile = ProfileFolder();
  if (profile.empty()) return std::wstring();
  return WithSlash(profile) + sn::kProductFolder;
}

// The three ways a key of one file is read. While a read batch is active,
// they answer from the sections it holds.
const CIniSectionView* BatchSection(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
  CSettingsReadBatch* batch = CSettingsReadBatch::Current();
  return batch ? batch->Section(path, section, key) : nullptr;
}

std::wstring FileString(const std::wstring& path, const wchar_t* section, const wchar_t* key, DWORD chars) {
  if (const CIniSectionView* view = BatchSection(path, section, key)) return view->String(key, chars);
  if (path.empty() || !IsProfileFileWithin(path.c_str(), kMaxSettingsFileBytes)) return std::wstring();
  std::wstring buf(chars, L'\0');
  DWORD n = GetPrivateProfileStringW(section, key, L"", &buf[0], chars, path.c_str());
  buf.resize(n);
  return buf;
}

int FileInt(const std::wstring& path, const wchar_t* section, const wchar_t* key, int def) {
  if (const CIniSectionView* view = BatchSection(path, section, key)) return view->Int(key, def);
  if (path.empty() || !IsProfileFileWithin(path.c_str(), kMaxSettingsFileBytes)) return def;
  return static_cast<int>(GetPrivateProfileIntW(section, key, def, path.c_str()));
}

bool FileHasKey(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
  if (const CIniSectionView* view = BatchSection(path, section, key)) return view->HasKeyExactly(key);
  return !path.empty() && IniKeyExists(path.c_str(), section, key);
}

std::wstring ProgramFile() {
  CSettingsReadBatch* batch = CSettingsReadBatch::Current();
  return batch ? batch->ProgramFile() : GetProgramFolderSettingsPath();
}

std::wstring UserFile() {
  CSettingsReadBatch* batch = CSettingsReadBatch::Current();
  return batch ? batch->UserFile() : GetUserSettingsPath(false);
}

// A new settings file starts with the UTF-16 byte-order mark: the profile
// functions write a file without one in the ANSI code page, which would turn
// every character outside it (folder names, language names) into "?".
void CreateUnicodeIniFile(const std::wstring& path, SECURITY_ATTRIBUTES* sa, DWORD attributes) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, sa,
                                CREATE_NEW, attributes, nullptr));
  if (!file) return;
  static const BYTE kBom[2] = {0xFF, 0xFE};
  DWORD written = 0;
  WriteFile(file.Get(), kBom, sizeof(kBom), &written, nullptr);
}

}  // namespace

void SetSettingsFolders(const std::wstring& programFolder, const std::wstring& profileFolder) {
  std::lock_guard<std::mutex> lock(g_foldersLock);
  g_programFolder = programFolder.empty() ? std::wstring() : WithSlash(programFolder);
  g_profileFolder = profileFolder;
}

std::wstring GetSettingsProgramFolder() {
  {
    std::lock_guard<std::mutex> lock(g_foldersLock);
    if (!g_programFolder.empty()) return g_programFolder;
  }
  return GetAppFolderWithSlash();
}

bool IsPortableRun() { return IsOnRemovableDrive(GetSettingsProgramFolder()); }

std::wstring GetProgramFolderSettingsPath() {
  std::wstring folder = GetSettingsProgramFolder();
  std::wstring path = folder + sn::kIniFileName;
  if (IsFileExist(path)) return path;
  // Only where the user may write: an administrator's copy must not leave a
  // file behind that later runs of a plain user cannot change.
  std::wstring bare = folder.substr(0, folder.size() - 1);
  if (!CanWriteFile(bare)) return path;
  EveryoneSecurity everyone;
  if (everyone.Get()) CreateUnicodeIniFile(path, everyone.Get(), FILE_ATTRIBUTE_SYSTEM);
  return path;
}

std::wstring GetUserSettingsPath(bool createFolder) {
  std::wstring product = ProductFolder();
  if (product.empty()) return std::wstring();
  std::wstring path = product + L'\\' + sn::kIniFileName;
  if (!createFolder || IsPortableRun()) return path;
  EveryoneSecurity everyone;
  if (GetFileAttributesW(product.c_str()) == INVALID_FILE_ATTRIBUTES)
    CreateDirectoryW(product.c_str(), everyone.Get());
  if (!IsFileExist(path)) CreateUnicodeIniFile(path, everyone.Get(), FILE_ATTRIBUTE_NORMAL);
  return path;
}

std::wstring GetSettingsIniPath() {
  std::wstring programFile = GetProgramFolderSettingsPath();
  if (IsPortableRun()) return programFile;
  bool useProgramFile;
  if (IsFileExist(programFile)) {
    useProgramFile = CanWriteFile(programFile);
  } else {
    std::wstring folder = GetSettingsProgramFolder();
    useProgramFile = CanWriteFile(folder.substr(0, folder.size() - 1));
  }
  if (useProgramFile) return programFile;
  std::wstring userFile = GetUserSettingsPath(true);
  // Without a profile folder the file beside the program is all there is.
  return userFile.empty() ? programFile : userFile;
}

int ReadSettingsInt(const wchar_t* key, int def, const wchar_t* section) {
  const std::wstring programFile = ProgramFile();
  // A key present beside the program always wins, whichever file is in use.
  if (FileHasKey(programFile, section, key)) return FileInt(programFile, section, key, def);
  return FileInt(UserFile(), section, key, def);
}

std::wstring ReadSettingsString(const wchar_t* key, const wchar_t* def, const wchar_t* section) {
  std::wstring value = FileString(ProgramFile(), section, key, kTwoFileStringChars);
  if (value.empty()) value = FileString(UserFile(), section, key, kTwoFileStringChars);
  if (value.empty() && def) value = def;
  return value;
}

bool SettingsKeyExists(const wchar_t* key, const wchar_t* section) {
  return FileHasKey(ProgramFile(), section, key) || FileHasKey(UserFile(), section, key);
}

std::wstring ReadLanguage(const std::wstring& iniPath) {
  const std::wstring files[] = {iniPath, ProgramFile(), UserFile()};
  for (const std::wstring& file : files) {
    std::wstring value = FileString(file, sn::kSettings, sn::kLanguage, kIniValueChars);
    if (!value.empty()) return value;
  }
  return std::wstring();
}

bool WriteLanguage(const std::wstring& language, const std::wstring& iniPath) {
  return IniWriteString(iniPath.c_str(), sn::kSettings, sn::kLanguage,
                        GetFileNameFromPath(language).c_str());
}

int ReadWriteLog(int def) {
  return IniReadInt(GetSettingsIniPath().c_str(), sn::kSettings, sn::kWriteLog, def);
}

bool WriteWriteLog(int value) {
  return IniWriteInt(GetSettingsIniPath().c_str(), sn::kSettings, sn::kWriteLog, value);
}

bool IsWelcomeAlreadyStarted() {
  return IniReadInt(GetSettingsIniPath().c_str(), sn::kSettings, sn::kWelcomeAlreadyStarted, 0) != 0;
}

bool IsInstalledByInstaller() {
  UniqueHKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, sn::kInstallerKey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
    return false;
  wchar_t text[50] = {};
  DWORD size = 99;  // bytes; the spare ones keep the text terminated
  DWORD type = 0;
  LONG rc = RegQueryValueExW(key.Get(), sn::kInstallerValue, nullptr, &type,
                             reinterpret_cast<BYTE*>(text), &size);
  return rc == ERROR_SUCCESS && size != 0 && text[0] != L'\0';
}
