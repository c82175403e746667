// The clipboard the user had when the hotkey was pressed goes back only
// while that request is still open: a press that found no target leaves
// nothing armed, so what the user copies afterwards survives the program's
// end.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/hotkey_session.h"
#include "tests/e2e/tray_program.h"
#include "tests/support/test_support.h"

namespace {

using KeeperAtExitTest = qlre2e::TrayProgramTest;

TEST_F(KeeperAtExitTest, APressWithoutTargetDoesNotPutAnOldClipboardBackAtTheEnd) {
  ASSERT_TRUE(qlre2e::DefaultHotkeyIsFree());
  CopyLibrary();
  // A target that was in front and is gone: the press finds no window.
  {
    qlrtest::ChildProcess target;
    ASSERT_TRUE(target.Start(qlrtest::BinFile(L"helper_insert_target.exe"), L"edit"));
    // Its own window in front, whatever was there before.
    ASSERT_TRUE(qlrtest::WaitUntil(
        [&] {
          HWND own = qlrtest::FindProcessWindow(target.Pid(), L"QlrInsertTarget");
          return own && GetForegroundWindow() == own;
        },
        qlre2e::kWaitMs));
    target.Kill();
  }
  ASSERT_NE(Start(L""), nullptr);
  ASSERT_EQ(LogText().find(L"Cannot kernel DLL install"), std::wstring::npos) << qlrtest::ToUtf8(LogText());

  ASSERT_TRUE(qlrtest::PutClipboardText(L"before the press"));
  ASSERT_TRUE(qlre2e::PressDefaultHotkey());
  ASSERT_TRUE(WaitForLog(L"Cannot sendmessage to target window")) << qlrtest::ToUtf8(LogText());
  ASSERT_TRUE(qlrtest::PutClipboardText(L"copied afterwards"));

  Exit();
  EXPECT_EQ(qlrtest::ClipboardText(), L"copied afterwards");
}

}  // namespace
