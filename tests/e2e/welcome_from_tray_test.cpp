// The real tray program starts the real welcome program with "/auto" until
// the welcome window was shown once.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/e2e/tray_program.h"

namespace {

class WelcomeFromTrayTest : public qlre2e::TrayProgramTest {
 protected:
  void SetUp() override {
    qlre2e::TrayProgramTest::SetUp();
    for (const wchar_t* f : {L"Quillora_Welcome.exe", L"HTMLayout.dll"})
      ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(f), dir.File(f)));
    WritePrivateProfileStringW(L"Settings", L"Welcome_Already_Started_V2_60", nullptr,
                               dir.File(L"Settings.ini").c_str());
  }
  size_t WelcomeStarts() const {
    const std::wstring log = LogText();
    size_t count = 0;
    for (size_t at = log.find(L"\"Quillora : Welcome\" started:"); at != std::wstring::npos;
         at = log.find(L"\"Quillora : Welcome\" started:", at + 1))
      ++count;
    return count;
  }
};

TEST_F(WelcomeFromTrayTest, FirstTrayStartShowsTheWelcomeWindowOnce) {
  ASSERT_NE(Start(L""), nullptr);
  ASSERT_TRUE(WaitForLog(L"\"Quillora : Welcome\" started: cmdline: ["));
  HWND welcome = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil([&] {
    return (welcome = FindWindowW(L"#32770", L"Welcome to Quillora")) != nullptr;
  }, kProgramWaitMs));
  const std::wstring log = LogText();
  const size_t line = log.find(L"\"Quillora : Welcome\" started: cmdline: [");
  EXPECT_NE(log.find(L"/auto", line), std::wstring::npos) << log;
  EXPECT_TRUE(qlrtest::WaitUntil([&] {
    return GetPrivateProfileIntW(L"Settings", L"Welcome_Already_Started_V2_60", 0,
                                 dir.File(L"Settings.ini").c_str()) == 1;
  }, kProgramWaitMs));
  DWORD welcomePid = 0;
  GetWindowThreadProcessId(welcome, &welcomePid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, welcomePid);
  PostMessageW(welcome, WM_COMMAND, IDCANCEL, 0);
  if (process) {
    EXPECT_EQ(WaitForSingleObject(process, kProgramWaitMs), WAIT_OBJECT_0);
    CloseHandle(process);
  }
  Exit();

  // The key is set now: a later tray start leaves the welcome program alone.
  ASSERT_NE(Start(L""), nullptr);
  Exit();
  EXPECT_EQ(WelcomeStarts(), 1u);
  EXPECT_EQ(FindWindowW(L"#32770", L"Welcome to Quillora"), nullptr);
}

}  // namespace
