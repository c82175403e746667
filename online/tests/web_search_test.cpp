#include "online/web_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "online/internet_state.h"
#include "tests/support/test_support.h"

namespace {

struct RunCall {
  std::wstring command;
  bool reportErrors;
  HWND owner;
};
std::vector<RunCall> g_calls;

bool RecordRun(const std::wstring& command, bool reportErrors, HWND owner) {
  g_calls.push_back({command, reportErrors, owner});
  return true;
}

class WebSearchTest : public ::testing::Test {
 protected:
  void SetUp() override { g_calls.clear(); }
  void TearDown() override { SetCommandRunnerForTests(nullptr); }
};

TEST_F(WebSearchTest, EachEngineGetsItsQueryFormAndOthersNone) {
  const struct {
    int engine;
    const wchar_t* address;
  } cases[] = {
      {4, L"http://www.google.com/search?q=a&b c"},
      {5, L"http://www.yandex.ru/yandsearch?text=a&b c"},
      {6, L"http://social.msdn.microsoft.com/Search/en-US?query=a&b c"},
      {7, L"https://en.wikipedia.org/wiki/Special:Search?search=a&b c"},
      {3, L""},
      {8, L""},
      {-1, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildWebSearchAddress(L"a&b c", c.engine), c.address) << c.engine;
}

TEST_F(WebSearchTest, LineBreaksBecomeOneBlankEach) {
  const struct {
    const wchar_t* text;
    const wchar_t* query;
  } cases[] = {
      {L"one\r\ntwo", L"one two"},
      {L"one\ntwo\rthree", L"one two three"},
      {L"one\r\n\r\ntwo", L"one  two"},
      {L"\n\rx\r\n", L"  x "},
      {L"", L""},
  };
  const std::wstring prefix = L"http://www.google.com/search?q=";
  for (const auto& c : cases) EXPECT_EQ(BuildWebSearchAddress(c.text, 4), prefix + c.query);
}

TEST_F(WebSearchTest, SearchRunsTheAddressWithErrorsReportedAndUnknownEnginesRunNothing) {
  SetCommandRunnerForTests(RecordRun);
  HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  EXPECT_FALSE(SearchTextOnWeb(L"x", 3, owner));
  EXPECT_FALSE(SearchTextOnWeb(L"x", 8, owner));
  EXPECT_TRUE(g_calls.empty());
  EXPECT_TRUE(SearchTextOnWeb(L"two\r\nlines", 7, owner));
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].command, L"https://en.wikipedia.org/wiki/Special:Search?search=two lines");
  EXPECT_TRUE(g_calls[0].reportErrors);
  EXPECT_EQ(g_calls[0].owner, owner);
}

TEST_F(WebSearchTest, RunCommandStartsAProgramThroughTheShell) {
  qlrtest::TempDir dir;
  std::wstring exe = dir.File(L"marker.exe");
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_write_marker.exe"), exe));
  std::wstring marker = dir.File(L"marker.txt");
  SetEnvironmentVariableW(L"QLR_MARKER_FILE", marker.c_str());
  EXPECT_TRUE(RunCommand(exe, true, nullptr));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return !qlrtest::ReadUtf16File(marker).empty(); }, 10000));
  SetEnvironmentVariableW(L"QLR_MARKER_FILE", nullptr);
  // A missing file fails; without error reporting no box holds the caller.
  EXPECT_FALSE(RunCommand(dir.File(L"missing.exe"), false, nullptr));
}

TEST_F(WebSearchTest, InternetStateIsUnknownWithoutTheSystemFunction) {
  EXPECT_EQ(IsInternetConnectedWith(L"no_such_library_qlr.dll"), kInternetUnknown);
  EXPECT_EQ(IsInternetConnectedWith(L"kernel32.dll"), kInternetUnknown);
  int state = IsInternetConnected();
  EXPECT_TRUE(state == kInternetConnected || state == kInternetOffline) << state;
}

}  // namespace
