#include "history/actions/web_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/system/shell_open.h"

namespace {

struct Request {
  std::wstring verb, file;
  HWND owner;
};
std::vector<Request> g_requests;

INT_PTR Record(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*,
               int) {
  g_requests.push_back({verb ? verb : L"", file ? file : L"", owner});
  return 33;
}

class WebSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_requests.clear();
    SetShellOpenHookForTests(Record);
  }
  void TearDown() override { SetShellOpenHookForTests(nullptr); }
};

TEST_F(WebSearchTest, EachEngineOpensItsAddressWithOneLineAndOthersNothing) {
  const HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  const struct {
    int engine;
    const wchar_t* text;
    const wchar_t* address;  // null: nothing opened
  } cases[] = {
      {4, L"two\r\nlines", L"http://search1.example/search?q=two%20lines"},
      {5, L"a\nb\rc", L"http://search2.example/yandsearch?text=a%20b%20c"},
      {6, L"x\r\n\r\ny", L"http://search3.example/Search/en-US?query=x%20%20y"},
      {7, L"a&b #1+2 %", L"https://search4.example/wiki/Special:Search?search=a%26b%20%231%2B2%20%25"},
      {3, L"x", nullptr},
      {8, L"x", nullptr},
      {-1, L"x", nullptr},
  };
  for (const auto& c : cases) {
    g_requests.clear();
    EXPECT_EQ(SearchTextOnWeb(c.text, c.engine, owner), c.address != nullptr) << c.engine;
    if (!c.address) {
      EXPECT_TRUE(g_requests.empty()) << c.engine;
      continue;
    }
    ASSERT_EQ(g_requests.size(), 1u) << c.engine;
    EXPECT_EQ(g_requests[0].verb, L"open");
    EXPECT_EQ(g_requests[0].file, c.address);
    EXPECT_EQ(g_requests[0].owner, owner);
  }
}

TEST_F(WebSearchTest, QueriesAreUtf8PercentEncoded) {
  const struct {
    std::wstring text;
    const wchar_t* query;
  } cases[] = {
      {L"Az09-._~", L"Az09-._~"},
      {L"\x00e9", L"%C3%A9"},
      {L"\x20ac", L"%E2%82%AC"},
      {L"\xD83D\xDE00", L"%F0%9F%98%80"},    // a surrogate pair is one character
      {L"a\xD83D" L"b", L"a%EF%BF%BDb"},      // a lone surrogate
      {L"\xDE00", L"%EF%BF%BD"},
      {L"\t\x01/?=", L"%09%01%2F%3F%3D"},
      {std::wstring(L"a\0b", 3), L"a%00b"},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeSearchQuery(c.text), c.query);
}

// A huge clipboard text gives a bounded address, cut between whole escapes.
TEST_F(WebSearchTest, LongTextsAreCutWithoutSplittingAnEscapeOrACharacter) {
  std::wstring text;
  while (text.size() < 100000) text += L"ab\x00e9\xD83D\xDE00 %";
  for (size_t max : {size_t(1), size_t(7), size_t(2000), size_t(1999), size_t(1998)}) {
    const std::wstring query = EncodeSearchQuery(text, max);
    ASSERT_LE(query.size(), max);
    EXPECT_GT(query.size() + 12, max) << "cut too early at " << max;
    // Every escape is whole, and the bytes decode to whole characters.
    std::string bytes;
    for (size_t i = 0; i < query.size(); ++i) {
      if (query[i] == L'%') {
        ASSERT_LE(i + 3, query.size()) << max;
        bytes += static_cast<char>(std::stoi(std::wstring(query, i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        bytes += static_cast<char>(query[i]);
      }
    }
    std::wstring decoded(bytes.size(), L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                      static_cast<int>(bytes.size()), &decoded[0],
                                      static_cast<int>(decoded.size()));
    EXPECT_TRUE(bytes.empty() || n > 0) << max;
    decoded.resize(n > 0 ? n : 0);
    EXPECT_EQ(decoded, text.substr(0, decoded.size())) << max;
  }
  const std::wstring address = BuildWebSearchAddress(text, 4);
  EXPECT_EQ(address.rfind(L"http://search1.example/search?q=ab%C3%A9%F0%9F%98%80%20%25ab", 0), 0u);
  EXPECT_LE(address.size(), std::wstring(L"http://search1.example/search?q=").size() + kMaxSearchQueryChars);
}

}  // namespace
