// The phrase text control's context menu.
#include "editor/services/editor_menu_localizer.h"
#include "editor/services/macro_menus.h"
#include "editor/text/phrase_rich_edit.h"
#include "editor_settings/helpers/menu_helpers.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"

namespace {

// The Edit commands, 0 for a separator.
const UINT kContextItems[] = {57643, 57644, 0, 57632, 57635, 57634, 57637, 0, 57642, 32793, 0};

}  // namespace

HMENU CPhraseRichEdit::BuildContextMenu() {
  HMENU menu = ::CreatePopupMenu();
  if (!menu) return nullptr;
  for (UINT id : kContextItems) {
    if (id == 0)
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    else
      AppendResourceMenu(menu, id, kMainMenuResource);
  }
  if (HMENU macros = ::CreatePopupMenu()) {
    FillMacroMenu(macros);
    CLngString title;
    title.LoadString(kIdsMacro);
    if (!::AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(macros), title.c_str()))
      ::DestroyMenu(macros);
  }
  std::wstring language = GetCurrentLanguage();
  if (!language.empty()) {
    CEditorMenuLocalizer localizer(language, MakeMenuSectionName(kLngSuffixEditor));
    localizer.Localize(menu);
  }
  return menu;
}

CPoint CPhraseRichEdit::ContextMenuPoint(CPoint point) const {
  if (point.x != -1 || point.y != -1) return point;
  // From the keyboard: below the caret (the far end of the selection).
  CHARRANGE range = {0, 0};
  GetSel(range);
  CPoint caret = PosFromChar(static_cast<UINT>(range.cpMax > range.cpMin ? range.cpMax : range.cpMin));
  caret.y += 10;
  ClientToScreen(&caret);
  return caret;
}

void CPhraseRichEdit::OnContextMenu(CWnd*, CPoint point) {
  HMENU menu = BuildContextMenu();
  if (!menu) return;
  CPoint at = ContextMenuPoint(point);
  CWnd* target = GetParent();
  ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                   target ? target->m_hWnd : m_hWnd, nullptr);
  ::DestroyMenu(menu);
}
