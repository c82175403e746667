// The caption menu of the history pane: the window menu with the pane's and
// the tray's commands, open for a right click on the caption.
#include <windows.h>

#include <string>

#include "foundation/ui/message_box_timeout.h"
#include "history/pane/float_pane.h"
#include "history/pane/pane_caption.h"
#include "history/pane/pane_host.h"
#include "history/pane/pane_menu_state.h"
#include "history/pane/pane_texts.h"

namespace {

constexpr UINT kShowPhraseMenu = 32844;
constexpr UINT kTrayMenuResource = 128;
constexpr UINT kBoxTimeoutMs = 5000;
// 0 stands for a separator.
constexpr UINT kCaptionItems[] = {kShowPhraseMenu, 0, 32820, 32789, 32819, 0, 32833, 32832, 32817,
                                  32772, 0, 32829, 32791, 57664, 0, 57665};
constexpr UINT kSentToTray[] = {32832, 32833, 57664};

}  // namespace

std::wstring TrayMenuResourceText(UINT command) {
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTrayMenuResource));
  if (!menu) return std::wstring();
  std::wstring text = MenuItemText(menu, command);
  DestroyMenu(menu);
  return text;
}

std::wstring IPaneHost::TrayMenuText(UINT command) { return TrayMenuResourceText(command); }

std::wstring CQLRFloatPane::CaptionItemText(UINT command) {
  std::wstring text;
  if (command != pane_cmd::kClear && command != pane_cmd::kTrayExit) text = TrayMenuText(command);
  if (text.empty()) text = AfterLineFeed(PaneString(command));
  return text;
}

void CQLRFloatPane::ShowCaptionMenu(POINT pt) {
  HMENU menu = GetSystemMenu(FALSE);
  const bool created = menu == nullptr;
  if (created) menu = CreatePopupMenu();
  if (!menu) return;
  const int before = GetMenuItemCount(menu);
  if (before > 0) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  for (UINT command : kCaptionItems) {
    if (command == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu, MF_STRING, command, CaptionItemText(command).c_str());
    }
  }
  const bool admin = m_host && m_host->IsAdministrator();
  EnableMenuItem(menu, pane_cmd::kRunAsAdmin, MF_BYCOMMAND | (admin ? MF_GRAYED : MF_ENABLED));
  CheckMenuItem(menu, pane_cmd::kSounds, MF_BYCOMMAND | (m_host && m_host->SoundsOn() ? MF_CHECKED : MF_UNCHECKED));
  const bool hasItems = ::SendMessageW(m_hWnd, pane_ids::kItemCount, 0, 0) > 0;
  EnableMenuItem(menu, pane_cmd::kClear, MF_BYCOMMAND | (hasItems ? MF_ENABLED : MF_GRAYED));
  SetMenuDefaultItem(menu, kShowPhraseMenu, FALSE);
  m_toolbar.SetMenuOpen(true);
  const UINT choice = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr));
  m_toolbar.SetMenuOpen(false);
  if (created) {
    DestroyMenu(menu);
  } else {
    // Exactly what was appended goes again, whatever the menu held before.
    while (GetMenuItemCount(menu) > before) RemoveMenu(menu, before, MF_BYPOSITION);
  }
  if (choice) RunCaptionChoice(choice);
}

void CQLRFloatPane::RunCaptionChoice(UINT choice) {
  HWND tray = m_host ? m_host->TrayWindow() : nullptr;
  for (UINT command : kSentToTray) {
    if (choice == command) {
      if (tray) ::SendMessageW(tray, WM_COMMAND, choice, 0);
      return;
    }
  }
  if (choice != kShowPhraseMenu) {
    SendMessageW(WM_SYSCOMMAND, choice, 0);
    return;
  }
  const wchar_t* problem = nullptr;
  if (::SendMessageW(m_hWnd, pane_ids::kSetShowMode, 1, 0)) {
    ShowWindow(SW_HIDE);
    if (!tray || !::SendMessageW(tray, WM_COMMAND, kShowPhraseMenu, 0)) problem = L"Error on sending to app";
    ShowWindow(SW_SHOWNA);
  } else {
    problem = L"Error on sending to pane";
  }
  if (problem)
    MessageBoxTimeout(m_hWnd, L"Quillora", problem, MB_ICONEXCLAMATION | MB_TOPMOST, kBoxTimeoutMs);
}
