// CWnd: a C++ object bound to a window. Permanent objects are kept in a
// process-wide map from handle to object; FromHandle of a window without
// one gives a temporary wrapper that lives until the next idle pass and
// must never be stored. The object's procedure is installed by subclassing
// (also for system classes created through Create), never by thunks.
#pragma once
#include <windows.h>

#include "platform/mfc/core/cmd_target.h"
#include "platform/mfc/core/dc.h"
#include "platform/mfc/core/geometry.h"
#include "platform/mfc/core/menu.h"
#include "platform/mfc/core/message_map.h"
#include "platform/mfc/core/string.h"

class CCmdUI;
struct CCreateContext;

class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)

 public:
  CWnd() = default;
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return GetSafeHwnd(); }

  // The handle map.
  static CWnd* FromHandle(HWND hWnd);
  static CWnd* FromHandlePermanent(HWND hWnd);
  static void DeleteTempMap();  // the idle pass's clean-up (this thread's wrappers)
  BOOL Attach(HWND hWndNew);
  HWND Detach();

  // Creation. lpszClassName null: the layer's plain window class.
  virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
  virtual BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                        int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                        LPVOID lpParam = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual BOOL DestroyWindow();

  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  // Called once the object is bound to its window (created or subclassed),
  // before our procedure replaces the window's own.
  virtual void PreSubclassWindow() {}
  HWND UnsubclassWindow();

  // Messages.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default();  // the default handling of the message being handled
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Asked by the parent before it handles a child's WM_COMMAND/WM_NOTIFY;
  // TRUE keeps the message from the parent.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  static BOOL SendChildNotify(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT* pResult);
  virtual void OnNcDestroy();
  // After the window is gone; views and frames delete themselves here.
  virtual void PostNcDestroy() {}

  // Command state of the direct children (dialogs and bars).
  void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                BOOL bOnlyPerm = FALSE);

  // Window data.
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  int SetDlgCtrlID(int nID);
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  // The owner set with SetOwner, else the parent.
  CWnd* GetOwner() const;
  void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = pOwnerWnd ? pOwnerWnd->m_hWnd : nullptr; }
  CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
  CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
  CWnd* GetTopLevelParent() const;

  // Thin wrappers.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
  }
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
  }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
  void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hrgnUpdate = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgnUpdate, flags);
  }
  void SetWindowText(LPCWSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
  void GetWindowText(CString& rString) const;
  CString GetWindowTextString() const;
  int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
  }
  void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
  }
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  void SetFont(HFONT hFont, BOOL bRedraw = TRUE) {
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
  }
  HFONT GetFont() const { return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }
  void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
  void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
  void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
  void ScreenToClient(LPRECT lpRect) const;
  void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
  void ClientToScreen(LPRECT lpRect) const;
  CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
  static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
  BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
  BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
  CMenu* GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
  // The old menu stays the caller's to destroy.
  BOOL SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->m_hMenu : nullptr); }
  void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
  CMenu* GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

 protected:
  // Default handlers of the ON_WM_ entries: each runs the default handling.
  int OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
  void OnDestroy() { Default(); }
  void OnTimer(UINT_PTR) { Default(); }
  void OnSize(UINT, int, int) { Default(); }
  void OnPaint() { Default(); }
  BOOL OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
  void OnMouseMove(UINT, CPoint) { Default(); }
  void OnLButtonDown(UINT, CPoint) { Default(); }
  void OnLButtonUp(UINT, CPoint) { Default(); }
  void OnLButtonDblClk(UINT, CPoint) { Default(); }
  void OnRButtonDown(UINT, CPoint) { Default(); }
  void OnKeyDown(UINT, UINT, UINT) { Default(); }
  void OnKeyUp(UINT, UINT, UINT) { Default(); }
  void OnChar(UINT, UINT, UINT) { Default(); }
  void OnContextMenu(CWnd*, CPoint) { Default(); }
  void OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
  void OnEnterIdle(UINT, CWnd*) { Default(); }
  void OnMenuSelect(UINT, UINT, HMENU) { Default(); }
  void OnSysCommand(UINT, LPARAM) { Default(); }
  void OnParentNotify(UINT, LPARAM) { Default(); }
  void OnWindowPosChanged(WINDOWPOS*) { Default(); }
  void OnCaptureChanged(CWnd*) { Default(); }
  LRESULT OnSetText(WPARAM, LPARAM) { return Default(); }
  BOOL OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
  void OnActivateApp(BOOL, DWORD) { Default(); }
  void OnMouseLeave() { Default(); }
  void OnSetFocus(CWnd*) { Default(); }
  int OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
  void OnClose() { Default(); }
  LRESULT OnNcHitTest(CPoint) { return Default(); }
  void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
  void OnNcPaint() { Default(); }
  void OnNcLButtonDown(UINT, CPoint) { Default(); }
  void OnNcLButtonUp(UINT, CPoint) { Default(); }
  void OnNcLButtonDblClk(UINT, CPoint) { Default(); }
  void OnNcMouseMove(UINT, CPoint) { Default(); }
  void OnSettingChange(UINT, LPCWSTR) { Default(); }

  WNDPROC m_pfnSuper = nullptr;  // the procedure ours replaced
  HWND m_hWndOwner = nullptr;

 public:
  // The creation messages (WM_NCCREATE, WM_CREATE, a dialog's WM_INITDIALOG)
  // come once, from the creating call on this thread: an object takes them
  // only between its binding for creation and the last of them. A later one
  // was sent by someone else and would set the object up a second time.
  void ExpectCreationMessages() { m_bCreating = true; }
  // Whether the creation message is still due; WM_CREATE and WM_INITDIALOG
  // end the creation.
  bool TakeCreationMessage(UINT message);

 private:
  bool m_bCreating = false;
  friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  friend void AfxBindCreatingWindow(CWnd* pWnd, HWND hWnd);
  bool BindAndSubclass(HWND hWnd);
};

// The window procedure of every window that has an object.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// True when the message being handled was sent by this thread itself (not
// by another thread or process, and not posted), so a pointer in it may be
// used. Pointers are never trusted from elsewhere.
bool AfxIsMessageFromOwnThread();

// The message being handled on this thread (zeroed outside a handler).
const MSG* AfxGetCurrentMessage();

// Called by the message loop around the dispatch of a queued message.
void AfxNoteDispatch(const MSG* pMsg);
