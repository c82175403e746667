#include "foundation/text/number_words.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberWordsTest, SpellsNumbersWithRussianGrammar) {
  struct {
    uint32_t n;
    const wchar_t* words;
  } cases[] = {
      {0, L"ноль"},
      {1, L"один"},
      {10, L"десять"},
      {11, L"одиннадцать"},
      {12, L"двенадцать"},
      {14, L"четырнадцать"},
      {19, L"девятнадцать"},
      {40, L"сорок"},
      {58, L"пятьдесят восемь"},
      {90, L"девяносто"},
      {115, L"сто пятнадцать"},
      {512, L"пятьсот двенадцать"},
      {999, L"девятьсот девяносто девять"},
      {1000, L"одна тысяча"},
      {2000, L"две тысячи"},
      {4000, L"четыре тысячи"},
      {5000, L"пять тысяч"},
      {11000, L"одиннадцать тысяч"},
      {12000, L"двенадцать тысяч"},
      {21000, L"двадцать одна тысяча"},
      {22001, L"двадцать две тысячи один"},
      {1000000, L"один миллион"},
      {2000000, L"два миллиона"},
      {5000000, L"пять миллионов"},
      {1001000, L"один миллион одна тысяча"},
      {1000000000, L"один миллиард"},
      {2147483648u, L"два миллиарда сто сорок семь миллионов четыреста восемьдесят три тысячи "
                    L"шестьсот сорок восемь"},
      {4294967295u, L"четыре миллиарда двести девяносто четыре миллиона девятьсот шестьдесят "
                    L"семь тысяч двести девяносто пять"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberToWords(c.n), c.words) << c.n;
}

TEST(NumberWordsTest, ReplacesOnlyTheDigitsOfAText) {
  struct {
    const wchar_t* text;
    const wchar_t* result;
  } cases[] = {
      {L"", L""},
      {L"no digits", L"no digits"},
      {L"007", L"семь"},
      {L"abc5def", L"abcпятьdef"},
      {L"5 + 12 = 17", L"пять + двенадцать = семнадцать"},
      {L"4294967295!", L"четыре миллиарда двести девяносто четыре миллиона девятьсот шестьдесят "
                       L"семь тысяч двести девяносто пять!"},
      // Beyond 32 bits there is no spelling: the digits stay.
      {L"x4294967296", L"x4294967296"},
      {L"99999999999999999999 1", L"99999999999999999999 один"},
      // Leading zeros do not count towards the limit.
      {L"00000000000000000000003", L"три"},
      // Other scripts' digits have no value to read: kept as text.
      {L"\u0661\u0662 and \uff13", L"\u0661\u0662 and \uff13"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumbersToWords(c.text), c.result) << c.text;
}

TEST(NumberWordsTest, SplitsIntoAlternatingRuns) {
  std::vector<DigitRun> runs = {{true, L"stale"}};
  EXPECT_EQ(SplitDigitRuns(L"", runs), 0u);
  EXPECT_TRUE(runs.empty());
  // The Arabic-Indic three is not a digit; it begins a run of its own.
  ASSERT_EQ(SplitDigitRuns(L"12ab3\u0663", runs), 4u);
  EXPECT_EQ(runs[0], DigitRun(true, L"12"));
  EXPECT_EQ(runs[1], DigitRun(false, L"ab"));
  EXPECT_EQ(runs[2], DigitRun(true, L"3"));
  EXPECT_EQ(runs[3], DigitRun(false, L"\u0663"));
}

}  // namespace
