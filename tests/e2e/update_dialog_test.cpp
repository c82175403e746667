// The update dialog of the real Quillora.exe against a local update server:
// what it shows, what it saves, its links, Skip This Version, one dialog at
// a time, and the program's end while it is open.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/update_server.h"
#include "tests/support/test_support.h"

namespace {

constexpr WORD kExitCommand = 57665;
constexpr int kViewId = 1012, kVisitButton = 3, kSkipButton = 5;

class UpdateDialogE2eTest : public qlre2e::UpdateCheckE2eTest {
 protected:
  void SetUp() override {
    UpdateCheckE2eTest::SetUp();
    ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"HTMLayout.dll"), dir.File(L"HTMLayout.dll")));
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"ShellOpen_Test.ShellOpen_Test"), ""));
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"HTMLayoutClick_Test.HTMLayoutClick_Test"), ""));
  }
  void AnswerWithNews() {
    AnswerNewVersion();
    qlrtest::HttpAnswer feed;
    // The description is markup: a script and a remote image in it must
    // neither run nor be fetched.
    feed.body =
        "<rss><channel><item><title>Faster &lt;menus&gt; &amp; more</title><link>file:///c:/windows/notepad.exe"
        "</link><description>&lt;B&gt;Bold&lt;/B&gt; text &lt;IMG SRC=" + Link("/remote.png") +
        "&gt;&lt;script&gt;alert(1)&lt;/script&gt;</description><author>Team</author></item></channel></rss>";
    server.SetAnswer(qlre2e::kFeedPath, feed);
  }
  HWND CheckAndWait(HWND tray) {
    PostMessageW(tray, WM_COMMAND, qlre2e::kCheckForUpdatesCommand, 0);
    return WaitForUpdateDialog();
  }
  static std::wstring Text(HWND window) {
    int n = static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    text.resize(static_cast<size_t>(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
  }
  int ClickByHref(HWND view, const std::wstring& href) {
    return qlrtest::RunProcess(qlrtest::BinFile(L"helper_click_by_href.exe"),
                               std::to_wstring(reinterpret_cast<INT_PTR>(view)) + L" \"" + href + L"\"",
                               kProgramWaitMs);
  }
  std::string ShellRequests() const { return qlrtest::ReadBytes(dir.File(L"ShellOpen_Test.log")); }
  std::wstring Ini(const wchar_t* key) {
    wchar_t value[64] = {};
    GetPrivateProfileStringW(L"Settings", key, L"", value, 64, dir.File(L"Settings.ini").c_str());
    return value;
  }
};

TEST_F(UpdateDialogE2eTest, ShowsTheCheckSavesItsSettingsAndOpensOnlyWebLinks) {
  AnswerWithNews();
  SetSetting(L"DaysCheckForUpdates", L"7");
  HWND tray = Start(L"");
  ASSERT_NE(tray, nullptr);
  HWND dialog = CheckAndWait(tray);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(GetDlgItem(dialog, IDCANCEL)), L"Close");
  EXPECT_EQ(Text(GetDlgItem(dialog, kVisitButton)), L"Visit to us");
  EXPECT_EQ(Text(GetDlgItem(dialog, kSkipButton)), L"Skip this version");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kSkipButton)));
  HWND view = GetDlgItem(dialog, kViewId);
  ASSERT_NE(view, nullptr);
  std::wstring page = Text(view);
  EXPECT_NE(page.find(L"Has new version on official web site"), std::wstring::npos) << page;
  EXPECT_NE(page.find(L"99.0.0.1"), std::wstring::npos);
  EXPECT_NE(page.find(L"Download version with installer"), std::wstring::npos);
  EXPECT_NE(page.find(L"Latest News (1)"), std::wstring::npos);
  EXPECT_NE(page.find(L"Faster &lt;menus&gt; &amp; more"), std::wstring::npos);
  EXPECT_EQ(page.find(L"<menus>"), std::wstring::npos);
  EXPECT_NE(page.find(L"<b>Bold</b>"), std::wstring::npos);  // the description is markup

  // A local file offered by the feed is never handed to the shell; a
  // download address is.
  EXPECT_EQ(ClickByHref(view, L"file:///c:/windows/notepad.exe"), 1);
  const std::string download = qlrtest::ToUtf8(server.BaseUrl()) + "setup.exe";
  EXPECT_EQ(ClickByHref(view, qlrtest::FromUtf8(download)), 1);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return ShellRequests().find(download) != std::string::npos; },
                                 kProgramWaitMs));
  EXPECT_EQ(ShellRequests().find("file:"), std::string::npos) << ShellRequests();
  EXPECT_TRUE(IsWindow(dialog));
  for (const auto& request : server.Requests()) EXPECT_NE(request.path, "/remote.png");

  // A second result only brings the open dialog to the front.
  PostMessageW(tray, WM_COMMAND, qlre2e::kCheckForUpdatesCommand, 0);
  ASSERT_TRUE(WaitForRequests(2));
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] {
        std::wstring log = LogText();
        size_t first = log.find(L"Update check result:");
        return first != std::wstring::npos && log.find(L"Update check result:", first + 1) != std::wstring::npos;
      },
      qlre2e::kCheckWaitMs));
  EXPECT_EQ(CountUpdateDialogs(), 1u);

  // The widgets: automatic checks off, 45 days held as 30, both saved on close.
  HWND box = FindWindowExW(view, nullptr, L"Button", nullptr);
  HWND days = FindWindowExW(view, nullptr, L"Edit", nullptr);
  ASSERT_NE(box, nullptr);
  ASSERT_NE(days, nullptr);
  if (SendMessageW(box, BM_GETCHECK, 0, 0) != BST_CHECKED) SendMessageW(box, BM_CLICK, 0, 0);
  SendMessageW(days, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"45"));
  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_NE(Text(view).find(L"disabled=\"true\""), std::wstring::npos);
  ASSERT_TRUE(CloseUpdateDialog(dialog));
  // The schedule follows what the dialog saved; the program says so once
  // the save is over (the dialog's window goes before every key is
  // written, and each key written rewrites the whole file, which a read
  // meanwhile may find empty).
  EXPECT_TRUE(WaitForLog(L"Update check options changed: automatic=0 days=30"));
  qlrtest::WaitUntil(
      [&] { return Ini(L"AutoCheckForUpdates") == L"0" && Ini(L"DaysCheckForUpdates") == L"30"; }, kProgramWaitMs);
  EXPECT_EQ(Ini(L"AutoCheckForUpdates"), L"0");
  EXPECT_EQ(Ini(L"DaysCheckForUpdates"), L"30");
  Exit();
}

TEST_F(UpdateDialogE2eTest, ASkippedVersionIsSentAndAnAutomaticCheckKeepsQuiet) {
  AnswerNewVersion();
  HWND tray = Start(L"");
  ASSERT_NE(tray, nullptr);
  HWND dialog = CheckAndWait(tray);
  ASSERT_NE(dialog, nullptr);
  // Cancel keeps nothing; OK stores the version and the dialog stays.
  PostMessageW(dialog, WM_COMMAND, kSkipButton, 0);
  const std::wstring question = L"Skip this version on checking web update?\nQuillora 99.0.0.1";
  ASSERT_TRUE(qlrtest::CloseMessageBox(child.Pid(), question, kProgramWaitMs, IDCANCEL));
  // The next question only once this box has gone.
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return !qlrtest::FindProcessWindow(child.Pid(), L"#32770", L"Quillora"); },
                                 kProgramWaitMs));
  EXPECT_EQ(Ini(L"SkippedVersion_OnCheckUpdates"), L"");
  PostMessageW(dialog, WM_COMMAND, kSkipButton, 0);
  ASSERT_TRUE(qlrtest::CloseMessageBox(child.Pid(), question, kProgramWaitMs, IDOK));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Ini(L"SkippedVersion_OnCheckUpdates") == L"99,0,0,1"; },
                                 kProgramWaitMs));
  EXPECT_TRUE(IsWindow(dialog));
  ASSERT_TRUE(CloseUpdateDialog(dialog));
  Exit();

  // The next start checks on its own at once: the request names the skipped
  // version and its answer shows nothing.
  SetSetting(L"AutoCheckForUpdates", L"1");
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"UpdateWait_Test.UpdateWait_Test"), "200"));
  tray = Start(L"");
  ASSERT_NE(tray, nullptr);
  ASSERT_TRUE(WaitForLog(L"Skip the verion on web site:99.0.0.1"));
  std::string lastQuery;
  for (const auto& request : server.Requests())
    if (request.path == qlre2e::kServicePath) lastQuery = request.query;
  EXPECT_NE(lastQuery.find("SkippedVersion=[99.0.0.1]"), std::string::npos) << lastQuery;
  EXPECT_EQ(CountUpdateDialogs(), 0u);
  Exit();
}

TEST_F(UpdateDialogE2eTest, WithTheServerDownTheErrorIsShownAndNothingCanBeSkipped) {
  server.Stop();
  HWND tray = Start(L"");
  ASSERT_NE(tray, nullptr);
  HWND dialog = CheckAndWait(tray);
  ASSERT_NE(dialog, nullptr);
  std::wstring page = Text(GetDlgItem(dialog, kViewId));
  EXPECT_NE(page.find(L"ERROR: Cannot load information from official web-site"), std::wstring::npos) << page;
  EXPECT_EQ(page.find(L"You use the latest version"), std::wstring::npos);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kSkipButton)));

  // The exit command ends the dialog first, then the program ends cleanly.
  PostMessageW(tray, WM_COMMAND, kExitCommand, 0);
  EXPECT_EQ(child.Wait(kProgramWaitMs), 0);
  EXPECT_TRUE(WaitForLog(L"===End Quillora==="));
}

}  // namespace
