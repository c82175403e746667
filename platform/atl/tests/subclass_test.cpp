#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/atl/window_impl.h"

namespace {

std::vector<std::wstring> g_trace;

// Answers WM_APP with its tag when `answer` is set, else traces and passes
// the message on.
class CTagSubclass : public CWindowImpl<CTagSubclass> {
 public:
  explicit CTagSubclass(const wchar_t* tag) : m_tag(tag) {}
  bool answer = false;
  int finals = 0;
  BEGIN_MSG_MAP(CTagSubclass)
    MESSAGE_HANDLER(WM_APP, OnApp)
  END_MSG_MAP()
  LRESULT OnApp(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    g_trace.push_back(m_tag);
    bHandled = answer;
    return 1000;
  }
  void OnFinalMessage(HWND) override { ++finals; }

 private:
  std::wstring m_tag;
};

LRESULT CALLBACK BottomProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_APP) {
    g_trace.push_back(L"bottom");
    return 1;
  }
  return ::DefWindowProcW(h, m, w, l);
}

WNDPROC g_foreignPrev = nullptr;
LRESULT CALLBACK ForeignProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_APP) g_trace.push_back(L"foreign");
  return ::CallWindowProcW(g_foreignPrev, h, m, w, l);
}

HWND CreateBottomWindow() {
  static ATOM atom = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BottomProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QlrSubclassTestBottom";
    return ::RegisterClassW(&wc);
  }();
  return ::CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

std::vector<std::wstring> Trace(HWND h) {
  g_trace.clear();
  ::SendMessageW(h, WM_APP, 0, 0);
  return g_trace;
}

using Names = std::vector<std::wstring>;

TEST(SubclassTest, ChainsRunNewestFirstAndUnwindInAnyOrder) {
  HWND h = CreateBottomWindow();
  ASSERT_TRUE(h);
  WNDPROC original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(h, GWLP_WNDPROC));
  CTagSubclass a(L"a"), b(L"b"), c(L"c");
  ASSERT_TRUE(a.SubclassWindow(h));
  ASSERT_TRUE(b.SubclassWindow(h));
  ASSERT_TRUE(c.SubclassWindow(h));
  EXPECT_FALSE(a.SubclassWindow(h));  // already bound
  EXPECT_EQ((Names{L"c", L"b", L"a", L"bottom"}), Trace(h));
  b.answer = true;
  EXPECT_EQ((Names{L"c", L"b"}), Trace(h));
  EXPECT_EQ(1000, ::SendMessageW(h, WM_APP, 0, 0));
  b.answer = false;

  // Middle first, then the top, then the last: the chain stays whole.
  EXPECT_EQ(h, b.UnsubclassWindow());
  EXPECT_EQ(nullptr, b.m_hWnd);
  EXPECT_EQ((Names{L"c", L"a", L"bottom"}), Trace(h));
  EXPECT_EQ(h, c.UnsubclassWindow());
  EXPECT_EQ((Names{L"a", L"bottom"}), Trace(h));
  EXPECT_EQ(h, a.UnsubclassWindow());
  EXPECT_EQ((Names{L"bottom"}), Trace(h));
  EXPECT_EQ(original, reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(h, GWLP_WNDPROC)));
  EXPECT_EQ(nullptr, a.UnsubclassWindow());
  EXPECT_EQ(0, a.finals + b.finals + c.finals);  // unsubclassing is no final message
  ::DestroyWindow(h);
}

TEST(SubclassTest, ForeignProcedureBetweenTwoObjectsKeepsEveryoneInOrder) {
  HWND h = CreateBottomWindow();
  CTagSubclass a(L"a"), b(L"b");
  ASSERT_TRUE(a.SubclassWindow(h));
  g_foreignPrev = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProc)));
  ASSERT_TRUE(b.SubclassWindow(h));
  EXPECT_EQ((Names{L"b", L"foreign", L"a", L"bottom"}), Trace(h));
  // a sits below the foreign procedure: it steps out as a pass-through.
  EXPECT_EQ(h, a.UnsubclassWindow());
  EXPECT_EQ((Names{L"b", L"foreign", L"bottom"}), Trace(h));
  EXPECT_EQ(h, b.UnsubclassWindow());
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(ForeignProc), ::GetWindowLongPtrW(h, GWLP_WNDPROC));
  EXPECT_EQ((Names{L"foreign", L"bottom"}), Trace(h));
  ::DestroyWindow(h);
}

TEST(SubclassTest, DestroyingTheWindowEndsEverySubclassingObject) {
  HWND h = CreateBottomWindow();
  CTagSubclass a(L"a"), b(L"b");
  ASSERT_TRUE(a.SubclassWindow(h));
  ASSERT_TRUE(b.SubclassWindow(h));
  ::DestroyWindow(h);
  EXPECT_EQ(1, a.finals);
  EXPECT_EQ(1, b.finals);
  EXPECT_EQ(nullptr, a.m_hWnd);
  EXPECT_EQ(nullptr, b.m_hWnd);
}

TEST(SubclassTest, ObjectGoingAwayGivesTheWindowBack) {
  HWND h = CreateBottomWindow();
  {
    CTagSubclass a(L"a");
    ASSERT_TRUE(a.SubclassWindow(h));
    EXPECT_EQ((Names{L"a", L"bottom"}), Trace(h));
  }
  EXPECT_TRUE(::IsWindow(h));
  EXPECT_EQ((Names{L"bottom"}), Trace(h));
  ::DestroyWindow(h);
}

// A toolbar built on the system class: buttons work through the system's
// procedure, our map sees the messages first.
class CSuperToolbar : public CWindowImpl<CSuperToolbar> {
 public:
  DECLARE_WND_SUPERCLASS(nullptr, TOOLBARCLASSNAMEW)
  int buttonCountAsks = 0;
  int sizes = 0;
  BEGIN_MSG_MAP(CSuperToolbar)
    MESSAGE_HANDLER(TB_BUTTONCOUNT, OnButtonCount)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
  END_MSG_MAP()
  LRESULT OnButtonCount(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    ++buttonCountAsks;
    bHandled = FALSE;
    return 0;
  }
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    ++sizes;
    bHandled = FALSE;
    return 0;
  }
};

class CSuperButton : public CWindowImpl<CSuperButton> {
 public:
  DECLARE_WND_SUPERCLASS(L"QlrTestSuperButton", L"BUTTON")
  BEGIN_MSG_MAP(CSuperButton)
    MESSAGE_HANDLER(BM_SETCHECK, OnSetCheck)
  END_MSG_MAP()
  // Refuses to be unchecked.
  LRESULT OnSetCheck(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
    bHandled = wParam == BST_UNCHECKED;
    return 0;
  }
};

TEST(SuperclassTest, SystemClassesKeepWorkingUnderOurMaps) {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
  ASSERT_TRUE(::InitCommonControlsEx(&icc));
  HWND parent = CreateBottomWindow();

  CSuperToolbar tb;
  ASSERT_TRUE(tb.Create(parent, nullptr, nullptr, WS_CHILD | CCS_TOP, 0, 1204));
  wchar_t name[64] = {};
  ::GetClassNameW(tb, name, 64);
  EXPECT_EQ(0, wcsncmp(name, L"QLR:", 4)) << name;
  tb.SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  TBBUTTON buttons[2] = {};
  buttons[0].idCommand = 32820;
  buttons[0].fsState = TBSTATE_ENABLED;
  buttons[1].fsStyle = BTNS_SEP;
  ASSERT_TRUE(tb.SendMessage(TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons)));
  EXPECT_EQ(2, tb.SendMessage(TB_BUTTONCOUNT));
  EXPECT_EQ(1, tb.buttonCountAsks);
  EXPECT_EQ(0, tb.SendMessage(TB_COMMANDTOINDEX, 32820));
  tb.SendMessage(WM_SIZE, 0, MAKELPARAM(100, 24));
  EXPECT_GE(tb.sizes, 1);

  CSuperButton btn;
  ASSERT_TRUE(btn.Create(parent, nullptr, L"Check", WS_CHILD | BS_AUTOCHECKBOX, 0, 7));
  btn.SendMessage(BM_SETCHECK, BST_CHECKED);
  EXPECT_EQ(BST_CHECKED, btn.SendMessage(BM_GETCHECK));
  btn.SendMessage(BM_SETCHECK, BST_UNCHECKED);
  EXPECT_EQ(BST_CHECKED, btn.SendMessage(BM_GETCHECK));
  EXPECT_EQ(L"Check", btn.GetWindowText());
  ::DestroyWindow(parent);
  EXPECT_EQ(nullptr, tb.m_hWnd);
  EXPECT_EQ(nullptr, btn.m_hWnd);
}

}  // namespace
