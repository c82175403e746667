// The tray window of the real Quillora.exe: its window, the services it
// brings up, its tray icon, session notices and the order of its end.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "foundation/system/system_helpers.h"
#include "tests/e2e/hotkey_session.h"
#include "tests/e2e/tray_program.h"
#include "tests/support/test_support.h"

namespace {

constexpr DWORD kWaitMs = 20000;
constexpr int kHotkeyId = 77;

using TrayWindowTest = qlre2e::TrayProgramTest;

TEST_F(TrayWindowTest, NoInstallStartShowsAHiddenWindowAndNoServices) {
  HWND window = Start(L"/noinstall");
  ASSERT_NE(window, nullptr);
  // The system adds the caption bits of an overlapped window.
  DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  EXPECT_EQ(style & 0x008D0000u, 0x008D0000u);
  EXPECT_EQ(style & (WS_POPUP | WS_CHILD | WS_MINIMIZEBOX), 0u);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(GetClassLongPtrW(window, GCL_STYLE) & (CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS),
            static_cast<ULONG_PTR>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
  RECT rect = {};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, -100);
  EXPECT_EQ(rect.top, -100);

  ASSERT_TRUE(WaitForLog(L"No install on launch. Flag specifided"));
  ASSERT_TRUE(WaitForLog(L"WTS_Notify successfully installed"));
  // The tray icon went in: its success plays the start sound, whose file
  // this program folder lacks.
  ASSERT_TRUE(WaitForLog(L"ERROR: Sound file not found: " + dir.Path() + L"\\start"));
  EXPECT_EQ(LogText().find(L"cannot install tray icon"), std::wstring::npos);

  // No interchange objects and no hotkey.
  HANDLE area = OpenFileMappingW(FILE_MAP_READ, FALSE, L"Local\\$QUILLORA_INTERCHANGE_AREA$");
  EXPECT_EQ(area, nullptr);
  if (area) CloseHandle(area);
  for (const wchar_t* name : {L"Local\\Quillora_DataNeeded", L"Local\\Quillora_DataCompleted"}) {
    HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, name);
    EXPECT_EQ(event, nullptr);
    if (event) CloseHandle(event);
  }
  EXPECT_TRUE(qlre2e::DefaultHotkeyIsFree());
  Exit();
}

TEST_F(TrayWindowTest, SessionChangesAndEndSessionAreLogged) {
  HWND window = Start(L"/noinstall");
  ASSERT_NE(window, nullptr);
  const struct {
    WPARAM reason;
    LPARAM session;
    const wchar_t* line;
  } cases[] = {
      {7, 3, L"OnWmWTSSessionChange reason=WTS_SESSION_LOCK sessionId=3"},
      {8, 3, L"OnWmWTSSessionChange reason=WTS_SESSION_UNLOCK sessionId=3"},
      {9, 1, L"OnWmWTSSessionChange reason=WTS_SESSION_REMOTE_CONTROL sessionId=1"},
      {10, 2, L"WTSSessionChangeReason_2_Str: wReason=10 sessionId=2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SendMessageW(window, WM_WTSSESSION_CHANGE, c.reason, c.session), 1);
    EXPECT_TRUE(WaitForLog(c.line)) << qlrtest::ToUtf8(c.line);
  }
  EXPECT_TRUE(WaitForLog(L"OnWmWTSSessionChange WTS_reason=-1"));
  EXPECT_TRUE(WaitForLog(L"OnWmWTSSessionChange WTS_reason=1"));
  EXPECT_TRUE(WaitForLog(L"OnWmWTSSessionChange WTS_reason=0"));

  EXPECT_EQ(SendMessageW(window, WM_ENDSESSION, 1, 0x80000000), 0);
  EXPECT_TRUE(WaitForLog(L"WM_ENDSESSION wParam=1 lParam=-2147483648"));
  EXPECT_TRUE(IsWindow(window)) << "nothing else happens at session end";
  Exit();
}

TEST_F(TrayWindowTest, ServicesHoldTheHotkeyUntilTheEnd) {
  if (!qlre2e::DefaultHotkeyIsFree()) GTEST_SKIP() << "another program holds Ctrl+Alt+Enter";
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"Quillora.dll"), dir.File(L"Quillora.dll")));
  HWND window = Start(L"");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForLog(L"WTS_Notify successfully installed"));
  EXPECT_FALSE(qlre2e::DefaultHotkeyIsFree());
  EXPECT_EQ(LogText().find(L"Cannot register hot key"), std::wstring::npos);
  EXPECT_EQ(LogText().find(L"Cannot kernel DLL install"), std::wstring::npos);
  HANDLE area = OpenFileMappingW(FILE_MAP_READ, FALSE, L"Local\\$QUILLORA_INTERCHANGE_AREA$");
  EXPECT_NE(area, nullptr);
  if (area) CloseHandle(area);
  Exit();
  // The end let the hotkey go, took the session notices back and then
  // ended the program.
  EXPECT_TRUE(qlre2e::DefaultHotkeyIsFree());
  std::wstring log = LogText();
  size_t sessionEnd = log.find(L"WTS_Notify ", log.find(L"WTS_Notify successfully installed") + 1);
  size_t programEnd = log.find(L"===End Quillora===");
  ASSERT_NE(sessionEnd, std::wstring::npos) << qlrtest::ToUtf8(log);
  ASSERT_NE(programEnd, std::wstring::npos);
  EXPECT_LT(sessionEnd, programEnd);
}

TEST_F(TrayWindowTest, TrayIconEventsAreLoggedAndTheInstanceMessageEndsTheProgram) {
  HWND window = Start(L"/noinstall");
  ASSERT_NE(window, nullptr);
  const UINT mouse[] = {WM_MOUSEMOVE, WM_LBUTTONDBLCLK};
  for (UINT message : mouse) {
    EXPECT_EQ(SendMessageW(window, 32770, 10, message), 0);
    EXPECT_TRUE(WaitForLog(L"_OnWmTrayEvent lParam=" + std::to_wstring(message))) << message;
  }
  // What a second start sends to end the first: the program ends after its
  // short notice, with exit code 0.
  const UINT instance = RegisterWindowMessageW(L"QLR_7B11E8E0-A712-4caa-A06B-01BEA4F7DFC4");
  EXPECT_EQ(SendMessageW(window, instance, 7, 0), 1);  // unknown: answered, nothing happens
  EXPECT_EQ(child.Wait(0), -1);
  const DWORD sent = GetTickCount();
  EXPECT_EQ(SendMessageW(window, instance, 1, 0), 1);
  EXPECT_EQ(child.Wait(kWaitMs), 0);
  EXPECT_GE(GetTickCount() - sent, 400u);
  EXPECT_TRUE(WaitForLog(L"===End Quillora==="));
}

TEST_F(TrayWindowTest, MissingLibraryLeavesTheServicesDown) {
  if (!qlre2e::DefaultHotkeyIsFree()) GTEST_SKIP() << "another program holds Ctrl+Alt+Enter";
  HWND window = Start(L"");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForLog(L"DLL not found: " + dir.File(L"Quillora.dll")));
  ASSERT_TRUE(WaitForLog(L"WTS_Notify successfully installed"));
  // One "ERROR: " prefix on the logged problem text.
  EXPECT_NE(LogText().find(L"] ERROR: Cannot kernel DLL install"), std::wstring::npos);
  EXPECT_EQ(LogText().find(L"ERROR: ERROR:"), std::wstring::npos) << qlrtest::ToUtf8(LogText());
  // The hotkey and the interchange objects were given back.
  EXPECT_TRUE(qlre2e::DefaultHotkeyIsFree());
  HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, L"Local\\Quillora_DataNeeded");
  EXPECT_EQ(event, nullptr);
  if (event) CloseHandle(event);
  Exit();
}

TEST_F(TrayWindowTest, TakenHotkeyIsReportedAndTheProgramRuns) {
  ASSERT_TRUE(RegisterHotKey(nullptr, kHotkeyId, MOD_CONTROL | MOD_ALT, VK_RETURN));
  HWND window = Start(L"");
  ASSERT_NE(window, nullptr);
  std::wstring expected = L"ERROR: Cannot register hot key " + GetHotkeyDisplayName(VK_RETURN, MOD_CONTROL | MOD_ALT);
  CharUpperBuffW(&expected[31], static_cast<DWORD>(expected.size() - 31));
  EXPECT_TRUE(WaitForLog(expected)) << qlrtest::ToUtf8(LogText());
  EXPECT_TRUE(WaitForLog(L"ERROR: Sound file not found: "));
  UnregisterHotKey(nullptr, kHotkeyId);
  Exit();
}

}  // namespace
