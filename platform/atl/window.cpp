#include "platform/atl/window.h"

HWND CWindow::Create(const wchar_t* className, HWND parent, const RECT* rect, const wchar_t* title,
                     DWORD style, DWORD exStyle, UINT_PTR idOrMenu, void* createParam) {
  RECT r = rect ? *rect : RECT{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
  int cx = rect ? r.right - r.left : CW_USEDEFAULT;
  int cy = rect ? r.bottom - r.top : CW_USEDEFAULT;
  m_hWnd = ::CreateWindowExW(exStyle, className, title, style, r.left, r.top, cx, cy, parent,
                             reinterpret_cast<HMENU>(idOrMenu), ::GetModuleHandleW(nullptr),
                             createParam);
  return m_hWnd;
}

BOOL CWindow::DestroyWindow() {
  if (!::DestroyWindow(m_hWnd)) return FALSE;
  m_hWnd = nullptr;
  return TRUE;
}

std::wstring CWindow::GetWindowText() const {
  int len = ::GetWindowTextLengthW(m_hWnd);
  if (len <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  int got = ::GetWindowTextW(m_hWnd, &text[0], len + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

namespace {

struct DescendantMessage {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  HWND parent;
  BOOL deep;
};

BOOL CALLBACK SendToChild(HWND child, LPARAM param) {
  auto* m = reinterpret_cast<DescendantMessage*>(param);
  // EnumChildWindows walks every depth; "not deep" keeps direct children.
  if (m->deep || ::GetParent(child) == m->parent) ::SendMessageW(child, m->msg, m->wParam, m->lParam);
  return TRUE;
}

}  // namespace

void CWindow::SendMessageToDescendants(UINT msg, WPARAM wParam, LPARAM lParam, BOOL deep) {
  DescendantMessage m{msg, wParam, lParam, m_hWnd, deep};
  ::EnumChildWindows(m_hWnd, SendToChild, reinterpret_cast<LPARAM>(&m));
}

BOOL CWindow::ScreenToClient(RECT* rect) const {
  return ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2) != 0 ||
         ::GetLastError() == 0;
}

BOOL CWindow::ClientToScreen(RECT* rect) const {
  return ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2) != 0 ||
         ::GetLastError() == 0;
}

BOOL CWindow::CenterWindow(HWND center) {
  DWORD style = GetStyle();
  if (!center) {
    center = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
  }
  RECT self;
  if (!::GetWindowRect(m_hWnd, &self)) return FALSE;

  RECT area, target;
  if (style & WS_CHILD) {
    HWND parent = ::GetParent(m_hWnd);
    ::GetClientRect(parent, &area);
    if (center) {
      ::GetClientRect(center, &target);
      ::MapWindowPoints(center, parent, reinterpret_cast<POINT*>(&target), 2);
    } else {
      target = area;
    }
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&self), 2);
  } else {
    HMONITOR monitor = ::MonitorFromWindow(center ? center : m_hWnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(monitor, &mi);
    area = mi.rcWork;
    if (center && ::IsWindowVisible(center) && !::IsIconic(center)) {
      ::GetWindowRect(center, &target);
    } else {
      target = area;
    }
  }
  int w = self.right - self.left, h = self.bottom - self.top;
  int x = (target.left + target.right) / 2 - w / 2;
  int y = (target.top + target.bottom) / 2 - h / 2;
  if (x + w > area.right) x = area.right - w;
  if (x < area.left) x = area.left;
  if (y + h > area.bottom) y = area.bottom - h;
  if (y < area.top) y = area.top;
  return ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

BOOL ModifyBits(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags) {
  DWORD old = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, index));
  DWORD now = (old & ~remove) | add;
  if (now == old) return FALSE;
  ::SetWindowLongPtrW(hwnd, index, static_cast<LONG_PTR>(now));
  if (flags) {
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
  }
  return TRUE;
}

}  // namespace

BOOL CWindow::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
  return ModifyBits(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWindow::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
  return ModifyBits(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

DWORD CWindow::GetWindowProcessID() const {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(m_hWnd, &pid);
  return pid;
}
