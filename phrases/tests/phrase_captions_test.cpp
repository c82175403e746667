#include "phrases/store/phrase_captions.h"

#include <gtest/gtest.h>

namespace {

TEST(PhraseCaptionTest, NormalizeMakesOneTrimmedLine) {
  struct {
    const wchar_t* text;
    int max;
    const wchar_t* expected;
  } cases[] = {
      {L"  \t plain \r\n", -1, L"plain"},
      {L"first line\r\nsecond", -1, L"first line"},
      {L"ab\tc", -1, L"ab"},
      {L"a\tbc", -1, L"a bc"},  // a break before index 2 stays, as a blank
      {L"\b\vx", -1, L"x"},
      {L"abcdefgh", 5, L"abcde\u2026"},
      {L"abcde", 5, L"abcde"},
      {L"", 5, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
    EXPECT_EQ(NormalizeCaptionText(c.text, c.max), c.expected);
  }
}

TEST(PhraseCaptionTest, HistoryCaptionsAreShortenedAsUrlsOrAsText) {
  const std::wstring url = L"https://example.com/a/very/long/path/to/some/page.html?x=1";
  struct {
    std::wstring text;
    int max;
    std::wstring expected;
  } cases[] = {
      {L"\r\n  short one \t", 40, L"short one"},
      {url, 100, url},
      // Host part and last piece kept around the ellipsis.
      {url, 30, L"https://example.com/ \u2026 x=1"},
      // A text is cut at blanks.
      {L"one two three four five six seven eight nine ten", 20, L"one two\u2026nine ten"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(ShortenHistoryCaption(c.text, c.max), c.expected);
  }
}

}  // namespace
