// CToolBar: a control bar that is a toolbar control. It docks like any
// bar, or lives as a child of another window (a dialog bar) and then
// sends its commands there, from where they go on to the frame. In the
// idle pass every button follows its command's update handler (enabled,
// checked) with the frame as target; a button without a handler is
// disabled. Tooltips come from the frame (the text after the "\n" of the
// command's string).
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/mfc/controls/toolbar_ctrl.h"
#include "platform/mfc/frame/control_bar.h"
#include "platform/mfc/res/afx_ids.h"

class CToolBar : public CControlBar {
  DECLARE_DYNAMIC(CToolBar)

 public:
  CToolBar() = default;
  ~CToolBar() override;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
  // dwCtrlStyle: TBSTYLE_ bits of the control; rcBorders is kept free
  // around the buttons.
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                UINT nID = AFX_IDW_TOOLBAR);

  // The control under the bar: the same window.
  CToolBarCtrl& GetToolBarCtrl() const;
  BOOL SetButtonText(int nIndex, LPCWSTR lpszText);
  CString GetButtonText(int nIndex) const;
  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  int ItemFromPoint(CPoint point) const override;

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  int OnCreate(LPCREATESTRUCT lpCreateStruct);
  void OnNcDestroy() override;
  CRect m_rcBorders;
  DECLARE_MESSAGE_MAP()

 private:
  mutable CToolBarCtrl m_ctrl;  // a second, unmapped object over the same window
};
