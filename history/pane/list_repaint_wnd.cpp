#include "history/pane/list_repaint_wnd.h"

LRESULT CListRepaintWnd::OnHScroll(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  const LRESULT result = DefWindowProc(msg, wParam, lParam);
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
  return result;
}
