#include "foundation/text/text_helpers.h"

#include <gtest/gtest.h>

namespace {

TEST(TextHelpersTest, CaptionsAreFoldedToOneLineAndCutInTheMiddle) {
  struct {
    const wchar_t* text;
    int max;
    bool changed;
    const wchar_t* result;
  } cases[] = {
      {L"hello world", 20, false, L"hello world"},
      {L"a\r\nb\nc\rd", 20, true, L"a b c d"},
      {L"a     b", 20, true, L"a  b"},  // three then two blanks: five end as two
      {L"\u00b6 text \t\r", 20, true, L"text"},
      {L"", 5, false, L""},
      // No separator: cut at max / 2, resume at length - max / 2.
      {L"abcdefghijklmnopqrstuvwxyz", 10, true, L"abcde\u2026vwxyz"},
      // The cut starts at the last separator of the first half and ends
      // behind the first separator text of the last half.
      {L"one two three four five six seven", 16, true, L"one two\u2026seven"},
      {L"alpha,beta;gamma delta epsilon zeta", 12, true, L"alpha\u2026zeta"},
      // Only the folding changed a long text that then fits: still a change.
      {L"a                    b", 10, true, L"a    b"},
      {L"x", -4, true, L"\u2026"},
  };
  for (const auto& c : cases) {
    std::wstring text = c.text;
    EXPECT_EQ(ShortenTextForCaption(text, c.max), c.changed) << c.text;
    EXPECT_EQ(text, c.result) << c.text;
  }
}

TEST(TextHelpersTest, CutRangeIsOnlyFoundForTooLongTexts) {
  CutRange range;
  EXPECT_FALSE(FindCutRange(L"0123456789", 10, range));
  ASSERT_TRUE(FindCutRange(L"0123456789a", 10, range));
  EXPECT_EQ(range.start, 5u);
  EXPECT_EQ(range.end, 6u);
  // A separator at position 0 does not count for the start.
  ASSERT_TRUE(FindCutRange(L" 123456789abcdef", 10, range));
  EXPECT_EQ(range.start, 5u);
  // The nearest end behind a separator text from length - max / 2 on wins.
  ASSERT_TRUE(FindCutRange(L"0123456789abcdefg\r\nx z", 10, range));
  EXPECT_EQ(range.end, 18u);
}

TEST(TextHelpersTest, LastOfAnyIgnoresPositionZero) {
  EXPECT_EQ(FindLastOfAny(L"/abc", L"/&?"), -1);
  EXPECT_EQ(FindLastOfAny(L"abc", L"/&?"), -1);
  EXPECT_EQ(FindLastOfAny(L"a/b?c&d", L"/&?"), 5);
  EXPECT_EQ(FindLastOfAny(L"", L"/"), -1);
}

TEST(TextHelpersTest, UrlsKeepTheirHostAndLastPiece) {
  const std::wstring longHost = L"https://" + std::wstring(40, L'h') + L"/x/y";
  struct {
    std::wstring url;
    int max;
    bool result;
    std::wstring shortened;
  } cases[] = {
      {L"http://a.b/c", 50, true, L"http://a.b/c"},
      {L"www.example.com/some/very/long/path/file.html", 20, false,
       L"www.example.com/some/very/long/path/file.html"},
      {L"mailto:someone.with.a.long.name@example.com", 10, false,
       L"mailto:someone.with.a.long.name@example.com"},
      {L"http://www.example.com/some/very/long/path/page.html", 30, true,
       L"http://www.example.com/ \u2026 ge.html"},
      {L"HTTP://www.example.com/some/very/long/path/page.html", 60, true,
       L"HTTP://www.example.com/some/very/long/path/page.html"},
      {L"FTP://files.example.org/pub/archive.tar", 30, true,
       L"FTP://files.example.org/ \u2026 ve.tar"},
      // The head alone is longer than the room: half of it each, and the
      // tail is only as long as it is.
      {longHost, 20, true, L"https://hh \u2026 y"},
      // No "/" before the query: the head takes what the tail leaves, 20 when
      // the tail alone is too long.
      {L"http://example.com?query=aaaaaaaaaaaaaaaaaaaaaaaaa", 20, true,
       L"http://example.com?q \u2026 "},
      {L"http://example.com?q=abcdef", 24, true, L"http://example.c \u2026 q=abcdef"},
      {L"http://example.com/a", 0, true, L" \u2026 "},
  };
  for (const auto& c : cases) {
    std::wstring url = c.url;
    EXPECT_EQ(ShortenUrlForCaption(url, c.max), c.result) << c.url;
    EXPECT_EQ(url, c.shortened) << c.url;
  }
}

TEST(TextHelpersTest, ReplaceAllGoesOnBehindEachReplacement) {
  std::wstring text = L"aaaa";
  EXPECT_EQ(ReplaceAllText(text, L"a", L"aa"), 4u);
  EXPECT_EQ(text, L"aaaaaaaa");
  EXPECT_EQ(ReplaceAllText(text, L"", L"x"), 0u);
  text = L"x\r\n\r\ny";
  EXPECT_EQ(ReplaceAllText(text, L"\r\n", L" "), 2u);
  EXPECT_EQ(text, L"x  y");
}

}  // namespace
