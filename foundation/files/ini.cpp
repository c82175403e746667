#include "foundation/files/ini.h"

#include <windows.h>

#include <cwchar>
#include <set>
#include <vector>

#include "foundation/logging/log.h"
#include "foundation/system/handles.h"

namespace {
constexpr DWORD kSectionChars = 102400;
constexpr DWORD kFirstSectionChars = 32 * 1024;
constexpr DWORD kMostSectionChars = 8 * 1024 * 1024;
constexpr size_t kMostLoggedFiles = 64;
}  // namespace

bool IsProfileFileWithin(const wchar_t* path, unsigned long maxBytes) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!path || !GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return true;
  return data.nFileSizeHigh == 0 && data.nFileSizeLow <= maxBytes;
}

bool IsProfileFileWritable(const wchar_t* path, unsigned long maxBytes) {
  if (IsProfileFileWithin(path, maxBytes)) return true;
  static SRWLOCK lock = SRWLOCK_INIT;
  static auto* logged = new std::set<std::wstring>();  // lives until the process ends
  std::wstring folded = path;
  CharLowerBuffW(&folded[0], static_cast<DWORD>(folded.size()));
  // Counted once it is said: a refusal while the log is closed (an
  // unreadable settings file leaves it closed until the user opens it) is
  // told again at the next one. The lock keeps two threads from both
  // telling it; logging only queues the line.
  {
    SrwExclusiveLock hold(lock);
    if (logged->size() < kMostLoggedFiles && logged->count(folded) == 0 &&
        LogError(L"[" + std::wstring(path) + L"] is larger than " + std::to_wstring(maxBytes) +
                 L" bytes: it is read as empty and nothing is written into it"))
      logged->insert(folded);
  }
  // Callers that report a failed save name this reason.
  SetLastError(ERROR_FILE_TOO_LARGE);
  return false;
}

bool IniWriteString(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key,
                    const wchar_t* value) {
  if (!IsProfileFileWritable(iniPath, kMaxSettingsFileBytes)) return false;
  // A null value would delete the key; this helper never deletes.
  return WritePrivateProfileStringW(section, key, value ? value : L"", iniPath) != FALSE;
}

bool IniWriteStruct(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, const void* data,
                    unsigned size) {
  if (!IsProfileFileWritable(iniPath, kMaxSettingsFileBytes)) return false;
  return WritePrivateProfileStructW(section, key, const_cast<void*>(data), size, iniPath) != FALSE;
}

bool IniWriteInt(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, int value) {
  wchar_t text[64];
  swprintf(text, 64, L"%d", value);
  return IniWriteString(iniPath, section, key, text);
}

bool IniReadString(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key,
                   wchar_t* out) {
  wchar_t buf[kIniValueChars] = {};
  if (!IsProfileFileWithin(iniPath, kMaxSettingsFileBytes)) return false;
  GetPrivateProfileStringW(section, key, L"", buf, kIniValueChars, iniPath);
  if (buf[0] == L'\0') return false;
  wcscpy(out, buf);
  return true;
}

std::wstring IniReadString(const std::wstring& iniPath, const wchar_t* section,
                           const wchar_t* key) {
  wchar_t buf[kIniValueChars] = {};
  if (!IniReadString(iniPath.c_str(), section, key, buf)) return std::wstring();
  return buf;
}

int IniReadInt(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key, int def) {
  if (!IsProfileFileWithin(iniPath, kMaxSettingsFileBytes)) return def;
  return static_cast<int>(GetPrivateProfileIntW(section, key, def, iniPath));
}

bool IniKeyExists(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key) {
  if (!IsProfileFileWithin(iniPath, kMaxSettingsFileBytes)) return false;
  std::vector<wchar_t> buf(kSectionChars, L'\0');
  DWORD read = GetPrivateProfileSectionW(section, buf.data(), kSectionChars, iniPath);
  if (read == 0 || !key) return false;
  size_t keyLen = wcslen(key);
  size_t pos = 0;
  while (pos < read) {
    const wchar_t* entry = buf.data() + pos;
    size_t len = wcsnlen(entry, read - pos);
    if (len == 0) return false;
    const wchar_t* eq = wmemchr(entry, L'=', len);
    size_t nameLen = eq ? static_cast<size_t>(eq - entry) : len;
    if (nameLen == keyLen && wmemcmp(entry, key, keyLen) == 0) return true;
    pos += len + 1;
  }
  return false;
}

std::vector<std::wstring> ReadIniSection(const std::wstring& path, const wchar_t* section,
                                         unsigned long maxBytes, bool* complete) {
  std::vector<std::wstring> entries;
  if (complete) *complete = true;
  if (path.empty() || !IsProfileFileWithin(path.c_str(), maxBytes)) return entries;
  for (DWORD size = kFirstSectionChars; size <= kMostSectionChars; size *= 4) {
    std::wstring buf(size, L'\0');
    DWORD n = GetPrivateProfileSectionW(section, &buf[0], size, path.c_str());
    // size - 2 means the section was cut to fit.
    if (n + 2 >= size) continue;
    for (size_t pos = 0; pos < n;) {
      size_t end = buf.find(L'\0', pos);
      if (end == std::wstring::npos || end > n) end = n;
      if (end > pos) entries.push_back(buf.substr(pos, end - pos));
      pos = end + 1;
    }
    return entries;
  }
  if (complete) *complete = false;
  return entries;
}
