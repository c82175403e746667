// A phrase's command run on the worker: expanded, started with the shell,
// and the outcome told in a box owned by the caller's window.
#include <gtest/gtest.h>

#include <string>

#include "editor/coop/command_run.h"
#include "foundation/files/files.h"
#include "tests/support/test_support.h"

namespace {

constexpr wchar_t kCaption[] = L"Quillora : PhraseEditor";

// Closes the first box of this process with the caption whose text holds
// every part; the text it showed, or empty when none came.
std::wstring CloseBoxWith(std::initializer_list<std::wstring> parts, DWORD timeoutMs = 20000) {
  std::wstring seen;
  qlrtest::WaitUntil(
      [&] {
        for (HWND window : qlrtest::FindProcessWindows(GetCurrentProcessId())) {
          wchar_t cls[32] = {}, caption[128] = {}, body[4096] = {};
          GetClassNameW(window, cls, 32);
          GetWindowTextW(window, caption, 128);
          GetDlgItemTextW(window, 0xFFFF, body, 4096);
          if (wcscmp(cls, L"#32770") != 0 || wcscmp(caption, kCaption) != 0 || !IsWindowVisible(window)) continue;
          std::wstring text = body;
          bool all = true;
          for (const std::wstring& part : parts) all = all && text.find(part) != std::wstring::npos;
          if (!all) continue;
          seen = text;
          PostMessageW(window, WM_COMMAND, IDOK, 0);
          return true;
        }
        return false;
      },
      timeoutMs);
  return seen;
}

TEST(CommandRunTest, TheClipboardNamesTheProgramAndTheBoxShowsBothCommands) {
  qlrtest::TempDir dir;
  const std::wstring marker = dir.File(L"marker.txt");
  SetEnvironmentVariableW(L"QLR_MARKER_FILE", marker.c_str());
  ASSERT_TRUE(qlrtest::PutClipboardText(L"helper_write_marker.exe"));
  const std::wstring command = qlrtest::BinDir() + L"\\%CLIPBOARD_TEXT%";
  const std::wstring expanded = qlrtest::BinFile(L"helper_write_marker.exe");

  ASSERT_TRUE(RunCommandAsync(nullptr, command, 2));
  std::wstring text = CloseBoxWith({L"\n\nCommand: " + expanded, L"\n\nSource Command: " + command});
  EXPECT_FALSE(text.empty());
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return IsFileExist(marker); }, 20000));

  // Mode 1 shows a box only when the start fails; then it says why.
  const std::wstring missing = dir.File(L"none\\%CLIPBOARD_TEXT%");
  ASSERT_TRUE(RunCommandAsync(nullptr, missing, 1));
  text = CloseBoxWith({L"\n\nCommand: " + dir.File(L"none\\helper_write_marker.exe"),
                       L"\n\nSource Command: " + missing});
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.find(L"\n\nCommand: "), 0u);  // the system's reason comes first
  SetEnvironmentVariableW(L"QLR_MARKER_FILE", nullptr);
}

TEST(CommandRunTest, ExpansionUsesTheGivenTexts) {
  std::wstring out;
  ExpandCommand(nullptr, L"run %SELECTED_TEXT% with %CLIPBOARD_TEXT%", L"[Sel]", L"clip", &out);
  EXPECT_EQ(out, L"run [Sel] with clip");
  EXPECT_EQ(FormatCommandRunText(L"Done.", L"a b", L"%X%"), L"Done.\n\nCommand: a b\n\nSource Command: %X%");
}

}  // namespace
