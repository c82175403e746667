#include "editor/text/rich_text_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/text/tests/text_test_util.h"
#include "foundation/ui/rich_edit_convert.h"

namespace {

using texttest::CharCount;
using texttest::kTextId;
using texttest::kTextStyle;

class RichTextIoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plain.Create(kTextStyle, CControlHost::ChildRect(), &host, 300));
    ASSERT_TRUE(phrase.Create(kTextStyle, CControlHost::ChildRect(), &host, kTextId));
  }
  CControlHost host;
  CRichEditCtrl plain;
  CPhraseRichEdit phrase;
};

std::wstring Repeat(const std::wstring& piece, size_t times) {
  std::wstring out;
  out.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST_F(RichTextIoTest, RtfRoundTripKeepsTheTextAndItsLetters) {
  const std::wstring rtf = L"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 Hello \\u1046? {\\b bold} world}";
  ASSERT_TRUE(rich_text::StreamInByPrefix(phrase, rtf));
  EXPECT_EQ(rich_text::GetPlainText(phrase), L"Hello \x0416 bold world");

  // What the control writes is 8-bit RTF and reads back the same.
  std::wstring saved = rich_text::GetRtf(phrase);
  ASSERT_FALSE(saved.empty());
  EXPECT_EQ(saved.compare(0, 5, L"{\\rtf"), 0);
  for (wchar_t c : saved) ASSERT_LE(c, 0xFF) << "stored RTF holds only 8-bit characters";
  ASSERT_TRUE(rich_text::StreamInByPrefix(plain, saved));
  EXPECT_EQ(rich_text::GetPlainText(plain), L"Hello \x0416 bold world");
  CHARFORMAT2W bold = texttest::FormatAt(plain, 9);
  EXPECT_TRUE(bold.dwEffects & CFE_BOLD);

  // Unicode RTF of another program, the letter written as itself.
  ASSERT_TRUE(rich_text::StreamInByPrefix(plain, L"{\\urtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 \x0416 text}"));
  EXPECT_EQ(rich_text::GetPlainText(plain), L"\x0416 text");
  // The foundation's hidden converter gives the same plain text.
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetHiddenRichEditParent(parent);
  EXPECT_EQ(RtfToPlainText(saved), L"Hello \x0416 bold world");
  ::DestroyWindow(parent);
}

TEST_F(RichTextIoTest, LongPhrasesLoadAndStreamOutWhole) {
  // 1,000 lines of 60 characters (the line break counts two in plain text).
  std::wstring line = Repeat(L"0123456789", 6).substr(0, 58);
  std::wstring text, rtf = L"{\\rtf1\\ansi ";
  for (int i = 0; i < 1000; ++i) {
    text += (i ? L"\r\n" : L"") + line;
    rtf += (i ? L"\\par\r\n" : L"") + line;
  }
  rtf += L"}";
  ASSERT_EQ(text.size(), 59998u);
  for (CRichEditCtrl* edit : {static_cast<CRichEditCtrl*>(&plain), static_cast<CRichEditCtrl*>(&phrase)}) {
    ASSERT_TRUE(rich_text::StreamInByPrefix(*edit, text));
    EXPECT_EQ(rich_text::GetPlainText(*edit), text) << "plain text";
    ASSERT_TRUE(rich_text::StreamInByPrefix(*edit, rtf));
    EXPECT_EQ(CharCount(*edit), 58 * 1000 + 999);
    std::wstring saved = rich_text::GetRtf(*edit);
    ASSERT_TRUE(rich_text::StreamInByPrefix(plain, saved));
    EXPECT_EQ(rich_text::GetPlainText(plain), text) << "RTF streamed out and in again";
  }
  // Through the window text too: the phrase control keeps a loaded text
  // whole whatever its typing limit.
  ::SetWindowTextW(phrase, (text + L"abc").c_str());
  EXPECT_EQ(rich_text::GetPlainText(phrase), text + L"abc");
}

TEST_F(RichTextIoTest, ShortAndEmptyTexts) {
  EXPECT_EQ(rich_text::GetPlainText(phrase), L"");
  EXPECT_EQ(rich_text::GetRtf(phrase), L"") << "an empty control streams nothing";
  ASSERT_TRUE(rich_text::StreamInByPrefix(phrase, L"x"));
  std::wstring one = rich_text::GetPlainText(phrase);
  EXPECT_EQ(one, L"x");
  EXPECT_EQ(one.size(), 1u);
  EXPECT_EQ(one.c_str()[1], L'\0');
  texttest::Select(phrase, 0, 1);
  EXPECT_EQ(rich_text::GetSelectedPlainText(phrase), L"x");
  texttest::Select(phrase, 1, 1);
  EXPECT_EQ(rich_text::GetSelectedPlainText(phrase), L"");

  ASSERT_TRUE(rich_text::StreamInAnsiRtf(phrase, "{\\rtf1\\ansi caf\\'e9}"));
  EXPECT_EQ(rich_text::GetPlainText(phrase), L"caf\x00e9");
  std::string bytes = "raw";
  EXPECT_TRUE(rich_text::StreamIn(phrase, bytes.data(), bytes.size(), false, false));
  EXPECT_EQ(rich_text::GetPlainText(phrase), L"raw");

  // No window: empty answers, no failure.
  EXPECT_EQ(rich_text::GetPlainText(nullptr), L"");
  EXPECT_FALSE(rich_text::StreamInByPrefix(nullptr, L"x"));
  EXPECT_EQ(rich_text::GetRangeText(nullptr, 0, 1), L"");
  EXPECT_EQ(rich_text::GetTextDocument(nullptr), nullptr);
  LONG first = 0, last = 0;
  EXPECT_FALSE(rich_text::GetVisibleRange(nullptr, &first, &last));
}

TEST_F(RichTextIoTest, BadRtfNeverHangsAndGivesWhatWasRead) {
  struct Case {
    std::wstring rtf;
    std::wstring mustContain;
  };
  std::wstring deep = L"{\\rtf1 " + std::wstring(10000, L'{') + L"deep";
  std::wstring big = L"{\\rtf1\\ansi " + Repeat(L"word word word word word word word word word word\\par\r\n", 40000) + L"}";
  const std::vector<Case> cases = {
      {L"{\\rtf1 {{ open groups", L"open groups"},
      {L"{\\rtf1 closed}} too many}", L"closed"},
      {deep, L"deep"},
      {L"{\\rtf1 \\{" + std::wstring(300, L'{') + L"x\\}" + std::wstring(300, L'}') + L" tail}", L"x}"},
      {L"{\\urtf", L""},
      {L"{\\rtf1\\ansi escaped \\u1046?\\u-3?\\u99999999? end}", L"escaped"},
      {L"{\\rtf1 before {\\pict\\pngblip 89504e470d0a1a0a0000} after}", L"after"},
      {L"{\\rtf1 x {\\object\\objemb{\\*\\objdata 0105000002}{\\result res}} y}", L"x"},
      {big, L"word word"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rtf.substr(0, 40));
    bool read = rich_text::StreamInByPrefix(phrase, c.rtf);
    std::wstring text = rich_text::GetPlainText(phrase);
    if (read) {
      EXPECT_EQ(text.find(L'\0'), std::wstring::npos);
    }
    if (!c.mustContain.empty()) {
      EXPECT_TRUE(read);
      EXPECT_NE(text.find(c.mustContain), std::wstring::npos) << "got: " << std::string(text.begin(), text.begin() + std::min<size_t>(text.size(), 60));
    }
  }
  EXPECT_GE(CharCount(phrase), 0);
}

TEST_F(RichTextIoTest, VisibleRangeAndRangeText) {
  std::wstring text;
  for (int i = 0; i < 200; ++i) text += L"line " + std::to_wstring(i) + L"\r\n";
  ::SetWindowTextW(phrase, text.c_str());
  LONG first = -1, last = -1;
  ASSERT_TRUE(rich_text::GetVisibleRange(phrase, &first, &last));
  EXPECT_EQ(first, 0);
  EXPECT_GT(last, 0);
  EXPECT_LT(last, CharCount(phrase)) << "200 lines do not fit";
  ::SendMessageW(phrase, EM_LINESCROLL, 0, 50);
  ASSERT_TRUE(rich_text::GetVisibleRange(phrase, &first, &last));
  LONG line = static_cast<LONG>(::SendMessageW(phrase, EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_GT(line, 0);
  EXPECT_EQ(first, static_cast<LONG>(::SendMessageW(phrase, EM_LINEINDEX, line, 0)));
  EXPECT_GT(last, first);

  ::SetWindowTextW(phrase, L"Hello http://example.com");
  EXPECT_EQ(rich_text::GetRangeText(phrase, 0, 5), L"Hello");
  CHARRANGE link = {6, 24};
  EXPECT_EQ(rich_text::GetLinkText(phrase, link), L"http://example.com");
}

struct Found {
  std::vector<LONG> starts;
  size_t stopAfter = 0;
  LONG jumpTo = -1;
};

bool Collect(HWND, rich_text::FindMatch& match, void* context) {
  auto* found = static_cast<Found*>(context);
  found->starts.push_back(match.start);
  if (found->jumpTo >= 0) {
    match.resumeAt = found->jumpTo;
    match.action |= rich_text::kFindResumeSet;
    found->jumpTo = -1;
  }
  return found->stopAfter == 0 || found->starts.size() < found->stopAfter;
}

TEST_F(RichTextIoTest, FindAllWalksEveryMatch) {
  ::SetWindowTextW(phrase, L"aXa xa A aa");
  struct Case {
    UINT flags;
    LONG start, end;
    size_t stopAfter;
    LONG jumpTo;
    std::vector<LONG> starts;
  };
  const std::vector<Case> cases = {
      {0, 0, -1, 0, -1, {0, 2, 5, 7, 9, 10}},
      {rich_text::kMatchCase, 0, -1, 0, -1, {0, 2, 5, 9, 10}},
      {rich_text::kMatchWord, 0, -1, 0, -1, {7}},
      {0, 3, 8, 0, -1, {5, 7}},
      {0, 0, -1, 2, -1, {0, 2}},
      {0, 0, -1, 0, 6, {0, 7, 9, 10}},
  };
  for (const Case& c : cases) {
    Found found;
    found.stopAfter = c.stopAfter;
    found.jumpTo = c.jumpTo;
    int count = rich_text::FindAll(phrase, L"a", c.flags, c.start, c.end, Collect, &found);
    EXPECT_EQ(found.starts, c.starts) << "flags " << c.flags << " from " << c.start;
    EXPECT_EQ(count, static_cast<int>(c.starts.size()));
  }
  EXPECT_EQ(rich_text::FindAll(phrase, L"", 0, 0, -1, Collect, nullptr), 0);
  EXPECT_EQ(rich_text::FindAll(phrase, L"zz", 0, 0, -1, nullptr, nullptr), 0);
}

}  // namespace
