// The file commands' own parts: the export writer and the backup. The
// backup is left in <build>/phrase_backup_sample with a manifest, where
// Python's zip reader checks it.
#include <gtest/gtest.h>

#include <string>

#include "editor/frame/phrase_backup.h"
#include "editor/frame/phrase_export.h"
#include "editor/services/phrase_import.h"
#include "editor/store/command.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_node.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace {

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) out += {kDigits[c >> 4], kDigits[c & 15]};
  return out;
}

CQLRCommand Phrase(const std::wstring& title, const std::wstring& text, std::uint32_t type) {
  CQLRCommand record;
  record.SetMenuName(title);
  record.m_cmd = text;
  record.DataType = type;
  return record;
}

std::string Utf16Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

TEST(PhraseExportTest, TextGetsTheTwoByteMarkAndRtfItsOwnBytes) {
  qlrtest::TempDir dir;
  // Empty, ordinary and very long texts of a text phrase.
  for (const std::wstring& text : {std::wstring(), std::wstring(L"Gr\u00FC\u00DFe\r\nline \u20AC"),
                                   std::wstring(60000, L'\u0416')}) {
    const std::wstring path = dir.File(L"text.txt");
    ASSERT_TRUE(ExportPhrase(Phrase(L"T", text, kDataTypeText), path));
    EXPECT_EQ(qlrtest::ReadBytes(path), "\xFF\xFE" + Utf16Bytes(text)) << text.size();
  }

  // RTF is held as 8-bit characters: the file gets exactly those bytes,
  // and the import reads the same text back.
  const std::wstring rtf = L"{\\rtf1\\ansi caf\u00E9 \\b bold\\b0}";
  ASSERT_TRUE(ExportPhrase(Phrase(L"R", rtf, kDataTypeRtf), dir.File(L"r.rtf")));
  const std::string bytes = qlrtest::ReadBytes(dir.File(L"r.rtf"));
  EXPECT_EQ(bytes, "{\\rtf1\\ansi caf\xE9 \\b bold\\b0}");
  EXPECT_EQ(ImportedText(bytes.data(), bytes.size(), true), rtf);

  // An older, longer file is replaced whole.
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"old.txt"), std::string(1000, 'x')));
  ASSERT_TRUE(ExportPhrase(Phrase(L"T", L"a", kDataTypeText), dir.File(L"old.txt")));
  EXPECT_EQ(qlrtest::ReadBytes(dir.File(L"old.txt")), std::string("\xFF\xFE" "a\0", 4));
  // A place that cannot be written is a failure.
  EXPECT_FALSE(ExportPhrase(Phrase(L"T", L"a", kDataTypeText), dir.File(L"no such folder\\x.txt")));
}

TEST(PhraseExportTest, PhraseFileTargetGetsThePhraseFile) {
  qlrtest::TempDir dir;
  CQLRCommand record = Phrase(L"Greeting", L"{\\rtf1 hi}", kDataTypeRtf);
  const std::wstring path = dir.File(L"copy.QUILLORA");
  ASSERT_TRUE(ExportPhrase(record, path));
  CPhraseNode node;
  ASSERT_TRUE(ReadPhraseFile(node, path));
  EXPECT_EQ(node.caption, std::wstring(L"Greeting"));
  EXPECT_EQ(node.data, L"{\\rtf1 hi}");
  EXPECT_EQ(node.DataType, static_cast<std::uint32_t>(kDataTypeRtf));
}

TEST(PhraseBackupTest, NameCarriesDateAndTime) {
  SYSTEMTIME time = {};
  time.wYear = 2026;
  time.wMonth = 3;
  time.wDay = 9;
  time.wHour = 8;
  time.wMinute = 5;
  time.wSecond = 7;
  EXPECT_EQ(MakeBackupName(time), L"Quillora_Backup_09-03-2026 08_05_07.zip");
}

TEST(PhraseBackupTest, ArchiveHoldsThePhrasesAndTheSettings) {
  qlrtest::TempDir dir;
  SetSettingsFolders(dir.Path(), dir.File(L"profile"));
  const std::string settings = "[Settings]\r\nWriteLog=0\r\n";
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"Settings.ini"), settings));
  const std::wstring root = dir.File(L"Phrases");
  ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((root + L"\\Work").c_str(), nullptr));
  const std::string a = "<QLRCommand>a</QLRCommand>", b(3000, 'b');
  ASSERT_TRUE(qlrtest::WriteBytes(root + L"\\a.quillora", a));
  ASSERT_TRUE(qlrtest::WriteBytes(root + L"\\Work\\b.quillora", b));
  ASSERT_TRUE(qlrtest::WriteBytes(root + L"\\notes.txt", "no phrase"));

  const std::wstring sample = qlrtest::BinDir() + L"\\..\\phrase_backup_sample";
  CreateDirectoryW(sample.c_str(), nullptr);
  std::vector<std::wstring> missing;
  const bool made = MakePhraseBackup(root, sample + L"\\backup.zip", &missing);
  SetSettingsFolders(L"", L"");
  ASSERT_TRUE(made);
  EXPECT_TRUE(missing.empty());
  const std::string manifest = "file\tPhrases/a.quillora\t" + Hex(a) + "\n" + "file\tPhrases/Work/b.quillora\t" +
                               Hex(b) + "\n" + "file\tSettings.ini\t" + Hex(settings) + "\n" +
                               "folder\tPhrases/\t-\nfolder\tPhrases/Work/\t-\nabsent\tPhrases/notes.txt\t-\n";
  ASSERT_TRUE(qlrtest::WriteBytes(sample + L"\\manifest.txt", manifest));
}

}  // namespace
