#include "platform/mfc/frame/bar_layout.h"

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* pLayout, HWND hWnd, LPCRECT lpRect) {
  if (!hWnd || !lpRect) return;
  HWND parent = ::GetParent(hWnd);
  RECT old;
  ::GetWindowRect(hWnd, &old);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&old), 2);
  if (::EqualRect(&old, lpRect)) return;
  const UINT flags = SWP_NOACTIVATE | SWP_NOZORDER;
  const int w = lpRect->right - lpRect->left, h = lpRect->bottom - lpRect->top;
  if (pLayout && pLayout->hDWP) {
    pLayout->hDWP = ::DeferWindowPos(pLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top, w, h, flags);
  } else {
    ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, w, h, flags);
  }
}

void AfxRepositionBars(HWND hWndParent, UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag,
                       LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch) {
  AFX_SIZEPARENTPARAMS layout = {};
  layout.bStretch = bStretch;
  if (lpRectClient) {
    layout.rect = *lpRectClient;
  } else {
    ::GetClientRect(hWndParent, &layout.rect);
  }
  const bool query = (nFlag & reposQuery) != 0;
  // Moves are deferred and done together; a query moves nothing.
  layout.hDWP = query ? nullptr : ::BeginDeferWindowPos(8);
  HWND leftOver = nullptr;
  for (HWND child = ::GetTopWindow(hWndParent); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
    UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
    if (id == nIDLeftOver) leftOver = child;
    else if (id >= nIDFirst && id <= nIDLast)
      ::SendMessageW(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
  }
  if (query) {
    if (lpRectParam) {
      if (bStretch) {
        *lpRectParam = layout.rect;
      } else {
        lpRectParam->left = lpRectParam->top = 0;
        lpRectParam->right = layout.sizeTotal.cx;
        lpRectParam->bottom = layout.sizeTotal.cy;
      }
    }
    return;
  }
  if (leftOver) {
    RECT rect = layout.rect;
    if ((nFlag & reposExtra) && lpRectParam) {
      rect.left += lpRectParam->left;
      rect.top += lpRectParam->top;
      rect.right -= lpRectParam->right;
      rect.bottom -= lpRectParam->bottom;
    }
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    AfxRepositionWindow(&layout, leftOver, &rect);
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
}
