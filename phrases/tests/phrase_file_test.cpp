#include "phrases/store/phrase_file.h"

#include <gtest/gtest.h>

#include "foundation/logging/log.h"
#include "phrases/store/phrase_file_names.h"
#include "phrases/store/phrase_node.h"
#include "phrases/store/phrase_writer.h"
#include "phrases/tests/phrase_test_util.h"
#include "tests/support/test_support.h"

namespace {

using qlrtest::ReadBytes;
using qlrtest::WriteBytes;

using phrasetest::MakePhrase;

std::string FileXml(const std::string& rootAttributes, const std::string& children) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n<QLRCommand " +
         rootAttributes + ">\r\n" + children + "</QLRCommand>\r\n";
}

TEST(PhraseFileTest, WritesTheExactLayout) {
  CPhraseNode node = MakePhrase(L"Greeting & \"more\"", L"line1\r\nline2 <b>");
  node.SetHint(L"hint");
  node.DataType = kDataTypeRtf;
  node.enabled = false;
  node.usageCount = 7;
  node.disabledIsNoHasSelection = true;
  node.sortId = 3;
  node.flagsMenu = 2;
  node.lastUse = {2024, 3, 0, 5, 14, 7, 9, 0};
  EXPECT_EQ(PhraseNodeToXml(node),
            FileXml("Excluded=\"1\" UsageCount=\"7\" DisabledIsNoHasSelection=\"1\" UseTitleOnly=\"0\" "
                    "SortID=\"3\" FlagsMenu=\"2\" DateUsage=\"2024|3|5|14|7|9\"",
                    "    <MenuName>Greeting &amp; &quot;more&quot;</MenuName>\r\n"
                    "    <DataType>RTF</DataType>\r\n"
                    "    <Cmd>line1&#x0D;&#x0A;line2 &lt;b&gt;</Cmd>\r\n"
                    "    <Hint>hint</Hint>\r\n"));

  // Enabled: no Excluded; no date: no DateUsage; a negative SortID as such.
  CPhraseNode plain = MakePhrase(L"A", L"");
  plain.sortId = static_cast<std::uint32_t>(-1);
  plain.DataType = 9;
  EXPECT_EQ(PhraseNodeToXml(plain),
            FileXml("UsageCount=\"0\" DisabledIsNoHasSelection=\"0\" UseTitleOnly=\"0\" SortID=\"-1\" "
                    "FlagsMenu=\"0\"",
                    "    <MenuName>A</MenuName>\r\n    <DataType>TEXT</DataType>\r\n"
                    "    <Cmd></Cmd>\r\n    <Hint></Hint>\r\n"));
}

TEST(PhraseFileTest, FolderRecordHoldsAttributesOnly) {
  qlrtest::TempDir dir;
  CPhraseNode folder;
  folder.MakeFolder();
  folder.SetCaption(L"Folder");
  folder.sortId = 4;
  folder.lastUse = {2024, 1, 0, 1, 0, 0, 0, 0};
  // A folder without enabled phrases below counts as excluded.
  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n"
      "<QLRCommand Excluded=\"1\" UsageCount=\"0\" DisabledIsNoHasSelection=\"0\" UseTitleOnly=\"0\" "
      "SortID=\"4\" FlagsMenu=\"0\" />\r\n";
  EXPECT_EQ(PhraseNodeToXml(folder), expected);
  folder.childNodes->push_back(MakePhrase(L"child", L"x"));
  EXPECT_EQ(PhraseNodeToXml(folder).find("Excluded"), std::string::npos);

  std::wstring path = dir.File(L"FOLDER_SELF.quillora");
  ASSERT_TRUE(SavePhraseToFile(folder, path));
  CPhraseNode read;
  EXPECT_FALSE(ReadPhraseFile(read, path));  // no MenuName ...
  EXPECT_EQ(read.sortId, 4u);                // ... but the attributes count
}

TEST(PhraseFileTest, ReadingFollowsTheAttributeAndElementRules) {
  const std::string name = "    <MenuName>n</MenuName>\r\n";
  struct Case {
    const char* what;
    std::string xml;
    bool ok;
    bool enabled;
    int usage;
    std::uint32_t dataType;
    WORD year;
    std::uint32_t sortId;
  } cases[] = {
      {"defaults", FileXml("", name), true, true, 0, 0, 0, 0},
      {"excluded", FileXml("Excluded=\"1\"", name), true, false, 0, 0, 0, 0},
      {"negative usage", FileXml("UsageCount=\"-5\"", name), true, true, 0, 0, 0, 0},
      {"usage", FileXml("UsageCount=\"12\"", name), true, true, 12, 0, 0, 0},
      {"rtf lower case", FileXml("", name + "<DataType>rtf</DataType>"), true, true, 0, 1, 0, 0},
      {"exec", FileXml("", name + "<DataType>Exec</DataType>"), true, true, 0, 2, 0, 0},
      {"html is text", FileXml("", name + "<DataType>html</DataType>"), true, true, 0, 0, 0, 0},
      {"year 0 ignored", FileXml("DateUsage=\"0|1|1|0|0|0\"", name), true, true, 0, 0, 0, 0},
      {"date", FileXml("DateUsage=\"2023|12|31|23|59|58\"", name), true, true, 0, 0, 2023, 0},
      {"month 13 ignored", FileXml("DateUsage=\"2023|13|1|0|0|0\"", name), true, true, 0, 0, 0, 0},
      {"non-numeric sort", FileXml("SortID=\"abc\"", name), true, true, 0, 0, 0, 0},
      {"negative sort", FileXml("SortID=\"-1\"", name), true, true, 0, 0, 0, 0xFFFFFFFFu},
      {"no caption keeps attributes", FileXml("SortID=\"8\"", "<Cmd>x</Cmd>"), false, true, 0, 0, 0, 8},
      {"empty caption", FileXml("SortID=\"8\"", "<MenuName></MenuName>"), false, true, 0, 0, 0, 8},
      {"other root", "<?xml version=\"1.0\"?><Other><MenuName>n</MenuName></Other>", false, true, 0, 0, 0, 0},
      {"truncated", FileXml("", name).substr(0, 80), false, true, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CPhraseNode node;
    EXPECT_EQ(ReadPhraseXml(node, c.xml.c_str()), c.ok);
    EXPECT_EQ(node.enabled, c.enabled);
    EXPECT_EQ(node.usageCount, c.usage);
    EXPECT_EQ(node.DataType, c.dataType);
    EXPECT_EQ(node.lastUse.wYear, c.year);
    EXPECT_EQ(node.sortId, c.sortId);
  }
}

TEST(PhraseFileTest, CaptionAndHintAreCutWhereTheFileFormatSays) {
  std::wstring caption(70, L'c');
  std::wstring hint(600, L'h');
  // A pair of surrogates straddling the cut is not split in two.
  std::wstring pairCaption = std::wstring(59, L'p') + L"\U0001F600" + L"tail";
  qlrtest::TempDir dir;
  CPhraseNode node = MakePhrase(caption, L"d");
  node.SetHint(hint, hint.size());
  node.SetCaption(caption, caption.size());  // the file holds all 70
  ASSERT_TRUE(SavePhraseToFile(node, dir.File(L"long.quillora")));
  CPhraseNode read;
  ASSERT_TRUE(ReadPhraseFile(read, dir.File(L"long.quillora")));
  EXPECT_EQ(std::wstring(read.caption), std::wstring(60, L'c'));
  EXPECT_EQ(std::wstring(read.tooltip), std::wstring(512, L'h'));

  CPhraseNode pair;
  pair.SetCaption(pairCaption);
  EXPECT_EQ(std::wstring(pair.caption), std::wstring(59, L'p'));
}

TEST(PhraseFileTest, RoundTripKeepsEveryFieldAndText) {
  qlrtest::TempDir dir;
  struct {
    const wchar_t* caption;
    const wchar_t* data;
    const wchar_t* hint;
  } texts[] = {
      {L"Привет, мир", L"Здравствуйте!\r\nС уважением,\r\n\tИван", L"подсказка"},
      {L"日本語 \U0001F600", L"  leading and trailing blanks  ", L"<hint> & 'quotes'"},
      {L"Tab only", L"\t", L"  "},
      {L"Line breaks only", L"\r\n\r\n", L""},
      {L"Markup", L"<p class=\"x\">a &amp; b</p>", L"\x01\x02 control"},
  };
  int n = 0;
  for (const auto& t : texts) {
    SCOPED_TRACE(testing::Message() << "case " << n);
    CPhraseNode node = MakePhrase(t.caption, t.data);
    node.SetHint(t.hint);
    node.DataType = static_cast<std::uint32_t>(n % 3);
    node.usageCount = 100 + n;
    node.sortId = 10 * n;
    node.flagsMenu = 0x10 | n;
    node.useTitleOnly = n % 2 == 0;
    node.disabledIsNoHasSelection = n % 2 == 1;
    node.enabled = n != 2;
    node.lastUse = {static_cast<WORD>(2020 + n), 2, 0, 29, 1, 2, 3, 0};
    std::wstring path = dir.File(L"p" + std::to_wstring(n++) + L".quillora");
    ASSERT_TRUE(SavePhraseToFile(node, path));

    CPhraseNode read;
    ASSERT_TRUE(ReadPhraseFile(read, path));
    EXPECT_EQ(std::wstring(read.caption), t.caption);
    EXPECT_EQ(read.data, t.data);
    EXPECT_EQ(std::wstring(read.tooltip), t.hint);
    EXPECT_EQ(read.DataType, node.DataType);
    EXPECT_EQ(read.usageCount, node.usageCount);
    EXPECT_EQ(read.sortId, node.sortId);
    EXPECT_EQ(read.flagsMenu, node.flagsMenu);
    EXPECT_EQ(read.useTitleOnly, node.useTitleOnly);
    EXPECT_EQ(read.disabledIsNoHasSelection, node.disabledIsNoHasSelection);
    EXPECT_EQ(read.enabled, node.enabled);
    EXPECT_EQ(memcmp(&read.lastUse, &node.lastUse, sizeof(SYSTEMTIME)), 0);
  }
}

TEST(PhraseFileTest, OldEscapesInTextsAreUndoneAfterDecoding) {
  qlrtest::TempDir dir;
  CPhraseNode node = MakePhrase(L"esc", L"a &gt; b &lt; c &quote;d&quote; &amp;lt;");
  ASSERT_TRUE(SavePhraseToFile(node, dir.File(L"e.quillora")));
  std::string bytes = ReadBytes(dir.File(L"e.quillora"));
  EXPECT_NE(bytes.find("a &amp;gt; b"), std::string::npos);  // the writer escapes the text as it is
  CPhraseNode read;
  ASSERT_TRUE(ReadPhraseFile(read, dir.File(L"e.quillora")));
  EXPECT_EQ(read.data, L"a > b < c \"d\" &amp;lt;");  // one round of unescaping only
}

TEST(PhraseFileTest, DatesAndDataTypesConvertBothWays) {
  EXPECT_EQ(FormatDateUsage({2024, 1, 0, 2, 3, 4, 5, 999}), "2024|1|2|3|4|5");
  struct {
    const char* text;
    bool ok;
    WORD year, month, day, hour, minute, second;
  } dates[] = {
      {"2024|1|2|3|4|5", true, 2024, 1, 2, 3, 4, 5},
      {"0|1|1|0|0|0", true, 0, 1, 1, 0, 0, 0},
      {"2024|1|2", false, 0, 0, 0, 0, 0, 0},
      {"2024|0|2|3|4|5", false, 0, 0, 0, 0, 0, 0},
      {"2024|1|2|24|0|0", false, 0, 0, 0, 0, 0, 0},
      {"-1|1|1|0|0|0", false, 0, 0, 0, 0, 0, 0},
      {"99999999999|1|1|0|0|0", false, 0, 0, 0, 0, 0, 0},
      {"a|b|c|d|e|f", false, 0, 0, 0, 0, 0, 0},
      {"", false, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& d : dates) {
    SCOPED_TRACE(d.text);
    SYSTEMTIME out = {};
    EXPECT_EQ(ParseDateUsage(d.text, &out), d.ok);
    if (!d.ok) continue;
    EXPECT_EQ(out.wYear, d.year);
    EXPECT_EQ(out.wMonth, d.month);
    EXPECT_EQ(out.wDay, d.day);
    EXPECT_EQ(out.wHour, d.hour);
    EXPECT_EQ(out.wMinute, d.minute);
    EXPECT_EQ(out.wSecond, d.second);
  }

  EXPECT_EQ(DataTypeToText(0), L"TEXT");
  EXPECT_EQ(DataTypeToText(1), L"RTF");
  EXPECT_EQ(DataTypeToText(2), L"EXEC");
  EXPECT_EQ(DataTypeToText(3), L"TEXT");
  EXPECT_EQ(ParseDataType(L"eXeC"), 2u);
  EXPECT_EQ(ParseDataType(L"RTF "), 0u);
  EXPECT_EQ(ParseDataType(L""), 0u);
}

TEST(PhraseFileNameTest, CaptionsBecomeSafeFileNames) {
  struct {
    const wchar_t* caption;
    int number;
    bool extension;
    bool replaceBlanks;
    const wchar_t* expected;
  } cases[] = {
      {L"a/b: c?", 1, true, false, L"a_b_ c.quillora"},
      {L"a/b: c?", 1, true, true, L"a_b_c.quillora"},
      {L"  \tHello world \t", 1, true, true, L"Hello_world.quillora"},
      {L"first\nsecond", 1, true, true, L"first.quillora"},
      {L"first\r\nsecond", 1, true, true, L"first.quillora"},  // the CR does not stay
      {L"a\rb\x01" L"c\x1f", 1, false, true, L"a_b_c"},
      {L"x.y*z|{q}=(r)'s'", 1, false, false, L"x_y_z_q_r_s"},
      {L"name", 3, true, true, L"name3.quillora"},
      {L"name", 1, false, true, L"name"},
      {L"CON", 1, true, true, L"CON_.quillora"},
      {L"nul", 2, true, true, L"nul_2.quillora"},
      {L"Com1", 1, false, true, L"Com1_"},
      {L"lpt9", 1, false, true, L"lpt9_"},
      {L"CONSOLE", 1, false, true, L"CONSOLE"},
      {L"COM10", 1, false, true, L"COM10"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "caption " << testing::PrintToString(std::wstring(c.caption)));
    EXPECT_EQ(MakePhraseFileName(c.caption, c.number, c.extension, c.replaceBlanks), c.expected);
  }
}

TEST(PhraseFileNameTest, UniquePathSkipsTakenFilesAndFolders) {
  qlrtest::TempDir dir;
  EXPECT_EQ(MakeUniquePhrasePath(dir.Path(), L"a/b: c?", true, true, true), dir.File(L"a_b_c.quillora"));
  ASSERT_TRUE(WriteBytes(dir.File(L"a_b_c.quillora"), "x"));
  EXPECT_EQ(MakeUniquePhrasePath(dir.Path() + L"\\", L"a/b: c?", true, true, true),
            dir.File(L"a_b_c2.quillora"));
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"a_b_c2.quillora").c_str(), nullptr));
  EXPECT_EQ(MakeUniquePhrasePath(dir.Path(), L"a/b: c?", true, true, true), dir.File(L"a_b_c3.quillora"));
  // Names for folders: no extension, and a file of the name blocks it too.
  ASSERT_TRUE(WriteBytes(dir.File(L"Work"), "x"));
  EXPECT_EQ(MakeUniquePhrasePath(dir.Path(), L"Work", false, true, false), dir.File(L"Work2"));
}

class PhraseWriteTest : public ::testing::Test {
 protected:
  void TearDown() override { SetPhraseWriteLimitForTest(-1); }
  static void OnError(const PhraseFileError& error, void* context) {
    static_cast<std::vector<PhraseFileError>*>(context)->push_back(error);
  }
  qlrtest::TempDir dir;
  std::vector<PhraseFileError> errors;
};

TEST_F(PhraseWriteTest, ReadOnlyFileIsStillReplaced) {
  std::wstring path = dir.File(L"ro.quillora");
  ASSERT_TRUE(WriteBytes(path, "old"));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  CPhraseNode node = MakePhrase(L"new", L"text");
  EXPECT_TRUE(WritePhraseFile(node, path, &OnError, &errors));
  EXPECT_EQ(ReadBytes(path), PhraseNodeToXml(node));
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(phrasetest::Listing(dir.Path()).size(), 1u);
}

TEST_F(PhraseWriteTest, FailedWriteKeepsTheOldFileAndReportsOnce) {
  std::wstring path = dir.File(L"keep.quillora");
  CPhraseNode old = MakePhrase(L"old", L"precious");
  ASSERT_TRUE(SavePhraseToFile(old, path));
  const std::string oldBytes = ReadBytes(path);

  // The disk fills up half way through the new content.
  SetPhraseWriteLimitForTest(20);
  CPhraseNode node = MakePhrase(L"new", L"replacement that does not fit");
  const std::wstring logPath = dir.File(L"LogReport.txt");
  ASSERT_TRUE(InitLog(logPath.c_str()));
  EXPECT_FALSE(WritePhraseFile(node, path, &OnError, &errors));
  ASSERT_TRUE(TermLog());
  EXPECT_NE(qlrtest::ReadUtf16File(logPath).find(L"ERROR: code 39, "), std::wstring::npos);
  ASSERT_TRUE(DeleteFileW(logPath.c_str()));
  EXPECT_EQ(ReadBytes(path), oldBytes);
  EXPECT_EQ(phrasetest::Listing(dir.Path()), std::vector<std::wstring>{L"keep.quillora"});  // no temporary left
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].message.rfind(L"ERROR: code 39, ", 0), 0u) << errors[0].message;
  EXPECT_GT(errors[0].message.size(), 16u);  // the system's text follows
  EXPECT_EQ(errors[0].path, path);
  EXPECT_EQ(errors[0].record, &node);

  CPhraseNode read;
  ASSERT_TRUE(ReadPhraseFile(read, path));
  EXPECT_EQ(read.data, L"precious");
}

TEST_F(PhraseWriteTest, FileHeldOpenByAnotherProgramIsNotLost) {
  std::wstring path = dir.File(L"busy.quillora");
  ASSERT_TRUE(WriteBytes(path, "old"));
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  CPhraseNode node = MakePhrase(L"new", L"x");
  EXPECT_FALSE(WritePhraseFile(node, path, &OnError, &errors));
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(phrasetest::Listing(dir.Path()).size(), 1u);
  EXPECT_TRUE(WritePhraseFile(node, path, &OnError, &errors));
  EXPECT_EQ(ReadBytes(path), PhraseNodeToXml(node));
}

TEST_F(PhraseWriteTest, MissingFolderFailsWithThePathNotFoundCode) {
  CPhraseNode node = MakePhrase(L"n", L"x");
  EXPECT_FALSE(WritePhraseFile(node, dir.File(L"absent\\n.quillora"), &OnError, &errors));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].message.rfind(L"ERROR: code 3, ", 0), 0u) << errors[0].message;
  EXPECT_FALSE(SavePhraseToFile(node, dir.File(L"absent\\n.quillora")));
}

}  // namespace
