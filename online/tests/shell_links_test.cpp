// The web links and the settings file are opened through the shell-open
// door, so tests (and the marker file) see every such request.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/system/shell_open.h"
#include "online/tray_helpers.h"
#include "online/web_links.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace {

struct Request {
  std::wstring verb, file;
  int show;
};
std::vector<Request> g_requests;

INT_PTR Record(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*, int show) {
  g_requests.push_back({verb ? verb : L"", file ? file : L"", show});
  return 33;
}

TEST(ShellLinksTest, LinksAndTheSettingsFileGoThroughTheDoor) {
  qlrtest::TempDir dir;
  SetSettingsFolders(dir.Path(), dir.File(L"Profile"));
  SetShellOpenHookForTests(Record);
  EXPECT_GT(reinterpret_cast<INT_PTR>(OpenURL(nullptr, L"https://www.quillora.example/x")), 32);
  EXPECT_GT(reinterpret_cast<INT_PTR>(SendMailToSupport(nullptr)), 32);
  EXPECT_TRUE(OpenSettingsFile(nullptr));
  SetShellOpenHookForTests(nullptr);
  SetSettingsFolders(L"", L"");
  ASSERT_EQ(g_requests.size(), 3u);
  EXPECT_EQ(g_requests[0].file, L"https://www.quillora.example/x");
  EXPECT_EQ(g_requests[0].show, SW_SHOWMAXIMIZED);
  EXPECT_EQ(g_requests[1].file, GetSupportMailLink());
  EXPECT_EQ(g_requests[2].file, dir.File(L"Settings.ini"));
  for (const Request& r : g_requests) EXPECT_EQ(r.verb, L"open");
}

}  // namespace
