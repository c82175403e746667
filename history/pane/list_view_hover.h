// Tracks the mouse over the item icons of a list view: resting on an icon
// for half a second makes it the hot item (notification 3015), leaving it
// ends the hover (3016), a button press on an icon is reported (3017). The
// notifications are WM_NOTIFY to the receiver, with the item behind the
// header.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace hover_ids {
constexpr UINT kHoverStart = 3015;
constexpr UINT kHoverEnd = 3016;
constexpr UINT kIconClick = 3017;
constexpr UINT_PTR kTimer = 9520;
constexpr UINT kTimerMs = 500;
}  // namespace hover_ids

struct NMLISTHOVER {
  NMHDR hdr;
  int item;
};

class CListViewHover {
 public:
  CListViewHover() = default;
  virtual ~CListViewHover() { Detach(); }
  CListViewHover(const CListViewHover&) = delete;
  CListViewHover& operator=(const CListViewHover&) = delete;

  // Subclasses the list; false when it does not exist or is watched already.
  bool Attach(HWND list, HWND receiver);
  void Detach();
  bool IsAttached() const { return m_attached; }
  int HotItem() const { return m_hot; }
  int PendingItem() const { return m_pending; }

  // Index of the item whose icon lies under a client point of the list, or -1.
  static int IconItemAt(HWND list, POINT pt);

 private:
  static LRESULT OnListMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                               LONG_PTR self, BOOL* passOn, WNDPROC previous);
  void OnMouseMove(POINT pt);
  void OnTimer();
  void OnButtonDown(POINT pt);
  void HoverEnd();
  void TrackLeave();
  void Notify(UINT code, int item);

  HWND m_list = nullptr;
  HWND m_receiver = nullptr;
  UINT m_controlId = 0;
  bool m_tracking = false;
  int m_hot = -1;
  int m_pending = -1;
  bool m_attached = false;
};
