#include "editor/services/editor_menu_localizer.h"

#include "editor_settings/helpers/menu_ranges.h"

namespace {

std::wstring SuffixOfSection(const std::wstring& sectionName) {
  const std::wstring base = MakeMenuSectionName(std::wstring());
  if (sectionName.compare(0, base.size(), base) == 0) return sectionName.substr(base.size());
  return sectionName;
}

}  // namespace

CEditorMenuLocalizer::CEditorMenuLocalizer(const std::wstring& lngFile, const std::wstring& sectionName)
    : CMenuLocalizer(lngFile, true, SuffixOfSection(sectionName)) {
  AddExemptRange(kLanguageItemFirst, kLanguageItemLast);
  AddExemptRange(kMacroItemFirst, kMacroItemLast);
  AddExemptRange(kRecentFolderFirst, kRecentFolderLast);
}

bool CEditorMenuLocalizer::WantsItemIcon(UINT id) const { return !IsInRange(id, kMacroItemFirst, kMacroItemLast); }
