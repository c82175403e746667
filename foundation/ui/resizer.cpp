#include "foundation/ui/resizer.h"

#include <algorithm>
#include <cstdlib>

namespace {

const wchar_t kResizerProp[] = L"RESIZE_NO_BORDER_THICKFRAME_SUBCLASSER";
constexpr UINT kFrameFlags =
    SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr DWORD kSizingPollMs = 200;

void SetThickFrame(HWND hWnd, bool on) {
  LONG_PTR style = ::GetWindowLongPtrW(hWnd, GWL_STYLE);
  LONG_PTR now = on ? (style | WS_THICKFRAME) : (style & ~static_cast<LONG_PTR>(WS_THICKFRAME));
  if (now == style) return;
  ::SetWindowLongPtrW(hWnd, GWL_STYLE, now);
  ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, kFrameFlags);
}

bool HasThickFrame(HWND hWnd) { return (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_THICKFRAME) != 0; }

LPARAM CursorLParam() {
  POINT pt;
  ::GetCursorPos(&pt);
  return MAKELPARAM(static_cast<SHORT>(pt.x), static_cast<SHORT>(pt.y));
}

POINT PointFromLParam(LPARAM lParam) {
  return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
}

// Takes the sizing border away as soon as the cursor has left the edges.
DWORD WINAPI SizingThread(void* param) {
  HWND hWnd = static_cast<HWND>(param);
  for (;;) {
    if (!::IsWindow(hWnd) || !HasThickFrame(hWnd)) return 0;
    LRESULT hit = ::SendMessageW(hWnd, WM_NCHITTEST, 0, CursorLParam());
    if (hit < HTLEFT || hit > HTBOTTOMRIGHT) {
      SetThickFrame(hWnd, false);
      return 0;
    }
    ::Sleep(kSizingPollMs);
  }
}

}  // namespace

LRESULT EdgeHitTest(const RECT& window, POINT pt, int frameX, int frameY) {
  RECT inner = {window.left + frameX, window.top + frameY, window.right - frameX,
                window.bottom - frameY};
  if (::PtInRect(&inner, pt) || !::PtInRect(&window, pt)) return HTCLIENT;
  int column = std::abs(pt.x - window.left) <= frameX    ? 0
               : std::abs(pt.x - window.right) <= frameX ? 2
                                                         : 1;
  int row = std::abs(pt.y - window.top) <= frameY      ? 0
            : std::abs(pt.y - window.bottom) <= frameY ? 2
                                                       : 1;
  static const LRESULT table[3][3] = {
      {HTTOPLEFT, HTLEFT, HTBOTTOMLEFT},
      {HTTOP, HTCLIENT, HTBOTTOM},
      {HTTOPRIGHT, HTRIGHT, HTBOTTOMRIGHT},
  };
  return table[column][row];
}

int DistanceToNearestEdge(const RECT& window, POINT pt) {
  return std::min(std::min(std::abs(pt.x - window.left), std::abs(pt.x - window.right)),
                  std::min(std::abs(pt.y - window.top), std::abs(pt.y - window.bottom)));
}

CNoBorderResizer::~CNoBorderResizer() {
  // The window must not keep a pointer to a destroyed resizer.
  Detach();
}

CNoBorderResizer* CNoBorderResizer::FromWindow(HWND hWnd) {
  return static_cast<CNoBorderResizer*>(::GetPropW(hWnd, kResizerProp));
}

bool CNoBorderResizer::Attach(int mode) {
  HWND hWnd = *m_owner;
  if (!hWnd || !::IsWindow(hWnd) || FromWindow(hWnd)) return false;
  m_savedStyle = 0;
  if (!::SetPropW(hWnd, kResizerProp, this)) return false;
  if (mode != 0 && mode != 1) {
    ::RemovePropW(hWnd, kResizerProp);
    return false;
  }
  WNDPROC proc = mode == 1 ? EdgeProc : FrameOnDemandProc;
  m_oldProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
  if (!m_oldProc) {
    ::RemovePropW(hWnd, kResizerProp);
    return false;
  }
  return true;
}

bool CNoBorderResizer::Detach() {
  HWND hWnd = *m_owner;
  if (!hWnd || !::IsWindow(hWnd) || FromWindow(hWnd) != this) return false;
  SetThickFrame(hWnd, false);
  ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
  ::RemovePropW(hWnd, kResizerProp);
  return true;
}

LRESULT CALLBACK CNoBorderResizer::EdgeProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CNoBorderResizer* self = FromWindow(hWnd);
  if (!self) return ::DefWindowProcW(hWnd, msg, wParam, lParam);
  WNDPROC old = self->m_oldProc;
  if (msg == WM_NCDESTROY) {
    self->Detach();
    return ::CallWindowProcW(old, hWnd, msg, wParam, lParam);
  }
  LRESULT result = ::CallWindowProcW(old, hWnd, msg, wParam, lParam);
  if (msg != WM_NCHITTEST || result != HTCLIENT) return result;
  RECT rc;
  ::GetWindowRect(hWnd, &rc);
  return EdgeHitTest(rc, PointFromLParam(lParam), 2 * ::GetSystemMetrics(SM_CXFRAME),
                     2 * ::GetSystemMetrics(SM_CYFRAME));
}

LRESULT CALLBACK CNoBorderResizer::FrameOnDemandProc(HWND hWnd, UINT msg, WPARAM wParam,
                                                     LPARAM lParam) {
  CNoBorderResizer* self = FromWindow(hWnd);
  if (!self) return ::DefWindowProcW(hWnd, msg, wParam, lParam);
  WNDPROC old = self->m_oldProc;
  switch (msg) {
    case WM_NCDESTROY:
      self->Detach();
      return ::CallWindowProcW(old, hWnd, msg, wParam, lParam);
    case WM_SETCURSOR:
      ::SendMessageW(hWnd, WM_NCHITTEST, 0, CursorLParam());
      return ::CallWindowProcW(old, hWnd, msg, wParam, lParam);
    case WM_NCHITTEST: {
      LRESULT result = ::CallWindowProcW(old, hWnd, msg, wParam, lParam);
      if (result != HTCLIENT) return result;
      if (HasThickFrame(hWnd)) {
        SetThickFrame(hWnd, false);
        return result;
      }
      RECT rc;
      ::GetWindowRect(hWnd, &rc);
      if (DistanceToNearestEdge(rc, PointFromLParam(lParam)) >= 2) return result;
      SetThickFrame(hWnd, true);
      result = ::CallWindowProcW(old, hWnd, msg, wParam, lParam);
      HANDLE thread = ::CreateThread(nullptr, 0, SizingThread, hWnd, 0, nullptr);
      if (thread) ::CloseHandle(thread);
      return result;
    }
  }
  return ::CallWindowProcW(old, hWnd, msg, wParam, lParam);
}
