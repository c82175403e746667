#include "foundation/files/ini.h"

#include <gtest/gtest.h>

#include <functional>

#include "foundation/localization/language_files.h"
#include "foundation/localization/lng_section_batch.h"
#include "foundation/logging/log.h"
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

// A file past its bound is read as empty, so anything written into it would
// be defaults over the values it holds: every writer refuses it, says why,
// and leaves it byte for byte; the same writers write a file of a usual size.
TEST_F(IniTest, FilesPastTheirBoundAreNeverWritten) {
  const std::wstring lng = dir.File(L"Big.lng");
  const LOGFONTW font = {};
  const struct {
    const char* name;
    const std::wstring* file;
    unsigned long bound;
    std::function<bool()> write;
  } writers[] = {
      {"string", &ini, kMaxSettingsFileBytes, [&] { return IniWriteString(ini.c_str(), L"Settings", L"Language", L""); }},
      {"int", &ini, kMaxSettingsFileBytes, [&] { return IniWriteInt(ini.c_str(), L"Settings", L"Language", 0); }},
      {"struct", &ini, kMaxSettingsFileBytes,
       [&] { return IniWriteStruct(ini.c_str(), L"Settings", L"Language", &font, sizeof(font)); }},
      {"lng value", &lng, kMaxLngFileBytes, [&] { return WriteLngValue(lng, L"Menu_Client", L"Exit", L"Exit"); }},
      {"lng section", &lng, kMaxLngFileBytes, [&] {
         CLngSectionBatch batch(lng, L"Menu_Client");
         batch.Put(L"Exit", L"Exit");
         return batch.Flush() == 1;
       }},
  };
  for (const auto& w : writers) {
    SCOPED_TRACE(w.name);
    const std::wstring head = L"[Settings]\r\nLanguage=en\r\n[Menu_Client]\r\nExit=Beenden\r\n";
    ASSERT_TRUE(qlrtest::WriteUtf16File(*w.file, head + L";" + std::wstring(w.bound / 2, L'x') + L"\r\n"));
    const std::string before = qlrtest::ReadBytes(*w.file);
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(w.write());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
    EXPECT_TRUE(qlrtest::ReadBytes(*w.file) == before);
    EXPECT_EQ(IniReadString(*w.file, L"Settings", L"Language"), L"");

    ASSERT_TRUE(qlrtest::WriteUtf16File(*w.file, head));
    EXPECT_TRUE(w.write());
    EXPECT_NE(qlrtest::ReadUtf16File(*w.file), head);
  }

  // The refusals above came while the log was closed: the first one with
  // the log open is told, and only that one.
  ASSERT_TRUE(qlrtest::WriteUtf16File(ini, L"[Settings]\r\n;" + std::wstring(kMaxSettingsFileBytes / 2, L'x')));
  const std::wstring logPath = dir.File(L"log.txt");
  ASSERT_TRUE(InitLog(logPath.c_str()));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(IniWriteInt(ini.c_str(), L"Settings", L"Language", i));
  WaitLogWritten(10000);
  TermLog();
  const std::wstring log = qlrtest::ReadUtf16File(logPath);
  size_t told = 0;
  for (size_t at = log.find(L"is larger than"); at != std::wstring::npos; at = log.find(L"is larger than", at + 1))
    ++told;
  EXPECT_EQ(told, 1u) << qlrtest::ToUtf8(log);
}

}  // namespace
