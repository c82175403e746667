// A real Quillora.exe started from a program folder of its own (a temporary
// folder with a Settings.ini that turns the log on and the welcome page
// off), for the tests that drive the tray program from outside.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/test_support.h"

namespace qlre2e {

// Another process puts the text on the clipboard; its exit code.
inline int CopyFromPeer(const std::wstring& text) {
  return qlrtest::RunProcess(qlrtest::BinFile(L"helper_clipboard_writer.exe"), L"text \"" + text + L"\"", 20000);
}

inline bool EmptyTheClipboard() {
  if (!qlrtest::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 20000)) return false;
  EmptyClipboard();
  CloseClipboard();
  return true;
}

class TrayProgramTest : public ::testing::Test {
 protected:
  static constexpr DWORD kProgramWaitMs = 20000;

  void SetUp() override {
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"Quillora.exe"), dir.File(L"Quillora.exe")));
    SetSetting(L"WriteLog", L"1");
    SetSetting(L"Welcome_Already_Started_V2_60", L"1");
  }
  void TearDown() override {
    if (child.IsRunning()) {
      qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"/exit", kProgramWaitMs);
      child.Wait(kProgramWaitMs);
    }
  }
  void SetSetting(const wchar_t* key, const std::wstring& value) {
    WritePrivateProfileStringW(L"Settings", key, value.c_str(), dir.File(L"Settings.ini").c_str());
  }
  void CopyLibrary() {
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"Quillora.dll"), dir.File(L"Quillora.dll")));
  }
  std::wstring LogText() const { return qlrtest::ReadUtf16File(dir.File(L"LogReport.txt")); }
  bool WaitForLog(const std::wstring& text) const {
    return qlrtest::WaitUntil([&] { return LogText().find(text) != std::wstring::npos; }, kProgramWaitMs);
  }
  // The tray window of the started program once its creation has logged
  // its last step; null when it did not come up. A program that cannot
  // read its log switch writes no log: then the window is enough.
  HWND Start(const std::wstring& args, bool logs = true) {
    if (!child.Start(dir.File(L"Quillora.exe"), args)) return nullptr;
    HWND window = nullptr;
    qlrtest::WaitUntil(
        [&] { return (window = qlrtest::FindProcessWindow(child.Pid(), nullptr, L"Quillora")); },
        kProgramWaitMs);
    if (window && logs && !WaitForLog(L"WTS_Notify ")) return nullptr;
    return window;
  }
  // "Quillora.exe /exit" ends the running program.
  void Exit() {
    EXPECT_EQ(qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"/exit", kProgramWaitMs), 1);
    EXPECT_EQ(child.Wait(kProgramWaitMs), 0);
  }

  qlrtest::TempDir dir;
  qlrtest::ChildProcess child;
};

}  // namespace qlre2e
