// The clipboard the user had when the hotkey was pressed goes back only
// while that request is still open: a press that found no target leaves
// nothing armed, so what the user copies afterwards survives the program's
// end.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/hotkey_session.h"
#include "tests/support/test_support.h"

namespace {

bool PutText(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  return ok;
}

std::wstring GetText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"<not open>";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

TEST(KeeperAtExitTest, APressWithoutTargetDoesNotPutAnOldClipboardBackAtTheEnd) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(qlre2e::DefaultHotkeyIsFree());
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"Quillora.exe"), dir.File(L"Quillora.exe")));
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"Quillora.dll"), dir.File(L"Quillora.dll")));
  const std::wstring ini = dir.File(L"Settings.ini");
  WritePrivateProfileStringW(L"Settings", L"WriteLog", L"1", ini.c_str());
  WritePrivateProfileStringW(L"Settings", L"Welcome_Already_Started_V2_60", L"1", ini.c_str());
  auto log = [&] { return qlrtest::ReadUtf16File(dir.File(L"LogReport.txt")); };

  // A target that was in front and is gone: the press finds no window.
  {
    qlrtest::ChildProcess target;
    ASSERT_TRUE(target.Start(qlrtest::BinFile(L"helper_insert_target.exe"), L"edit"));
    ASSERT_TRUE(qlrtest::WaitUntil([&] { return GetForegroundWindow() != nullptr; }, qlre2e::kWaitMs));
    target.Kill();
  }
  qlrtest::ChildProcess tray;
  ASSERT_TRUE(tray.Start(dir.File(L"Quillora.exe"), L""));
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return log().find(L"WTS_Notify") != std::wstring::npos; }, qlre2e::kWaitMs));
  ASSERT_EQ(log().find(L"Cannot kernel DLL install"), std::wstring::npos) << qlrtest::ToUtf8(log());

  ASSERT_TRUE(PutText(L"before the press"));
  ASSERT_TRUE(qlre2e::PressDefaultHotkey());
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] { return log().find(L"Cannot sendmessage to target window") != std::wstring::npos; }, qlre2e::kWaitMs))
      << qlrtest::ToUtf8(log());
  ASSERT_TRUE(PutText(L"copied afterwards"));

  EXPECT_EQ(qlrtest::RunProcess(dir.File(L"Quillora.exe"), L"/exit", qlre2e::kWaitMs), 1);
  EXPECT_EQ(tray.Wait(qlre2e::kWaitMs), 0);
  EXPECT_EQ(GetText(), L"copied afterwards");
}

}  // namespace
