#include "foundation/ui/desktop.h"

#include <gtest/gtest.h>

#include "foundation/logging/log.h"
#include "foundation/ui/window_helpers.h"
#include "tests/support/test_support.h"

namespace {

TEST(DesktopTest, DesktopsCompareByNameWithoutRegardToCase) {
  HDESK thread = ::GetThreadDesktop(::GetCurrentThreadId());
  ASSERT_TRUE(thread);
  wchar_t name[256] = {};
  DWORD needed = 0;
  ASSERT_TRUE(::GetUserObjectInformationW(thread, UOI_NAME, name, sizeof(name), &needed));
  std::wstring lower = name;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
  HDESK byName = ::OpenDesktopW(lower.c_str(), 0, FALSE, DESKTOP_READOBJECTS);
  ASSERT_TRUE(byName);
  HDESK other = ::CreateDesktopW(L"QlrOtherDesktop", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  ASSERT_TRUE(other);

  struct Case {
    HDESK a, b;
    bool same;
  } cases[] = {
      {thread, thread, true},   // same handle
      {thread, byName, true},   // another handle, name in other case
      {thread, other, false},
      {other, byName, false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.same, DesktopsAreSame(c.a, c.b));
  ::CloseDesktop(byName);
  ::CloseDesktop(other);
}

TEST(DesktopTest, OurDesktopIsTheInputDesktopAndAWindowCanComeForward) {
  qlrtest::TempDir dir;
  std::wstring logPath = dir.File(L"desktop.log");
  ASSERT_TRUE(InitLog(logPath.c_str()));
  EXPECT_TRUE(IsCurrentDesktopActive());
  ASSERT_TRUE(WaitLogWritten(5000));
  std::wstring log = qlrtest::ReadUtf16File(logPath);
  EXPECT_NE(std::wstring::npos, log.find(L"Current Desktop is active")) << log;
  EXPECT_NE(std::wstring::npos, log.find(L"hDesk1=[")) << log;
  TermLog();

  // The test window brings itself forward (nothing else gives it the focus
  // without a window manager) and goes on top and back.
  HWND w = ::CreateWindowExW(0, L"STATIC", L"front", WS_POPUP | WS_VISIBLE, 20, 20, 100, 60,
                             nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(w);
  ::SetForegroundWindow(w);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return ::GetForegroundWindow() == w; }, 3000));
  EXPECT_TRUE(SetWindowTopmost(w, true));
  EXPECT_TRUE(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(SetWindowTopmost(w, false));
  EXPECT_FALSE(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  ::DestroyWindow(w);
}

}  // namespace
