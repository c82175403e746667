// CDialogBar: a control bar made from a dialog template: a modeless child
// dialog whose controls report to the bar's own message map first and then
// to the frame. Its default size is the template's; in the idle pass its
// controls follow their commands' update handlers.
#pragma once
#include <windows.h>

#include "platform/mfc/frame/control_bar.h"

class CDialogBar : public CControlBar {
  DECLARE_DYNAMIC(CDialogBar)

 public:
  CDialogBar() = default;

  // nStyle: the CBRS_ bits (and WS_ bits) of the bar. The template's own
  // popup, caption and frame styles are dropped: the bar is a child.
  BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);
  virtual BOOL OnInitDialog() { return TRUE; }

  CSize m_sizeDefault;  // the template's size in pixels

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

 private:
  friend INT_PTR CALLBACK AfxDialogBarProc(HWND, UINT, WPARAM, LPARAM);
};

INT_PTR CALLBACK AfxDialogBarProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
