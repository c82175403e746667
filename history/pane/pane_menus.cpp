// The history pane's menus: the item menu of the list, the Undo item's
// own popup, the additions to the window menu and the system commands.
#include <windows.h>
#include <commctrl.h>

#include "foundation/logging/log.h"
#include "history/capture/clipboard_handler.h"
#include "history/pane/float_pane.h"
#include "history/pane/pane_host.h"
#include "history/pane/pane_menu_state.h"
#include "history/pane/pane_texts.h"
#include "phrases/menu/menu_tooltip.h"

PaneMenuFacts CQLRFloatPane::MenuFacts() {
  PaneMenuFacts facts;
  if (m_source && m_list) {
    const int count = static_cast<int>(::SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count && i < m_source->GetItemCount(); ++i) facts.items.push_back(m_source->GetItem(i));
    facts.selected = SelectedItems();
    facts.mark = SelectionMark();
    if (facts.mark >= static_cast<int>(facts.items.size())) facts.mark = -1;
    if (facts.mark >= 0) facts.markText = ListText(facts.mark);
    facts.undoCount = m_source->Queue().GetUndoCount();
  }
  facts.collapsed = m_showMode == 1;
  return facts;
}

HMENU CQLRFloatPane::LoadLocalizedItemMenu() {
  HMENU resource = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(pane_cmd::kMenuResource));
  if (resource && m_host) m_host->LocalizeMenu(resource);
  return resource;
}

HMENU CQLRFloatPane::LoadItemMenu() {
  HMENU resource = LoadLocalizedItemMenu();
  if (!resource) return nullptr;
  // The popup is taken out of its bar, so that it is what the caller owns.
  HMENU popup = GetSubMenu(resource, 0);
  if (popup) RemoveMenu(resource, 0, MF_BYPOSITION);
  DestroyMenu(resource);
  if (popup) PreparePaneMenu(popup, MenuFacts());
  return popup;
}

void CQLRFloatPane::ShowItemMenu(POINT pt, bool fromKeyboard) {
  HMENU menu = LoadItemMenu();
  if (!menu) return;
  const int mark = SelectionMark();
  RECT item = {LVIR_BOUNDS};
  if (m_list && mark >= 0 && ::SendMessageW(m_list, LVM_GETITEMRECT, mark, reinterpret_cast<LPARAM>(&item))) {
    pt = {fromKeyboard ? item.right : item.left, item.bottom};
    ::ClientToScreen(m_list, &pt);
  } else if (fromKeyboard && m_list) {
    RECT list = {};
    ::GetWindowRect(m_list, &list);
    pt = {list.right, list.bottom};
  }
  m_openItemMenu = menu;
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr);
  m_openItemMenu = nullptr;
  DestroyMenu(menu);
}

void CQLRFloatPane::AddToWindowMenu(HMENU menu) {
  if (GetMenuState(menu, pane_cmd::kMinimizeToCaptionCommand, MF_BYCOMMAND) == static_cast<UINT>(-1)) {
    HMENU resource = LoadLocalizedItemMenu();
    std::wstring caption = resource ? MenuItemText(resource, pane_cmd::kMinimizeToCaptionCommand) : std::wstring();
    if (resource) DestroyMenu(resource);
    if (caption.empty()) caption = L"Minimize To Caption";
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, pane_cmd::kMinimizeToCaptionCommand, caption.c_str());
  }
  CheckMenuItem(menu, pane_cmd::kMinimizeToCaptionCommand,
                MF_BYCOMMAND | (m_showMode == 1 ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(menu, pane_cmd::kFixPaneCommand, MF_BYCOMMAND | (m_fixed ? MF_CHECKED : MF_UNCHECKED));
}

LRESULT CQLRFloatPane::OnInitMenuPopup(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  HMENU menu = reinterpret_cast<HMENU>(wParam);
  if (menu && menu == m_dropDownMenu) {
    // The drop-down holds the tray's commands: the tray window checks and
    // enables them as it does in its own menu.
    HWND tray = m_host ? m_host->TrayWindow() : nullptr;
    if (tray) ::SendMessageW(tray, WM_INITMENUPOPUP, wParam, lParam);
    CheckMenuItem(menu, pane_cmd::kFixPaneCommand, MF_BYCOMMAND | (m_fixed ? MF_CHECKED : MF_UNCHECKED));
    return 0;
  }
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  if (HIWORD(lParam)) {
    Log(L"CQLRFloatPane::OnInitMenuPopup");
    AddToWindowMenu(menu);
  } else {
    CheckMenuItem(menu, pane_cmd::kFixPaneCommand, MF_BYCOMMAND | (m_fixed ? MF_CHECKED : MF_UNCHECKED));
  }
  return result;
}

LRESULT CQLRFloatPane::OnMenuTipMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  handled = FALSE;
  if (!m_menuToolTips) return 0;
  if (msg == WM_MENUSELECT)
    m_menuToolTips->HandleMenuSelect(msg, wParam, lParam);
  else if (msg == WM_ENTERIDLE)
    m_menuToolTips->HandleEnterIdle(msg, wParam, lParam);
  else
    m_menuToolTips->HideTip();
  return 0;
}

LRESULT CQLRFloatPane::OnMenuRButtonUp(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  HMENU menu = reinterpret_cast<HMENU>(lParam);
  if (!menu || !IsMenu(menu) || GetMenuItemID(menu, static_cast<int>(wParam)) != pane_cmd::kUndo) return 0;
  const bool undoEnabled = !(GetMenuState(menu, pane_cmd::kUndo, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
  HMENU popup = CreatePopupMenu();
  if (!popup) return 0;
  const std::wstring caption = PaneString(pane_cmd::kClearUndo);
  AppendMenuW(popup, MF_STRING | (undoEnabled ? MF_ENABLED : MF_GRAYED), pane_cmd::kClearUndo, caption.c_str());
  const DWORD pos = GetMessagePos();
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RECURSE | TPM_RIGHTBUTTON,
                                                       static_cast<short>(LOWORD(pos)),
                                                       static_cast<short>(HIWORD(pos)), 0, m_hWnd, nullptr));
  DestroyMenu(popup);
  if (chosen == pane_cmd::kClearUndo && m_source && m_source->Queue().ClearUndo()) {
    SetMenuItemText(menu, pane_cmd::kUndo,
                    CountedCaption(MenuItemText(menu, pane_cmd::kUndo), m_source->Queue().GetUndoCount()));
    EnableMenuItem(menu, pane_cmd::kUndo, MF_BYCOMMAND | MF_GRAYED);
  }
  return 0;
}

LRESULT CQLRFloatPane::OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  const UINT command = static_cast<UINT>(wParam & 0xFFF0);
  switch (wParam) {
    case pane_cmd::kEditPhrases:
    case pane_cmd::kTrayOptions:
    case pane_cmd::kRunAsAdmin:
    case pane_ids::kClose:
    case pane_cmd::kSounds:
    case pane_cmd::kTrayExit:
      PostToTray(static_cast<UINT>(wParam));
      return 0;
    case pane_cmd::kMinimizeToCaptionCommand:
      SetShowMode(m_showMode == 1 ? 0 : 1, true);
      return 0;
    case pane_cmd::kFixPaneCommand:
      SetFixed(!m_fixed);
      return 0;
    case pane_cmd::kClear:
      ClearItems();
      return 0;
    default:
      break;
  }
  switch (command) {
    case SC_MAXIMIZE:
      if (m_showMode == 1) {
        SetShowMode(0, false);
        return 0;
      }
      if (!CoversWorkArea()) {
        RECT rect = {};
        GetWindowRect(&rect);
        m_saved = {rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top};
        RECT work = {};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        ::SetWindowPos(m_hWnd, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    case SC_KEYMENU:
      if (m_list && ::GetFocus() == m_list) {
        ShowItemMenu(POINT{0, 0}, true);
        return 0;
      }
      break;
    case SC_RESTORE:
      if (m_showMode == 1) {
        SetShowMode(0, false);
        return 0;
      }
      break;
    case SC_MINIMIZE:
      if (m_showMode == 0) SetShowMode(1, true);
      return 0;
    default:
      break;
  }
  return DefWindowProc(msg, wParam, lParam);
}
