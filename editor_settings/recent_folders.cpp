#include "editor_settings/recent_folders.h"

#include <windows.h>

#include <cwchar>
#include <set>

#include "editor_settings/editor_settings_names.h"
#include "foundation/files/ini.h"
#include "settings/settings_files.h"

namespace esn = editor_settings_names;

namespace {

struct NoCaseLess {
  bool operator()(const std::wstring& a, const std::wstring& b) const {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
  }
};

std::wstring EntryKey(int number) {
  wchar_t key[40];
  swprintf(key, 40, esn::kPrevFolderFormat, number);
  return key;
}

}  // namespace

std::wstring CleanRecentFolder(const std::wstring& folder) {
  std::wstring clean = folder;
  while (!clean.empty() && clean.back() == L'\\') clean.pop_back();
  // Menus and dialogs hold the entries in MAX_PATH buffers.
  if (clean.size() >= MAX_PATH) return std::wstring();
  return clean;
}

std::wstring RecentFolders::Get(int index) const {
  if (index < 0 || index >= Count()) return std::wstring();
  return m_folders[static_cast<size_t>(index)];
}

void RecentFolders::Add(const std::wstring& folder) {
  std::wstring clean = CleanRecentFolder(folder);
  if (clean.empty()) return;
  m_folders.push_back(clean);
  Normalize();
}

void RecentFolders::Normalize() {
  if (m_folders.size() < 2) return;
  // The first of entries that differ only in case is the one kept.
  std::set<std::wstring, NoCaseLess> distinct(m_folders.begin(), m_folders.end());
  m_folders.assign(distinct.begin(), distinct.end());
}

void RecentFolders::Read(const std::wstring& defaultFolder) {
  m_folders.clear();
  // A count written by this program is honoured, so that entries left behind
  // by a longer list are not brought back; any other count (missing, hand
  // edited, negative, huge) reads up to the first missing entry.
  int count = ReadSettingsInt(esn::kPrevFoldersCount, -1);
  int limit = count >= 1 && count <= kMaxStored ? count : kMaxStored;
  for (int number = 1; number <= limit; ++number) {
    std::wstring key = EntryKey(number);
    std::wstring value = ReadSettingsString(key.c_str(), L"");
    if (value.empty()) {
      // An entry whose value is empty is skipped, one absent from both files
      // ends the list.
      if (!SettingsKeyExists(key.c_str())) break;
      continue;
    }
    std::wstring clean = CleanRecentFolder(value);
    if (!clean.empty()) m_folders.push_back(clean);
  }
  if (m_folders.empty()) {
    std::wstring clean = CleanRecentFolder(defaultFolder);
    if (!clean.empty()) m_folders.push_back(clean);
  }
  Normalize();
}

bool RecentFolders::Write(const std::wstring& iniPath) const {
  const wchar_t* ini = iniPath.c_str();
  bool ok = IniWriteInt(ini, settings_names::kSettings, esn::kPrevFoldersCount, Count());
  for (int i = 0; i < Count(); ++i)
    ok &= IniWriteString(ini, settings_names::kSettings, EntryKey(i + 1).c_str(),
                         m_folders[static_cast<size_t>(i)].c_str());
  return ok;
}
