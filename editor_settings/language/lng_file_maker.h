// The collector of one program module's texts for a template language file:
// its menus, string-table texts and dialog control texts, each written into
// the module's sections ("Menu", "Strings" and "Dialog" with the module's
// suffix) where the file lacks them.
#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

class CLngFileMaker {
 public:
  // module: the running program's own, or another program file loaded as a
  // data file; it must stay loaded while the object lives.
  CLngFileMaker(const std::wstring& lngPath, const std::wstring& suffix, HMODULE module);
  virtual ~CLngFileMaker() = default;
  CLngFileMaker(const CLngFileMaker&) = delete;
  CLngFileMaker& operator=(const CLngFileMaker&) = delete;

  void ExcludeString(UINT id) { m_excluded.insert(id); }
  void ExcludeStrings(UINT first, UINT last);

  // Lists the module's resources, then writes its menus, strings and
  // dialogs in that order (dialogs under the section names the programs
  // read). False when a write into the file failed; each is logged.
  bool Write();

  const std::vector<UINT>& StringIds() const { return m_stringIds; }
  const std::vector<UINT>& DialogIds() const { return m_dialogIds; }
  const std::vector<UINT>& MenuIds() const { return m_menuIds; }

 private:
  void ListResources();

  std::wstring m_lngPath;
  std::wstring m_suffix;
  HMODULE m_module;
  std::set<UINT> m_excluded;
  std::vector<UINT> m_stringIds;
  std::vector<UINT> m_dialogIds;
  std::vector<UINT> m_menuIds;
};
