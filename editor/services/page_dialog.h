// CPageDialog: the base of the editor's settings pages. A page lives as a
// modeless child inside the editor's window, so Enter and Escape must never
// end it: its OK and Cancel handlers do nothing.
#pragma once
#include "platform/mfc/dialog/dialog.h"

class CPageDialog : public CDialog {
 public:
  CPageDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

 protected:
  void OnOK() override {}
  void OnCancel() override {}
};
