#include "editor/text/macro_highlight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <random>
#include <string>
#include <vector>

#include "editor/text/load_pause.h"
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

// Long texts take the one-pass road (coloured text streamed in): seeded
// texts of macros in any case, prompts with questions, braces, back
// slashes, tabs, non-Latin letters and hundreds of CR LF line ends must come
// out with the same characters and the colours a plain model of the rules
// gives, whether loaded coloured or coloured after an edit, with the screen
// at the top or in the middle.
TEST_F(MacroHighlightTest, LongTextsKeepTheirCharactersAndGetTheModelsColours) {
  std::vector<std::wstring> pieces = {L"%DATE%", L"%clipboard_text%", L"%Time%", L"%PROMPT_TEXT={who?}%",
                                      L"%PROMPT_TEXT={", L"}%", L"plain {x} \\par ", L"\t", L"\u0416\u00e9 ",
                                      L"%DAT", L"E% ", L"words and more words ", L"%date%Time%"};
  // Every macro name as well, in mixed case: names that begin alike, or
  // share a percent sign as above, must each be found.
  for (std::wstring name : GetMacroScheme().KeywordGroups[0].keywords) {
    for (size_t i = 0; i < name.size(); i += 2) name[i] = static_cast<wchar_t>(towlower(name[i]));
    pieces.push_back(name);
  }
  std::mt19937 rng(7);
  for (int round = 0; round < 3; ++round) {
    std::wstring content;
    while (content.size() < 12000) {
      content += pieces[rng() % pieces.size()];
      if (rng() % 3 == 0) content += L"\r\n";
    }
    std::wstring chars;  // as the control keeps it: a line end is one mark
    for (size_t i = 0; i < content.size(); ++i) {
      chars += content[i];
      if (content[i] == L'\r' && content[i + 1] == L'\n') ++i;
    }
    // The model: every macro name, anywhere, in any case; a prompt from its
    // opening to the first "}%" after it, bold.
    std::wstring upper = chars;
    ::CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
    std::vector<int> look(chars.size(), 0);  // 0 plain, 1 coloured, 2 coloured and bold
    for (const std::wstring& name : GetMacroScheme().KeywordGroups[0].keywords)
      for (size_t at = upper.find(name); at != std::wstring::npos; at = upper.find(name, at + 1))
        std::fill(look.begin() + at, look.begin() + at + name.size(), 1);
    for (size_t at = upper.find(L"%PROMPT_TEXT={"); at != std::wstring::npos;) {
      size_t close = upper.find(L"}%", at);
      if (close == std::wstring::npos) break;
      std::fill(look.begin() + at, look.begin() + close + 2, 2);
      at = upper.find(L"%PROMPT_TEXT={", close + 2);
    }

    std::wstring loaded = chars;  // what the edit below changes back
    if (round == 0) {
      {
        LoadPause quiet(text);
        SetTextHighlighted(text, GetMacroScheme(), content);
      }
      EXPECT_EQ(host.changes, 0) << "a load is no edit";
    } else {
      // An edit waiting to be undone, the caret after it, then the whole
      // text coloured: the edit stays the step to undo, the caret, the
      // screen and the modified flag stay.
      const LONG at = round == 1 ? 5 : static_cast<LONG>(chars.size() / 2);
      loaded[at] = chars[at] == L'#' ? L'$' : L'#';
      Load(loaded);
      texttest::Select(text, at, at + 1);
      text.ReplaceSel(std::wstring(1, chars[at]).c_str(), TRUE);
      if (round == 2) {
        const LRESULT line = ::SendMessageW(text, EM_EXLINEFROMCHAR, 0, at);
        ::SendMessageW(text, EM_LINESCROLL, 0, line - text.GetFirstVisibleLine());
      }
      text.SetModify(TRUE);
      host.changes = 0;
      POINT scroll = {0, 0};
      ::SendMessageW(text, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
      ASSERT_TRUE(round == 1 || scroll.y > 0);
      HighlightAll(text, GetMacroScheme());
      EXPECT_EQ(host.changes, 0);
      EXPECT_EQ(texttest::Selection(text).cpMin, at + 1);
      POINT after = {0, 0};
      ::SendMessageW(text, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&after));
      EXPECT_EQ(after.y, scroll.y) << round;
      EXPECT_TRUE(::SendMessageW(text, EM_GETMODIFY, 0, 0));
    }
    ASSERT_EQ(rich_text::GetRangeText(text, 0, texttest::CharCount(text)), chars) << round;
    for (size_t i = 0; i < chars.size(); ++i) {
      // Where the look changes, and a character either side of it.
      if (i > 0 && look[i] == look[i - 1] && (i + 1 == chars.size() || look[i + 1] == look[i])) continue;
      EXPECT_EQ(Coloured(static_cast<LONG>(i)), look[i] != 0) << round << " at " << i;
      EXPECT_EQ(Bold(static_cast<LONG>(i)), look[i] == 2) << round << " at " << i;
    }
    if (round > 0) {
      ASSERT_TRUE(text.CanUndo()) << round;
      text.Undo();
      EXPECT_EQ(rich_text::GetRangeText(text, 0, texttest::CharCount(text)), loaded) << round;
    }
  }
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
