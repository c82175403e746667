#include "foundation/files/ini.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace {
constexpr DWORD kSectionChars = 102400;
}

bool IsProfileFileWithin(const wchar_t* path, unsigned long maxBytes) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!path || !GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return true;
  return data.nFileSizeHigh == 0 && data.nFileSizeLow <= maxBytes;
}

bool IniWriteString(const wchar_t* iniPath, const wchar_t* section, const wchar_t* key,
                    const wchar_t* value) {
  // A null value would delete the key; this helper never deletes.
  return WritePrivateProfileStringW(section, key, value ? value : L"", iniPath) != FALSE;
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
