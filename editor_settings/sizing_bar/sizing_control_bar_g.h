// CSizingControlBarG: a sizing bar with a gripper band and a close button
// while docked. The button is pushed while the left button is held on it,
// raised while the cursor is over it, and hides the bar when released on
// it.
#pragma once
#include <windows.h>

#include "editor_settings/sizing_bar/sizing_control_bar.h"

class CSizingControlBarG : public CSizingControlBar {
  DECLARE_DYNAMIC(CSizingControlBarG)

 public:
  CSizingControlBarG() = default;

  virtual BOOL HasGripper() const { return !IsFloating(); }
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  int m_cyGripper = sizing_bar::kGripperBand;
  CRect m_rcClose;  // the close button, relative to the window's corner
  BOOL m_bClosePushed = FALSE, m_bCloseHot = FALSE;

 protected:
  void NcCalcClient(LPRECT pRc, UINT nDockBarID) override;
  void NcPaintGripper(CDC* pDC, CRect rcClient) override;
  void PaintCloseButton(CDC* pDC);
  // The close button on the screen.
  CRect CloseButtonOnScreen() const;
  LRESULT OnNcHitTest(CPoint point);
  void OnNcLButtonDown(UINT nHitTest, CPoint point);
  void OnNcLButtonUp(UINT nHitTest, CPoint point);
  DECLARE_MESSAGE_MAP()
};
