#include "phrases/store/phrase_statistics.h"

#include <gtest/gtest.h>

#include "foundation/ui/rich_edit_convert.h"
#include "phrases/store/phrase_store.h"
#include "phrases/tests/phrase_test_util.h"
#include "tests/support/test_support.h"

namespace {

void Write(const std::wstring& path, const std::wstring& caption, const std::wstring& data,
           std::uint32_t dataType, int usage, int sortId, bool enabled = true) {
  CPhraseNode node = phrasetest::MakePhrase(caption, data, sortId, enabled);
  node.DataType = dataType;
  node.usageCount = usage;
  ASSERT_TRUE(SavePhraseToFile(node, path));
}

// The hidden rich edit that turns rich text into plain text needs a parent.
void GiveRichEditAParent() {
  static HWND parent = CreateWindowExW(0, L"STATIC", L"statistics", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
  SetHiddenRichEditParent(parent);
}

std::wstring DataAsInserted(const CPhraseNode& phrase) { return L"<" + phrase.data + L">"; }

TEST(PhraseStatisticsTest, InsertedTextIsPlainWithMacrosExpanded) {
  GiveRichEditAParent();
  struct Case {
    const wchar_t* data;
    std::uint32_t type;
    const wchar_t* inserted;
  } cases[] = {
      {L"abc", kDataTypeText, L"abc"},
      {L"{\\rtf1 Hi{\\b !}}", kDataTypeRtf, L"Hi!"},
      {L"[%SELECTED_TEXT%|%CLIPBOARD_TEXT%]", kDataTypeText, L"[|]"},
      {L"{\\rtf1 <%SELECTED_TEXT%>}", kDataTypeRtf, L"<>"},
  };
  for (const Case& c : cases) {
    CPhraseNode node = phrasetest::MakePhrase(L"p", c.data, 0, true);
    node.DataType = c.type;
    EXPECT_EQ(GetPhraseInsertedText(node), c.inserted) << qlrtest::ToUtf8(c.data);
  }
}

TEST(PhraseStatisticsTest, CountsEveryNodeOfARealTree) {
  GiveRichEditAParent();
  qlrtest::TempDir dir;
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"A").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"A\\Empty").c_str(), nullptr));
  Write(dir.File(L"A\\text.quillora"), L"text", L"abcd", kDataTypeText, 3, 0);
  Write(dir.File(L"A\\rtf.quillora"), L"rtf", L"{\\rtf1 x}", kDataTypeRtf, 5, 1);
  Write(dir.File(L"A\\exec.quillora"), L"exec", L"notepad.exe", kDataTypeExec, 0, 2, false);
  Write(dir.File(L"top.quillora"), L"top", L"0123456789", kDataTypeText, 5, 0);  // ties with "rtf", later
  CPhraseStore store;
  store.Load(dir.Path(), 0);

  PhraseTreeStatistics s;
  EXPECT_EQ(CollectPhraseTreeStatistics(store, &s, DataAsInserted), 1);
  EXPECT_EQ(s.nodes, 6);
  EXPECT_EQ(s.folders, 2);
  EXPECT_EQ(s.textPhrases, 2);
  EXPECT_EQ(s.rtfPhrases, 1);
  EXPECT_EQ(s.execPhrases, 1);
  EXPECT_EQ(s.enabledNodes, 4);  // A, text, rtf, top
  EXPECT_EQ(s.highestUsage, 5);
  EXPECT_EQ(s.totalUsage, 13);
  EXPECT_EQ(s.mostUsedCaption, L"rtf");
  EXPECT_EQ(s.charactersInserted, 6 * 3 + 11 * 5 + 12 * 5);

  PhraseTreeStatistics unused;
  CollectPhraseTreeStatistics(store, &unused, nullptr);
  EXPECT_EQ(unused.charactersInserted, 0);

  // What one insertion delivers: rich text as plain text, macros expanded
  // for an empty selection and clipboard.
  PhraseTreeStatistics real;
  CollectPhraseTreeStatistics(store, &real);
  EXPECT_EQ(real.charactersInserted, 4 * 3 + 1 * 5 + 10 * 5);

  CPhraseStore empty;
  PhraseTreeStatistics none;
  CollectPhraseTreeStatistics(empty, &none, DataAsInserted);
  EXPECT_EQ(none.nodes, 0);
  EXPECT_EQ(none.mostUsedCaption, L"");
}

}  // namespace
