#include "phrases/macros/macro_expand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "foundation/logging/log.h"
#include "phrases/insertion/clipboard_ops.h"
#include "phrases/macros/macro_table.h"
#include "phrases/store/data_type_keyword.h"
#include "phrases/store/phrase_node.h"
#include "phrases/tests/macro_test_util.h"
#include "tests/support/test_support.h"

using namespace macrotest;

namespace {

const HKL kEnglishUs = Layout(0x04090409);
const HKL kEnglishUk = Layout(0x08090809);
const HKL kGermanLayout = Layout(0x04070407);
const HKL kRussianLayout = Layout(0x04190419);

struct Expanded {
  std::wstring text;
  int count = 0;
  int caret = -1;
  HKL layout = nullptr;
};

Expanded Expand(const std::wstring& text, const std::wstring& selected = L"", const std::wstring& clipboard = L"") {
  Expanded out;
  out.text = text;
  out.count = ExpandPhraseMacros(out.text, selected, clipboard, &out.caret, &out.layout, kEnglish);
  return out;
}

}  // namespace

class MacroExpandTest : public MacroTest {};

TEST_F(MacroExpandTest, NamesAreReplacedAndCounted) {
  struct {
    const wchar_t* text;
    const wchar_t* expected;
    int count;
  } cases[] = {
      {L"%DAY%.%MONTHNUMBER2%.%YEAR%", L"5.03.2026", 3},
      {L"%DAY%-%DAY%-%DAY%", L"5-5-5", 3},
      {L"no macros at all", L"no macros at all", 0},
      {L"100% sure, 50%", L"100% sure, 50%", 0},
      {L"", L"", 0},
      {L"%DAY", L"%DAY", 0},
      // Names are case-sensitive: lower or mixed case stays literal.
      {L"%date% %Day% %year%", L"%date% %Day% %year%", 0},
      {L"%date%%DAY%", L"%date%5", 1},
      {L"a%KEYPRESS_TAB%b%KEYPRESS_ENTER%c", L"a\tb\rc", 2},
      {L"%PROMPT_TEXT={}%x%TRIM_LEFT_ALLPROTS_FROM_SELTEXT%", L"x", 1},
  };
  for (const auto& c : cases) {
    Expanded e = Expand(c.text);
    EXPECT_EQ(e.text, c.expected) << c.text;
    EXPECT_EQ(e.count, c.count) << c.text;
  }
  // Where names overlap the list order decides: "%DATE%" is taken first and
  // leaves "%DAY" behind.
  Expanded overlap = Expand(L"%DAY%DATE%");
  EXPECT_EQ(overlap.text, L"%DAY" + GetMacroValue(L"%DATE%", L"", L"", kEnglish));
  EXPECT_EQ(overlap.count, 1);
}

TEST_F(MacroExpandTest, CaretStepsCountFromTheEndToTheFirstMark) {
  struct {
    const wchar_t* text;
    const wchar_t* expected;
    int caret;
  } cases[] = {
      {L"Hello%CURSOR_POS% world", L"Hello world", 6},
      {L"%CURSOR_POS%", L"", 0},
      {L"end%CURSOR_POS%", L"end", 0},
      {L"%CURSOR_POS%abc", L"abc", 3},
      {L"no mark", L"no mark", 0},
      // A line feed after the mark is no caret step; the CR before it is.
      {L"A%CURSOR_POS%\r\nB", L"A\r\nB", 2},
      {L"A%CURSOR_POS%\r\n\r\nB", L"A\r\n\r\nB", 3},
      {L"A\r\n%CURSOR_POS%B", L"A\r\nB", 1},
      // Further marks go; the caret stands at the first, counted in the result.
      {L"A%CURSOR_POS%B%CURSOR_POS%C", L"ABC", 2},
      {L"%CURSOR_POS%%CURSOR_POS%xy%CURSOR_POS%", L"xy", 2},
      // Values after the mark count by their length.
      {L"%CURSOR_POS%%YEAR%", L"2026", 4},
      {L"x%CURSOR_POS%%DAY2%%KEYPRESS_ENTER%", L"x05\r", 3},
      {L"%cursor_pos%", L"%cursor_pos%", 0},
  };
  for (const auto& c : cases) {
    Expanded e = Expand(c.text);
    EXPECT_EQ(e.text, c.expected) << c.text;
    EXPECT_EQ(e.caret, c.caret) << c.text;
  }
  // Without a caret result the marks still go.
  std::wstring text = L"a%CURSOR_POS%b";
  EXPECT_EQ(ExpandPhraseMacros(text, L"", L"", nullptr, nullptr, kEnglish), 0);
  EXPECT_EQ(text, L"ab");
}

TEST_F(MacroExpandTest, InsertedValuesAreNeverExpandedAgain) {
  struct {
    const wchar_t* text;
    const wchar_t* selected;
    const wchar_t* clipboard;
    const wchar_t* expected;
    int caret;
  } cases[] = {
      {L"%CLIPBOARD_TEXT%", L"", L"%DATE%", L"%DATE%", 0},
      {L"[%CLIPBOARD_TEXT%]", L"", L"%CLIPBOARD_TEXT%", L"[%CLIPBOARD_TEXT%]", 0},
      {L"%SELECTED_TEXT%|%CLIPBOARD_TEXT%", L"%CLIPBOARD_TEXT%", L"%SELECTED_TEXT%",
       L"%CLIPBOARD_TEXT%|%SELECTED_TEXT%", 0},
      // A caret mark in user data is text, not a caret.
      {L"[%CLIPBOARD_TEXT%]", L"", L"a%CURSOR_POS%b", L"[a%CURSOR_POS%b]", 0},
      {L"%CLIPBOARD_TEXT%%CURSOR_POS%!", L"", L"x%CURSOR_POS%y", L"x%CURSOR_POS%y!", 1},
      {L"%UPPER_SELTEXT%", L"%date%", L"", L"%DATE%", 0},
      {L"%SELECTED_TEXT%", L"%ACTIVATE_KL_DE%", L"", L"%ACTIVATE_KL_DE%", 0},
      {L"%SELECTED_TEXT%", L"%TRIM_LEFT_ALLPROTS_FROM_SELTEXT%", L"", L"%TRIM_LEFT_ALLPROTS_FROM_SELTEXT%", 0},
      {L"%TEXT_AFTER_URL%", L"http://x %YEAR%", L"", L" %YEAR%", 0},
      // The phrase's own names beside the value are still replaced.
      {L"%CLIPBOARD_TEXT% %YEAR%", L"", L"%YEAR%", L"%YEAR% 2026", 0},
  };
  Use(MarchFifth(), kEnglish, {kGermanLayout});
  for (const auto& c : cases) {
    Expanded e = Expand(c.text, c.selected, c.clipboard);
    EXPECT_EQ(e.text, c.expected) << c.text << " / " << c.selected << " / " << c.clipboard;
    EXPECT_EQ(e.caret, c.caret) << c.text;
    EXPECT_EQ(e.layout, nullptr) << c.text;
  }
}

TEST_F(MacroExpandTest, ProtocolsAreCutFromTheSelectionOnlyWhenThePhraseAsks) {
  const std::wstring trim = L"%TRIM_LEFT_ALLPROTS_FROM_SELTEXT%";
  struct {
    std::wstring text;
    const wchar_t* selected;
    const wchar_t* expected;
  } cases[] = {
      {trim + L"%SELECTED_TEXT%", L"HTTP://page/a b", L"page/a b"},
      {L"%SELECTED_TEXT%" + trim, L"http://http://x", L"x"},
      {trim + L"%SELECTED_TEXT%", L"http://https://x", L"x"},
      {trim + L"%SELECTED_TEXT%", L"ftp://file://x", L"file://x"},
      {trim + L"%SELECTED_TEXT%", L"File://C:/a", L"C:/a"},
      {trim + L"%SELECTED_TEXT%", L"  http://x", L"  http://x"},
      {trim + L"%SELECTED_TEXT%", L"", L""},
      // The URL macros see the trimmed selection.
      {trim + L"[%URL_FROM_SELECTED_TEXT%][%TEXT_AFTER_URL%]", L"https://page/a b", L"[][page/a b]"},
      // Without the trim macro the selection arrives whole.
      {L"%SELECTED_TEXT%", L"HTTP://page/a b", L"HTTP://page/a b"},
      {L"[%URL_FROM_SELECTED_TEXT%][%TEXT_AFTER_URL%]", L"https://page/a b", L"[https://page/a][ b]"},
      {L"%trim_left_allprots_from_seltext%%SELECTED_TEXT%", L"http://x",
       L"%trim_left_allprots_from_seltext%http://x"},
  };
  for (const auto& c : cases) EXPECT_EQ(Expand(c.text, c.selected).text, c.expected) << c.text << " " << c.selected;
}

TEST_F(MacroExpandTest, UrlsFromClipboardAndSelection) {
  qlrtest::TempDir dir;
  const std::wstring logPath = dir.File(L"LogReport.txt");
  ASSERT_TRUE(InitLog(logPath.c_str()));
  EXPECT_EQ(Expand(L"go %URL_FROM_CLIPBOARD%", L"", L"https://page/c d").text, L"go https://page/c");
  EXPECT_EQ(Expand(L"[%URL_FROM_SELECTED_TEXT%]%TEXT_AFTER_URL%", L"see x").text, L"[]see x");
  ASSERT_TRUE(TermLog());
  std::wstring log = qlrtest::ReadUtf16File(logPath);
  EXPECT_NE(log.find(L"PreReplaced MC_URL_FROMCLIPBOARD command=[go %URL_FROM_CLIPBOARD%] result=[https://page/c]"),
            std::wstring::npos)
      << log;
}

TEST_F(MacroExpandTest, KeyboardLayoutMacrosAreTakenOutAndReported) {
  Use(MarchFifth(), kEnglish, {kEnglishUs, kGermanLayout, kEnglishUk, kRussianLayout});
  auto list = GetMacroList();
  int layoutMacros = 0;
  for (const CMacroEntry& e : *list) layoutMacros += e.id == kMacroKeyboardLayout;
  EXPECT_EQ(layoutMacros, 3);  // two English layouts share one macro
  EXPECT_EQ(GetMacroCount(), kFixedMacroCount + 3);

  struct {
    const wchar_t* text;
    const wchar_t* expected;
    HKL layout;
    const wchar_t* abbrev;
  } cases[] = {
      {L"Hallo%ACTIVATE_KL_DE%", L"Hallo", kGermanLayout, L"DE"},
      {L"%ACTIVATE_KL_EN%hi", L"hi", kEnglishUk, L"EN"},  // the later English layout
      // The last macro in name order wins, wherever it stands.
      {L"%ACTIVATE_KL_RU%a%ACTIVATE_KL_DE%b%ACTIVATE_KL_DE%", L"ab", kRussianLayout, L"RU"},
      {L"%ACTIVATE_KL_FR%x", L"%ACTIVATE_KL_FR%x", nullptr, L""},
      {L"%activate_kl_de%", L"%activate_kl_de%", nullptr, L""},
      {L"plain", L"plain", nullptr, L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetLayoutMacroLanguageAbbrev(c.text), c.abbrev) << c.text;
    std::wstring taken = c.text;
    EXPECT_EQ(TakeKeyboardLayoutMacro(taken), c.layout) << c.text;
    EXPECT_EQ(taken, c.expected);
    Expanded e = Expand(c.text);
    EXPECT_EQ(e.text, c.expected) << c.text;
    EXPECT_EQ(e.layout, c.layout) << c.text;
    EXPECT_EQ(e.count, 0) << c.text;
  }
  // The mapping is read anew: a layout gone since the list was built gives no layout.
  Use(MarchFifth(), kEnglish, {kEnglishUs});
  std::wstring text = L"x%ACTIVATE_KL_DE%";
  EXPECT_EQ(TakeKeyboardLayoutMacro(text), nullptr);
}

TEST_F(MacroExpandTest, ValuesAreComputedOnlyForNamesPresent) {
  Expand(L"%CLIPBOARD_TEXT% %SELECTED_TEXT% %KEYPRESS_TAB%", L"s", L"c");
  EXPECT_EQ(m_clockReads, 0);
  Expand(L"%DATE% %TIME% %DAY% %YEAR2% %WEEKDAYNAME%");
  EXPECT_EQ(m_clockReads, 1);  // one moment for the whole text
}

TEST_F(MacroExpandTest, TheMacroTable) {
  const int count = GetMacroCount();
  EXPECT_EQ(count, kFixedMacroCount);
  std::wstring previous;
  for (int i = 0; i < count; ++i) {
    std::wstring name = GetMacroName(i);
    ASSERT_GT(name.size(), 2u);
    EXPECT_EQ(name.front(), L'%');
    EXPECT_EQ(name.back(), L'%');
    EXPECT_LT(previous, name) << "sorted by code units";
    previous = name;
  }
  EXPECT_EQ(GetMacroName(-1), L"");
  EXPECT_EQ(GetMacroName(count), L"");
  EXPECT_EQ(GetMacroName(0), L"%CLIPBOARD_TEXT%");
  // '_' sorts after the capital letters.
  auto at = [&](const wchar_t* n) {
    for (int i = 0; i < count; ++i)
      if (GetMacroName(i) == n) return i;
    return -1;
  };
  EXPECT_LT(at(L"%DATETIME%"), at(L"%DATE_EX_WD%"));
  EXPECT_LT(at(L"%DATE%"), at(L"%DATETIME%"));
  EXPECT_GE(at(L"%PROMPT_TEXT={}%"), 0);

  ASSERT_EQ(GetArgMacroCount(), 1);
  CArgMacroEntry prompt = GetArgMacroEntry(0);
  EXPECT_EQ(prompt.opening, L"%PROMPT_TEXT={");
  EXPECT_EQ(prompt.closing, L"}%");
  EXPECT_EQ(prompt.whole, L"%PROMPT_TEXT={}%");
  EXPECT_EQ(GetArgMacroEntry(1).whole, L"");
  EXPECT_EQ(GetArgMacroEntry(-1).opening, L"");

  for (int id : {kMacroCursorPos, kMacroUserName, kMacroVersion, kMacroVersionEditor, kMacroVersionDll,
                 kMacroKeyboardLayout})
    EXPECT_TRUE(IsFixedValueMacro(id)) << id;
  for (int id : {kMacroDate, kMacroClipboardText, kMacroKeyTab, kMacroPromptText, kMacroWindowsVersion})
    EXPECT_FALSE(IsFixedValueMacro(id)) << id;

  EXPECT_EQ(DataTypeKeyword(kDataTypeText), L"TEXT");
  EXPECT_EQ(DataTypeKeyword(kDataTypeRtf), L"RTF");
  EXPECT_EQ(DataTypeKeyword(kDataTypeExec), L"EXEC");
  EXPECT_EQ(DataTypeKeyword(7), L"TEXT");
}

TEST_F(MacroExpandTest, ExpansionForTextsWindowsAndRequests) {
  EXPECT_EQ(ExpandMacrosInText(L"%MONTHNAME% [%SELECTED_TEXT%][%CLIPBOARD_TEXT%]"), L"March [][]");
  Use(MarchFifth(), kGerman, {});
  EXPECT_EQ(ExpandMacrosInText(L"%MONTHNAME%"), L"M\u00e4rz");

  HWND window = CreateWindowExW(0, L"STATIC", L"target", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  // A command line gets the selection on one line.
  EXPECT_EQ(ExpandTextForWindow(window, L"open \"%SELECTED_TEXT%\" %CLIPBOARD_TEXT%", L"a\r\nb\r\nc", L"clip"),
            L"open \"a b c\" clip");
  LCID layoutLocale = MAKELCID(LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))), SORT_DEFAULT);
  EXPECT_EQ(ExpandTextForWindow(window, L"%MONTHNAME%", L"", L""),
            GetMacroValue(L"%MONTHNAME%", L"", L"", layoutLocale));
  DestroyWindow(window);

  ASSERT_TRUE(PutTextOnClipboard(L"from the clipboard"));
  CTwoStringRecord request;
  request.SetTexts(L"chosen");
  EXPECT_EQ(request.clipboardText, L"from the clipboard");
  EXPECT_EQ(request.selectedText, L"chosen");
  std::wstring text = L"%SELECTED_TEXT%+%CLIPBOARD_TEXT%%CURSOR_POS%.";
  int caret = -1;
  HKL layout = kEnglishUs;
  EXPECT_EQ(request.ExpandWith(text, &caret, &layout, kEnglish), 2);
  EXPECT_EQ(text, L"chosen+from the clipboard.");
  EXPECT_EQ(caret, 1);
  EXPECT_EQ(layout, nullptr);
}
