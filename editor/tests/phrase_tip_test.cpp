// The phrase tree tooltip's markup, built from records in memory.
#include <gtest/gtest.h>

#include "editor/pane/phrase_tip.h"
#include "editor/store/command.h"
#include "phrases/store/phrase_node.h"

namespace {

PhraseTipLabels Labels() {
  PhraseTipLabels l;
  l.group = L"Group";
  l.menuName = L"Menu Name";
  l.action = L"Action";
  l.dataFormat = L"Data Format";
  l.folder = L"Folder";
  l.file = L"File";
  l.usageCount = L"Usage Count";
  l.lastUsed = L"Last time used";
  l.unknown = L"I unknow...";
  l.emptyBody = L"empty";
  l.disabledNoSelection = L"No selection";
  l.titleOnly = L"Title only";
  l.footer = L"Footer";
  l.plainText = L"Plain";
  l.formattedText = L"Formatted";
  l.application = L"App";
  return l;
}

TEST(PhraseTipTest, FolderShowsGroupAndDirectoryWithoutPhraseParts) {
  CQLRCommand folder;
  folder.MakeFolder();
  folder.SetMenuName(L"<Work>");
  const std::wstring tip = BuildPhraseTip(folder, Labels(), {});
  EXPECT_EQ(tip.find(L"<font style=b>Group</font>: &lt;Work&gt;"), 0u) << tip;
  EXPECT_NE(tip.find(L"<font style=b>Folder</font>: "), std::wstring::npos);
  EXPECT_EQ(tip.find(L"Action"), std::wstring::npos);
  EXPECT_EQ(tip.find(L"Usage Count"), std::wstring::npos);
  EXPECT_EQ(tip.substr(tip.size() - 44), L"<br><br>  <font style=i>Footer</font></font>");
}

TEST(PhraseTipTest, PhraseBodyIsEscapedItsMacrosMarkedAndItsFlagsListed) {
  CQLRCommand phrase;
  phrase.SetMenuName(L"Greeting");
  phrase.m_cmd = L"a<b> %CLIPBOARD_TEXT% and %UNKNOWN% %CLIPBOARD_TEXT%";
  phrase.SetUseTitleOnly(true);
  const std::vector<std::wstring> macros = {L"%CLIPBOARD%", L"%CLIPBOARD_TEXT%"};
  const std::wstring tip = BuildPhraseTip(phrase, Labels(), macros);
  const std::wstring marked = L"<font size=14pt color=orange>%CLIPBOARD_TEXT%</font>";
  EXPECT_NE(tip.find(L"<font style=b>Action</font>: a&lt;b&gt; " + marked + L" and %UNKNOWN% " + marked),
            std::wstring::npos)
      << tip;
  EXPECT_NE(tip.find(L"\r\n<font style=b>Data Format</font>: <font color=\""), std::wstring::npos);
  EXPECT_NE(tip.find(L"\">Plain</font>"), std::wstring::npos);
  EXPECT_NE(tip.find(L"<br>Usage Count: 0<br>Last time used: I unknow..."), std::wstring::npos);
  EXPECT_NE(tip.find(L"<br><font color=red>*</font>: Title only"), std::wstring::npos);
  EXPECT_EQ(tip.find(L"No selection"), std::wstring::npos);

  // An empty text shows the label in upper case.
  phrase.m_cmd.clear();
  EXPECT_NE(BuildPhraseTip(phrase, Labels(), macros).find(L"</font>: EMPTY"), std::wstring::npos);
}

TEST(PhraseTipTest, LongTextsAreCutAtABlankWithAnEllipsis) {
  EXPECT_EQ(CutTipText(L"short", 512), L"short");
  std::wstring words;
  while (words.size() < 600) words += L"word ";
  const std::wstring cut = CutTipText(words, 512);
  EXPECT_LE(cut.size(), 513u);
  EXPECT_EQ(cut.back(), L'\u2026');
  EXPECT_EQ(cut.substr(cut.size() - 5), L"word\u2026");
  // One long word: cut at the limit itself.
  EXPECT_EQ(CutTipText(std::wstring(600, L'x'), 512).size(), 513u);
}

}  // namespace
