// The main frame's bars, menus and title: the rebar with the language bar,
// the system menu's extra items, the View popup of the toolbars, the
// prompts in the status bar and the window title.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "editor/app/editor_access.h"
#include "editor/app/editor_ids.h"
#include "editor/doc/doc.h"
#include "editor/frame/main_frame.h"
#include "editor/services/editor_system.h"
#include "editor/services/web_links.h"
#include "editor/store/command_folder.h"
#include "editor_settings/helpers/menu_helpers.h"
#include "editor_settings/helpers/shared_icons.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/logging/log.h"
#include "platform/mfc/app/win_app.h"
#include "platform/mfc/controls/image_list.h"
#include "platform/mfc/core/menu.h"
#include "platform/mfc/window/cmd_ui.h"

namespace {

// The View menu's items, in the order of the toolbars' popup and of the
// system menu's tail.
const UINT kViewItems[] = {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_PHRASES, ID_VIEW_SETTINGS, ID_VIEW_PREVIEW};
// System-menu items that stand for frame commands.
const UINT kForwardedSysCommands[] = {ID_VIEW_TOOLBAR,  ID_VIEW_STATUS_BAR,    ID_VIEW_PHRASES,    ID_VIEW_SETTINGS,
                                      ID_VIEW_PREVIEW,  ID_FILE_CHOOSE_FOLDER, ID_FILE_MOVE_FOLDER};

bool IsForwardedSysCommand(UINT id) {
  for (UINT forwarded : kForwardedSysCommands)
    if (forwarded == id) return true;
  return false;
}

// The frame's menu resource, localised; the caller destroys it.
HMENU LoadLocalizedFrameMenu(CMainFrame* frame, void (CMainFrame::*localize)(HMENU)) {
  HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
  if (menu) (frame->*localize)(menu);
  return menu;
}

constexpr UINT kIdiDelete = 134;

// The icon drawn on the menu colour at the size of a menu check mark; the
// icon is destroyed. Null without an icon.
HBITMAP IconToMenuBitmap(HICON icon) {
  if (!icon) return nullptr;
  const int cx = ::GetSystemMetrics(SM_CXMENUCHECK), cy = ::GetSystemMetrics(SM_CYMENUCHECK);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
  ::ReleaseDC(nullptr, screen);
  if (dc && bitmap) {
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT all = {0, 0, cx, cy};
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_MENU));
    ::DrawIconEx(dc, 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
    ::SelectObject(dc, old);
  }
  if (dc) ::DeleteDC(dc);
  ::DestroyIcon(icon);
  return bitmap;
}

std::wstring MenuText(HMENU menu, UINT id) {
  wchar_t text[256] = {};
  if (menu) ::GetMenuStringW(menu, id, text, 256, MF_BYCOMMAND);
  return text;
}

}  // namespace

bool CMainFrame::CreateBars() {
  // The combo and the Language menu read this one list.
  RefreshLanguageFiles();
  if (!m_pDialogBar->CreateBar(this, &m_languageFiles)) {
    LogError(L"CMainFrame: the language bar cannot be created");
    return false;
  }
  if (!m_wndReBar.Create(this, RBS_BANDBORDERS, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_REBAR) ||
      !m_wndReBar.AddBar(m_pDialogBar.get(), ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_BTNFACE), nullptr,
                         RBBS_GRIPPERALWAYS)) {
    LogError(L"CMainFrame: the rebar cannot be created");
    return false;
  }
  return true;
}

void CMainFrame::MakeMenuBitmaps() {
  // Made for the first menu opened: the shell is asked nothing while the
  // frame starts.
  if (m_bMenuBitmapsMade) return;
  m_bMenuBitmapsMade = true;
  SHFILEINFOW info = {};
  HICON text = ::SHGetFileInfoW(L".txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                                SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES)
                   ? info.hIcon
                   : nullptr;
  CImageList* types = GetFileTypeImageList();
  HICON folder = types ? ::ImageList_GetIcon(types->GetSafeHandle(), kImageFolder, ILD_NORMAL) : nullptr;
  const std::pair<UINT, HICON> icons[] = {
      {ID_PHRASE_ADD_TEXT, text},
      {ID_PHRASE_ADD_RTF, LoadSmallAppIcon(IDI_RTF_PHRASE)},
      {ID_PHRASE_ADD_GROUP, folder},
      {ID_PHRASE_DELETE, LoadSmallAppIcon(kIdiDelete)},
  };
  for (const auto& icon : icons)
    if (HBITMAP bitmap = IconToMenuBitmap(icon.second)) m_menuBitmaps.emplace_back(icon.first, bitmap);
}

void CMainFrame::OnClose() {
  // Settings that cannot be written keep the editor, and the page, open.
  if (m_wndSettings.m_hWnd && !m_wndSettings.SavePageBeforeClose()) return;
  if (m_wndPhrases.m_hWnd) m_wndPhrases.SaveState(kEditorBarsProfileName);
  CFrameWnd::OnClose();
}

void CMainFrame::OnViewToolbar() {
  ShowControlBar(&m_wndReBar, !m_wndReBar.IsVisible(), FALSE);
}

void CMainFrame::OnUpdateViewToolbar(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(m_wndReBar.m_hWnd && m_wndReBar.IsVisible() ? 1 : 0);
}

void CMainFrame::OnSysCommand(UINT nID, LPARAM lParam) {
  if (IsForwardedSysCommand(nID)) {
    SendMessage(WM_COMMAND, nID, 0);
    return;
  }
  (void)lParam;
  Default();
}

void CMainFrame::OnToolTipShow(NMHDR*, LRESULT* pResult) { *pResult = 1; }

void CMainFrame::MakeMenuTip() {
  // Its window is made for the first menu: a tip is a window of its own,
  // which costs the start of the editor a trip to the display.
  if (!m_bMenuTipMade) {
    m_bMenuTipMade = true;
    m_menuTip.Create(m_hWnd, L"Tip Text", AfxGetInstanceHandle(), 0, nullptr);
  }
}

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  MakeMenuTip();
  if (pPopupMenu && pPopupMenu->m_hMenu) {
    HMENU popup = pPopupMenu->m_hMenu;
    RebuildLanguageMenu(popup);
    MakeMenuBitmaps();
    for (const auto& item : m_menuBitmaps)
      ::SetMenuItemBitmaps(popup, item.first, MF_BYCOMMAND, item.second, item.second);
    if (!bSysMenu) FillRecentFolderMenu(pPopupMenu);
    HMENU system = ::GetSystemMenu(m_hWnd, FALSE);
    if (bSysMenu || popup == system) {
      // The frame's own items in the window menu follow their commands.
      CMenu menu;
      menu.Attach(system);
      AfxUpdateMenuPopup(this, &menu, FALSE);
      menu.Detach();
    }
  }
  CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

void CMainFrame::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
  CFrameWnd::OnMenuSelect(nItemID, nFlags, hSysMenu);
  MakeMenuTip();
  m_menuTip.HandleMenuSelect(WM_MENUSELECT, MAKEWPARAM(nItemID, nFlags), reinterpret_cast<LPARAM>(hSysMenu));
}

void CMainFrame::OnEnterIdle(UINT nWhy, CWnd* pWho) {
  CFrameWnd::OnEnterIdle(nWhy, pWho);
  m_menuTip.HandleEnterIdle(WM_ENTERIDLE, nWhy, reinterpret_cast<LPARAM>(pWho ? pWho->m_hWnd : nullptr));
}

void CMainFrame::ExtendSystemMenu() {
  HMENU system = ::GetSystemMenu(m_hWnd, FALSE);
  if (!system) return;
  HMENU source = LoadLocalizedFrameMenu(this, &CMainFrame::LocalizeFrameMenu);
  // Ahead of the separator before Close.
  int count = ::GetMenuItemCount(system);
  int at = count;
  for (int i = 0; i < count; ++i)
    if (::GetMenuItemID(system, i) == SC_CLOSE) at = i > 0 ? i - 1 : i;
  for (UINT id : {ID_FILE_CHOOSE_FOLDER, ID_FILE_MOVE_FOLDER}) {
    std::wstring text = GetLocalizedPart(id, false);
    if (text.empty() || text == GetLocalizedPart(id, true)) text = GetMenuItemText(source, id);
    ::InsertMenuW(system, static_cast<UINT>(at++), MF_BYPOSITION | MF_STRING, id, text.c_str());
  }
  ::AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
  for (UINT id : kViewItems) ::AppendMenuW(system, MF_STRING, id, MenuText(source, id).c_str());
  if (source) ::DestroyMenu(source);
  LocalizeFrameMenu(system);
}

void CMainFrame::ShowViewPopup(POINT screen) {
  HMENU source = LoadLocalizedFrameMenu(this, &CMainFrame::LocalizeFrameMenu);
  HMENU popup = ::CreatePopupMenu();
  if (popup) {
    for (UINT id : kViewItems) ::AppendMenuW(popup, MF_STRING, id, MenuText(source, id).c_str());
    // The frame owns the popup: its items get their check marks on opening.
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(popup);
  }
  if (source) ::DestroyMenu(source);
}

void CMainFrame::GetMessageString(UINT nID, CString& rMessage) const {
  const std::wstring prompt = GetLocalizedFirstLine(nID);
  if (!prompt.empty()) {
    rMessage = prompt.c_str();
    return;
  }
  CFrameWnd::GetMessageString(nID, rMessage);
}

void CMainFrame::OnUpdateFrameTitle(BOOL) {
  m_nIdleFlags &= ~idleTitle;
  std::wstring title = BuildWindowTitle();
  // The document's current record, found anew: ids change with a reload.
  CDoc* doc = GetActiveDoc();
  const CQLRCommand* record = doc ? doc->CurrentRecord() : nullptr;
  if (record && !record->GetMenuName().empty()) title += L"  :  [" + record->GetMenuName() + L"]";
  if (!(GetWindowTextString() == title.c_str())) SetWindowText(title.c_str());
}
