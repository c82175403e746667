// The page's tooltips: one tooltip control for the page, made once the page
// is shown or when the mouse first comes over it, with its texts in the
// language of that moment; made, its texts follow every reload and
// language switch.
#include "editor/settings_page/settings_page.h"

#include "editor/settings_page/last_check_time.h"
#include "editor/settings_page/settings_page_helpers.h"
#include "editor/settings_page/settings_page_ids.h"
#include "foundation/logging/log.h"

namespace {

constexpr int kTipWidth = 300;

std::wstring LogFilePath() {
  wchar_t path[MAX_PATH] = {};
  return GetLogPath(path, MAX_PATH) ? std::wstring(path) : GetLogReportPath();
}

}  // namespace

void CSettingsPage::MakeToolTips() {
  if (m_tips.m_hWnd || !m_hWnd) return;
  if (!m_tips.Create(this)) {
    LogError(L"CSettingsPage: the tooltips cannot be made");
    return;
  }
  m_tips.Activate(TRUE);
  m_tips.SetMaxTipWidth(kTipWidth);
  SetUpToolTips();
  for (int id : {IDC_SP_PASTE_METHOD, IDC_SP_TRACKING, IDC_SP_MOUSE_EVENTS}) RenewListTip(id);
}

LRESULT CSettingsPage::OnShowWindowMessage(WPARAM shown, LPARAM) {
  if (shown && !m_tips.m_hWnd && !m_tipsPosted) m_tipsPosted = ::PostMessageW(m_hWnd, WM_SP_MAKE_TIPS, 0, 0) != FALSE;
  return Default();
}

LRESULT CSettingsPage::OnMakeTips(WPARAM, LPARAM) {
  m_tipsPosted = false;
  MakeToolTips();
  return 0;
}

BOOL CSettingsPage::OnSetCursor(CWnd*, UINT, UINT) {
  // Asked for each mouse move over the page and over every control that
  // leaves the cursor to its parent, before the move itself is relayed.
  MakeToolTips();
  return static_cast<BOOL>(Default());
}

void CSettingsPage::SetTip(int id, const std::wstring& text) {
  HWND control = Control(id);
  if (!control || !m_tips.m_hWnd) return;
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = control;  // the layer's tools are the control windows themselves
  info.uId = reinterpret_cast<UINT_PTR>(control);
  const bool known = CallProcedure(m_tips.m_hWnd, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
  info.uFlags = TTF_IDISHWND;
  info.hinst = ::GetModuleHandleW(nullptr);
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  ::SetRectEmpty(&info.rect);
  CallProcedure(m_tips.m_hWnd, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void CSettingsPage::SetUpToolTips() {
  if (!m_tips.m_hWnd) return;
  SetTip(IDC_SP_DELAY, PageText(IDS_SP_TIP_DELAY));
  SetTip(IDC_SP_HOTKEY, PageText(IDS_SP_TIP_HOTKEY));
  SetTip(IDC_SP_HOTKEY_GROUP, PageText(IDS_SP_TIP_HOTKEY));
  std::wstring update = PageText(IDS_SP_TIP_UPDATE) + L"\n" + PageText(IDS_SP_TIP_UPDATE_MANUAL) + L"\n\n" +
                        PageText(IDS_SP_TIP_LAST_CHECK) + L": ";
  SYSTEMTIME last = {};
  if (LastUpdateCheckLocal(last)) {
    wchar_t stamp[64] = {};
    int n = ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &last, nullptr, stamp, 32);
    if (n > 0) {
      stamp[n - 1] = L' ';
      ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &last, nullptr, stamp + n, 64 - n);
    }
    update += stamp;
  }
  SetTip(IDC_SP_AUTO_UPDATE, update);
  SetTip(IDC_SP_SAVE_CLOSE, PageText(IDS_SP_TIP_SAVE));
  SetTip(IDC_SP_WRITE_LOG, PageText(IDS_SP_TIP_LOG) + L": " + LogFilePath() + L"\n" + PageText(IDS_SP_TIP_LOG_SLOW));
  SetTip(IDC_SP_MENU_HISTORY_LIMIT, PageText(IDS_SP_TIP_MENU_LIMIT));
  SetTip(IDC_SP_MOUSE_EVENTS, PageText(IDS_SP_TIP_MOUSE));
  SetTip(IDC_SP_SOUNDS, PageText(IDS_SP_TIP_SOUNDS));
  SetTip(IDC_SP_FONT, PageText(IDS_SP_TIP_FONT));
  SetTip(IDC_SP_PRINT_CHARS, PageText(IDS_SP_TIP_CHARS));
  SetTip(IDC_SP_PRINT_CHARS_SPIN, PageText(IDS_SP_TIP_CHARS));
  SetTip(IDC_SP_EXT_COMMANDS, PageText(IDS_SP_TIP_EXT));
  SetTip(IDC_SP_HOTKEY_RESULT, m_hotkeyTestText);
}

void CSettingsPage::RenewListTip(int id) {
  if (!m_tips.m_hWnd) return;
  CComboBox* list = id == IDC_SP_PASTE_METHOD ? &m_pasteMethod : id == IDC_SP_TRACKING ? &m_tracking : &m_mouseEvents;
  int selection = list->GetCurSel();
  if (selection == CB_ERR) return;
  int length = static_cast<int>(::SendMessageW(list->m_hWnd, CB_GETLBTEXTLEN, selection, 0));
  if (length < 0) return;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(list->m_hWnd, CB_GETLBTEXT, selection, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(::wcslen(text.c_str()));
  SetTip(id, text);
}
