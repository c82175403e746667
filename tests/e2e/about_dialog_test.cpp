// The about dialog of the real tray program: opened by the about command,
// one at a time, its report copied and the program ended while it is open.
#include "tests/e2e/about_dialog.h"

#include <algorithm>

#include "foundation/system/system_helpers.h"
#include "tests/e2e/hotkey_session.h"

namespace {

using qlre2e::ReportRow;

constexpr UINT kEditorEnded = 32774;

class AboutReportTest : public qlre2e::AboutDialogTest {
 protected:
  void SetUp() override {
    AboutDialogTest::SetUp();
    phrases = dir.File(L"Phrases");
    CreateDirectoryW(phrases.c_str(), nullptr);
    SetSetting(L"PhrasesDirectory", phrases);
  }
  // A phrase used n times.
  void WriteUsedPhrase(const std::wstring& file, const std::wstring& caption, int uses, int sortId) {
    ASSERT_TRUE(qlre2e::WritePhrase(file, caption, caption + L" text", sortId));
    std::string bytes = qlrtest::ReadBytes(file);
    bytes.replace(bytes.find("UsageCount=\"0\""), 14, "UsageCount=\"" + std::to_string(uses) + "\"");
    ASSERT_TRUE(qlrtest::WriteBytes(file, bytes));
  }
  std::wstring phrases;
};

TEST_F(AboutReportTest, OpensOnceReportsTheMachineAndEndsWithTheProgram) {
  WriteUsedPhrase(phrases + L"\\Greeting.quillora", L"Greeting", 5, 1);
  WriteUsedPhrase(phrases + L"\\Bye.quillora", L"Bye", 2, 2);
  // Two harmless test switches: the start log and the report name them.
  const std::vector<std::wstring> switchesOn = {L"ShellOpen_Test.ShellOpen_Test",
                                                L"HTMLayoutStyleSheet_Test.HTMLayoutStyleSheet_Test"};
  for (const std::wstring& name : switchesOn) ASSERT_TRUE(qlrtest::WriteBytes(dir.File(name), ""));
  HWND tray = Start(L"");
  ASSERT_NE(tray, nullptr);
  ASSERT_EQ(SendMessageW(tray, kEditorEnded, 0, 0), 1);  // the phrases are read anew
  DWORD start = GetTickCount();
  HWND about = OpenAbout(tray);
  ASSERT_NE(about, nullptr);
  printf("about report shown and filled after %lu ms\n", GetTickCount() - start);
  wchar_t title[64] = {};
  GetWindowTextW(about, title, 64);
  EXPECT_STREQ(title, L"About Quillora");

  PostMessageW(tray, WM_COMMAND, qlre2e::kAboutCommand, 0);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return GetForegroundWindow() == about; }, kProgramWaitMs));
  EXPECT_EQ(CountVisibleAboutDialogs(), 1u);

  std::vector<ReportRow> rows = ReadRows(about);
  std::wstring report = CopyReport(about);
  for (const wchar_t* text :
       {L"Version ", L"\r\nReleased ", L"\r\n\r\nComponents", L"\r\nQuillora ", L"\r\nWelcome To Quillora ",
        L"\r\n\r\nSettings File [Settings.ini]", L"\r\nSettings.ini exist", L"\r\nRead Access OK",
        L"\r\n\r\nPhrases Folder [Phrases]", L"\r\nPhrases exist", L"\r\n\r\nStatistic", L"\r\nAll Phrases 2\r\n",
        L"\r\nAll Usage 7 times\r\n", L"\r\nMax Usage 5 times, Greeting\r\n", L"\r\n\r\nEnvironment",
        L"\r\nDLL Service IMPL Use x", L"\r\nVersion Is Installed No\r\n", L"\r\nDefault Web Browser ",
        L"\r\nCountry ", L"\r\nClipboard History Yes, ", L"\r\nLogging Yes\r\n", L"\r\n\r\nCommand Line Keys",
        L"\r\n/exit ", L"\r\n/cfu ", L"\r\n\r\nProcesses \r\n", L"\r\nQuillora.exe ",
        L"Test for phrase-file Successfully",
        L"\r\n\r\nLog (1) \r\nMessage #1 ERROR: Cannot kernel DLL install"})
    EXPECT_NE(report.find(text), std::wstring::npos) << "missing: " << qlrtest::ToUtf8(text);

  // The copy is the list: rows in order, each group after an empty line.
  std::wstring expected;
  for (const ReportRow& row : rows) {
    if (row.kind == qlre2e::kGroupKind) expected += L"\r\n";
    expected += row.caption.empty() ? L"======================" : row.caption + L" " + row.value;
    expected += L"\r\n";
  }
  EXPECT_EQ(report + L"\r\n", expected);
  // Every process row names its program: none reads as a separator line.
  EXPECT_EQ(report.find(L"======"), std::wstring::npos);
  const ReportRow* self = FindRow(rows, L"Quillora.exe");
  ASSERT_NE(self, nullptr);
  EXPECT_NE(self->value.find(L"\\Quillora.exe"), std::wstring::npos) << qlrtest::ToUtf8(self->value);
  const ReportRow* hotkey = FindRow(rows, L"Hot Key");
  ASSERT_NE(hotkey, nullptr);
  // The default hotkey, named by the keyboard's key names in capitals.
  std::wstring keys = GetHotkeyDisplayName(VK_RETURN, MOD_CONTROL | MOD_ALT);
  CharUpperBuffW(&keys[0], static_cast<DWORD>(keys.size()));
  EXPECT_EQ(hotkey->value, keys);
  // Every test switch of the suite is listed, "Yes" exactly where its
  // marker file lies beside the program, and the start log warned of those.
  const std::vector<std::wstring> allSwitches = {
      L"UpdateVersion_Test.UpdateVersion_Test", L"UpdateSite_Test.UpdateSite_Test",
      L"InternetState_Test.InternetState_Test", L"UpdateWait_Test.UpdateWait_Test",
      L"SelfFillQuery_Test.SelfFillQuery_Test", L"ShellOpen_Test.ShellOpen_Test",
      L"HTMLayoutClick_Test.HTMLayoutClick_Test", L"HTMLayoutStyleSheet_Test.HTMLayoutStyleSheet_Test"};
  EXPECT_NE(FindRow(rows, L"Files [" + std::to_wstring(allSwitches.size()) + L"]"), nullptr);
  const std::wstring log = LogText();
  for (const std::wstring& name : allSwitches) {
    const bool on = std::find(switchesOn.begin(), switchesOn.end(), name) != switchesOn.end();
    const ReportRow* row = FindRow(rows, name);
    ASSERT_NE(row, nullptr) << qlrtest::ToUtf8(name);
    EXPECT_EQ(row->value, on ? L"Yes" : L"") << qlrtest::ToUtf8(name);
    EXPECT_EQ(log.find(L"WARNING: test switch is on: " + name) != std::wstring::npos, on) << qlrtest::ToUtf8(name);
  }
  const ReportRow* message = FindRow(rows, L"Message #1");
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->kind, qlre2e::kFailureKind);

  // A click selects through LVM_SETITEMSTATE's LVN_ITEMCHANGING, which the
  // dialog refuses: no row is ever selected.
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  qlre2e::RemoteBuffer remote(child.Handle(), sizeof(item));
  ASSERT_TRUE(remote.Write(0, &item, sizeof(item)));
  HWND list = GetDlgItem(about, qlre2e::kAboutList);
  SendMessageW(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(remote.Address()));
  EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);

  PostMessageW(tray, WM_COMMAND, 57665, 0);
  EXPECT_EQ(child.Wait(kProgramWaitMs), 0);
  EXPECT_NE(LogText().find(L"===End Quillora==="), std::wstring::npos);
}

TEST_F(AboutReportTest, AReadOnlyPhrasesFolderFailsTheWriteTestsAndKeepsNothing) {
  ASSERT_TRUE(qlrtest::SetUnixWritable(phrases, false));
  HWND tray = Start(L"");
  ASSERT_NE(tray, nullptr);
  HWND about = OpenAbout(tray);
  ASSERT_NE(about, nullptr);
  std::vector<ReportRow> rows = ReadRows(about);
  // What the folder itself allows depends on the account (root creates
  // files in any folder): the same calls decide what the rows must say.
  std::wstring probe = phrases + L"\\probe.quillora";
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  bool canCreate = file != INVALID_HANDLE_VALUE;
  if (canCreate) CloseHandle(file);
  DeleteFileW(probe.c_str());
  HANDLE folder = CreateFileW(phrases.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  bool canOpen = folder != INVALID_HANDLE_VALUE;
  if (canOpen) CloseHandle(folder);
  struct Case {
    const wchar_t* caption;
    bool ok;
  } cases[] = {{L"Write Rights", false}, {L"Test for phrase-file", canCreate}, {L"Phrases Folder Write", canOpen},
               {L"Phrases Folder Read", true}, {L"Read Rights", true}};
  for (const Case& c : cases) {
    const ReportRow* row = FindRow(rows, c.caption);
    ASSERT_NE(row, nullptr) << qlrtest::ToUtf8(c.caption);
    EXPECT_EQ(row->value, c.ok ? L"Successfully" : L"FAIL") << qlrtest::ToUtf8(c.caption);
    EXPECT_EQ(row->kind, c.ok ? qlre2e::kSuccessKind : qlre2e::kFailureKind) << qlrtest::ToUtf8(c.caption);
  }
  qlrtest::SetUnixWritable(phrases, true);
  WIN32_FIND_DATAW found = {};
  HANDLE find = FindFirstFileW((phrases + L"\\*").c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    std::wstring name = found.cFileName;
    EXPECT_TRUE(name == L"." || name == L"..") << qlrtest::ToUtf8(name);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  Exit();
}

TEST_F(AboutReportTest, TextsComeFromTheLanguageFile) {
  std::wstring lng = dir.File(L"Test.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[Main]\r\nLangPrefix=de\r\n[Strings_Client]\r\n263=Statistik\r\n"
                                           L"161=Unsere Seite\r\n[Dialog_About_100]\r\n1=Fertig\r\n"));
  SetSetting(L"Language", L"Test.lng");
  HWND tray = Start(L"");
  ASSERT_NE(tray, nullptr);
  HWND about = OpenAbout(tray);
  ASSERT_NE(about, nullptr);
  wchar_t text[64] = {};
  GetDlgItemTextW(about, IDOK, text, 64);
  EXPECT_STREQ(text, L"Fertig");
  std::wstring report = CopyReport(about);
  EXPECT_NE(report.find(L"\r\n\r\nStatistik \r\n"), std::wstring::npos);
  EXPECT_NE(report.find(L"\r\nLanguage Test.lng"), std::wstring::npos);
  // Texts the file lacks are added for the translator.
  std::wstring file = qlrtest::ReadUtf16File(lng);
  EXPECT_NE(file.find(L"1059=How to bug report"), std::wstring::npos);
  EXPECT_NE(file.find(L"161=Unsere Seite"), std::wstring::npos);
  Exit();
}

}  // namespace
