#include "foundation/system/command_runners.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "foundation/logging/system_error.h"
#include "foundation/system/shell_helpers.h"
#include "foundation/system/shell_open.h"
#include "foundation/tests/message_box_watch.h"
#include "tests/support/test_support.h"

namespace {

struct Request {
  std::wstring verb, file;
  bool hasParameters;
};
std::vector<Request> g_requests;
INT_PTR g_answer = 33;
DWORD g_lastError = 0;
std::atomic<int> g_sounds{0};

INT_PTR Shell(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
              const wchar_t*, int) {
  g_requests.push_back({verb ? verb : L"", file ? file : L"", parameters != nullptr});
  SetLastError(g_lastError);
  return g_answer;
}

class CommandRunnersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_requests.clear();
    g_answer = 33;
    g_lastError = 0;
    g_sounds = 0;
    SetShellOpenHookForTests(Shell);
    SetCommandLaunchSound([] { ++g_sounds; });
  }
  void TearDown() override {
    SetShellOpenHookForTests(nullptr);
    SetCommandLaunchSound(nullptr);
  }
};

TEST_F(CommandRunnersTest, RunCommandReportsAFailureWithTheReasonAndTheCommand) {
  const std::wstring command = L"C:\\no such\\tool.exe";
  // 33 is the shell's first success; 32 and below are its failure codes.
  EXPECT_TRUE(RunCommand(command, true, nullptr));
  ASSERT_EQ(g_requests.size(), 1u);
  EXPECT_EQ(g_requests[0].verb, L"open");
  EXPECT_EQ(g_requests[0].file, command);
  EXPECT_FALSE(g_requests[0].hasParameters);

  g_answer = 32;
  g_lastError = ERROR_FILE_NOT_FOUND;
  bool result = true;
  boxwatch::SeenBox box = boxwatch::RunWatchingBox([&] { result = RunCommand(command, true, nullptr); });
  EXPECT_FALSE(result);
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(box.caption, L"Quillora");
  EXPECT_EQ(box.text, FormatSystemMessage(32) + L"\nCommand: [" + command + L"]" +
                          L"\nCommand Lenght: " + std::to_wstring(command.size()));

  // No box without error reporting, nor when the system set no error.
  for (bool report : {false, true}) {
    g_lastError = report ? 0 : ERROR_FILE_NOT_FOUND;
    box = boxwatch::RunWatchingBox([&] { result = RunCommand(command, report, nullptr); });
    EXPECT_FALSE(result);
    EXPECT_FALSE(box.shown) << report;
  }
}

TEST_F(CommandRunnersTest, ErrorBoxRunnerShowsWhatEachModeAsksFor) {
  const std::wstring command = L"notepad.exe C:\\x.txt";
  const HICON info = LoadIconW(nullptr, IDI_INFORMATION);
  const HICON warning = LoadIconW(nullptr, IDI_EXCLAMATION);
  const struct {
    int mode;
    INT_PTR answer;
    DWORD error;
    bool ok, box;
    HICON icon;
  } cases[] = {
      {1, 33, 0, true, false, nullptr},
      {1, 32, 0, false, true, warning},  // 32 is a failure, not a start
      {1, 2, ERROR_FILE_NOT_FOUND, false, true, warning},
      {2, 42, 0, true, true, info},
      {2, 0, ERROR_ACCESS_DENIED, false, true, warning},
  };
  for (const auto& c : cases) {
    g_answer = c.answer;
    g_lastError = c.error;
    g_sounds = 0;
    bool result = !c.ok;
    DWORD keptError = 0;
    boxwatch::SeenBox box = boxwatch::RunWatchingBox([&] {
      SetLastError(4321);
      result = RunCommandWithErrorBox(nullptr, CQLRRunCommand{c.mode, command});
      keptError = GetLastError();
    });
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " answer " << c.answer);
    EXPECT_EQ(result, c.ok);
    EXPECT_EQ(keptError, 4321u);
    EXPECT_EQ(g_sounds.load(), c.ok ? 1 : 0);
    ASSERT_EQ(box.shown, c.box);
    if (!c.box) continue;
    EXPECT_EQ(box.caption, L"Quillora");
    // The system's text of the last error, else of the shell's answer.
    const DWORD code = c.error ? c.error : (c.ok ? 0 : static_cast<DWORD>(c.answer));
    EXPECT_EQ(box.text, GetFormatMessageText(code) + L"\n\nCommand: " + command +
                            L"\n\nSource Command: " + command);
    EXPECT_EQ(box.icon, c.icon);
  }
}

TEST_F(CommandRunnersTest, ErrorBoxRunnerStartsARealProgram) {
  SetShellOpenHookForTests(nullptr);
  qlrtest::TempDir dir;
  const std::wstring marker = dir.File(L"started.txt");
  SetEnvironmentVariableW(L"QLR_MARKER_FILE", marker.c_str());
  EXPECT_TRUE(RunCommandWithErrorBox(nullptr, CQLRRunCommand{1, qlrtest::BinFile(L"helper_write_marker.exe")}));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return !qlrtest::ReadUtf16File(marker).empty(); }, 10000));
  EXPECT_TRUE(RunCommand(qlrtest::BinFile(L"helper_write_marker.exe"), true, nullptr));
  SetEnvironmentVariableW(L"QLR_MARKER_FILE", nullptr);
  // A missing file fails; without error reporting no box holds the caller.
  EXPECT_FALSE(RunCommand(dir.File(L"missing.exe"), false, nullptr));
  EXPECT_EQ(g_sounds.load(), 1);
}

TEST(CommandTextsTest, StringPartsSplitAtTheFirstLineFeed) {
  const struct {
    UINT id;
    const wchar_t* first;
    const wchar_t* second;
  } cases[] = {
      {901, L"Save changes?", L"The phrase was edited.\nSave it now?"},
      {902, L"One line only", L"One line only"},
      {903, L"", L"Below the break"},
      {999, L"", L""},  // no such string
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetLngStringPart(c.id, true), c.first) << c.id;
    EXPECT_EQ(GetLngStringPart(c.id, false), c.second) << c.id;
    EXPECT_EQ(GetLngStringSecondPart(c.id), c.second) << c.id;
  }
}

TEST(CommandTextsTest, SystemTextsLoseTheirLineEndAndTheListenerIsFound) {
  for (DWORD code : {DWORD(ERROR_FILE_NOT_FOUND), DWORD(ERROR_ACCESS_DENIED), DWORD(0xDEAD)}) {
    const std::wstring text = GetFormatMessageText(code);
    const std::wstring raw = GetSystemErrorText(code);
    EXPECT_EQ(raw.compare(0, text.size(), text), 0) << code;
    EXPECT_TRUE(text.empty() || (text.back() != L'\n' && text.back() != L'\r')) << code;
  }
  EXPECT_FALSE(GetFormatMessageText(ERROR_FILE_NOT_FOUND).empty());
  const bool has = GetProcAddress(GetModuleHandleW(L"user32.dll"), "AddClipboardFormatListener") != nullptr;
  EXPECT_EQ(IsClipboardFormatListenerAvailable(), has);
}

}  // namespace
