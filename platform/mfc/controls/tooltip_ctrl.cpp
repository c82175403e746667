#include "platform/mfc/controls/tooltip_ctrl.h"

#include "platform/mfc/controls/control_classes.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
  if (!AfxEnsureCommonControls(ICC_WIN95_CLASSES)) return FALSE;
  if (!CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | dwStyle, CW_USEDEFAULT,
                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr))
    return FALSE;
  // WS_EX_TOPMOST already puts it in the topmost band, and the control
  // brings itself to the top whenever it shows a tip.
  return TRUE;
}

TOOLINFOW CToolTipCtrl::ToolInfo(CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFOW ti = {};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = pWnd ? pWnd->m_hWnd : nullptr;
  if (nIDTool == 0) {
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(ti.hwnd);
  } else {
    ti.uId = nIDTool;
  }
  return ti;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCWSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  TOOLINFOW ti = ToolInfo(pWnd, nIDTool);
  ti.hinst = ::GetModuleHandleW(nullptr);
  ti.lpszText = const_cast<LPWSTR>(lpszText);
  if (nIDTool != 0) {
    if (lpRectTool)
      ti.rect = *lpRectTool;
    else if (ti.hwnd)
      ::GetClientRect(ti.hwnd, &ti.rect);
  }
  return AddTool(&ti);
}

void CToolTipCtrl::UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFOW ti = ToolInfo(pWnd, nIDTool);
  ti.hinst = ::GetModuleHandleW(nullptr);
  ti.lpszText = const_cast<LPWSTR>(lpszText);
  Send(TTM_UPDATETIPTEXTW, 0, &ti);
}

void CToolTipCtrl::TrackActivate(BOOL bActivate, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFOW ti = ToolInfo(pWnd, nIDTool);
  Send(TTM_TRACKACTIVATE, bActivate, &ti);
}
