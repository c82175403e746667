#include "online/about/about_dlg.h"

#include <commctrl.h>

#include "foundation/localization/dialog_fonts.h"
#include "foundation/localization/dialog_localizer.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/lng_dialog_names.h"
#include "foundation/logging/log.h"
#include "online/about/about_probes.h"
#include "online/about/about_rows.h"
#include "online/tray_helpers.h"
#include "online/web_links.h"
#include "phrases/insertion/clipboard_ops.h"
#include "phrases/macros/macro_dates.h"

namespace {

constexpr UINT_PTR kFillTimer = 1000;
constexpr UINT kFillDelayMs = 300;
constexpr UINT kCmdSaveArchive = 259;
constexpr UINT kCmdOpenSettings = 32830;

HWND g_openDialog = nullptr;

}  // namespace

HWND GetAboutDlgWindow() { return g_openDialog && ::IsWindow(g_openDialog) ? g_openDialog : nullptr; }

LRESULT CQLRAboutDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  g_openDialog = m_hWnd;
  ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  CenterWindow();
  // The template's own texts (the OK button) from the language file; the
  // controls filled below keep what they are given, and the icon and the
  // group box (id -1) have nothing to translate.
  CDialogLocalizer localizer(m_hWnd, IDD, GetLngDialogName(kLngSuffixClient, IDD));
  for (int id : {IDC_ABOUT_TEXT, IDC_ABOUT_LIST, IDC_ABOUT_COPY, IDC_ABOUT_HOME_LINK, IDC_ABOUT_CHECK_UPDATES,
                 IDC_ABOUT_BUG_LINK, IDC_ABOUT_CREDIT, -1, 0xFFFF})
    localizer.ExcludeControl(id);
  localizer.Localize();
  if (!m_input.titleMenuText.empty()) ::SetWindowTextW(m_hWnd, MenuTextToTitle(m_input.titleMenuText).c_str());

  // Shared icons: the system keeps them, so a dialog opened again and
  // again loads nothing new.
  auto icon = [](int cx, int cy) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128), IMAGE_ICON,
                                         GetSystemMetrics(cx), GetSystemMetrics(cy), LR_SHARED));
  };
  HICON big = icon(SM_CXICON, SM_CYICON);
  HICON smallIcon = icon(SM_CXSMICON, SM_CYSMICON);
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  m_boldFont = GetBoldDialogFont();
  if (m_boldFont)
    ::SendDlgItemMessageW(m_hWnd, IDC_ABOUT_TEXT, WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont), FALSE);

  m_homeLink.SubclassWindow(GetDlgItem(IDC_ABOUT_HOME_LINK));
  m_homeLink.SetHyperLink(GetHomePageURL().c_str());
  m_homeLink.SetLabel(AboutText(IDS_ABOUT_HOME_LINK).c_str());
  m_bugLink.SubclassWindow(GetDlgItem(IDC_ABOUT_BUG_LINK));
  m_bugLink.SetHyperLink(GetBugReportFaqURL().c_str());
  m_bugLink.SetLabel(AboutText(IDS_ABOUT_BUG_LINK).c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_CREDIT, L"HTML layout by the Quillora HTMLayout.dll component");
  std::wstring header = L"Quillora " + m_input.versionText + L"\r\n" + AboutText(IDS_ABOUT_RELEASED) + L" " +
                        GetBuildDateText() + L"\r\n\r\nCopyright (C) the Quillora developers";
  ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_TEXT, header.c_str());

  HWND list = GetDlgItem(IDC_ABOUT_LIST);
  m_list.SubclassWindow(list);
  ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_COPY, AboutText(IDS_ABOUT_COPY).c_str());
  m_copyButton.SubclassWindow(GetDlgItem(IDC_ABOUT_COPY));
  if (!m_input.checkMenuText.empty())
    ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_CHECK_UPDATES, MenuTextToTitle(m_input.checkMenuText).c_str());

  LVCOLUMNW col = {};
  col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  col.fmt = LVCFMT_RIGHT;
  col.cx = 150;
  col.pszText = const_cast<wchar_t*>(L"");
  ListView_InsertColumn(list, 0, &col);
  col.cx = 300;
  col.fmt = LVCFMT_LEFT;
  ListView_InsertColumn(list, 1, &col);
  ListView_SetExtendedListViewStyle(list, LVS_EX_INFOTIP | LVS_EX_FULLROWSELECT);
  ListView_SetBkColor(list, GetSysColor(COLOR_BTNFACE));
  ListView_SetTextBkColor(list, GetSysColor(COLOR_BTNFACE));
  ListView_SetTextColor(list, GetSysColor(COLOR_BTNTEXT));
  ::SetTimer(m_hWnd, kFillTimer, kFillDelayMs, nullptr);
  return TRUE;
}

LRESULT CQLRAboutDlg::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != kFillTimer) {
    handled = FALSE;
    return 0;
  }
  ::KillTimer(m_hWnd, kFillTimer);
  DWORD start = GetTickCount();
  FillReport();
  Log(L"About report filled in " + std::to_wstring(GetTickCount() - start) + L" ms");
  return 0;
}

LRESULT CQLRAboutDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (g_openDialog == m_hWnd) g_openDialog = nullptr;
  handled = FALSE;
  return 0;
}

void CQLRAboutDlg::AddRow(const std::wstring& caption, const std::wstring& value, int kind) {
  AboutRow row{CleanAboutValue(caption), CleanAboutValue(value), kind};
  HWND list = GetDlgItem(IDC_ABOUT_LIST);
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = static_cast<int>(m_rows.size());
  item.pszText = const_cast<wchar_t*>(row.caption.c_str());
  item.lParam = kind;
  int index = ListView_InsertItem(list, &item);
  if (index >= 0 && kind != kAboutGroup) ListView_SetItemText(list, index, 1, const_cast<wchar_t*>(row.value.c_str()));
  m_rows.push_back(row);
}

void CQLRAboutDlg::FillReport() {
  HWND list = GetDlgItem(IDC_ABOUT_LIST);
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  m_rows.clear();
  for (const AboutRow& row : CollectAboutRows(m_input)) AddRow(row.caption, row.value, row.kind);
  ListView_SetColumnWidth(list, 0, LVSCW_AUTOSIZE_USEHEADER);
  ListView_SetColumnWidth(list, 1, LVSCW_AUTOSIZE_USEHEADER);
  RECT client = {};
  ::GetClientRect(list, &client);
  int rest = client.right - ListView_GetColumnWidth(list, 0);
  if (ListView_GetColumnWidth(list, 1) < rest) ListView_SetColumnWidth(list, 1, rest);
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list, nullptr, TRUE);
}

LRESULT CQLRAboutDlg::OnCustomDraw(NMLVCUSTOMDRAW* draw) {
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  size_t index = static_cast<size_t>(draw->nmcd.dwItemSpec);
  if (index >= m_rows.size()) return CDRF_DODEFAULT;
  const AboutRow& row = m_rows[index];
  if (row.kind == kAboutGroup) {
    RECT rc = {};
    ListView_GetItemRect(draw->nmcd.hdr.hwndFrom, static_cast<int>(index), &rc, LVIR_BOUNDS);
    rc.left += 3;
    rc.right -= 3;
    HGDIOBJ old = m_boldFont ? SelectObject(draw->nmcd.hdc, m_boldFont) : nullptr;
    SetBkMode(draw->nmcd.hdc, TRANSPARENT);
    SetTextColor(draw->nmcd.hdc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(draw->nmcd.hdc, row.caption.c_str(), -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (old) SelectObject(draw->nmcd.hdc, old);
    return CDRF_SKIPDEFAULT;
  }
  if (row.kind == kAboutFailure) draw->clrText = RGB(0xC0, 0, 0);
  if (row.kind == kAboutSuccess) draw->clrText = RGB(0, 0x80, 0);
  return CDRF_NEWFONT;
}

LRESULT CQLRAboutDlg::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->idFrom != IDC_ABOUT_LIST) {
    handled = FALSE;
    return 0;
  }
  switch (header->code) {
    case NM_CUSTOMDRAW:
      return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
    case LVN_ITEMCHANGING: {
      auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
      // No row is ever selected or focused: the list is a report, not a choice.
      if ((change->uChanged & LVIF_STATE) && (change->uNewState & (LVIS_SELECTED | LVIS_FOCUSED))) return TRUE;
      return FALSE;
    }
    case LVN_GETINFOTIPW: {
      auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(lParam);
      size_t index = static_cast<size_t>(tip->iItem);
      if (index < m_rows.size() && tip->pszText && tip->cchTextMax > 0) {
        std::wstring text = BuildAboutTipText(m_rows[index]);
        if (!text.empty()) lstrcpynW(tip->pszText, text.c_str(), tip->cchTextMax);
      }
      return 0;
    }
    case LVN_COLUMNCLICK: {
      POINT pt = {};
      GetCursorPos(&pt);
      ::ScreenToClient(m_hWnd, &pt);
      ::SetCapture(m_hWnd);
      ::SendMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
      return 0;
    }
  }
  handled = FALSE;
  return 0;
}

LRESULT CQLRAboutDlg::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
  ReleaseCapture();
  ::SendMessageW(m_hWnd, WM_SYSCOMMAND, 0xF012, 0);
  return 0;
}

LRESULT CQLRAboutDlg::OnClose(WORD, WORD id, HWND, BOOL&) {
  EndDialog(id);
  return 0;
}

LRESULT CQLRAboutDlg::OnSaveArchive(WORD, WORD, HWND, BOOL&) {
  SaveArchive();
  return 0;
}

LRESULT CQLRAboutDlg::OnCopy(WORD, WORD, HWND, BOOL&) {
  if (m_copyButton.IsGlyphPressed())
    ShowCopyMenu();
  else
    PutTextOnClipboard(BuildAboutReportText(m_rows));
  return 0;
}

void CQLRAboutDlg::ShowCopyMenu() {
  RECT rc = {};
  ::GetWindowRect(GetDlgItem(IDC_ABOUT_COPY), &rc);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, IDC_ABOUT_COPY, AboutText(IDS_ABOUT_COPY).c_str());
  AppendMenuW(menu, MF_STRING, kCmdSaveArchive, AboutText(IDS_ABOUT_SAVE_ARCHIVE).c_str());
  AppendMenuW(menu, MF_STRING, kCmdOpenSettings, m_input.openSettingsMenuText.c_str());
  SetMenuDefaultItem(menu, IDC_ABOUT_COPY, FALSE);
  UINT cmd = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, rc.left, rc.bottom, 0, m_hWnd, nullptr);
  DestroyMenu(menu);
  if (cmd == IDC_ABOUT_COPY) PutTextOnClipboard(BuildAboutReportText(m_rows));
  if (cmd == kCmdSaveArchive) SaveArchive();
  if (cmd == kCmdOpenSettings) OpenSettingsFile(m_hWnd);
}

void CQLRAboutDlg::SaveArchive() {
  std::wstring path = AskArchivePath(m_hWnd);
  if (path.empty()) return;
  if (!SaveAboutArchive(path, BuildAboutReportText(m_rows), m_hWnd)) MessageBeep(static_cast<UINT>(-1));
}

LRESULT CQLRAboutDlg::OnCheckUpdates(WORD, WORD, HWND, BOOL&) {
  HCURSOR old = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32650)));
  ::PostMessageW(m_input.trayWindow, WM_COMMAND, 32791, 0);
  SetCursor(old);
  return 0;
}
