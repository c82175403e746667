#include "editor/text/macro_highlight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "editor/text/rich_text_io.h"
#include "editor/text/tests/text_test_util.h"
#include "phrases/macros/macro_table.h"

namespace {

using texttest::FormatAt;
using texttest::kTextId;
using texttest::kTextStyle;

class MacroHighlightTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(text.Create(kTextStyle, CControlHost::ChildRect(), &host, kTextId));
    text.SetEventMask(text.GetEventMask() | ENM_CHANGE);
    SetHighlightEnabled(true);
  }
  // A freshly loaded text: no undo step, not modified.
  void Load(const std::wstring& content) {
    ::SetWindowTextW(text, content.c_str());
    text.EmptyUndoBuffer();
    text.SetModify(FALSE);
    texttest::Select(text, 0, 0);
    host.changes = 0;
  }
  bool Coloured(LONG at) {
    CHARFORMAT2W cf = FormatAt(text, at);
    return !(cf.dwEffects & CFE_AUTOCOLOR) && cf.crTextColor == kMacroColour;
  }
  bool Bold(LONG at) { return (FormatAt(text, at).dwEffects & CFE_BOLD) != 0; }

  texttest::RecordingHost host;
  CPhraseRichEdit text;
};

TEST_F(MacroHighlightTest, ColoursWithoutUndoModifyOrChange) {
  Load(L"%date% x");
  HighlightAll(text, GetMacroScheme());
  EXPECT_EQ(::SendMessageW(text, EM_CANUNDO, 0, 0), 0);
  EXPECT_EQ(::SendMessageW(text, EM_GETMODIFY, 0, 0), 0);
  EXPECT_EQ(host.changes, 0) << "no EN_CHANGE";
  EXPECT_TRUE(text.GetEventMask() & ENM_CHANGE) << "the event mask is put back";
  for (LONG i = 0; i < 6; ++i) EXPECT_TRUE(Coloured(i)) << i;
  EXPECT_FALSE(Coloured(6));
  EXPECT_FALSE(Coloured(7));

  // A later edit still notifies and can be undone, colouring in between or
  // not; an undone edit can be redone after colouring.
  texttest::Select(text, 8, 8);
  text.ReplaceSel(L"y", TRUE);
  EXPECT_EQ(host.changes, 1);
  HighlightVisible(text, GetMacroScheme());
  ASSERT_TRUE(text.CanUndo());
  EXPECT_TRUE(text.Undo());
  EXPECT_EQ(rich_text::GetPlainText(text), L"%date% x");
  HighlightVisible(text, GetMacroScheme());
  EXPECT_TRUE(text.CanRedo());
  EXPECT_TRUE(text.Redo());
  EXPECT_EQ(rich_text::GetPlainText(text), L"%date% xy");
}

TEST_F(MacroHighlightTest, PromptMacroColouredAndBoldFromPercentToPercent) {
  const std::wstring content = L"ask %PROMPT_TEXT={question}% then";
  Load(content);
  HighlightAll(text, GetMacroScheme());
  LONG open = 4, close = static_cast<LONG>(content.find(L"}%")) + 2;
  for (LONG i = open; i < close; ++i) {
    EXPECT_TRUE(Coloured(i)) << i;
    EXPECT_TRUE(Bold(i)) << i;
  }
  for (LONG i : {0L, 3L, close, close + 2}) {
    EXPECT_FALSE(Coloured(i)) << i;
    EXPECT_FALSE(Bold(i)) << i;
  }
  // The question edited away: the next pass takes the bold off again.
  Load(L"%PROMPT_TEXT={ x");
  HighlightAll(text, GetMacroScheme());
  EXPECT_FALSE(Coloured(0)) << "an opening part alone is no macro";
  EXPECT_FALSE(Bold(0));
}

TEST_F(MacroHighlightTest, WhichWordsAreColoured) {
  struct Case {
    std::wstring content;
    LONG at;
    bool coloured;
  };
  const Case cases[] = {
      {L"%DATE%", 0, true},
      {L"%DATA% typo", 0, false},
      {L"x%CLIPBOARD_TEXT%y", 1, true},
      {L"x%CLIPBOARD_TEXT%y", 0, false},
      {L"x%CLIPBOARD_TEXT%y", 17, false},
      {L"%clipboard_text%", 3, true},
      {L"%CLIPBOARD_\r\nTEXT%", 0, false},
      {L"", 0, false},
  };
  for (const Case& c : cases) {
    Load(c.content);
    HighlightAll(text, GetMacroScheme());
    if (!c.content.empty()) {
      EXPECT_EQ(Coloured(c.at), c.coloured) << std::string(c.content.begin(), c.content.end());
    }
  }
}

TEST_F(MacroHighlightTest, ReadOnlyStaysReadOnlyAndSelectionSkips) {
  Load(L"%TIME% now");
  text.SetReadOnly(TRUE);
  HighlightAll(text, GetMacroScheme());
  EXPECT_TRUE(Coloured(0));
  EXPECT_TRUE(::SendMessageW(text, EM_GETOPTIONS, 0, 0) & ECO_READONLY);
  EXPECT_TRUE(text.IsReadOnly());
  text.SetReadOnly(FALSE);

  Load(L"%TIME% now");
  texttest::Select(text, 1, 3);
  HighlightAll(text, GetMacroScheme());
  EXPECT_FALSE(Coloured(0)) << "nothing while text is selected";
  CHARRANGE kept = texttest::Selection(text);
  EXPECT_EQ(kept.cpMin, 1);
  EXPECT_EQ(kept.cpMax, 3);
}

TEST_F(MacroHighlightTest, ResetFollowsTheSwitchAndVisibleCoversTheScreen) {
  Load(L"%DAY% %YEAR%");
  HighlightAll(text, GetMacroScheme());
  ASSERT_TRUE(Coloured(0));
  // A typo fixed away: colours reset, then the remaining macro coloured.
  Load(L"%DAX% %YEAR%");
  HighlightAll(text, GetMacroScheme());
  EXPECT_FALSE(Coloured(0));
  EXPECT_TRUE(Coloured(6));

  SetHighlightEnabled(false);
  EXPECT_FALSE(HighlightEnabled());
  ResetColours(text, 0, -1);
  EXPECT_TRUE(Coloured(6)) << "switched off, the colours stay";
  SetHighlightEnabled(true);
  ResetColours(text, 0, -1);
  EXPECT_FALSE(Coloured(6));

  std::wstring many;
  for (int i = 0; i < 300; ++i) many += L"%DATE% line\r\n";
  Load(many);
  HighlightVisible(text, GetMacroScheme());
  EXPECT_TRUE(Coloured(0));
  LONG offScreen = static_cast<LONG>(::SendMessageW(text, EM_LINEINDEX, 299, 0));
  EXPECT_FALSE(Coloured(offScreen)) << "lines below the screen wait";
  EXPECT_EQ(::SendMessageW(text, EM_GETMODIFY, 0, 0), 0);
}

TEST_F(MacroHighlightTest, SchemeHoldsTheMacroTable) {
  const MacroScheme& scheme = GetMacroScheme();
  EXPECT_EQ(&scheme, &GetMacroScheme());
  ASSERT_EQ(scheme.KeywordGroups.size(), 1u);
  ASSERT_EQ(scheme.PairGroups.size(), 1u);
  const auto& keywords = scheme.KeywordGroups[0].keywords;
  EXPECT_EQ(keywords.size(), static_cast<size_t>(GetMacroCount()));
  EXPECT_NE(std::find(keywords.begin(), keywords.end(), L"%PROMPT_TEXT={}"), keywords.end());
  EXPECT_EQ(std::find(keywords.begin(), keywords.end(), L"%PROMPT_TEXT={}%"), keywords.end());
  EXPECT_FALSE(scheme.CaseSensitive);
  ASSERT_EQ(scheme.PairGroups[0].pairs.size(), 1u);
  EXPECT_EQ(scheme.PairGroups[0].pairs[0].opening, L"%PROMPT_TEXT={");
  EXPECT_EQ(scheme.PairGroups[0].pairs[0].closing, L"}%");
}

}  // namespace
