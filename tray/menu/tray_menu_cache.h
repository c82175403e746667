// The tray menu kept from one opening to the next. Loading and localising
// it and listing the language files cost more than all the rest of an
// opening, so each is done again only when what it came from changed: the
// texts when the language or its file changed, the language entries when
// the language folder, a listed file or the chosen language did.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "foundation/files/files.h"

class CTrayMenuCache {
 public:
  CTrayMenuCache(HINSTANCE instance, UINT resource) : m_instance(instance), m_resource(resource) {}
  ~CTrayMenuCache();
  CTrayMenuCache(const CTrayMenuCache&) = delete;
  CTrayMenuCache& operator=(const CTrayMenuCache&) = delete;

  // The menu bar whose first popup is the tray menu, its texts in the
  // language of the file given (localize puts them in); null when the
  // resource cannot be loaded. While the kept bar is out, a menu opened
  // from inside it gets a bar of its own. Every bar goes back by Give.
  HMENU Take(const std::wstring& languageFile, const std::function<void(HMENU)>& localize);
  void Give(HMENU bar);

  // Whether the language entries of the bar still list the folder's files
  // with the chosen one marked (never for a bar of its own).
  bool LanguagesCurrent(HMENU bar, const std::wstring& choice) const;
  // Lists the entries anew and remembers what they came from: enumerate
  // names the folder's files ("" for the built-in language), fill puts
  // them into the bar.
  void ListLanguages(HMENU bar, const std::wstring& folder, const std::wstring& choice,
                     const std::function<std::vector<std::wstring>()>& enumerate,
                     const std::function<void(const std::vector<std::wstring>&)>& fill);

  // Everything is made again at the next opening.
  void Forget() { m_stale = true; }

 private:
  HINSTANCE m_instance;
  UINT m_resource;
  HMENU m_bar = nullptr;
  bool m_out = false;
  bool m_stale = false;
  std::wstring m_languageFile;
  FileStamp m_languageStamp;
  bool m_listed = false;
  std::wstring m_folder;
  FileStamp m_folderStamp;
  std::wstring m_choice;
  std::vector<std::wstring> m_listedFiles;
  std::vector<FileStamp> m_listedStamps;
};
