// CMiniDockFrameWnd: the small tool window a floating control bar lives
// in, owned by the bar's frame. Its client area is one floating dock bar
// sized to the bar; its title is the bar's text. Closing it hides the bar
// through the frame; a double click on its caption docks the bar again;
// for bars with CBRS_SIZE_DYNAMIC its borders size it through the bar's
// docking context (also when WS_THICKFRAME has been taken away).
#pragma once
#include <windows.h>

#include "platform/mfc/bars/dock_bar.h"
#include "platform/mfc/window/wnd.h"

class CFrameWnd;

class CMiniDockFrameWnd : public CWnd {
  DECLARE_DYNAMIC(CMiniDockFrameWnd)

 public:
  CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}

  BOOL Create(CFrameWnd* pParent, DWORD dwBarStyle, DWORD dwWindowStyle);
  // Sizes the window to its bar (the top-left corner stays).
  void RecalcLayout(BOOL bNotify = TRUE);
  // The bar it holds, or null.
  CControlBar* GetBar() const;

  CDockBar m_wndDockBar;
  CFrameWnd* m_pDockSite = nullptr;

  void PostNcDestroy() override { delete this; }

 protected:
  void OnClose();
  LRESULT OnNcHitTest(CPoint point);
  void OnNcLButtonDown(UINT nHitTest, CPoint point);
  void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
