// The phrase tree pane's toolbar: a click can be vetoed by the parent, the
// last button takes the room the others leave, and the filter button shows
// which phrases the tree lists.
#pragma once
#include <windows.h>

#include "editor_settings/helpers/toolbar_ctrl_ex.h"

class CPaneToolBarCtrl : public CToolBarCtrlEx {
  DECLARE_DYNAMIC(CPaneToolBarCtrl)

 public:
  // clickQueryMessage: sent to the parent with (button index, command id)
  // before a press on a button; an answer of 1 swallows the press. 0: none.
  explicit CPaneToolBarCtrl(UINT clickQueryMessage = 0) : ClickQueryMessage(clickQueryMessage) {}
  ~CPaneToolBarCtrl() override = default;

  // The text and check of the Hide Unchecked Phrases button, each written
  // only when it differs.
  void SetFilterButton(const wchar_t* text, BOOL checked);

  UINT ClickQueryMessage;

 protected:
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnSize(UINT nType, int cx, int cy);
  void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()
};
