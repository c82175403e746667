// The editor's menu localiser: the language file's texts for every menu
// and context menu, the lists the editor fills itself left alone.
#pragma once
#include <windows.h>

#include <string>

#include "foundation/localization/menu_localizer.h"

class CEditorMenuLocalizer : public CMenuLocalizer {
 public:
  // sectionName: "Menu" + the program's suffix ("Menu_Editor").
  CEditorMenuLocalizer(const std::wstring& lngFile, const std::wstring& sectionName);

  // Translates the menu's items, submenus included.
  void Localize(HMENU menu) { LocalizeMenu(menu); }
  // Macro items carry no icon; every other item the default one.
  bool WantsItemIcon(UINT id) const;
};
