#include "editor/toolbars/pane_toolbar_ctrl.h"

#include <string>

#include "editor/toolbars/toolbar_names.h"

using namespace toolbars;

IMPLEMENT_DYNAMIC(CPaneToolBarCtrl, CToolBarCtrlEx)

BEGIN_MESSAGE_MAP(CPaneToolBarCtrl, CToolBarCtrlEx)
  ON_WM_LBUTTONDOWN()
  ON_WM_SIZE()
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

void CPaneToolBarCtrl::OnLButtonDown(UINT, CPoint point) {
  const int index = HitTest(&point);
  if (index >= 0 && ClickQueryMessage != 0) {
    TBBUTTON button = {};
    if (::SendMessageW(m_hWnd, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button))) {
      HWND parent = ::GetParent(m_hWnd);
      if (parent && ::SendMessageW(parent, ClickQueryMessage, static_cast<WPARAM>(index),
                                   static_cast<LPARAM>(button.idCommand)) == 1) {
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        return;
      }
    }
  }
  Default();
}

void CPaneToolBarCtrl::OnSize(UINT, int cx, int) {
  Default();
  const int count = GetButtonCount();
  if (count <= 0) return;
  const int room = cx - kPaneButtonWidth * (count - 1);
  if (room <= kPaneButtonWidth) return;
  TBBUTTONINFOW info = {sizeof(info)};
  info.dwMask = TBIF_SIZE | TBIF_BYINDEX;
  info.cx = static_cast<WORD>(room < kPaneLastButtonMaxWidth ? room : kPaneLastButtonMaxWidth);
  ::SendMessageW(m_hWnd, TB_SETBUTTONINFOW, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&info));
}

void CPaneToolBarCtrl::SetFilterButton(const wchar_t* text, BOOL checked) {
  if (!m_hWnd) return;
  const std::wstring wanted = text ? text : L"";
  wchar_t current[kFilterTextMax + 1] = L"";
  TBBUTTONINFOW info = {};
  info.dwMask = TBIF_TEXT;
  info.pszText = current;
  info.cchText = kFilterTextMax + 1;
  if (GetButtonInfo(kIdHideUnchecked, &info) < 0) return;
  current[kFilterTextMax] = L'\0';
  if (wanted != current) {
    std::wstring copy = wanted;
    TBBUTTONINFOW set = {};
    set.dwMask = TBIF_TEXT;
    set.pszText = &copy[0];
    SetButtonInfo(kIdHideUnchecked, &set);
  }
  const int state = GetButtonState(kIdHideUnchecked);
  if (state != -1 && ((state & TBSTATE_CHECKED) != 0) != (checked != FALSE)) CheckButton(kIdHideUnchecked, checked);
}

void CPaneToolBarCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = PaintToolBarBackground(pNMHDR, COLOR_WINDOW);
}
