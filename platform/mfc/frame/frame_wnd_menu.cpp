// The frame's menus and keyboard: item states when a popup opens, the
// status prompt of the item under the mouse, accelerators and the key
// indicators.
#include "platform/mfc/frame/frame_wnd.h"

#include "platform/mfc/window/cmd_ui.h"

namespace {

bool IsSystemCommand(UINT id) { return id >= 0xF000 && id < 0xF1F0; }

}  // namespace

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
  Default();
  if (bSysMenu || !pPopupMenu) return;
  // The window menu opened from the caption is the system's own.
  HMENU system = ::GetSystemMenu(m_hWnd, FALSE);
  if (system && pPopupMenu->m_hMenu == system) return;
  AfxUpdateMenuPopup(this, pPopupMenu, m_bAutoMenuEnable);
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
  if (nFlags == 0xFFFF && hSysMenu == nullptr) {
    // The menu closed: back to the idle prompt.
    m_nIDTracking = AFX_IDS_IDLEMESSAGE;
  } else if (nFlags & (MF_SEPARATOR | MF_POPUP)) {
    m_nIDTracking = 0;  // no prompt for separators and popups
  } else if (IsSystemCommand(nItemID) || (nFlags & MF_SYSMENU)) {
    m_nIDTracking = 0;
  } else {
    m_nIDTracking = nItemID;
  }
  if (m_nIDTracking != m_nIDLastMessage) SetMessageText(m_nIDTracking);
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd*) {
  Default();
  if (nWhy != MSGF_MENU || m_nIDTracking == m_nIDLastMessage) return;
  SetMessageText(m_nIDTracking);
}

CWnd* CFrameWnd::GetMessageBar() const {
  return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR));
}

void CFrameWnd::SetMessageText(LPCWSTR lpszText) {
  if (CWnd* bar = GetMessageBar()) {
    bar->SetWindowText(lpszText ? lpszText : L"");
    bar->UpdateWindow();
  }
}

void CFrameWnd::SetMessageText(UINT nID) {
  CString prompt;
  if (nID != 0) GetMessageString(nID, prompt);
  SetMessageText(prompt.GetString());
  m_nIDLastMessage = nID;
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
  rMessage.Empty();
  CString text;
  if (!text.LoadString(nID)) return;
  int newline = text.Find(L'\n');
  rMessage = newline >= 0 ? text.Left(newline) : text;
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  UINT last = m_nIDLastMessage;
  if (lParam && AfxIsMessageFromOwnThread()) {
    SetMessageText(reinterpret_cast<LPCWSTR>(lParam));
    m_nIDLastMessage = 0;
  } else {
    SetMessageText(static_cast<UINT>(wParam));
  }
  // The text stays until the next prompt is asked for.
  m_nIDTracking = m_nIDLastMessage;
  return static_cast<LRESULT>(last);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
  HACCEL accel = GetDefaultAccelerator();
  return accel && ::TranslateAcceleratorW(m_hWnd, accel, pMsg);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
  int key = 0;
  switch (pCmdUI->m_nID) {
    case ID_INDICATOR_CAPS: key = VK_CAPITAL; break;
    case ID_INDICATOR_NUM: key = VK_NUMLOCK; break;
    case ID_INDICATOR_SCRL: key = VK_SCROLL; break;
    default:
      pCmdUI->ContinueRouting();
      return;
  }
  pCmdUI->Enable((::GetKeyState(key) & 1) != 0);
}
