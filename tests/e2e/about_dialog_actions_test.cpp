// What the about dialog's buttons do in the real Quillora.exe: the archive
// saved through the Copy button's drop-down, and the update check that the
// check button asks the tray program for.
#include "tests/e2e/about_dialog.h"

#include "foundation/tests/zip_test_reader.h"
#include "tests/support/http_test_server.h"

namespace {

using qlre2e::ReportRow;

constexpr char kServicePath[] = "/Source/update_qlr.php";
constexpr int kCheckButton = 1004;

class AboutActionsTest : public qlre2e::AboutDialogTest {
 protected:
  void SetUp() override {
    AboutDialogTest::SetUp();
    CreateDirectoryW(dir.File(L"Phrases").c_str(), nullptr);
    SetSetting(L"PhrasesDirectory", dir.File(L"Phrases"));
    SetSetting(L"AutoCheckForUpdates", L"0");
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"ShellOpen_Test.ShellOpen_Test"), ""));
  }
  std::string ShellRequests() const { return qlrtest::ReadBytes(dir.File(L"ShellOpen_Test.log")); }
  // Without a log there is no log line to wait for: the tray window is
  // there once the program answers the about command.
  HWND StartWithoutLog() {
    if (!child.Start(dir.File(L"Quillora.exe"), L"")) return nullptr;
    HWND window = nullptr;
    qlrtest::WaitUntil([&] { return (window = qlrtest::FindProcessWindow(child.Pid(), nullptr, L"Quillora")); },
                       kProgramWaitMs);
    return window;
  }
  HWND VisibleWindow(const wchar_t* className, const wchar_t* title) {
    HWND found = nullptr;
    qlrtest::WaitUntil(
        [&] {
          for (HWND w : qlrtest::FindProcessWindows(child.Pid())) {
            wchar_t cls[64] = {}, text[128] = {};
            GetClassNameW(w, cls, 64);
            GetWindowTextW(w, text, 128);
            if (IsWindowVisible(w) && wcscmp(cls, className) == 0 && (!title || wcscmp(text, title) == 0)) {
              found = w;
              return true;
            }
          }
          return false;
        },
        kProgramWaitMs);
    return found;
  }
  // The file-name box of a save dialog: the old-style edit, or the edit
  // inside the newer combo box (both carry the box's id).
  static HWND FileNameEdit(HWND dialog) {
    if (HWND edit = GetDlgItem(dialog, 0x480)) return edit;
    struct Search {
      HWND found = nullptr;
    } search;
    EnumChildWindows(
        dialog,
        [](HWND w, LPARAM lp) -> BOOL {
          wchar_t cls[16] = {};
          GetClassNameW(w, cls, 16);
          if (GetDlgCtrlID(w) != 0x47C || wcscmp(cls, L"Edit") != 0) return TRUE;
          reinterpret_cast<Search*>(lp)->found = w;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
};

// A settings file's text without the lines of the history pane's place.
std::string WithoutPanePlace(const std::string& text) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    end = end == std::string::npos ? text.size() : end + 1;
    if (text.compare(at, 14, "FloatPaneRect_") != 0) out.append(text, at, end - at);
    at = end;
  }
  return out;
}

TEST_F(AboutActionsTest, TheDropDownSavesTheReportAndTheSettingsIntoAZip) {
  SetSetting(L"WriteLog", L"0");
  HWND tray = StartWithoutLog();
  ASSERT_NE(tray, nullptr);
  HWND about = OpenAbout(tray);
  ASSERT_NE(about, nullptr);
  std::wstring report = CopyReport(about);
  ASSERT_NE(report.find(L"Version "), std::wstring::npos);

  // A press with the pointer on the button's arrow opens the Copy menu.
  HWND copy = GetDlgItem(about, qlre2e::kAboutCopy);
  RECT rc = {};
  GetWindowRect(copy, &rc);
  SetCursorPos(rc.right - 8, (rc.top + rc.bottom) / 2);
  PostMessageW(copy, BM_CLICK, 0, 0);
  HWND menu = VisibleWindow(L"#32768", nullptr);
  ASSERT_NE(menu, nullptr);
  // The second item saves the archive.
  for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
    PostMessageW(menu, WM_KEYDOWN, key, 0);
    PostMessageW(menu, WM_KEYUP, key, 0xC0000000);
  }
  HWND save = VisibleWindow(L"#32770", L"Quillora");
  ASSERT_NE(save, nullptr);
  HWND edit = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return (edit = FileNameEdit(save)) != nullptr; }, kProgramWaitMs));
  std::wstring archive = dir.File(L"support.zip");
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(archive.c_str()));
  PostMessageW(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(save, IDOK)));

  ASSERT_TRUE(qlrtest::WaitUntil([&] { return !ShellRequests().empty(); }, kProgramWaitMs));
  EXPECT_EQ(ShellRequests(), "open\texplorer.exe\t/select, \"" + qlrtest::ToUtf8(archive) + "\"\r\n");
  std::vector<ziptest::ReadEntry> entries;
  ASSERT_TRUE(ziptest::ReadArchive(qlrtest::ReadBytes(archive), entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "Quillora_Info.txt");
  EXPECT_EQ(entries[0].data.rfind(qlrtest::ToUtf8(report), 0), 0u);
  EXPECT_EQ(entries[1].name, "Settings.ini");
  // The pane saves its place while it settles, after the archive or before.
  EXPECT_EQ(WithoutPanePlace(entries[1].data), WithoutPanePlace(qlrtest::ReadBytes(dir.File(L"Settings.ini"))));
  EXPECT_TRUE(IsWindow(about));

  PostMessageW(tray, WM_COMMAND, 57665, 0);
  EXPECT_EQ(child.Wait(kProgramWaitMs), 0);
}

TEST_F(AboutActionsTest, TheCheckButtonAsksTheUpdateServiceOnce) {
  qlrtest::HttpTestServer server;
  ASSERT_TRUE(server.Start());
  qlrtest::HttpAnswer answer;
  answer.body = "<QuilloraVersionInfo><Version>0.0.0.1</Version></QuilloraVersionInfo>";
  server.SetAnswer(kServicePath, answer);
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"UpdateSite_Test.UpdateSite_Test"), qlrtest::ToUtf8(server.BaseUrl())));
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"InternetState_Test.InternetState_Test"), "0"));
  HWND tray = Start(L"");
  ASSERT_NE(tray, nullptr);
  HWND about = OpenAbout(tray);
  ASSERT_NE(about, nullptr);
  wchar_t text[64] = {};
  GetDlgItemTextW(about, kCheckButton, text, 64);
  EXPECT_STREQ(text, L"Check For Updates");
  EXPECT_EQ(server.RequestCount(), 0u);

  SendMessageW(about, WM_COMMAND, MAKEWPARAM(kCheckButton, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(about, kCheckButton)));
  // The service's version is no newer: the check ends without an offer.
  ASSERT_TRUE(WaitForLog(L"Update check result: version=[] error=[]")) << qlrtest::ToUtf8(LogText());
  EXPECT_EQ(server.CountRequests(kServicePath, "Quillora_Updater"), 1u);
  EXPECT_TRUE(IsWindow(about));
  Exit();
  server.Stop();
}

}  // namespace
