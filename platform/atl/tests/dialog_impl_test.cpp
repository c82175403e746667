#include "platform/atl/dialog_impl.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/atl/message_loop.h"
#include "tests/support/test_support.h"

namespace {

class CTestDlg : public CDialogImpl<CTestDlg> {
 public:
  enum { IDD = 100 };
  LPARAM initParam = 0;
  int finals = 0;
  int endWith = 42;
  HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
  ~CTestDlg() { ::DeleteObject(brush); }

  BEGIN_MSG_MAP(CTestDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_CTLCOLORDLG, OnCtlColor)
    MESSAGE_HANDLER(WM_APP, OnApp)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    NOTIFY_HANDLER(1001, 700, OnNotify)
  END_MSG_MAP()

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL&) {
    initParam = lParam;
    SetDlgItemText(1001, L"ready");
    return TRUE;
  }
  LRESULT OnCtlColor(UINT, WPARAM, LPARAM, BOOL&) { return reinterpret_cast<LRESULT>(brush); }
  LRESULT OnApp(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
    bHandled = wParam != 0;
    return 12345;
  }
  LRESULT OnOk(WORD, WORD, HWND, BOOL&) {
    if (IsModal()) {
      EndDialog(endWith);
    } else {
      DestroyWindow();
    }
    return 0;
  }
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
  }
  LRESULT OnNotify(int, NMHDR*, BOOL&) { return 777; }
  void OnFinalMessage(HWND) override { ++finals; }
};

TEST(DialogImplTest, ModalDialogReturnsWhatEndDialogWasGiven) {
  CTestDlg dlg;
  // Press OK once the dialog runs its own loop.
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND active = ::GetActiveWindow();
    if (active) ::PostMessageW(active, WM_COMMAND, IDOK, 0);
  });
  INT_PTR result = dlg.DoModal(nullptr, 0x5151);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(42, result);
  EXPECT_EQ(0x5151, dlg.initParam);
  EXPECT_EQ(1, dlg.finals);
  EXPECT_EQ(nullptr, dlg.m_hWnd);
  EXPECT_FALSE(dlg.IsModal());
}

TEST(DialogImplTest, ModelessDialogAnswersThroughTheRightChannel) {
  CTestDlg dlg;
  HWND h = dlg.Create(nullptr, 9);
  ASSERT_TRUE(h);
  EXPECT_EQ(9, dlg.initParam);
  EXPECT_EQ(L"ready", dlg.GetDlgItemText(1001));
  // Initialised once: sent again (as any program can), it sets nothing up.
  dlg.SetDlgItemText(1001, L"changed");
  dlg.SendMessage(WM_INITDIALOG, 0, 77);
  EXPECT_EQ(9, dlg.initParam);
  EXPECT_EQ(L"changed", dlg.GetDlgItemText(1001));

  struct Case {
    UINT msg;
    WPARAM wParam;
    LRESULT expected;
  };
  NMHDR nm = {dlg.GetDlgItem(1001), 1001, 700};
  // WM_NOTIFY travels through DWLP_MSGRESULT, a colour brush comes back
  // directly, an unhandled message gets the dialog manager's default.
  LRESULT viaMsgResult = dlg.SendMessage(WM_NOTIFY, 1001, reinterpret_cast<LPARAM>(&nm));
  EXPECT_EQ(777, viaMsgResult);
  EXPECT_EQ(777, ::GetWindowLongPtrW(h, DWLP_MSGRESULT));
  EXPECT_EQ(reinterpret_cast<LRESULT>(dlg.brush),
            dlg.SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(::GetDC(h)),
                            reinterpret_cast<LPARAM>(h)));
  EXPECT_EQ(12345, dlg.SendMessage(WM_APP, 1));
  EXPECT_EQ(0, dlg.SendMessage(WM_APP, 0));
  EXPECT_EQ(MAKELRESULT(IDOK, DC_HASDEFID), dlg.SendMessage(DM_GETDEFID));

  dlg.SendMessage(WM_COMMAND, IDOK);  // modeless: the handler destroys the window
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(1, dlg.finals);
  EXPECT_EQ(nullptr, dlg.m_hWnd);
}

// A modeless dialog in a message loop: a filter hands keys to
// IsDialogMessage, so Escape reaches the dialog as IDCANCEL.
class CDialogKeys : public CMessageFilter {
 public:
  explicit CDialogKeys(HWND dlg) : m_dlg(dlg) {}
  BOOL PreTranslateMessage(MSG* msg) override { return m_dlg.IsDialogMessage(msg); }

 private:
  CWindow m_dlg;
};

class CQuitOnCancelDlg : public CTestDlg {
 public:
  BEGIN_MSG_MAP(CQuitOnCancelDlg)
    COMMAND_ID_HANDLER(IDCANCEL, OnQuit)
    CHAIN_MSG_MAP(CTestDlg)
  END_MSG_MAP()
  LRESULT OnQuit(WORD, WORD, HWND, BOOL&) {
    DestroyWindow();
    ::PostQuitMessage(IDCANCEL);
    return 0;
  }
};

TEST(DialogImplTest, ModelessDialogGetsItsKeysThroughAMessageFilter) {
  CQuitOnCancelDlg dlg;
  ASSERT_TRUE(dlg.Create(nullptr));
  dlg.ShowWindow(SW_SHOW);
  ::SetForegroundWindow(dlg);
  CDialogKeys keys(dlg);
  CMessageLoop loop;
  loop.AddMessageFilter(&keys);
  HWND edit = dlg.GetDlgItem(1001);
  ::SetFocus(edit);
  ::PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(IDCANCEL, loop.Run());
  EXPECT_EQ(1, dlg.finals);
}

}  // namespace
