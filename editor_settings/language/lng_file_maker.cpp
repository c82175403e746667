#include "editor_settings/language/lng_file_maker.h"

#include "foundation/localization/lng_dialog_names.h"
#include "foundation/localization/resource_collect.h"
#include "foundation/logging/log.h"

namespace {

constexpr UINT kStringsPerBlock = 16;

}  // namespace

CLngFileMaker::CLngFileMaker(const std::wstring& lngPath, const std::wstring& suffix, HMODULE module)
    : m_lngPath(lngPath), m_suffix(suffix), m_module(module ? module : GetModuleHandleW(nullptr)) {}

void CLngFileMaker::ExcludeStrings(UINT first, UINT last) {
  for (UINT id = first; id <= last; ++id) m_excluded.insert(id);
}

void CLngFileMaker::ListResources() {
  m_stringIds.clear();
  // Block b holds the ids (b - 1) * 16 to (b - 1) * 16 + 15. A named block
  // counts as 0 and so stands for no id at all.
  for (UINT block : EnumResourceIds(m_module, RT_STRING)) {
    if (block == 0) continue;
    for (UINT id = (block - 1) * kStringsPerBlock; id < block * kStringsPerBlock; ++id)
      if (!m_excluded.count(id)) m_stringIds.push_back(id);
  }
  m_dialogIds = EnumResourceIds(m_module, RT_DIALOG);
  m_menuIds = EnumResourceIds(m_module, RT_MENU);
}

bool CLngFileMaker::Write() {
  ListResources();
  bool written = true;
  auto check = [&](int result, const wchar_t* what, UINT id) {
    if (result != kLngCollectWriteFailed) return;
    LogError(std::wstring(L"the template lacks ") + what + L" " + std::to_wstring(id) + L" of " + m_suffix +
             L": the write into [" + m_lngPath + L"] failed");
    written = false;
  };
  for (UINT id : m_menuIds)
    if (id > 0 && id <= 0xFFFF)
      check(CollectMenuTexts(m_lngPath, m_module, static_cast<WORD>(id), m_suffix), L"menu", id);
  check(CollectStringTexts(m_lngPath, m_module, m_stringIds, m_suffix), L"the strings", 0);
  for (UINT id : m_dialogIds)
    if (id > 0 && id <= 0xFFFF)
      check(CollectDialogTexts(m_lngPath, m_module, static_cast<WORD>(id),
                               GetLngDialogName(m_suffix, static_cast<WORD>(id))),
            L"dialog", id);
  return written;
}
