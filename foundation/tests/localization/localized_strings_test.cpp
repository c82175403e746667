#include "foundation/localization/localized_strings.h"

#include <gtest/gtest.h>

#include "foundation/localization/language_files.h"
#include "tests/support/test_support.h"

namespace {

const std::wstring kSection = L"Strings_Client";

std::wstring Read(const std::wstring& file, const std::wstring& key) {
  std::wstring value;
  ReadLngValue(file, kSection, key, L"<missing>", 30000, &value);
  return value;
}

// Each test binds its own files; the section suffix stays "_Client".
class LocalizedStringsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_lng = m_dir.File(L"De.lng");
    m_example = m_dir.File(L"LocalizeExample.lng");
    ASSERT_TRUE(qlrtest::WriteUtf16File(m_lng, L"[Main]\r\nLangPrefix=De\r\n"));
    ASSERT_TRUE(SetLngStringFile(m_lng, L"_Client"));
  }
  void TearDown() override { SetCurrentLanguage(L""); }

  qlrtest::TempDir m_dir;
  std::wstring m_lng;
  std::wstring m_example;
};

TEST(LocalizedStringsUnboundTest, ResourceTextsAndNothingWritten) {
  SetCurrentLanguage(L"");
  EXPECT_FALSE(IsLngFileBound());
  CLngString s;
  EXPECT_TRUE(s.LoadString(1001));
  EXPECT_EQ(L"Hello world", s.Text());
  EXPECT_FALSE(s.LoadString(9999));
  EXPECT_EQ(L"", s.Text());
  // A text longer than the first 256-character buffer comes whole.
  EXPECT_TRUE(s.LoadString(1004));
  EXPECT_EQ(300u, s.Text().size());
  EXPECT_EQ(L" end", s.Text().substr(296));
  CLngString fixed(L"given");
  EXPECT_EQ(L"given", static_cast<const std::wstring&>(fixed));
}

TEST_F(LocalizedStringsTest, SectionSuffixIsAppendedOnce) {
  AppendLngStringSection(L"_Client");
  AppendLngStringSection(L"");
  EXPECT_EQ(L"Strings_Client", GetLngStringSection());
  EXPECT_TRUE(IsLngFileBound());
  EXPECT_TRUE(IsFillMissing());
  EXPECT_EQ(m_lng, GetCurrentLanguage());
}

TEST_F(LocalizedStringsTest, MissingTextsFallBackAndAreWrittenIntoBothFiles) {
  CLngString s;
  EXPECT_TRUE(s.LoadString(1001));
  EXPECT_EQ(L"Hello world", s.Text());
  EXPECT_EQ(L"Hello world", Read(m_lng, L"1001"));
  EXPECT_EQ(L"Hello world", Read(m_example, L"1001"));
  // A Cyrillic built-in text survives in both UTF-16 files.
  EXPECT_TRUE(s.LoadString(1005));
  EXPECT_EQ(L"Привет", Read(m_lng, L"1005"));
  EXPECT_EQ(L"Привет", Read(m_example, L"1005"));
  // An id that no table has writes nothing.
  EXPECT_FALSE(s.LoadString(9999));
  EXPECT_EQ(L"<missing>", Read(m_lng, L"9999"));
  EXPECT_EQ(L"<missing>", Read(m_example, L"9999"));
}

TEST_F(LocalizedStringsTest, TranslationsWinAndEmptyValuesCountAsMissing) {
  ASSERT_TRUE(qlrtest::WriteUtf16File(
      m_lng, L"[Strings_Client]\r\n1001=Hallo\\nWelt\r\n277=Zeilen\r\n1003=\r\n"));
  struct Case {
    UINT id;
    const wchar_t* shown;
    const wchar_t* inFile;
  } cases[] = {
      {1001, L"Hallo\nWelt", L"Hallo\\nWelt"},
      {277, L"Zeilen", L"Zeilen"},
      {1003, L"Path C:\\new\\table", L"Path C:\\new\\table"},
  };
  for (const Case& c : cases) {
    CLngString s;
    EXPECT_TRUE(s.LoadString(c.id));
    EXPECT_EQ(c.shown, s.Text()) << c.id;
    EXPECT_EQ(c.inFile, Read(m_lng, std::to_wstring(c.id))) << c.id;
  }
  // The example file always gets the English text.
  EXPECT_EQ(L"Hello world", Read(m_example, L"1001"));
  // A backslash is not escaped: the built-in path reads back with a line feed.
  CLngString again;
  again.LoadString(1003);
  EXPECT_EQ(L"Path C:\new\table", again.Text());

  std::wstring info;
  FormatLinesInfo(info, 12);
  EXPECT_EQ(L"Zeilen: 12", info);
}

TEST_F(LocalizedStringsTest, ControlCharactersTravelEscaped) {
  CLngString s;
  EXPECT_TRUE(s.LoadString(1002));
  EXPECT_EQ(L"a\tb\r\nc", s.Text());
  EXPECT_EQ(L"a\\tb\\r\\nc", Read(m_lng, L"1002"));
  EXPECT_EQ(L"a\\tb\\r\\nc", Read(m_example, L"1002"));
  CLngString back;
  EXPECT_TRUE(back.LoadString(1002));
  EXPECT_EQ(L"a\tb\r\nc", back.Text());
}

TEST_F(LocalizedStringsTest, BoundExampleFileIsWrittenOnce) {
  ASSERT_TRUE(SetLngStringFile(m_example, L"_Client"));
  CLngString s;
  EXPECT_TRUE(s.LoadString(1001));
  EXPECT_EQ(L"Hello world", Read(m_example, L"1001"));
  EXPECT_EQ(L"<missing>", Read(m_lng, L"1001"));
}

TEST_F(LocalizedStringsTest, FillMissingOffLeavesTheBoundFile) {
  ASSERT_TRUE(SetLngFileBinding(m_lng, false));
  CLngString s;
  EXPECT_TRUE(s.LoadString(1001));
  EXPECT_EQ(L"<missing>", Read(m_lng, L"1001"));
  EXPECT_EQ(L"Hello world", Read(m_example, L"1001"));
  ASSERT_TRUE(SetLngFileBinding(m_lng, true));
}

TEST_F(LocalizedStringsTest, ExampleFileIsCreatedAsUtf16) {
  CLngString s;
  s.LoadString(1001);
  EXPECT_EQ(0u, qlrtest::ReadBytes(m_example).rfind("\xFF\xFE", 0));
}

TEST(LngEscapeTest, EscapeTable) {
  struct Case {
    const wchar_t* real;
    const wchar_t* escaped;
  } cases[] = {
      {L"a\tb", L"a\\tb"},
      {L"line1\r\nline2", L"line1\\r\\nline2"},
      {L"\n\n", L"\\n\\n"},
      {L"plain", L"plain"},
      {L"", L""},
  };
  for (const Case& c : cases) {
    std::wstring text = c.real;
    EscapeLngText(text);
    EXPECT_EQ(c.escaped, text);
    UnescapeLngText(text);
    EXPECT_EQ(c.real, text);
  }
}

TEST(LngTextHelpersTest, CountLines) {
  struct Case {
    const wchar_t* text;
    int lines;
  } cases[] = {
      {L"", 0}, {L"a", 0}, {L"ab", 1}, {L"a\nb", 2}, {L"\n\n", 3}, {L"a\r\nb\r\n", 3},
  };
  for (const Case& c : cases) {
    size_t n = wcslen(c.text);
    EXPECT_EQ(c.lines, CountLinesW(c.text, n)) << c.text;
    std::string narrow(c.text, c.text + n);
    EXPECT_EQ(c.lines, CountLinesA(narrow.c_str(), n)) << narrow;
  }
  EXPECT_EQ(0, CountLinesW(nullptr, 5));
}

TEST(LngTextHelpersTest, HeadTailPreview) {
  const std::wstring ellipsis = L"\t\u2026\u2026\u2026";
  struct Case {
    std::wstring text;
    std::wstring preview;
  } cases[] = {
      {L"1\n2\n3\n4", L"1\n2\n3\n4"},
      {L"1\n2\n3\n4\n5\n6\n7", L"1\n2\n3\n\n" + ellipsis + L"\n5\n6\n7"},
      {L"a\nb\nc\nd\ne", L"a\nb\nc\n\n" + ellipsis + L"\nc\nd\ne"},
  };
  for (const Case& c : cases) {
    std::wstring out;
    MakeHeadTailPreview(out, c.text, CountLinesW(c.text.c_str(), c.text.size()));
    EXPECT_EQ(c.preview, out) << c.text;
  }
  // The caller's count is trusted: a short text with a high count is kept.
  std::wstring out;
  MakeHeadTailPreview(out, L"x\ny", 9);
  EXPECT_EQ(L"x\ny", out);
}

TEST(LngTextHelpersTest, LinesInfoUsesTheBuiltInWord) {
  SetCurrentLanguage(L"");
  std::wstring info;
  FormatLinesInfo(info, 5);
  EXPECT_EQ(L"Lines: 5", info);
}

}  // namespace
