#include "editor/tree/tree_drag.h"

#include <windowsx.h>

#include <cstring>

namespace {

const wchar_t kDragProp[] = L"Quillora.TreeDrag";

}  // namespace

CTreeDragController::~CTreeDragController() {
  End();
  Unsubclass();
}

bool CTreeDragController::IsSubclassing(HWND window) {
  auto* self = static_cast<CTreeDragController*>(::GetPropW(window, kDragProp));
  return self && self->m_tree == window;
}

bool CTreeDragController::Start(HWND tree, HTREEITEM item) {
  if (!tree || !::IsWindow(tree) || !item || m_tree) return false;
  if (m_subclassed != tree) {
    Unsubclass();
    if (m_subclassed) return false;  // still held by an earlier window
    ::SetPropW(tree, kDragProp, this);
    m_oldProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    m_subclassed = tree;
  }
  m_tree = tree;
  m_dragItem = item;
  m_dropTarget = nullptr;
  m_expandItem = nullptr;
  m_scrollV = m_scrollH = 0;
  ::GetCursorPos(&m_lastPoint);
  ::ScreenToClient(tree, &m_lastPoint);
  MakeDragCursor();
  m_oldCursor = ::SetCursor(m_dragCursor ? m_dragCursor : ::LoadCursorW(nullptr, IDC_ARROW));
  m_cursorState = 1;
  if (m_options & kOptionTrackTip) PrepareTip();
  ::SetCapture(tree);
  return true;
}

void CTreeDragController::MakeDragCursor() {
  m_dragCursor = nullptr;
  auto list = reinterpret_cast<HIMAGELIST>(
      ::SendMessageW(m_tree, TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(m_dragItem)));
  // The tree may give no image (no image list, an item out of view): the
  // drag then shows the arrow.
  if (!list) return;
  HICON icon = ::ImageList_GetIcon(list, 0, ILD_NORMAL);
  ::ImageList_Destroy(list);
  if (!icon) return;
  ICONINFO info = {};
  if (::GetIconInfo(icon, &info)) {
    info.fIcon = FALSE;
    info.xHotspot = 0;
    info.yHotspot = 0;
    m_dragCursor = reinterpret_cast<HCURSOR>(::CreateIconIndirect(&info));
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
  }
  ::DestroyIcon(icon);
}

void CTreeDragController::PrepareTip() {
  if (!m_tip.m_hWnd && !m_tip.Create(CWnd::FromHandle(m_tree), TTS_BALLOON | TTS_ALWAYSTIP)) return;
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  info.hwnd = m_tree;
  info.uId = kTipId;
  info.lpszText = const_cast<LPWSTR>(L"");
  m_tip.AddTool(&info);
  m_tip.SetMaxTipWidth(kTipWidth);
}

LRESULT CALLBACK CTreeDragController::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<CTreeDragController*>(::GetPropW(window, kDragProp));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  if (self->m_tree != window) return self->CallOld(message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT CTreeDragController::CallOld(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcW(m_oldProc, m_subclassed, message, wParam, lParam);
}

LRESULT CTreeDragController::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_MOUSEMOVE:
      OnMove(point);
      break;  // the tree sees the move as well (its tooltip stays hidden)
    case WM_LBUTTONUP:
      OnRelease(point);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        End();
        return 0;
      }
      OnKeyDown(static_cast<UINT>(wParam), m_lastPoint);
      return 0;
    case WM_KEYUP:
      OnKeyUp(static_cast<UINT>(wParam), m_lastPoint);
      return 0;
    case WM_CAPTURECHANGED:
      // Ended a moment later, outside the capture change.
      if (reinterpret_cast<HWND>(lParam) != m_tree) ::SetTimer(m_tree, kTimerCaptureLost, 1, nullptr);
      break;
    case WM_TIMER:
      if (wParam == kTimerScroll || wParam == kTimerExpand || wParam == kTimerCaptureLost) {
        OnTimer(wParam);
        return 0;
      }
      break;
    case WM_SETCURSOR:
      ::SetCursor(m_cursorState == 2 ? ::LoadCursorW(nullptr, IDC_NO)
                                     : (m_dragCursor ? m_dragCursor : ::LoadCursorW(nullptr, IDC_ARROW)));
      return TRUE;
    case WM_DESTROY: {
      HWND tree = m_tree;
      WNDPROC old = m_oldProc;
      End();
      return ::CallWindowProcW(old, tree, message, wParam, lParam);
    }
    default:
      break;
  }
  return CallOld(message, wParam, lParam);
}

HTREEITEM CTreeDragController::HitTest(POINT point, UINT* flags) const {
  TVHITTESTINFO hit = {};
  hit.pt = point;
  auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(m_tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (flags) *flags = hit.flags;
  return item;
}

int CTreeDragController::ItemHeight() const {
  return static_cast<int>(::SendMessageW(m_tree, TVM_GETITEMHEIGHT, 0, 0));
}

void CTreeDragController::OnMove(POINT point) {
  m_lastPoint = point;
  UINT flags = 0;
  HTREEITEM item = HitTest(point, &flags);
  bool accepted = true;
  if (m_options & kOptionAskCanDrop) accepted = item && CanDrop(item, point);
  HTREEITEM target = accepted ? item : nullptr;
  if (target != m_dropTarget) {
    HTREEITEM old = m_dropTarget;
    m_dropTarget = target;
    ::SendMessageW(m_tree, TVM_SETINSERTMARK, TRUE, reinterpret_cast<LPARAM>(target));
    RepaintBand(m_tree, old);
  }
  int height = ItemHeight();
  UpdateScrollDirections(point, height);
  // A refused target shows the no-drop cursor.
  m_cursorState = item && !accepted ? 2 : 1;
  ::SetCursor(m_cursorState == 2 ? ::LoadCursorW(nullptr, IDC_NO)
                                 : (m_dragCursor ? m_dragCursor : ::LoadCursorW(nullptr, IDC_ARROW)));
  if (m_options & kOptionTrackTip) UpdateTip(target, point);
  OnDragMove(target, point);
  UpdateAutoExpand(item, flags);
}

void CTreeDragController::UpdateScrollDirections(POINT point, int itemHeight) {
  RECT client = {};
  ::GetClientRect(m_tree, &client);
  m_scrollV = 0;
  m_scrollH = 0;
  if (point.y < client.top + 2 * itemHeight && ::GetScrollPos(m_tree, SB_VERT) > 0)
    m_scrollV = -1;
  else if (point.y > client.bottom - 2 * itemHeight)
    m_scrollV = 1;
  if (point.x < client.left + itemHeight && ::GetScrollPos(m_tree, SB_HORZ) > 0)
    m_scrollH = -1;
  else if (point.x > client.right - itemHeight)
    m_scrollH = 1;
  if (m_scrollV || m_scrollH) ::SetTimer(m_tree, kTimerScroll, kScrollDelay, nullptr);
}

void CTreeDragController::UpdateAutoExpand(HTREEITEM item, UINT hitFlags) {
  if (!(m_options & kOptionAutoExpand)) return;
  bool closedFolder = false;
  if (item) {
    TVITEMW data = {};
    data.mask = TVIF_CHILDREN | TVIF_STATE;
    data.stateMask = TVIS_EXPANDED;
    data.hItem = item;
    ::SendMessageW(m_tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    closedFolder = data.cChildren != 0 && !(data.state & TVIS_EXPANDED);
  }
  if (!closedFolder || ((m_options & kOptionExpandOnIconOnly) && (hitFlags & TVHT_ONITEMLABEL))) {
    if (m_expandItem) ::KillTimer(m_tree, kTimerExpand);
    m_expandItem = nullptr;
    return;
  }
  if (item == m_expandItem) return;  // the wait for this folder runs already
  m_expandItem = item;
  ::SetTimer(m_tree, kTimerExpand, kExpandDelay, nullptr);
}

void CTreeDragController::UpdateTip(HTREEITEM item, POINT point) {
  if (!m_tip.m_hWnd) return;
  std::wstring text = item ? GetTipText(item) : std::wstring();
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = m_tree;
  info.uId = kTipId;
  if (text.empty()) {
    ::SendMessageW(m_tip.m_hWnd, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
    return;
  }
  info.lpszText = const_cast<LPWSTR>(text.c_str());
  ::SendMessageW(m_tip.m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  POINT screen = point;
  ::ClientToScreen(m_tree, &screen);
  m_tip.TrackPosition(screen.x + 16, screen.y + 16);
  ::SendMessageW(m_tip.m_hWnd, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}

void CTreeDragController::RepaintBand(HWND tree, HTREEITEM item) {
  if (!item) return;
  RECT band = {};
  std::memcpy(&band, &item, sizeof(item));  // the item goes in, its rectangle comes out
  if (!::SendMessageW(tree, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&band))) return;
  int height = band.bottom - band.top;
  int half = height > 0 ? height / 2 : 25;
  band.top -= half;
  band.bottom += half;
  ::InvalidateRect(tree, &band, TRUE);
}

void CTreeDragController::OnRelease(POINT point) {
  UINT flags = 0;
  HTREEITEM item = HitTest(point, &flags);
  if (flags & TVHT_ONITEMBUTTON) item = nullptr;
  // Dropping an item on itself changes nothing: it counts as no target.
  if (item == m_dragItem) item = nullptr;
  HTREEITEM dragged = m_dragItem;
  End();
  OnDrop(dragged, item, point);
}

void CTreeDragController::OnTimer(UINT_PTR id) {
  ::KillTimer(m_tree, id);
  if (id == kTimerCaptureLost) {
    End();
  } else if (id == kTimerScroll) {
    if (m_scrollV) ::SendMessageW(m_tree, WM_VSCROLL, m_scrollV < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    if (m_scrollH) ::SendMessageW(m_tree, WM_HSCROLL, m_scrollH < 0 ? SB_LINELEFT : SB_LINERIGHT, 0);
  } else if (id == kTimerExpand) {
    HTREEITEM waiting = m_expandItem;
    m_expandItem = nullptr;
    if (waiting && HitTest(m_lastPoint, nullptr) == waiting)
      ::SendMessageW(m_tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(waiting));
  }
}

void CTreeDragController::End() {
  if (!m_tree) return;
  HWND tree = m_tree;
  m_tree = nullptr;  // from here on the subclass only passes messages on
  Unsubclass();
  ::KillTimer(tree, kTimerScroll);
  ::KillTimer(tree, kTimerExpand);
  ::KillTimer(tree, kTimerCaptureLost);
  if (m_tip.m_hWnd) {
    TOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = tree;
    info.uId = kTipId;
    ::SendMessageW(m_tip.m_hWnd, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
  }
  if (m_cursorState) ::SetCursor(m_oldCursor);
  m_cursorState = 0;
  m_oldCursor = nullptr;
  if (m_dragCursor) ::DestroyCursor(m_dragCursor);
  m_dragCursor = nullptr;
  ::SendMessageW(tree, TVM_SETINSERTMARK, 0, 0);
  RepaintBand(tree, m_dropTarget);
  m_dropTarget = nullptr;
  m_expandItem = nullptr;
  m_dragItem = nullptr;
  if (::GetCapture() == tree) ::ReleaseCapture();
}

void CTreeDragController::Unsubclass() {
  if (!m_subclassed) return;
  HWND window = m_subclassed;
  if (!::IsWindow(window)) {
    m_subclassed = nullptr;
    return;
  }
  // Only a subclass on top can be taken off; one put on later keeps ours
  // below it, passing every message on.
  if (::GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&SubclassProc)) return;
  ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
  ::RemovePropW(window, kDragProp);
  m_subclassed = nullptr;
  m_oldProc = nullptr;
}
