#include <windows.h>

#include <gtest/gtest.h>

#include "platform/mfc/afx.h"
#include "platform/mfc/tests/demo/sdi_demo_ids.h"

namespace {

constexpr UINT WM_AFTER_ENTER = WM_APP + 10;

// Presses Enter in its edit once it is shown, then reports whether it was
// still open afterwards and ends with Cancel.
class CEnterDialog : public CDialog {
 public:
  explicit CEnterDialog(bool okDoesNothing) : CDialog(IDD_DEMO_MODAL), m_okDoesNothing(okDoesNothing) {}
  bool m_okDoesNothing;
  int m_okCalls = 0;
  int m_inits = 0;
  bool m_openAfterEnter = false;
  BOOL OnInitDialog() override {
    ++m_inits;
    CDialog::OnInitDialog();
    HWND edit = ::GetDlgItem(m_hWnd, IDC_DEMO_EDIT);
    ::SetFocus(edit);
    ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessage(WM_AFTER_ENTER);
    return FALSE;  // the focus is set
  }
  void OnOK() override {
    ++m_okCalls;
    if (!m_okDoesNothing) CDialog::OnOK();
  }
  LRESULT OnAfterEnter(WPARAM, LPARAM) {
    // Runs only while the dialog lives: an ended dialog's loop is over.
    m_openAfterEnter = ::IsWindow(m_hWnd) != FALSE;
    EndDialog(IDCANCEL);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CEnterDialog, CDialog)
  ON_MESSAGE(WM_AFTER_ENTER, OnAfterEnter)
END_MESSAGE_MAP()

TEST(DialogTest, EnterRunsOnOKAndADialogWhoseOnOKDoesNothingStaysOpen) {
  struct { bool okDoesNothing; INT_PTR result; bool openAfter; } cases[] = {{true, IDCANCEL, true}, {false, IDOK, false}};
  for (auto& c : cases) {
    CEnterDialog dialog(c.okDoesNothing);
    EXPECT_EQ(dialog.DoModal(), c.result);
    EXPECT_EQ(dialog.m_inits, 1);
    EXPECT_EQ(dialog.m_okCalls, 1);
    EXPECT_EQ(dialog.m_openAfterEnter, c.openAfter);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
  }
  // A template that does not exist fails without a window.
  CDialog missing(4242);
  EXPECT_EQ(missing.DoModal(), -1);
}

TEST(DialogTest, ModelessChildPageAnswersTabThroughTheDialogManager) {
  CWnd top;
  ASSERT_TRUE(top.CreateEx(0, nullptr, L"page host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                           nullptr));
  ::SetForegroundWindow(top.m_hWnd);
  {
    CDialog page(IDD_DEMO_PAGE, &top);
    ASSERT_TRUE(page.Create(IDD_DEMO_PAGE, &top));
    EXPECT_EQ(::GetParent(page.m_hWnd), top.m_hWnd);
    EXPECT_TRUE(page.GetStyle() & WS_CHILD);
    page.SetDlgItemText(IDC_DEMO_PAGE_FIRST, L"one");
    CString text;
    EXPECT_EQ(page.GetDlgItemText(IDC_DEMO_PAGE_FIRST, text), 3);
    EXPECT_EQ(text, L"one");
    HWND first = ::GetDlgItem(page.m_hWnd, IDC_DEMO_PAGE_FIRST);
    HWND second = ::GetDlgItem(page.m_hWnd, IDC_DEMO_PAGE_SECOND);
    EXPECT_EQ(page.GetDlgItem(IDC_DEMO_PAGE_SECOND)->m_hWnd, second);
    ::SetFocus(first);
    ASSERT_EQ(::GetFocus(), first);
    MSG tab = {first, WM_KEYDOWN, VK_TAB, 0x000F0001, 0, {0, 0}};
    EXPECT_TRUE(AfxPreTranslateWalk(&top, &tab));
    EXPECT_EQ(::GetFocus(), second);
    // Keys of windows outside the page are not the page's.
    MSG other = {top.m_hWnd, WM_KEYDOWN, VK_TAB, 0x000F0001, 0, {0, 0}};
    EXPECT_FALSE(page.PreTranslateMessage(&other));
  }
  // The page's window went with its object.
  EXPECT_EQ(::GetWindow(top.m_hWnd, GW_CHILD), nullptr);
  top.DestroyWindow();
}

}  // namespace
