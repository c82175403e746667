#include "phrases/macros/macro_rich.h"

#include <commdlg.h>
#include <gtest/gtest.h>
#include <richedit.h>

#include <string>

#include "foundation/ui/rich_edit.h"
#include "foundation/ui/rich_edit_convert.h"
#include "phrases/store/phrase_node.h"
#include "phrases/tests/macro_test_util.h"

using namespace macrotest;

namespace {

const HKL kGermanLayout = Layout(0x04070407);
const HKL kRussianLayout = Layout(0x04190419);

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Each name is written in another colour than the text before it: a blue
// "%DATE%" after red "Red ", a red "%CLIPBOARD_TEXT%" after blue " blue ", and
// a red "%YEAR%" at the start of a black paragraph.
const wchar_t kColouredRtf[] =
    L"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
    L"\\f0\\cf1 Red \\cf2 %DATE%\\cf2  blue \\cf1 %CLIPBOARD_TEXT%\\cf0\\par \\cf1 %YEAR%\\cf0  end}";

struct Expanded {
  std::wstring text;
  int count = 0;
  int caret = -1;
  HKL layout = nullptr;
};

}  // namespace

class MacroRichTest : public MacroTest {
 protected:
  static void SetUpTestSuite() {
    LoadLibraryW(L"RichEd20.DLL");
    s_parent = CreateWindowExW(0, L"STATIC", L"macro test parent", WS_OVERLAPPED, 0, 0, 300, 200, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    SetHiddenRichEditParent(s_parent);
    s_edit = CreateWindowExW(0, L"RICHEDIT20W", nullptr, WS_CHILD | ES_MULTILINE, 0, 0, 280, 180, s_parent,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    s_reader = CreateWindowExW(0, L"RICHEDIT20W", nullptr, WS_CHILD | ES_MULTILINE, 0, 0, 280, 180, s_parent,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(s_parent); }

  void SetUp() override {
    MacroTest::SetUp();
    ASSERT_NE(s_edit, nullptr);
    ASSERT_NE(s_reader, nullptr);
  }

  Expanded Expand(const std::wstring& text, const std::wstring& selected = L"",
                  const std::wstring& clipboard = L"") {
    Expanded out;
    out.text = text;
    out.count = ExpandMacrosInRichEdit(out.text, selected, clipboard, &out.caret, &out.layout, kEnglish, s_edit);
    return out;
  }

  // The plain text of an RTF result, read by a second control.
  std::wstring PlainOf(const std::wstring& rtf) {
    EXPECT_TRUE(RichEditSetText(s_reader, rtf));
    return RichEditGetText(s_reader);
  }

  // The colour of every character of what in the reader's text (loaded by
  // PlainOf); false when what is missing or its colour is mixed.
  bool ColourOf(const std::wstring& what, COLORREF& colour) {
    FINDTEXTEXW ft = {};
    ft.chrg.cpMin = 0;
    ft.chrg.cpMax = -1;
    ft.lpstrText = what.c_str();
    if (SendMessageW(s_reader, EM_FINDTEXTEXW, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&ft)) < 0)
      return false;
    SendMessageW(s_reader, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&ft.chrgText));
    CHARFORMAT2W cf = {};
    cf.cbSize = sizeof cf;
    SendMessageW(s_reader, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    if (!(cf.dwMask & CFM_COLOR)) return false;
    colour = (cf.dwEffects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT) : cf.crTextColor;
    return true;
  }

  static HWND s_parent;
  static HWND s_edit;
  static HWND s_reader;
};
HWND MacroRichTest::s_parent = nullptr;
HWND MacroRichTest::s_edit = nullptr;
HWND MacroRichTest::s_reader = nullptr;

TEST_F(MacroRichTest, EachValueTakesTheColourBeforeItsName) {
  Expanded e = Expand(kColouredRtf, L"", L"CLIPVALUE");
  EXPECT_EQ(e.count, 3);
  ASSERT_EQ(e.text.compare(0, 5, L"{\\rtf"), 0);
  const std::wstring date = GetMacroValue(L"%DATE%", L"", L"", kEnglish);
  EXPECT_EQ(PlainOf(e.text), L"Red " + date + L" blue CLIPVALUE\r\n2026 end");

  COLORREF colour = 0;
  ASSERT_TRUE(ColourOf(date, colour));
  EXPECT_EQ(colour, kRed);
  ASSERT_TRUE(ColourOf(L"CLIPVALUE", colour));
  EXPECT_EQ(colour, kBlue);
  ASSERT_TRUE(ColourOf(L"Red", colour));
  EXPECT_EQ(colour, kRed);
  // After a paragraph mark the value keeps the black of its paragraph.
  ASSERT_TRUE(ColourOf(L"2026 end", colour));  // the date holds "2026" too
  EXPECT_NE(colour, kRed);
  EXPECT_NE(colour, kBlue);
}

TEST_F(MacroRichTest, ValuesHoldingMacroNamesArriveAsTheyAre) {
  struct {
    const wchar_t* text;
    const wchar_t* clipboard;
    const wchar_t* plain;
    int count;
  } cases[] = {
      // Would be found again behind itself for ever if searches restarted.
      {L"{\\rtf1 a %CLIPBOARD_TEXT% b}", L"%CLIPBOARD_TEXT%", L"a %CLIPBOARD_TEXT% b", 1},
      {L"{\\rtf1 %CLIPBOARD_TEXT%%CLIPBOARD_TEXT%}", L"x%CLIPBOARD_TEXT%", L"x%CLIPBOARD_TEXT%x%CLIPBOARD_TEXT%", 2},
      {L"{\\rtf1 [%CLIPBOARD_TEXT%] %YEAR%}", L"%DATE% %YEAR%", L"[%DATE% %YEAR%] 2026", 2},
      {L"{\\rtf1 %CLIPBOARD_TEXT%!}", L"%CURSOR_POS%", L"%CURSOR_POS%!", 1},
      {L"plain %CLIPBOARD_TEXT% text", L"%SELECTED_TEXT%", L"plain %SELECTED_TEXT% text", 1},
  };
  for (const auto& c : cases) {
    Expanded e = Expand(c.text, L"SEL", c.clipboard);
    EXPECT_EQ(e.count, c.count) << c.text;
    EXPECT_EQ(PlainOf(e.text), c.plain) << c.text;
    EXPECT_EQ(e.caret, 0) << c.text;
  }
}

TEST_F(MacroRichTest, EveryCaretMarkGoesAndTheFirstPlacesTheCaret) {
  struct {
    const wchar_t* text;
    const wchar_t* plain;
    int caret;
  } cases[] = {
      {L"{\\rtf1 ab%CURSOR_POS%cd%CURSOR_POS%ef}", L"abcdef", 4},
      {L"{\\rtf1 %CURSOR_POS%xyz}", L"xyz", 3},
      {L"{\\rtf1 a%CURSOR_POS%\\par b%CURSOR_POS%}", L"a\r\nb", 2},
      {L"{\\rtf1 x%CURSOR_POS%%YEAR%}", L"x2026", 4},
  };
  for (const auto& c : cases) {
    Expanded e = Expand(c.text);
    std::wstring plain = PlainOf(e.text);
    EXPECT_EQ(plain, c.plain) << c.text;
    EXPECT_EQ(plain.find(L"%CURSOR_POS%"), std::wstring::npos) << c.text;
    EXPECT_EQ(e.caret, c.caret) << c.text;
  }
}

TEST_F(MacroRichTest, LayoutMacrosLowerCaseNamesAndTextsThatDoNotLoad) {
  Use(MarchFifth(), kEnglish, {kGermanLayout, kRussianLayout});
  Expanded layouts = Expand(L"{\\rtf1 %ACTIVATE_KL_RU%Hallo%ACTIVATE_KL_DE%}");
  EXPECT_EQ(PlainOf(layouts.text), L"Hallo");
  EXPECT_EQ(layouts.layout, kRussianLayout);
  EXPECT_EQ(layouts.count, 2);
  EXPECT_EQ(TakeKeyboardLayoutMacroRich(L"{\\rtf1 x%ACTIVATE_KL_DE%}"), kGermanLayout);
  EXPECT_EQ(TakeKeyboardLayoutMacroRich(L"{\\rtf1 x%activate_kl_de%}"), nullptr);

  const std::wstring lower = L"{\\rtf1 %date% %Year% %clipboard_text%}";
  Expanded literal = Expand(lower, L"", L"clip");
  EXPECT_EQ(literal.count, 0);
  EXPECT_EQ(literal.text, lower);  // nothing replaced: the text is handed back untouched

  Expanded empty = Expand(L"");
  EXPECT_EQ(empty.count, 0);
  EXPECT_EQ(empty.text, L"");
  std::wstring text = L"{\\rtf1 %DATE%}";
  EXPECT_EQ(ExpandMacrosInRichEdit(text, L"", L"", nullptr, nullptr, kEnglish, nullptr), 0);
  EXPECT_EQ(text, L"{\\rtf1 %DATE%}");
}

TEST_F(MacroRichTest, TheSelectionIsUsedAsHandedIn) {
  Expanded e = Expand(L"{\\rtf1 %TRIM_LEFT_ALLPROTS_FROM_SELTEXT%[%SELECTED_TEXT%]}", L"http://page");
  EXPECT_EQ(PlainOf(e.text), L"[http://page]");
  EXPECT_EQ(e.count, 2);
}

TEST_F(MacroRichTest, WhetherAPhraseHoldsChangingMacros) {
  struct {
    std::uint32_t type;
    int state;
    const wchar_t* data;
    bool changing;
  } cases[] = {
      {kDataTypeText, 0, L"Today is %DATE%", true},
      {kDataTypeText, 0, L"%KEYPRESS_TAB%", true},
      {kDataTypeText, 0, L"%WINDOWS_USERNAME% %QLR_VERSION% %CURSOR_POS%", false},
      {kDataTypeText, 0, L"%date% plain", false},
      {kDataTypeExec, 0, L"notepad %SELECTED_TEXT%", true},
      {kDataTypeText, 1, L"no macros", true},
      {kDataTypeText, 2, L"%DATE%", false},
      {kDataTypeRtf, 0, L"{\\rtf1 \\b %CLIPBOARD_TEXT%\\b0}", true},
      {kDataTypeRtf, 0, L"{\\rtf1 \\b %QLR_VERSION_DLL%\\b0}", false},
      // The control's text is searched, not the RTF source.
      {kDataTypeRtf, 0, L"{\\rtf1 {\\*\\generator %DATE%;}plain}", false},
      {kDataTypeRtf, 0, L"", true},  // cannot be loaded
  };
  for (const auto& c : cases) {
    CPhraseNode node;
    node.DataType = c.type;
    node.macroState = c.state;
    node.data = c.data;
    EXPECT_EQ(PhraseHasChangingMacros(node), c.changing) << c.data;
  }
}
