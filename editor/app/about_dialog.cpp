#include "editor/app/about_dialog.h"

#include "editor/app/editor_ids.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/system/system_helpers.h"
#include "phrases/macros/macro_dates.h"

namespace {
constexpr wchar_t kHomePageUrl[] = L"https://www.quillora.example/home_qlr.php";
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX), m_homePage(kHomePageUrl) {}

BOOL CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  wchar_t version[512] = {};
  ::GetDlgItemTextW(m_hWnd, IDC_ABOUT_VERSION, version, 512);
  CLngString released;
  released.LoadString(IDS_RELEASED);
  std::wstring text = std::wstring(version) + L"\n" + released.Text() + L" " + GetBuildDateText();
  SetDlgItemText(IDC_ABOUT_VERSION, text.c_str());
  if (m_homePage.SubclassDlgItem(IDC_ABOUT_HOMEPAGE, this)) {
    CLngString caption;
    if (caption.LoadString(IDS_HOME_PAGE)) m_homePage.SetWindowText(caption.c_str());
  }
  return TRUE;
}

void CAboutDlg::OnLButtonDown(UINT, CPoint) {
  ::SetCursor(GetSizeAllCursor());
  Default();
  ::ReleaseCapture();
  SendMessage(WM_SYSCOMMAND, 0xF012, 0);
}
