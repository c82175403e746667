#include "tray/app/app_control.h"

#include <gtest/gtest.h>

#include "foundation/system/handles.h"
#include "tests/support/test_support.h"
#include "tray/app/instance.h"

namespace {

TEST(AppControlTest, EditorArgumentsFollowTheFlagsInOrder) {
  const struct {
    bool addFromClipboard, firstRun, addSelText;
    const wchar_t* expected;
  } cases[] = {
      {false, false, false, L""},
      {true, false, false, L" /addfromcb"},
      {false, true, false, L" /firstrun"},
      {false, false, true, L" /addseltext"},
      {true, true, true, L" /addfromcb /firstrun /addseltext"},
      {true, false, true, L" /addfromcb /addseltext"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BuildEditorArguments(c.addFromClipboard, c.firstRun, c.addSelText), c.expected);
}

TEST(AppControlTest, LastErrorTextTakesAndClearsTheCode) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  CLastErrorText error;
  EXPECT_EQ(error.Code(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(GetLastError(), 0u);
  wchar_t expected[1024] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 ERROR_FILE_NOT_FOUND, 0, expected, 1023, nullptr);
  EXPECT_FALSE(error.Format().empty());
  EXPECT_EQ(error.Format(), expected);
}

TEST(AppControlTest, ProcessStartersHandBackARunningProcess) {
  qlrtest::TempDir dir;
  std::wstring stub = dir.File(L"stub.exe");
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_editor_stub.exe"), stub));

  UniqueHandle created(CreateProcessSimple(stub, L" /firstrun"));
  ASSERT_TRUE(created);
  ASSERT_EQ(WaitForSingleObject(created.Get(), 20000), WAIT_OBJECT_0);
  // The arguments are the whole command line, as the editor expects them.
  EXPECT_EQ(qlrtest::ReadUtf16File(dir.File(L"editor_cmdline.txt")), L" /firstrun");

  UniqueHandle opened(ShellExecuteProcess(stub, L"/addfromcb", false));
  ASSERT_TRUE(opened);
  ASSERT_EQ(WaitForSingleObject(opened.Get(), 20000), WAIT_OBJECT_0);
  EXPECT_NE(qlrtest::ReadUtf16File(dir.File(L"editor_cmdline.txt")).find(L"/addfromcb"),
            std::wstring::npos);

  SetLastError(0);
  EXPECT_EQ(CreateProcessSimple(dir.File(L"missing.exe"), L""), nullptr);
  EXPECT_NE(GetLastError(), 0u);
}

// The editor-start thread in a program folder of its own, with a stub
// editor that records its command line.
TEST(AppControlTest, EditorStartThreadReportsStartAndEnd) {
  const struct {
    const wchar_t* args;
    bool withEditor;
    const wchar_t* commandLine;
    const wchar_t* states;
    std::vector<std::wstring> logLines;
  } cases[] = {
      {L"addfromcb", true, L" /addfromcb", L"12",
       {L"Start the PhraseEditor at CreateProcess",
        L"Succcessfully start PhraseEditor as CreateProcess"}},
      {L"firstrun text=hello", true, L" /firstrun /addseltext", L"12",
       {L"Succcessfully start PhraseEditor as CreateProcess"}},
      {L"direct addfromcb", true, nullptr, L"D1", {}},
      {L"direct", false, nullptr, L"D0", {L"Cannot find file\n"}},
      {L"nonadmin", true, nullptr, L"12",
       {L"Start the PhraseEditor at ShellExellExecute + query admin rights"}},
  };
  for (const auto& c : cases) {
    qlrtest::TempDir dir;
    std::wstring probe = dir.File(L"probe.exe");
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_tray_editor_start.exe"), probe));
    if (c.withEditor) {
      ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_editor_stub.exe"),
                                      dir.File(L"QuilloraEditor.exe")));
    }
    std::wstring log = dir.File(L"log.txt");
    ASSERT_EQ(qlrtest::RunProcess(probe, L"\"" + log + L"\" " + c.args, 60000, dir.Path()), 0) << c.args;
    EXPECT_EQ(qlrtest::ReadUtf16File(dir.File(L"editor_states.txt")), c.states) << c.args;
    if (c.commandLine) {
      EXPECT_EQ(qlrtest::ReadUtf16File(dir.File(L"editor_cmdline.txt")), c.commandLine) << c.args;
    }
    if (std::wstring(c.states) == L"D1") {
      // The shell start does not wait: the stub reports when it ran.
      EXPECT_TRUE(qlrtest::WaitUntil([&] {
        return qlrtest::ReadUtf16File(dir.File(L"editor_cmdline.txt")).find(L"/addfromcb") !=
               std::wstring::npos;
      }, 20000));
    }
    std::wstring logText = qlrtest::ReadUtf16File(log);
    for (const auto& line : c.logLines)
      EXPECT_NE(logText.find(line), std::wstring::npos) << c.args << ": " << qlrtest::ToUtf8(line);
  }
}

}  // namespace

namespace {

TEST(AppControlTest, AutoStartEntryOnlyWhenTheProgramKeepsRunning) {
  bool existed = false;
  UniqueHandle instance(CreateInstanceEvent(&existed));
  ASSERT_TRUE(instance);
  SetAutoStartEntry(false);

  // The program ends within the second: no entry.
  SetEvent(instance.Get());
  StartAutoStartCheck(nullptr, 0);
  EXPECT_FALSE(qlrtest::WaitUntil([] { return IsOwnAutoStartSet(); }, 2000));

  // It keeps running: the entry is written.
  ResetEvent(instance.Get());
  StartAutoStartCheck(nullptr, 0);
  EXPECT_TRUE(qlrtest::WaitUntil([] { return IsOwnAutoStartSet(); }, 5000));
  EXPECT_TRUE(SetAutoStartEntry(false));
  EXPECT_FALSE(IsOwnAutoStartSet());
}

}  // namespace
