// The real Quillora.exe pointed at a local update server: answers of the
// update service, the feed and the downloads, and the requests it got.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

#include "tests/e2e/tray_program.h"
#include "tests/support/http_test_server.h"
#include "tests/support/test_support.h"

namespace qlre2e {

constexpr char kServicePath[] = "/Source/update_qlr.php";
constexpr char kFeedPath[] = "/news_en.xml";
constexpr wchar_t kCommandEvent[] = L"Local\\Quillora_CommandCheckForUpdates";
constexpr wchar_t kOptionsChangedEvent[] = L"Local\\Quillora_OptionsChanged";
constexpr WORD kCheckForUpdatesCommand = 32791;
constexpr DWORD kCheckWaitMs = 60000;
constexpr wchar_t kUpdateDialogTitle[] = L"Quillora : Check For Updates";

class UpdateCheckE2eTest : public TrayProgramTest {
 protected:
  void SetUp() override {
    TrayProgramTest::SetUp();
    ASSERT_TRUE(server.Start());
    SetSetting(L"AutoCheckForUpdates", L"0");
    CreateDirectoryW(dir.File(L"Phrases").c_str(), nullptr);
    SetSetting(L"PhrasesDirectory", dir.File(L"Phrases"));
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"UpdateSite_Test.UpdateSite_Test"),
                                    qlrtest::ToUtf8(server.BaseUrl())));
    SetConnection('0');
  }
  void TearDown() override {
    TrayProgramTest::TearDown();
    server.Stop();
  }
  void SetConnection(char state) {
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"InternetState_Test.InternetState_Test"), std::string(1, state)));
  }
  std::string Link(const char* path) const { return qlrtest::ToUtf8(server.BaseUrl()) + (path + 1); }
  void AnswerNewVersion() {
    qlrtest::HttpAnswer answer;
    answer.body = "<QuilloraVersionInfo><Version>99.0.0.1</Version><DownloadURL>" + Link("/setup.exe") +
                  "</DownloadURL><DownloadURL_PE>" + Link("/portable.zip") +
                  "</DownloadURL_PE></QuilloraVersionInfo>";
    server.SetAnswer(kServicePath, answer);
    qlrtest::HttpAnswer feed;
    feed.body = "<rss><channel><item><title>News</title></item></channel></rss>";
    server.SetAnswer(kFeedPath, feed);
    qlrtest::HttpAnswer file;
    file.body = "binary";
    file.headers = {{"Last-Modified", "Tue, 01 Dec 2026 08:30:15 GMT"}};
    server.SetAnswer("/setup.exe", file);
    server.SetAnswer("/portable.zip", file);
  }
  size_t Requests() const { return server.CountRequests(kServicePath, "Quillora_Updater"); }
  bool WaitForRequests(size_t n) const {
    return qlrtest::WaitUntil([&] { return Requests() >= n; }, kCheckWaitMs);
  }
  // True once for two seconds no check has been asked for and the stored
  // time of the last check stays as it is.
  bool WaitForChecksToSettle() {
    return qlrtest::WaitUntilStill([&] { return std::make_pair(Requests(), StoredLastCheck()); }, 2000,
                                   kCheckWaitMs, 100);
  }
  std::wstring StoredLastCheck() {
    wchar_t low[32] = {}, high[32] = {};
    std::wstring ini = dir.File(L"Settings.ini");
    GetPrivateProfileStringW(L"Settings", L"LastCheckForUpdates_V2Low", L"", low, 32, ini.c_str());
    GetPrivateProfileStringW(L"Settings", L"LastCheckForUpdates_V2Hi", L"", high, 32, ini.c_str());
    return std::wstring(low) + L"/" + high;
  }

  // The visible update dialog (the localiser may hold a hidden copy).
  HWND WaitForUpdateDialog() {
    HWND dialog = nullptr;
    qlrtest::WaitUntil(
        [&] {
          dialog = qlrtest::FindProcessWindow(child.Pid(), L"#32770", kUpdateDialogTitle);
          return dialog && IsWindowVisible(dialog);
        },
        kCheckWaitMs);
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
  }
  size_t CountUpdateDialogs() {
    size_t n = 0;
    for (HWND w : qlrtest::FindProcessWindows(child.Pid())) {
      wchar_t text[64] = {};
      GetWindowTextW(w, text, 64);
      if (IsWindowVisible(w) && wcscmp(text, kUpdateDialogTitle) == 0) ++n;
    }
    return n;
  }
  bool CloseUpdateDialog(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return qlrtest::WaitUntil([&] { return !IsWindow(dialog); }, kProgramWaitMs);
  }

  qlrtest::HttpTestServer server;
};

}  // namespace qlre2e
