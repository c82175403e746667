#include "foundation/system/system_info.h"

#include <gtest/gtest.h>

namespace {

// "12.34 GB" -> 12.34; -1 for any other form.
double Gigabytes(const std::wstring& text) {
  double value = 0;
  wchar_t unit[8] = {};
  int consumed = 0;
  if (swscanf(text.c_str(), L"%lf %7ls%n", &value, unit, &consumed) != 2) return -1;
  if (std::wstring(unit) != L"GB" || consumed != static_cast<int>(text.size())) return -1;
  size_t dot = text.find(L'.');
  if (dot == std::wstring::npos || text.find(L' ') - dot != 3) return -1;  // two decimals
  return value;
}

TEST(SystemInfoTest, ByteSizesInTheShellsWords) {
  struct {
    unsigned long long bytes;
    const wchar_t* text;
  } cases[] = {
      {0, L"0 bytes"},
      {532, L"532 bytes"},
      {1536, L"1.50 KB"},
      {1048576, L"1.00 MB"},
      {5ull << 30, L"5.00 GB"},             // beyond 32 bits: not cut to 1 GB
      {(4ull << 30) + (512ull << 20), L"4.50 GB"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatByteSize(c.bytes), c.text) << c.bytes;
}

TEST(SystemInfoTest, CommitLimitHasNoBlanks) {
  std::wstring text = GetCommitLimitText();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.find(L' '), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"B"), std::wstring::npos) << text;
}

TEST(SystemInfoTest, MemoryTexts) {
  double total = Gigabytes(GetTotalPhysicalMemoryText());
  double available = Gigabytes(GetAvailablePhysicalMemoryText());
  EXPECT_GT(total, 0) << GetTotalPhysicalMemoryText();
  EXPECT_GE(available, 0) << GetAvailablePhysicalMemoryText();
  EXPECT_LE(available, total + 0.01);

  std::wstring load = GetMemoryLoadText();
  int percent = -1;
  wchar_t sign = 0;
  ASSERT_EQ(swscanf(load.c_str(), L"%d%lc", &percent, &sign), 2) << load;
  EXPECT_EQ(sign, L'%');
  EXPECT_EQ(load, std::to_wstring(percent) + L"%");
  EXPECT_GE(percent, 0);
  EXPECT_LE(percent, 100);
}

}  // namespace
