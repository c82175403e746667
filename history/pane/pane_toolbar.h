// The history pane's caption: a toolbar across the top of the pane that
// carries its buttons, moves the pane when dragged, reports a resting mouse
// (WM_NOTIFY code 0 to the pane) and turns red while the pane blinks.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "platform/atl/window_impl.h"

namespace pane_ids {
constexpr UINT kToolbarId = 1204;
constexpr UINT kListId = 1203;
constexpr UINT kFixPane = 32820;
constexpr UINT kKeep = 32786;
constexpr UINT kCopy = 32793;
constexpr UINT kEditPhrases = 32772;
constexpr UINT kMinimizeToCaption = 32798;
constexpr UINT kClose = 57665;
constexpr UINT_PTR kHoverTimer = 1212;
constexpr UINT kHoverTimerMs = 1000;
constexpr int kButtonWidth = 22;
constexpr int kToolbarHeight = 24;
}  // namespace pane_ids

class CPaneToolbar : public CWindowImpl<CPaneToolbar, CWindow, CControlWinTraits> {
 public:
  DECLARE_WND_SUPERCLASS(L"QuilloraPaneToolbar", TOOLBARCLASSNAMEW)

  explicit CPaneToolbar(UINT countMessage) : m_countMessage(countMessage) {}
  ~CPaneToolbar() override;

  BEGIN_MSG_MAP(CPaneToolbar)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
  END_MSG_MAP()

  // Creates the child control of the pane (zero rectangle) and shows it.
  bool CreateIn(HWND pane);

  // Width the stretch separator gets for a toolbar of that client width.
  static int StretchWidth(int clientWidth, int buttonCount);

  void SetAlert(bool on);
  bool Alert() const { return m_alert; }
  // Keep state: checked and COLOR_WINDOW while the history records.
  void SetKeepState(bool recording);
  int ColorIndex() const { return m_colorIndex; }
  void SetCollapsedLook(bool collapsed);
  void SetFixedLook(bool fixed);
  void EnableButton(UINT command, bool on);
  void SetMenuOpen(bool open) { m_menuOpen = open; }
  // Screen rectangle of a button, false when it has none.
  bool GetButtonScreenRect(UINT command, RECT& rect) const;
  UINT_PTR HoverTimerId() const { return m_hoverTimer; }

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  // Index of the button under a client point, or -1 (separators count as off).
  int ButtonAt(LPARAM lParam) const;
  void Fit();

  UINT m_countMessage;
  bool m_alert = false;
  int m_colorIndex = COLOR_GRAYTEXT;
  bool m_tracking = false;
  UINT_PTR m_hoverTimer = 0;
  bool m_menuOpen = false;
  HIMAGELIST m_images = nullptr;
};
