// The editor's about box: the version text with the build date, a link to
// the home page; a press anywhere on it moves it.
#pragma once
#include "editor_settings/buttons/hyperlink.h"
#include "platform/mfc/dialog/dialog.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
  BOOL OnInitDialog() override;

 protected:
  void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  qlr_editor::CHyperLink m_homePage;
};
