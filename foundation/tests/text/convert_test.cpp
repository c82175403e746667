#include "foundation/text/convert.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

std::string Repeat(const std::string& piece, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

std::wstring Repeat(const std::wstring& piece, size_t times) {
  std::wstring out;
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(ConvertTest, Utf8AndUtf16RoundTripIncludingNonBmp) {
  struct {
    const char* utf8;
    const wchar_t* utf16;
  } cases[] = {
      {"plain", L"plain"},
      {"caf\xC3\xA9", L"caf\u00E9"},
      {"\xD0\x9F\xD1\x80\xD0\xB8", L"\u041F\u0440\u0438"},
      {"\xE3\x81\x82\xE2\x82\xAC", L"\u3042\u20AC"},
      {"a\xF0\x9F\x98\x80z", L"a\xD83D\xDE00z"},        // U+1F600 as a surrogate pair
      {"\xF4\x8F\xBF\xBF", L"\xDBFF\xDFFF"},            // U+10FFFF
      {"\xF0\x90\x80\x80\r\n", L"\xD800\xDC00\r\n"},    // U+10000
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToWide(c.utf8), c.utf16) << c.utf8;
    EXPECT_EQ(WideToUtf8(c.utf16), c.utf8) << c.utf8;
  }
}

TEST(ConvertTest, NullEmptyAndRefusedInputsGiveEmptyResults) {
  EXPECT_EQ(Utf8ToWide(static_cast<const char*>(nullptr)), L"");
  EXPECT_EQ(Utf8ToWide(""), L"");
  EXPECT_EQ(AnsiToWide(nullptr), L"");
  EXPECT_EQ(AnsiToWide("ascii"), L"ascii");
  EXPECT_EQ(WideToUtf8(static_cast<const wchar_t*>(nullptr)), "");
  EXPECT_EQ(WideToUtf8(L""), "");
  EXPECT_EQ(WideToThreadAnsi(nullptr), "");
  EXPECT_EQ(MultiByteToWide("abc", 12345), L"");  // no such code page
  EXPECT_EQ(WideToMultiByte(L"abc", 12345), "");
}

TEST(ConvertTest, CodePagesRoundTrip) {
  struct {
    unsigned int codePage;
    const char* bytes;
    const wchar_t* text;
  } cases[] = {
      {1252, "caf\xE9 \x80", L"caf\u00E9 \u20AC"},
      {1251, "\xCF\xF0\xE8\xE2\xE5\xF2", L"\u041F\u0440\u0438\u0432\u0435\u0442"},
      {932, "\x82\xA0\x93\xFA", L"\u3042\u65E5"},
      {1253, "\xC1\xE2", L"\u0391\u03B2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MultiByteToWide(c.bytes, c.codePage), c.text) << c.codePage;
    EXPECT_EQ(WideToMultiByte(c.text, c.codePage), c.bytes) << c.codePage;
  }
}

TEST(ConvertTest, ThreadAnsiFollowsTheThreadLocale) {
  LCID saved = GetThreadLocale();
  ASSERT_TRUE(SetThreadLocale(MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT)));
  std::string russian = WideToThreadAnsi(L"\u041F\u0440\u0438");
  ASSERT_TRUE(SetThreadLocale(MAKELCID(MAKELANGID(LANG_GREEK, SUBLANG_DEFAULT), SORT_DEFAULT)));
  std::string greek = WideToThreadAnsi(L"\u0391\u03B2");
  SetThreadLocale(saved);
  EXPECT_EQ(russian, "\xCF\xF0\xE8");  // code page 1251
  EXPECT_EQ(greek, "\xC1\xE2");        // code page 1253
}

TEST(ConvertTest, LongTextsAroundTheShortTextLimitConvertWhole) {
  // Lengths on both sides of the short-text limit, in units of the input and
  // of the output (one emoji is 4 UTF-8 bytes and 2 UTF-16 units).
  for (size_t length : {1998u, 1999u, 2000u, 2001u, 9000u}) {
    std::string ascii(length, 'q');
    ascii[length - 1] = 'z';
    std::wstring wide = Utf8ToWide(ascii);
    ASSERT_EQ(wide.size(), length);
    EXPECT_EQ(wide.back(), L'z');
    EXPECT_EQ(WideToUtf8(wide), ascii);
  }
  for (size_t emojis : {400u, 499u, 500u, 999u, 1000u, 3000u}) {
    std::string utf8 = Repeat("\xF0\x9F\x98\x80", emojis);
    std::wstring utf16 = Repeat(L"\xD83D\xDE00", emojis);
    EXPECT_EQ(Utf8ToWide(utf8), utf16) << emojis;
    EXPECT_EQ(WideToUtf8(utf16), utf8) << emojis;
  }
}

TEST(ConvertTest, InvariantUpperCase) {
  struct {
    wchar_t in, out;
  } cases[] = {{L'a', L'A'}, {L'Z', L'Z'}, {L'1', L'1'}, {L'\u00E9', L'\u00C9'},
               {L'\u0436', L'\u0416'}, {L'\u03B2', L'\u0392'}, {L'\u00FF', L'\u0178'}};
  for (const auto& c : cases) EXPECT_EQ(ToUpperInvariant(c.in), c.out) << int(c.in);
  EXPECT_EQ(MapStringUpperInvariant(L"Stra\u00DFe \u0436ar"), L"STRA\u00DFE \u0416AR");
  EXPECT_EQ(MapStringUpperInvariant(L""), L"");
}

TEST(ConvertTest, CompareStringsGivesTheFirstDifference) {
  struct {
    const wchar_t* a;
    const wchar_t* b;
    bool caseSensitive;
    int expected;
  } cases[] = {
      {L"phrase", L"PHRASE", false, 0},
      {L"phrase", L"PHRASE", true, L'p' - L'P'},
      {L"abc", L"abcd", false, -L'd'},
      {L"abcd", L"abc", false, L'd'},
      {L"abc", L"abd", false, L'C' - L'D'},  // compared upper-cased
      {L"b", L"A", false, L'B' - L'A'},
      {nullptr, L"", false, 0},
      {nullptr, nullptr, false, 0},
      {nullptr, L"x", false, -L'x'},
      {L"\u0436\u00E9", L"\u0416\u00C9", false, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareStringsW(c.a, c.b, c.caseSensitive), c.expected)
        << (c.a ? c.a : L"(null)") << " / " << (c.b ? c.b : L"(null)");
  }
  const wchar_t* same = L"same";
  EXPECT_EQ(CompareStringsW(same, same, true), 0);
}

TEST(ConvertTest, FindStringNoCase) {
  struct {
    const wchar_t* needle;
    const wchar_t* text;
    int start;
    int expected;
  } cases[] = {
      {L"B", L"abcabc", 0, 1},
      {L"B", L"abcabc", 2, 4},
      {L"B", L"abcabc", 5, -1},   // past the last occurrence
      {L"b", L"abcabc", 99, -1},  // past the end
      {L"B", L"abcabc", -3, 1},
      {L"", L"abc", 0, -1},
      {L"a", L"", 0, -1},
      {L"\u0416AR", L"x \u0436ar", 0, 2},
      {L"ABCD", L"abc", 0, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindStringNoCase(c.needle, c.text, c.start), c.expected)
        << c.needle << " in " << c.text << " from " << c.start;
  }
}

}  // namespace
