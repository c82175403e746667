// Keys of Settings.ini that live outside the settings object: read and
// written on demand by the parts that need them.
#include <windows.h>

#include <cwchar>

#include "foundation/files/ini.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "settings/settings_names.h"

namespace sn = settings_names;

namespace {

constexpr int kDelayInsertDefault = 400;

std::wstring Join(const wchar_t* a, const wchar_t* b) { return std::wstring(a) + b; }

SYSTEMTIME FirstCheckDate() {
  SYSTEMTIME st = {};
  st.wYear = 2013;
  st.wMonth = 1;
  st.wDayOfWeek = 2;
  st.wDay = 1;
  return st;
}

}  // namespace

int CQLRSettings::GetDelayInsertMilliseconds() {
  std::wstring ini = GetSettingsIniPath();
  int value = IniReadInt(ini.c_str(), sn::kSettings, sn::kDelayInsertMilliseconds, -1);
  if (value != -1) return value;
  IniWriteInt(ini.c_str(), sn::kSettings, sn::kDelayInsertMilliseconds, kDelayInsertDefault);
  return kDelayInsertDefault;
}

bool CQLRSettings::SaveSkippedVersions(const std::vector<int>& versions) {
  if (versions.empty()) return false;
  std::wstring text;
  for (int version : versions) {
    if (!text.empty()) text += L',';
    text += std::to_wstring(version);
  }
  return IniWriteString(GetSettingsIniPath().c_str(), sn::kSettings, sn::kSkippedVersions,
                        text.c_str());
}

bool CQLRSettings::LoadSkippedVersions(std::vector<int>& versions) {
  std::wstring text = ReadSettingsString(sn::kSkippedVersions, L"");
  if (text.empty()) return false;
  versions.clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(L',', start);
    std::wstring piece = text.substr(start, comma == std::wstring::npos ? std::wstring::npos
                                                                         : comma - start);
    int version = 0;
    // A piece that is no number is skipped rather than taken as 0.
    if (swscanf(piece.c_str(), L"%d", &version) == 1) versions.push_back(version);
    if (comma == std::wstring::npos) break;
    start = comma + 1;
  }
  return true;
}

bool CQLRSettings::GetLastCheckForUpdates(SYSTEMTIME& utc) {
  const std::wstring lowKey = Join(sn::kLastCheckForUpdates, sn::kLowSuffix);
  const std::wstring highKey = Join(sn::kLastCheckForUpdates, sn::kHiSuffix);
  // Never checked: the first automatic check is due the configured days
  // after now, and the dialogs show now rather than a date of 1601.
  if (ReadSettingsString(lowKey.c_str(), L"").empty() && ReadSettingsString(highKey.c_str(), L"").empty()) {
    GetSystemTime(&utc);
    SetLastCheckForUpdates(utc);
    return true;
  }
  FILETIME def = {};
  SystemTimeToFileTime(&utc, &def);
  FILETIME stored;
  stored.dwLowDateTime =
      static_cast<DWORD>(ReadSettingsInt(lowKey.c_str(), static_cast<int>(def.dwLowDateTime)));
  stored.dwHighDateTime =
      static_cast<DWORD>(ReadSettingsInt(highKey.c_str(), static_cast<int>(def.dwHighDateTime)));
  if (FileTimeToSystemTime(&stored, &utc)) return true;
  utc = FirstCheckDate();
  SetLastCheckForUpdates(utc);
  return true;
}

bool CQLRSettings::GetLastCheckForUpdatesLocal(SYSTEMTIME& local) {
  SYSTEMTIME utc = local;
  bool stored = GetLastCheckForUpdates(utc);
  FILETIME utcTime, localTime;
  if (SystemTimeToFileTime(&utc, &utcTime) && FileTimeToLocalFileTime(&utcTime, &localTime) &&
      FileTimeToSystemTime(&localTime, &local))
    return stored;
  local = utc;
  return true;
}

bool CQLRSettings::SetLastCheckForUpdates(const SYSTEMTIME& utc) {
  FILETIME ft;
  if (!SystemTimeToFileTime(&utc, &ft)) return false;
  std::wstring ini = GetSettingsIniPath();
  bool low = IniWriteInt(ini.c_str(), sn::kSettings, Join(sn::kLastCheckForUpdates, sn::kLowSuffix).c_str(),
                         static_cast<int>(ft.dwLowDateTime));
  bool high = IniWriteInt(ini.c_str(), sn::kSettings, Join(sn::kLastCheckForUpdates, sn::kHiSuffix).c_str(),
                          static_cast<int>(ft.dwHighDateTime));
  return low && high;
}

std::wstring CQLRSettings::ReadString(const wchar_t* key, const wchar_t* def) {
  return ReadSettingsString(key, def);
}

bool CQLRSettings::WriteString(const wchar_t* key, const std::wstring& value) {
  return IniWriteString(GetSettingsIniPath().c_str(), sn::kSettings, key, value.c_str());
}

bool CQLRSettings::WriteWindowPos(const wchar_t* key, int x, int y) {
  std::wstring ini = GetSettingsIniPath();
  bool okX = IniWriteInt(ini.c_str(), sn::kAgent, Join(key, sn::kWindowPosX).c_str(), x);
  bool okY = IniWriteInt(ini.c_str(), sn::kAgent, Join(key, sn::kWindowPosY).c_str(), y);
  return okX && okY;
}

bool CQLRSettings::ReadWindowPos(const wchar_t* key, POINT& point) {
  std::wstring ini = GetSettingsIniPath();
  point.x = IniReadInt(ini.c_str(), sn::kAgent, Join(key, sn::kWindowPosX).c_str(), point.x);
  point.y = IniReadInt(ini.c_str(), sn::kAgent, Join(key, sn::kWindowPosY).c_str(), point.y);
  return true;
}

std::wstring CQLRSettings::ClipboardSpyMethodOptionsToStr(int value) {
  switch (value) {
    case -1:
      return L"Auto (CSMO_ADDCLIPBOARDLISTENER is available, or CSMO_SETCLIPBOARDVIEWER in other)";
    case 0:
      return L"CSMO_SETCLIPBOARDVIEWER";
    case 1:
      return L"CSMO_ADDCLIPBOARDLISTENER";
    default:
      return L"Cannot get ClipboardSpyMethodOptionsToStr";
  }
}
