#include "htmldraw/tooltip/tree_item_tooltip.h"

#include <commctrl.h>

BEGIN_MESSAGE_MAP(CTreeItemToolTip, CPPToolTip)
  ON_WM_TIMER()
END_MESSAGE_MAP()

CTreeItemToolTip::CTreeItemToolTip(HWND tree) : m_tree(tree) {}

CTreeItemToolTip::~CTreeItemToolTip() {
  // The window goes first: a tip on the screen may still draw the icon.
  if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
  if (m_icon) DestroyIcon(m_icon);
}

void CTreeItemToolTip::SetItemTip(int value1, int value2, const std::wstring& text, HTREEITEM item, HICON icon) {
  m_value1 = value1;
  m_value2 = value2;
  m_text = text;
  m_item = item;
  if (m_icon && m_icon != icon) DestroyIcon(m_icon);
  m_icon = icon;
  if (!m_text.empty() && m_hWnd) SetTimer(kTimerItem, kItemDelay);
}

void CTreeItemToolTip::CancelTip() {
  if (m_hWnd) KillTimer(kTimerItem);
  HideTip();
}

void CTreeItemToolTip::OnTimer(UINT_PTR id) {
  if (id != kTimerItem) {
    CPPToolTip::OnTimer(id);
    return;
  }
  KillTimer(kTimerItem);
  ShowIfStillOnItem();
}

void CTreeItemToolTip::ShowIfStillOnItem() {
  if (m_text.empty() || !m_tree || !::IsWindow(m_tree)) return;
  POINT cursor;
  if (!GetCursorPos(&cursor)) return;
  TVHITTESTINFO hit = {};
  hit.pt = cursor;
  ::ScreenToClient(m_tree, &hit.pt);
  HTREEITEM item = reinterpret_cast<HTREEITEM>(::SendMessageW(m_tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  // The icon, the label and the blank right of it count; the indent, the
  // expand button and the state icon do not.
  const UINT outside = TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON | TVHT_ONITEMSTATEICON | TVHT_TORIGHT;
  if (!item || (hit.flags & outside) || item != m_item) return;
  ShowTextAt(cursor, m_text, m_icon);
}
