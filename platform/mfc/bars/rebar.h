// CReBar: a control bar that is a rebar control. Each band holds one
// window (a dialog bar, a toolbar...), which becomes the rebar's child;
// the rebar is as tall as its bands. It shows and hides like any bar.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/mfc/frame/control_bar.h"
#include "platform/mfc/res/afx_ids.h"

class CReBar : public CControlBar {
  DECLARE_DYNAMIC(CReBar)

 public:
  CReBar() = default;

  BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
              DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
              UINT nID = AFX_IDW_REBAR);
  // A new band around pBar in the colours given, its minimum size the
  // bar's own; dwStyle holds RBBS_ bits.
  BOOL AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCWSTR pszText = nullptr,
              DWORD dwStyle = RBBS_GRIPPERALWAYS);
  int GetBandCount() const { return m_hWnd ? static_cast<int>(SendMessage(RB_GETBANDCOUNT)) : 0; }

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

 protected:
  BOOL OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
  BOOL AddBand(CWnd* pBar, REBARBANDINFOW* pInfo);
  DECLARE_MESSAGE_MAP()
};
