#include "tray/window/tray_window.h"

#include <gtest/gtest.h>

#include "foundation/system/handles.h"
#include "platform/atl/app_module.h"
#include "settings/settings_files.h"
#include "settings/settings_names.h"
#include "tests/support/test_support.h"
#include "tray/app/command_line.h"
#include "tray/app/startup.h"

namespace {

class TrayWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A settings folder of its own: the window would otherwise start the
    // welcome program beside the tests on its first start.
    CreateDirectoryW(dir.File(L"Profile").c_str(), nullptr);
    SetSettingsFolders(dir.Path(), dir.File(L"Profile"));
    WritePrivateProfileStringW(L"Settings", settings_names::kWelcomeAlreadyStarted, L"1",
                               dir.File(L"Settings.ini").c_str());
    module.Init(nullptr, GetModuleHandleW(nullptr));
    module.AddMessageLoop(&loop);
  }
  void TearDown() override {
    module.RemoveMessageLoop();
    module.Term();
    SetSettingsFolders(std::wstring(), std::wstring());
  }

  UINT InstanceMessage() const {
    return RegisterWindowMessageW(settings_names::kInstanceMessage);
  }

  qlrtest::TempDir dir;
  CAppModule module;
  CMessageLoop loop;
  UniqueHandle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  CCommandLine cmd{L"/noinstall"};
};

TEST_F(TrayWindowTest, HiddenTopLevelWindowPublishedAsTrayWindow) {
  CQLRTrayWnd wnd(stop.Get(), 1, cmd.GetText(), &cmd);
  ASSERT_TRUE(wnd.Create(0));
  EXPECT_EQ(GetTrayHwnd(), wnd.m_hWnd);
  EXPECT_EQ(wnd.GetWindowText(), L"Quillora");
  // The system adds a caption to every overlapped window.
  EXPECT_EQ(wnd.GetStyle() & 0x008D0000u, 0x008D0000u);
  EXPECT_EQ(wnd.GetExStyle() & WS_EX_TOOLWINDOW, 0u);
  EXPECT_FALSE(wnd.IsWindowVisible());
  EXPECT_EQ(GetParent(wnd.m_hWnd), nullptr);
  RECT rect = {};
  wnd.GetWindowRect(&rect);
  EXPECT_EQ(rect.left, -100);
  EXPECT_EQ(rect.top, -100);

  // A second start that found this one running: answered, nothing ends.
  EXPECT_EQ(wnd.SendMessage(InstanceMessage(), 0, 0), 1);
  EXPECT_TRUE(wnd.IsWindow());
  EXPECT_EQ(wnd.SendMessage(InstanceMessage(), 7, 0), 1);
  EXPECT_TRUE(wnd.IsWindow());

  wnd.DestroyWindow();
  EXPECT_EQ(GetTrayHwnd(), nullptr);
}

TEST_F(TrayWindowTest, ExitRequestEndsTheLoopAfterTheNotice) {
  CQLRTrayWnd wnd(stop.Get(), 1, cmd.GetText(), &cmd);
  ASSERT_TRUE(wnd.Create(0));
  HWND hwnd = wnd.m_hWnd;
  ULONGLONG start = GetTickCount64();
  // Sent from another thread, as the exit watcher does.
  HANDLE sender = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto* w = static_cast<HWND*>(p);
        return static_cast<DWORD>(
            SendMessageW(*w, RegisterWindowMessageW(settings_names::kInstanceMessage), 1, 0));
      },
      &hwnd, 0, nullptr);
  ASSERT_NE(sender, nullptr);
  int result = loop.Run();
  ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_EQ(result, 0);
  EXPECT_GE(elapsed, 450u);
  EXPECT_FALSE(IsWindow(hwnd));
  DWORD answer = 0;
  WaitForSingleObject(sender, 5000);
  GetExitCodeThread(sender, &answer);
  CloseHandle(sender);
  EXPECT_EQ(answer, 1u);
}

TEST_F(TrayWindowTest, RunTrayWindowRunsUntilTheWindowQuits) {
  // The loop runs the tray window; an exit command from a helper thread
  // ends it with the loop's result.
  HANDLE closer = CreateThread(
      nullptr, 0,
      [](void*) -> DWORD {
        if (!qlrtest::WaitUntil([] { return GetTrayHwnd() != nullptr; }, 10000)) return 1;
        PostMessageW(GetTrayHwnd(), WM_COMMAND, 57665, 0);
        return 0;
      },
      nullptr, 0, nullptr);
  ASSERT_NE(closer, nullptr);
  module.RemoveMessageLoop();  // RunTrayWindow registers its own loop
  EXPECT_EQ(RunTrayWindow(stop.Get(), 1, cmd), 0);
  module.AddMessageLoop(&loop);
  WaitForSingleObject(closer, 5000);
  DWORD code = 99;
  GetExitCodeThread(closer, &code);
  CloseHandle(closer);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(GetTrayHwnd(), nullptr);
}

}  // namespace
