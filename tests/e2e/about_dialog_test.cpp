// The about dialog of the real tray program: opened by the about command,
// one at a time, its report copied and the program ended while it is open.
#include "tests/e2e/tray_program.h"

#include <commctrl.h>

namespace {

using qlre2e::TrayProgramTest;

class AboutDialogTest : public TrayProgramTest {
 protected:
  HWND WaitForAbout() {
    HWND about = nullptr;
    qlrtest::WaitUntil([&] { return (about = qlrtest::FindProcessWindow(child.Pid(), L"#32770", L"About Quillora")); },
                       kProgramWaitMs);
    return about;
  }
  size_t CountAboutDialogs() {
    size_t n = 0;
    for (HWND w : qlrtest::FindProcessWindows(child.Pid())) {
      wchar_t title[64] = {};
      GetWindowTextW(w, title, 64);
      if (std::wstring(title).find(L"About Quillora") != std::wstring::npos) ++n;
    }
    return n;
  }
};

TEST_F(AboutDialogTest, OpensOnceCopiesTheReportAndEndsWithTheProgram) {
  HWND tray = Start(L"");
  ASSERT_NE(tray, nullptr);
  PostMessageW(tray, WM_COMMAND, 57664, 0);
  HWND about = WaitForAbout();
  ASSERT_NE(about, nullptr);
  wchar_t title[64] = {};
  GetWindowTextW(about, title, 64);
  EXPECT_STREQ(title, L"About Quillora");

  PostMessageW(tray, WM_COMMAND, 57664, 0);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return GetForegroundWindow() == about || IsWindow(about); }, kProgramWaitMs));
  EXPECT_EQ(CountAboutDialogs(), 1u);

  DWORD start = GetTickCount();
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return WaitForLog(L"About report filled in"); }, kProgramWaitMs));
  printf("about report shown and filled after %lu ms\n", GetTickCount() - start);
  // The dialog window is found by its caption as soon as it exists, which
  // can be before its controls are made: take the list once it is filled.
  HWND list = GetDlgItem(about, 1001);
  ASSERT_NE(list, nullptr);
  EXPECT_GT(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 20);
  // A click selects through LVM_SETITEMSTATE's LVN_ITEMCHANGING, which the
  // dialog refuses: no row is ever selected.
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  HANDLE process = child.Handle();
  void* remote = VirtualAllocEx(process, nullptr, sizeof(item), MEM_COMMIT, PAGE_READWRITE);
  ASSERT_NE(remote, nullptr);
  WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
  SendMessageW(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(remote));
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);

  qlrtest::PutClipboardText(L"before");
  SendMessageW(about, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(about, 1002)));
  std::wstring report;
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return (report = qlrtest::ClipboardText()) != L"before"; }, kProgramWaitMs));
  for (const wchar_t* text : {L"Version ", L"\r\nReleased ", L"\r\n\r\nComponents", L"\r\nQuillora ",
                              L"\r\nWelcome Module File Not Found", L"\r\n\r\nSettings File [Settings.ini]",
                              L"\r\nSettings.ini exist", L"\r\nRead Access OK", L"\r\n\r\nPhrases Folder [",
                              L"\r\n\r\nStatistic", L"\r\n\r\nEnvironment", L"\r\n\r\nCommand Line Keys",
                              L"\r\n/exit ", L"\r\n\r\nLog (", L"\r\n======================",
                              L"Test for phrase-file "})
    EXPECT_NE(report.find(text), std::wstring::npos) << "missing: " << qlrtest::ToUtf8(text);

  PostMessageW(tray, WM_COMMAND, 57665, 0);
  EXPECT_EQ(child.Wait(kProgramWaitMs), 0);
  EXPECT_NE(LogText().find(L"===End Quillora==="), std::wstring::npos);
}

}  // namespace
