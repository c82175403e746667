#include "foundation/ui/arrow_button.h"

#include <algorithm>

#include "foundation/ui/subclass.h"

UINT GetArrowReleasedMessage() {
  static UINT msg = ::RegisterWindowMessageW(L"{F64B4579-F447-4598-993D-8DBB97BEF4A9}");
  return msg;
}

RECT ArrowAreaOf(const RECT& client, bool pushed) {
  RECT r;
  r.top = client.top + 2;
  r.bottom = client.bottom - 2;
  r.right = client.right - 2 + (pushed ? 1 : 0);
  r.left = r.right - 16;
  return r;
}

CArrowButton::~CArrowButton() { UnsubclassWindow(); }

bool CArrowButton::SubclassWindow(HWND button) {
  if (m_hWnd) return false;
  GetArrowReleasedMessage();
  if (!SubclassWindowProc(button, Callback, reinterpret_cast<LONG_PTR>(this))) return false;
  m_hWnd = button;
  m_hot = 1;
  m_tracking = false;
  m_pressedOnArrow = false;
  RECT client;
  ::GetClientRect(button, &client);
  m_arrowHit = ArrowAreaOf(client, false);
  m_arrowHit.left -= 4;
  return true;
}

bool CArrowButton::UnsubclassWindow() {
  if (!m_hWnd) return false;
  bool ok = UnsubclassWindowProc(m_hWnd);
  m_hWnd = nullptr;
  return ok;
}

bool CArrowButton::CursorOnArrow() const {
  POINT pt;
  ::GetCursorPos(&pt);
  ::ScreenToClient(m_hWnd, &pt);
  return ::PtInRect(&m_arrowHit, pt) != FALSE;
}

void CArrowButton::DrawArrow(HDC dc) {
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  bool pushed = (::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  RECT area = ArrowAreaOf(client, pushed);

  // The groove left of the arrow.
  HPEN gray = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_GRAYTEXT));
  HGDIOBJ oldPen = ::SelectObject(dc, gray);
  ::MoveToEx(dc, area.left - 4, area.top + 3, nullptr);
  ::LineTo(dc, area.left - 4, area.bottom - 3);
  ::SelectObject(dc, ::GetStockObject(WHITE_PEN));
  ::MoveToEx(dc, area.left - 2, area.top + 3, nullptr);
  ::LineTo(dc, area.left - 2, area.bottom - 3);

  // A triangle pointing right.
  RECT tri = {area.left, area.top + 3, area.right, area.bottom - 4};
  int h = std::min<int>(tri.bottom - tri.top, 14);
  int mid = (tri.top + tri.bottom) / 2;
  int y0 = mid - h / 2;
  POINT pts[3] = {{tri.left + 1, y0}, {tri.right - 4, mid}, {tri.left + 1, y0 + h}};
  HBRUSH fill = ::GetSysColorBrush(m_hot == 0 ? COLOR_BTNSHADOW : COLOR_BTNFACE);
  HGDIOBJ oldBrush = ::SelectObject(dc, fill);
  ::SelectObject(dc, ::GetStockObject(NULL_PEN));
  ::Polygon(dc, pts, 3);
  ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
  ::MoveToEx(dc, pts[2].x, pts[2].y, nullptr);
  ::LineTo(dc, pts[0].x, pts[0].y);
  ::LineTo(dc, pts[1].x, pts[1].y);
  ::SelectObject(dc, ::GetStockObject(WHITE_PEN));
  ::LineTo(dc, pts[2].x, pts[2].y);
  ::SelectObject(dc, oldBrush);
  ::SelectObject(dc, oldPen);
  ::DeleteObject(gray);

  m_arrowHit = area;
  m_arrowHit.left -= 4;
}

LRESULT CArrowButton::Callback(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR user,
                               BOOL* passOn, WNDPROC previous) {
  auto* self = reinterpret_cast<CArrowButton*>(user);
  if (msg == GetArrowReleasedMessage()) {
    // Posted on release: the click notification has been handled by now.
    self->m_pressedOnArrow = false;
    *passOn = FALSE;
    return 1;
  }
  switch (msg) {
    case WM_PAINT: {
      LRESULT r = ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
      HDC dc = ::GetDC(hWnd);
      self->DrawArrow(dc);
      ::ReleaseDC(hWnd, dc);
      *passOn = FALSE;
      return r;
    }
    case BM_SETSTATE: {
      LRESULT r = ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
      ::InvalidateRect(hWnd, &self->m_arrowHit, FALSE);
      if (wParam) {
        self->m_pressedOnArrow = self->CursorOnArrow();
      } else if (self->m_pressedOnArrow) {
        ::PostMessageW(hWnd, GetArrowReleasedMessage(), 0, 0);
      }
      *passOn = FALSE;
      return r;
    }
    case WM_SETTEXT: {
      LRESULT r = ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
      ::InvalidateRect(hWnd, &self->m_arrowHit, FALSE);
      *passOn = FALSE;
      return r;
    }
    case WM_MOUSEMOVE: {
      if (!self->m_tracking) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hWnd, 0};
        self->m_tracking = ::TrackMouseEvent(&tme) != FALSE;
      }
      int hot = self->CursorOnArrow() ? 0 : 1;
      if (hot != self->m_hot) {
        self->m_hot = hot;
        ::InvalidateRect(hWnd, nullptr, TRUE);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      self->m_tracking = false;
      if (self->m_hot == 0) {
        self->m_hot = 1;
        ::InvalidateRect(hWnd, nullptr, TRUE);
      }
      return 0;
    case WM_DESTROY:
      self->m_hWnd = nullptr;  // the registry ends the subclassing
      return 0;
  }
  return 0;
}
