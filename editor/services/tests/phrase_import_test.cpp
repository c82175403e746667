#include "editor/services/phrase_import.h"

#include <gtest/gtest.h>

#include <string>

#include "editor/store/command_folder.h"
#include "editor/store/tests/store_test_util.h"
#include "phrases/store/phrase_node.h"
#include "tests/support/test_support.h"

namespace {

constexpr std::uint32_t kFailed = static_cast<std::uint32_t>(-1);

// 8-bit text as the system code page reads it.
std::wstring InCodePage(const char* text) {
  wchar_t wide[64] = {};
  int n = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
  return n > 0 ? std::wstring(wide) : std::wstring();
}

struct Store {
  qlrtest::TempDir dir;
  qlrtest::TempDir outside;
  std::wstring root = dir.File(L"Phrases");
  CCommandFolder store;
  Store() {
    CreateDirectoryW(root.c_str(), nullptr);
    store.Load(root);
  }
  // A file outside the phrases folder with the given bytes.
  std::wstring Source(const std::wstring& name, const std::string& bytes) {
    std::wstring path = outside.File(name);
    qlrtest::WriteBytes(path, bytes);
    return path;
  }
  std::uint32_t Import(const std::wstring& name, const std::string& bytes) {
    return ImportPhraseFile(store, Source(name, bytes));
  }
  CQLRCommand* Record(std::uint32_t id) { return store.FindCommandById(id); }
};

TEST(PhraseImportTest, PhraseFileCopiedUnderAFreeName) {
  Store s;
  std::wstring phrase = s.outside.File(L"a.quillora");
  ASSERT_TRUE(storetest::WritePhrase(phrase, L"Greeting", 0, L"Hello"));
  std::uint32_t first = ImportPhraseFile(s.store, phrase);
  std::uint32_t second = ImportPhraseFile(s.store, phrase);
  ASSERT_NE(first, kFailed);
  ASSERT_NE(second, kFailed);
  EXPECT_NE(first, second);
  EXPECT_EQ(s.Record(first)->GetFilePath(), s.root + L"\\a.quillora");
  EXPECT_EQ(s.Record(second)->GetFilePath(), s.root + L"\\a2.quillora");
  EXPECT_EQ(s.Record(second)->m_cmd, L"Hello");
  // Upper-case extensions count too.
  std::wstring upper = s.outside.File(L"B.QUILLORA");
  ASSERT_TRUE(storetest::WritePhrase(upper, L"Upper"));
  EXPECT_NE(ImportPhraseFile(s.store, upper), kFailed);
  EXPECT_TRUE(storetest::Exists(s.root + L"\\B.QUILLORA"));
}

TEST(PhraseImportTest, PhraseFileThatIsNoPhraseLeavesNoStrayCopy) {
  Store s;
  EXPECT_EQ(s.Import(L"broken.quillora", "this is not xml"), kFailed);
  EXPECT_FALSE(storetest::Exists(s.root + L"\\broken.quillora"));
  EXPECT_TRUE(s.store.Commands().empty());
  EXPECT_EQ(ImportPhraseFile(s.store, s.outside.File(L"missing.quillora")), kFailed);
}

TEST(PhraseImportTest, TextFilesByTheirEncoding) {
  Store s;
  struct Case {
    const wchar_t* name;
    std::string bytes;
    std::wstring text;
    std::uint32_t type;
  } cases[] = {
      // UTF-16 with its mark: the mark is no part of the phrase.
      {L"utf16.txt", std::string("\xFF\xFE" "h\0i\0", 6), L"hi", kDataTypeText},
      // Older exports of the editor: FF FE 00 00, then the text.
      {L"export.txt", std::string("\xFF\xFE\0\0" "o\0k\0", 8), L"ok", kDataTypeText},
      // UTF-8 is read as 8-bit text of the system code page.
      {L"utf8.txt", "caf\xC3\xA9", InCodePage("caf\xC3\xA9"), kDataTypeText},
      {L"one.txt", "x", L"x", kDataTypeText},
      // The mark alone: an empty text, as an empty phrase is exported.
      {L"two.txt", "\xFF\xFE", L"", kDataTypeText},
      {L"three.txt", "abc", L"abc", kDataTypeText},
      // 8-bit RTF keeps its bytes one to a character.
      {L"doc.rtf", "{\\rtf1\\ansi caf\xE9}", L"{\\rtf1\\ansi caf\u00E9}", kDataTypeRtf},
      // Anything else in an .rtf is taken as UTF-16.
      {L"wide.RTF", std::string("r\0t\0f\0", 6), L"rtf", kDataTypeRtf},
      {L"garbage.rtf", std::string("\x01\xD8\x02\xDC\x00\x00\x41\x00\x42", 9), L"\xD801\xDC02", kDataTypeRtf},
  };
  for (const Case& c : cases) {
    std::uint32_t id = s.Import(c.name, c.bytes);
    ASSERT_NE(id, kFailed) << c.name;
    CQLRCommand* record = s.Record(id);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_cmd, c.text) << c.name;
    EXPECT_EQ(record->DataType, c.type) << c.name;
    EXPECT_EQ(record->m_cmd.find(L'\uFEFF'), std::wstring::npos) << c.name;
  }
  // The title is the safe file name, extension included.
  std::uint32_t id = s.Import(L"notes.txt", "n");
  EXPECT_EQ(s.Record(id)->GetMenuName(), L"notes_txt");
  id = s.Import(L"my notes (draft).txt", "n");
  EXPECT_EQ(s.Record(id)->GetMenuName(), L"my notes _draft_txt");
  // The phrase is on disk with its text.
  CPhraseNode node;
  ASSERT_TRUE(storetest::ReadBack(s.Record(id)->GetFilePath(), &node));
}

TEST(PhraseImportTest, EmptyMissingAndHugeFilesAreRefused) {
  Store s;
  EXPECT_EQ(s.Import(L"empty.txt", ""), kFailed);
  EXPECT_EQ(ImportPhraseFile(s.store, s.outside.File(L"missing.txt")), kFailed);
  EXPECT_EQ(ImportPhraseFile(s.store, L""), kFailed);
  std::wstring big = s.Source(L"big.txt", "");
  {
    HANDLE file = CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = static_cast<LONGLONG>(kMaxImportBytes) + 1;
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
  }
  EXPECT_EQ(ImportPhraseFile(s.store, big), kFailed);
  EXPECT_TRUE(s.store.Commands().empty());
}

}  // namespace
