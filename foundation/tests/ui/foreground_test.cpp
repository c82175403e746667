#include "foundation/ui/foreground.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "foundation/logging/log.h"
#include "tests/support/test_support.h"

namespace {

HWND MakeWindow(const wchar_t* title) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QlrForegroundTest";
  RegisterClassW(&wc);
  return CreateWindowW(wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200,
                       100, nullptr, nullptr, wc.hInstance, nullptr);
}

DWORD ForegroundPid() {
  DWORD pid = 0;
  HWND fg = GetForegroundWindow();
  if (fg) GetWindowThreadProcessId(fg, &pid);
  return pid;
}

// Without a window manager Wine activates through X focus events, which can
// arrive late under load: wait until the peer has held the foreground for a
// moment, so a late event of its own does not take it back from us.
bool PeerHoldsForeground(DWORD pid) {
  ULONGLONG since = 0;
  return qlrtest::PumpUntil(
      [&] {
        if (ForegroundPid() != pid) {
          since = 0;
          return false;
        }
        if (since == 0) since = GetTickCount64();
        return GetTickCount64() - since >= 300;
      },
      10000);
}

TEST(ForegroundTest, ShowsOwnWindowAndGivesTheForegroundBack) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(InitLog(dir.File(L"log.txt").c_str()));
  // Made first: a new window takes the foreground when there is no window manager.
  HWND mine = MakeWindow(L"mine");
  HWND other = MakeWindow(L"other");
  ASSERT_TRUE(mine && other);
  qlrtest::ChildProcess peer;
  ASSERT_TRUE(peer.Start(qlrtest::BinFile(L"helper_foreground_window.exe"), L""));
  ASSERT_TRUE(PeerHoldsForeground(peer.Pid()));
  HWND peerWindow = GetForegroundWindow();
  {
    CAutoForegroundWindow guard(mine);
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return GetForegroundWindow() == mine; }));
    guard.Restore();
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return GetForegroundWindow() == peerWindow; }));
  }  // a second restore by the destructor changes nothing
  EXPECT_EQ(GetForegroundWindow(), peerWindow);

  // With a window of this program in front there is nothing to do.
  SetForegroundWindow(mine);
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return GetForegroundWindow() == mine; }));
  {
    CAutoForegroundWindow guard(other);
  }
  EXPECT_EQ(GetForegroundWindow(), mine);

  DestroyWindow(other);
  DestroyWindow(mine);
  PostMessageW(peerWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(peer.Wait(10000), 0);
  ASSERT_TRUE(TermLog());
  std::wstring log = qlrtest::ReadUtf16File(dir.File(L"log.txt"));
  EXPECT_NE(log.find(L"CAutoForegroundWindow: IsWindow=1"), std::wstring::npos);
  EXPECT_NE(log.find(L"CAutoForegroundWindow: classname=[QlrForegroundPeer]"), std::wstring::npos);
}

}  // namespace
