#include "foundation/files/ini.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace {

class IniTest : public ::testing::Test {
 protected:
  qlrtest::TempDir dir;
  std::wstring ini = dir.File(L"Settings.ini");
  void SetUp() override {
    // Private-profile files of the suite are UTF-16 with a BOM.
    ASSERT_TRUE(qlrtest::WriteUtf16File(ini, L"[Settings]\r\nLanguage=en\r\nEmpty=\r\n"
                                             L"Formula=a=b=c\r\n[Blank]\r\n"));
  }
};

TEST_F(IniTest, ReadStringReportsMissingAndEmptyValuesAndKeepsBuffer) {
  wchar_t out[kIniValueChars] = L"untouched";
  EXPECT_FALSE(IniReadString(ini.c_str(), L"Settings", L"Missing", out));
  EXPECT_STREQ(out, L"untouched");
  EXPECT_FALSE(IniReadString(ini.c_str(), L"Settings", L"Empty", out));
  EXPECT_STREQ(out, L"untouched");
  EXPECT_TRUE(IniReadString(ini.c_str(), L"Settings", L"Language", out));
  EXPECT_STREQ(out, L"en");
  // Only the first "=" separates name and value.
  EXPECT_EQ(IniReadString(ini, L"Settings", L"Formula"), L"a=b=c");
}

TEST_F(IniTest, LongValuesAreCutTo259Characters) {
  std::wstring value(300, L'x');
  value[258] = L'y';
  ASSERT_TRUE(IniWriteString(ini.c_str(), L"Settings", L"Long", value.c_str()));
  std::wstring read = IniReadString(ini, L"Settings", L"Long");
  EXPECT_EQ(read.size(), 259u);
  EXPECT_EQ(read.back(), L'y');
}

TEST_F(IniTest, WritingNullOrEmptyKeepsTheKeyWithAnEmptyValue) {
  ASSERT_TRUE(IniWriteString(ini.c_str(), L"Settings", L"Language", nullptr));
  EXPECT_TRUE(IniKeyExists(ini.c_str(), L"Settings", L"Language"));
  EXPECT_EQ(IniReadString(ini, L"Settings", L"Language"), L"");
  ASSERT_TRUE(IniWriteString(ini.c_str(), L"New", L"Key", L""));
  EXPECT_TRUE(IniKeyExists(ini.c_str(), L"New", L"Key"));
}

TEST_F(IniTest, IntegersRoundTripWithSignAndDefault) {
  struct {
    int value;
    const wchar_t* text;
  } cases[] = {{0, L"0"}, {-17, L"-17"}, {2147483647, L"2147483647"}, {-2147483647 - 1, L"-2147483648"}};
  for (const auto& c : cases) {
    ASSERT_TRUE(IniWriteInt(ini.c_str(), L"Settings", L"Number", c.value));
    EXPECT_EQ(IniReadString(ini, L"Settings", L"Number"), c.text);
    EXPECT_EQ(IniReadInt(ini.c_str(), L"Settings", L"Number", 99), c.value);
  }
  EXPECT_EQ(IniReadInt(ini.c_str(), L"Settings", L"Absent", 42), 42);
  EXPECT_EQ(IniReadInt(ini.c_str(), L"Settings", L"Language", 42), 0);  // no leading number
}

TEST_F(IniTest, KeyExistsIsCaseSensitiveAndExact) {
  EXPECT_TRUE(IniKeyExists(ini.c_str(), L"Settings", L"Language"));
  EXPECT_TRUE(IniKeyExists(ini.c_str(), L"settings", L"Language"));  // section lookup ignores case
  EXPECT_FALSE(IniKeyExists(ini.c_str(), L"Settings", L"language"));
  EXPECT_FALSE(IniKeyExists(ini.c_str(), L"Settings", L"Lang"));
  EXPECT_FALSE(IniKeyExists(ini.c_str(), L"Settings", L"Languages"));
  EXPECT_TRUE(IniKeyExists(ini.c_str(), L"Settings", L"Formula"));
  EXPECT_TRUE(IniKeyExists(ini.c_str(), L"Settings", L"Empty"));
  EXPECT_FALSE(IniKeyExists(ini.c_str(), L"Blank", L"Language"));
  EXPECT_FALSE(IniKeyExists(ini.c_str(), L"NoSuchSection", L"Language"));
  EXPECT_FALSE(IniKeyExists(dir.File(L"missing.ini").c_str(), L"Settings", L"Language"));
}

TEST_F(IniTest, WritesKeepTheFileUtf16) {
  ASSERT_TRUE(IniWriteString(ini.c_str(), L"Settings", L"Name", L"\u0416\u00e9"));
  std::string bytes = qlrtest::ReadBytes(ini);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
  EXPECT_NE(qlrtest::ReadUtf16File(ini).find(L"Name=\u0416\u00e9"), std::wstring::npos);
  EXPECT_EQ(IniReadString(ini, L"Settings", L"Name"), L"\u0416\u00e9");
}

}  // namespace
