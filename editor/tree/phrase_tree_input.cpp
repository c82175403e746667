// The phrase tree's mouse, keyboard and timer handling.
#include "editor/tree/phrase_tree_ctrl.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "htmldraw/tooltip/tree_item_tooltip.h"

namespace {

// The hover time, but no sooner than the control's own tooltip would ask
// (its initial delay is the double-click time): where that request comes,
// the parent gets it once.
UINT InfoTipWait() {
  UINT ms = 0;
  if (!::SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &ms, 0) || ms == 0) ms = HOVER_DEFAULT;
  UINT tooltipDelay = ::GetDoubleClickTime();
  return (ms > tooltipDelay ? ms : tooltipDelay) + 100;
}

}  // namespace

BOOL CPhraseTreeCtrl::OnClick(NMHDR*, LRESULT* result) {
  TVHITTESTINFO hit = {};
  hit.pt = m_lastDown;
  HTREEITEM item = HitTest(&hit);
  // Posted: the control toggles the box after this notification.
  if (item && (hit.flags & TVHT_ONITEMSTATEICON)) QueueCheckNotice(item);
  *result = 0;
  return FALSE;
}

LRESULT CPhraseTreeCtrl::OnCheckMessage(WPARAM, LPARAM) {
  // The message only wakes the tree: any process may post it, so the items
  // come from the tree's own list, never from the message.
  std::vector<HTREEITEM> items;
  items.swap(m_pendingChecks);
  for (HTREEITEM item : items) NotifyCheck(item);
  return 0;
}

void CPhraseTreeCtrl::NotifyCheck(HTREEITEM item) {
  TVITEMW data = {};
  data.mask = TVIF_STATE | TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  data.stateMask = TVIS_STATEIMAGEMASK | TVIS_BOLD;
  // The item may have gone between the post and now.
  if (!HasItem(item) || !GetItem(&data)) return;
  bool checked = (data.state & TVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
  SetBold(item, checked);
  data.state = (data.state & ~TVIS_BOLD) | (checked ? TVIS_BOLD : 0);
  NMTREEVIEWW notify = {};
  notify.hdr.hwndFrom = m_hWnd;
  notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  notify.hdr.code = kTreeNotifyCheck;
  notify.itemNew = data;
  if (HWND parent = ::GetParent(m_hWnd))
    ::SendMessageW(parent, WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
}

BOOL CPhraseTreeCtrl::OnItemExpanded(NMHDR* header, LRESULT* result) {
  auto* info = reinterpret_cast<NMTREEVIEWW*>(header);
  HTREEITEM item = info->itemNew.hItem;
  UpdateFolderImage(item);
  *result = 0;
  return FALSE;
}

void CPhraseTreeCtrl::UpdateFolderImage(HTREEITEM item) {
  const CQLRCommand* record = GetRecord(item);
  if (!record || !record->IsFolder()) return;
  bool open = (GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
  TVITEMW data = {};
  data.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  data.hItem = item;
  data.iImage = data.iSelectedImage = open ? kImageFolderOpen : kImageFolder;
  SetItem(&data);
}

void CPhraseTreeCtrl::OnBeginDrag(NMHDR* header, LRESULT* result) {
  auto* info = reinterpret_cast<NMTREEVIEWW*>(header);
  if (m_itemTip) m_itemTip->CancelTip();
  m_drag.Start(m_hWnd, info->itemNew.hItem);
  *result = 0;
}

void CPhraseTreeCtrl::OnKeyDown(UINT key, UINT, UINT) {
  if (key == VK_TAB && !GetEditControl()) {
    if (m_docUpdate) m_docUpdate(kHintTreeTab);
    return;
  }
  Default();
}

void CPhraseTreeCtrl::OnKeyUp(UINT key, UINT, UINT) {
  Default();
  if (key == VK_SPACE && !GetEditControl()) {
    if (HTREEITEM item = GetSelectedItem()) QueueCheckNotice(item);
  }
}

void CPhraseTreeCtrl::OnLButtonDown(UINT, CPoint point) {
  m_lastDown = point;
  Default();
}

void CPhraseTreeCtrl::OnLButtonUp(UINT, CPoint point) {
  Default();
  TVHITTESTINFO hit = {};
  hit.pt = point;
  HTREEITEM item = HitTest(&hit);
  if (item && (hit.flags & TVHT_ONITEMRIGHT)) SelectItem(item);
}

void CPhraseTreeCtrl::OnParentNotify(UINT message, LPARAM) {
  Default();
  // The label editor came or went.
  if (LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) Invalidate();
}

void CPhraseTreeCtrl::OnWindowPosChanged(WINDOWPOS* pos) {
  Default();
  if (pos && !(pos->flags & SWP_NOSIZE)) {
    m_lastSizeTick = ::GetTickCount();
    SetTimer(kTimerResize, kResizeDelay);
  }
}

void CPhraseTreeCtrl::OnTimer(UINT_PTR id) {
  if (id == kTimerResize) {
    if (::GetTickCount() - m_lastSizeTick >= kResizeDelay) {
      KillTimer(kTimerResize);
      Invalidate(FALSE);
    }
    return;
  }
  if (id == kTimerInfoTip) {
    KillTimer(kTimerInfoTip);
    if (!m_hoverItem || m_infoTipCame) return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    if (HitTest(cursor) == m_hoverItem) AskParentForInfoTip(m_hoverItem);
    return;
  }
  Default();
}

BOOL CPhraseTreeCtrl::OnGetInfoTip(NMHDR* header, LRESULT* result) {
  if (!m_askingInfoTip) {
    auto* info = reinterpret_cast<NMTVGETINFOTIPW*>(header);
    if (info->hItem == m_hoverItem) m_infoTipCame = true;
  }
  *result = 0;
  return FALSE;
}

void CPhraseTreeCtrl::AskParentForInfoTip(HTREEITEM item) {
  HWND parent = ::GetParent(m_hWnd);
  if (!parent) return;
  // The control's own request never came (so it is under Wine): the parent
  // gets the same request, so it has one road for its tooltip.
  wchar_t text[INFOTIPSIZE] = {};
  NMTVGETINFOTIPW info = {};
  info.hdr.hwndFrom = m_hWnd;
  info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  info.hdr.code = TVN_GETINFOTIPW;
  info.pszText = text;
  info.cchTextMax = INFOTIPSIZE;
  info.hItem = item;
  info.lParam = static_cast<LPARAM>(GetItemId(item));
  m_infoTipCame = true;  // one request per hover
  m_askingInfoTip = true;
  ::SendMessageW(parent, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  m_askingInfoTip = false;
}

void CPhraseTreeCtrl::OnMouseMove(UINT, CPoint point) {
  GetItemToolTip();
  if (!m_trackingLeave) {
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
    m_trackingLeave = ::TrackMouseEvent(&track) != FALSE;
  }
  HTREEITEM item = HitTest(point);
  if (m_itemTip && m_itemTip->m_hWnd && ::IsWindowVisible(m_itemTip->m_hWnd) &&
      (!item || item != m_itemTip->GetPendingItem() || m_drag.IsDragging()))
    m_itemTip->CancelTip();
  if (item != m_hoverItem) {
    m_hoverItem = item;
    m_infoTipCame = false;
    if (item && !m_drag.IsDragging())
      SetTimer(kTimerInfoTip, InfoTipWait());
    else
      KillTimer(kTimerInfoTip);
  }
  Default();
}

void CPhraseTreeCtrl::OnMouseLeave() {
  m_trackingLeave = false;
  m_hoverItem = nullptr;
  KillTimer(kTimerInfoTip);
  if (m_itemTip) m_itemTip->CancelTip();
  Default();
}
