// A wrapper for a list whose rows draw parts of themselves: after each
// horizontal scroll the whole client area is painted anew, so that no
// half-moved row stays on screen.
#pragma once
#include <windows.h>

#include "platform/atl/window_impl.h"

class CListRepaintWnd : public CWindowImpl<CListRepaintWnd> {
 public:
  BEGIN_MSG_MAP(CListRepaintWnd)
    MESSAGE_HANDLER(WM_HSCROLL, OnHScroll)
  END_MSG_MAP()

 private:
  LRESULT OnHScroll(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&);
};
