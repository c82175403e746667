#include "history/pane/list_view_hover.h"

#include <windowsx.h>

#include "foundation/ui/subclass.h"

bool CListViewHover::Attach(HWND list, HWND receiver) {
  if (m_attached || !::IsWindow(list)) return false;
  if (!SubclassWindowProc(list, &CListViewHover::OnListMessage, reinterpret_cast<LONG_PTR>(this)))
    return false;
  m_list = list;
  m_receiver = receiver;
  m_controlId = static_cast<UINT>(::GetDlgCtrlID(list));
  m_attached = true;
  return true;
}

void CListViewHover::Detach() {
  if (!m_attached) return;
  UnsubclassWindowProc(m_list);
  if (::IsWindow(m_list)) ::KillTimer(m_list, hover_ids::kTimer);
  HoverEnd();
  m_hot = -1;
  m_pending = -1;
  m_attached = false;
  m_tracking = false;
}

int CListViewHover::IconItemAt(HWND list, POINT pt) {
  if (!list || ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) <= 0) return -1;
  LVHITTESTINFO hit = {};
  hit.pt = pt;
  int item = static_cast<int>(::SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return (item >= 0 && (hit.flags & LVHT_ONITEMICON)) ? item : -1;
}

LRESULT CListViewHover::OnListMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                      LONG_PTR self, BOOL* passOn, WNDPROC previous) {
  auto* tracker = reinterpret_cast<CListViewHover*>(self);
  switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: {
      // The list's own handling first.
      *passOn = FALSE;
      LRESULT result = ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
      POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (tracker->m_attached) {
        if (msg == WM_MOUSEMOVE) {
          tracker->OnMouseMove(pt);
        } else {
          tracker->OnButtonDown(pt);
        }
      }
      return result;
    }
    case WM_TIMER:
      if (wParam != hover_ids::kTimer) break;
      *passOn = FALSE;
      tracker->OnTimer();
      return 0;
    case WM_MOUSELEAVE:
      tracker->m_tracking = false;
      tracker->HoverEnd();
      break;
    case WM_DESTROY:
      tracker->Detach();
      break;
    default:
      break;
  }
  return 0;
}

void CListViewHover::OnMouseMove(POINT pt) {
  int item = IconItemAt(m_list, pt);
  if (item < 0) {
    HoverEnd();
    return;
  }
  if (item == m_hot) return;
  HoverEnd();
  if (item == m_pending) return;
  m_pending = item;
  ::SetTimer(m_list, hover_ids::kTimer, hover_ids::kTimerMs, nullptr);
}

void CListViewHover::OnTimer() {
  ::KillTimer(m_list, hover_ids::kTimer);
  POINT pt = {};
  ::GetCursorPos(&pt);
  ::ScreenToClient(m_list, &pt);
  int item = IconItemAt(m_list, pt);
  if (item >= 0 && item == m_pending) TrackLeave();
  if (item >= 0) {
    m_hot = item;
    Notify(hover_ids::kHoverStart, item);
  } else if (m_hot >= 0) {
    int old = m_hot;
    m_hot = -1;
    Notify(hover_ids::kHoverEnd, old);
  }
}

void CListViewHover::OnButtonDown(POINT pt) {
  int item = IconItemAt(m_list, pt);
  if (item < 0) return;
  TrackLeave();
  Notify(hover_ids::kIconClick, item);
}

void CListViewHover::HoverEnd() {
  // A rest cut short before its time reports nothing.
  if (m_pending >= 0 && ::IsWindow(m_list)) ::KillTimer(m_list, hover_ids::kTimer);
  m_pending = -1;
  if (m_hot < 0) return;
  int old = m_hot;
  m_hot = -1;
  Notify(hover_ids::kHoverEnd, old);
}

void CListViewHover::TrackLeave() {
  if (m_tracking) return;
  TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_list, 0};
  m_tracking = ::TrackMouseEvent(&track) != FALSE;
}

void CListViewHover::Notify(UINT code, int item) {
  if (!::IsWindow(m_receiver)) return;
  NMLISTHOVER notice = {};
  notice.hdr.hwndFrom = m_list;
  notice.hdr.idFrom = m_controlId;
  notice.hdr.code = code;
  notice.item = item;
  ::SendMessageW(m_receiver, WM_NOTIFY, m_controlId, reinterpret_cast<LPARAM>(&notice));
}
