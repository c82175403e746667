// CWindow: a window handle with the everyday calls as members. It owns
// nothing; copying it copies the handle.
#pragma once
#include <windows.h>

#include <string>

class CWindow {
 public:
  HWND m_hWnd = nullptr;

  CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
  CWindow& operator=(HWND hWnd) {
    m_hWnd = hWnd;
    return *this;
  }
  operator HWND() const { return m_hWnd; }

  void Attach(HWND hWnd) { m_hWnd = hWnd; }
  HWND Detach() {
    HWND h = m_hWnd;
    m_hWnd = nullptr;
    return h;
  }

  // Plain window creation with an existing class.
  HWND Create(const wchar_t* className, HWND parent, const RECT* rect, const wchar_t* title,
              DWORD style, DWORD exStyle = 0, UINT_PTR idOrMenu = 0, void* createParam = nullptr);
  BOOL DestroyWindow();

  BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
  BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
  BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
  BOOL Invalidate(BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, nullptr, erase); }
  BOOL InvalidateRect(const RECT* rect, BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, rect, erase); }
  BOOL RedrawWindow(const RECT* rect = nullptr, HRGN rgn = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
    return ::RedrawWindow(m_hWnd, rect, rgn, flags);
  }
  void SetRedraw(BOOL redraw = TRUE) { ::SendMessageW(m_hWnd, WM_SETREDRAW, redraw, 0); }

  LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
  }
  BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
  }
  void SendMessageToDescendants(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE);

  BOOL SetWindowText(const wchar_t* text) { return ::SetWindowTextW(m_hWnd, text); }
  std::wstring GetWindowText() const;
  int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }

  HWND GetParent() const { return ::GetParent(m_hWnd); }
  HWND GetWindow(UINT cmd) const { return ::GetWindow(m_hWnd, cmd); }
  BOOL IsChild(HWND hWnd) const { return ::IsChild(m_hWnd, hWnd); }
  HWND SetParent(HWND parent) { return ::SetParent(m_hWnd, parent); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  int SetDlgCtrlID(int id) { return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, id)); }
  BOOL SetDlgItemText(int id, const wchar_t* text) { return ::SetDlgItemTextW(m_hWnd, id, text); }
  std::wstring GetDlgItemText(int id) const { return CWindow(GetDlgItem(id)).GetWindowText(); }
  LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendDlgItemMessageW(m_hWnd, id, msg, wParam, lParam);
  }
  UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
  BOOL CheckDlgButton(int id, UINT check) { return ::CheckDlgButton(m_hWnd, id, check); }

  BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(m_hWnd, rect); }
  BOOL GetWindowRect(RECT* rect) const { return ::GetWindowRect(m_hWnd, rect); }
  BOOL MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) {
    return ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
  }
  BOOL MoveWindow(const RECT* rect, BOOL repaint = TRUE) {
    return ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left,
                        rect->bottom - rect->top, repaint);
  }
  BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
  }
  BOOL SetWindowPos(HWND after, const RECT* rect, UINT flags) {
    return ::SetWindowPos(m_hWnd, after, rect->left, rect->top, rect->right - rect->left,
                          rect->bottom - rect->top, flags);
  }
  BOOL ScreenToClient(POINT* pt) const { return ::ScreenToClient(m_hWnd, pt); }
  BOOL ScreenToClient(RECT* rect) const;
  BOOL ClientToScreen(POINT* pt) const { return ::ClientToScreen(m_hWnd, pt); }
  BOOL ClientToScreen(RECT* rect) const;
  int MapWindowPoints(HWND to, POINT* pts, UINT count) const {
    return ::MapWindowPoints(m_hWnd, to, pts, count);
  }
  int MapWindowPoints(HWND to, RECT* rect) const {
    return ::MapWindowPoints(m_hWnd, to, reinterpret_cast<POINT*>(rect), 2);
  }
  // Centres on the given window, on the owner or parent when none is given,
  // else on the work area; the result stays inside the work area.
  BOOL CenterWindow(HWND center = nullptr);

  LONG_PTR GetWindowLongPtr(int index) const { return ::GetWindowLongPtrW(m_hWnd, index); }
  LONG_PTR SetWindowLongPtr(int index, LONG_PTR value) {
    return ::SetWindowLongPtrW(m_hWnd, index, value);
  }
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
  // Removes then adds style bits; with flags, SetWindowPos applies them
  // (SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE added). False
  // when nothing changed.
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  HWND SetCapture() { return ::SetCapture(m_hWnd); }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  BOOL BringWindowToTop() { return ::BringWindowToTop(m_hWnd); }
  BOOL FlashWindow(BOOL invert) { return ::FlashWindow(m_hWnd, invert); }
  // Keyboard handling of a modeless dialog, for a message filter.
  BOOL IsDialogMessage(MSG* msg) { return ::IsDialogMessageW(m_hWnd, msg); }
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) {
    return ::SetTimer(m_hWnd, id, elapse, proc);
  }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
  HICON SetIcon(HICON icon, BOOL big = TRUE) {
    return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                  reinterpret_cast<LPARAM>(icon)));
  }
  void SetFont(HFONT font, BOOL redraw = TRUE) {
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
  }
  HFONT GetFont() const { return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }
  HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
  HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
  HDC GetDC() { return ::GetDC(m_hWnd); }
  int ReleaseDC(HDC dc) { return ::ReleaseDC(m_hWnd, dc); }
  DWORD GetWindowThreadID() const { return ::GetWindowThreadProcessId(m_hWnd, nullptr); }
  DWORD GetWindowProcessID() const;
};
