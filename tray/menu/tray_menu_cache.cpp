#include "tray/menu/tray_menu_cache.h"

CTrayMenuCache::~CTrayMenuCache() {
  if (m_bar) DestroyMenu(m_bar);
}

HMENU CTrayMenuCache::Take(const std::wstring& languageFile, const std::function<void(HMENU)>& localize) {
  if (m_out) {
    HMENU bar = LoadMenuW(m_instance, MAKEINTRESOURCEW(m_resource));
    if (bar) localize(bar);
    return bar;
  }
  if (m_bar && (m_stale || languageFile != m_languageFile || ReadFileStamp(languageFile) != m_languageStamp)) {
    DestroyMenu(m_bar);
    m_bar = nullptr;
  }
  if (!m_bar) {
    m_bar = LoadMenuW(m_instance, MAKEINTRESOURCEW(m_resource));
    if (!m_bar) return nullptr;
    localize(m_bar);
    m_languageFile = languageFile;
    // Read after localising, which may have added the keys the file lacked.
    m_languageStamp = ReadFileStamp(languageFile);
    m_stale = false;
    m_listed = false;
  }
  m_out = true;
  return m_bar;
}

void CTrayMenuCache::Give(HMENU bar) {
  if (bar && bar == m_bar)
    m_out = false;
  else if (bar)
    DestroyMenu(bar);
}

bool CTrayMenuCache::LanguagesCurrent(HMENU bar, const std::wstring& choice) const {
  if (bar != m_bar || !m_listed || choice != m_choice || ReadFileStamp(m_folder) != m_folderStamp) return false;
  for (size_t i = 0; i < m_listedFiles.size(); ++i)
    if (ReadFileStamp(m_listedFiles[i]) != m_listedStamps[i]) return false;
  return true;
}

void CTrayMenuCache::ListLanguages(HMENU bar, const std::wstring& folder, const std::wstring& choice,
                                   const std::function<std::vector<std::wstring>()>& enumerate,
                                   const std::function<void(const std::vector<std::wstring>&)>& fill) {
  if (bar != m_bar) {
    fill(enumerate());
    return;
  }
  // Every stamp is read before what it stands for, so a change made
  // meanwhile shows at the next opening.
  m_listed = false;
  m_folder = folder;
  m_folderStamp = ReadFileStamp(folder);
  m_choice = choice;
  const std::vector<std::wstring> names = enumerate();
  m_listedFiles.clear();
  m_listedStamps.clear();
  for (const std::wstring& name : names) {
    if (name.empty()) continue;  // the built-in language has no file
    m_listedFiles.push_back(folder + name);
    m_listedStamps.push_back(ReadFileStamp(m_listedFiles.back()));
  }
  fill(names);
  m_listed = true;
}
