#include "foundation/ui/rich_edit.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <algorithm>
#include <string>

#include "foundation/ui/rich_edit_convert.h"

namespace {

// Padding the control drops, so that its own RTF comes out shorter than the
// input and the in-place rewrites can write it back.
const std::string kPad = "{\\*\\quilloratest " + std::string(600, 'x') + "}";

// Long texts are compared without printing them whole.
void ExpectSameText(const std::wstring& got, const std::wstring& want) {
  EXPECT_EQ(got.size(), want.size());
  size_t at = 0;
  while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
  if (at < got.size() || at < want.size())
    ADD_FAILURE() << "texts differ from position " << at << ": \""
                  << std::string(got.begin() + at, got.begin() + std::min(got.size(), at + 40)) << "\"";
}

class RichEditTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_parent = CreateWindowExW(0, L"STATIC", L"converter parent", WS_OVERLAPPED, 0, 0, 100, 100,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetHiddenRichEditParent(s_parent);
  }
  static void TearDownTestSuite() { DestroyWindow(s_parent); }

  HWND Edit() {
    HWND edit = GetHiddenRichEdit();
    EXPECT_NE(edit, nullptr);
    return edit;
  }
  // The plain text of 8-bit RTF, read through the control.
  std::wstring PlainOf(const std::string& rtf) {
    return RtfToPlainText(std::wstring(rtf.begin(), rtf.end()));
  }
  CHARFORMAT2W FormatAt(LONG pos) {
    CHARRANGE range = {pos, pos + 1};
    SendMessageW(Edit(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W cf = {};
    cf.cbSize = sizeof cf;
    SendMessageW(Edit(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    return cf;
  }

  static HWND s_parent;
};
HWND RichEditTest::s_parent = nullptr;

TEST_F(RichEditTest, RtfBecomesPlainText) {
  struct {
    std::wstring rtf;
    std::wstring plain;
  } cases[] = {
      {L"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}Hello {\\b bold} \\u1046?world\\par second}",
       L"Hello bold \u0416world\r\nsecond"},
      // 8-bit characters held as such, in the document's code page.
      {L"{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 and caf\u00e9}", L"caf\u00e9 and caf\u00e9"},
      // Unicode RTF with its characters written out.
      {L"{\\urtf1\\ansi \u041f\u0440\u0438\u0432\u0435\u0442 \u6771\u4eac}",
       L"\u041f\u0440\u0438\u0432\u0435\u0442 \u6771\u4eac"},
      // Not RTF at all: the text itself.
      {L"plain \u0416 text\r\nline two", L"plain \u0416 text\r\nline two"},
      {L"{ not rtf }", L"{ not rtf }"},
  };
  for (const auto& c : cases) EXPECT_EQ(RtfToPlainText(c.rtf), c.plain) << c.rtf.c_str();
  EXPECT_EQ(RtfToPlainText(L""), L"");
  EXPECT_EQ(PlainTextViaRichEdit(L"{\\rtf1 {\\i x}y}"), L"xy");
  EXPECT_EQ(PlainTextViaRichEdit(L"\u0416\u0416"), L"\u0416\u0416");
  EXPECT_EQ(PlainTextViaRichEdit(nullptr), L"");
}

TEST_F(RichEditTest, PlainTextSurvivesTheWayThroughRtf) {
  // Longer than the 32767 characters a rich edit takes by default.
  std::wstring long_text;
  for (int i = 0; long_text.size() < 40000; ++i) long_text += L"line " + std::to_wstring(i) + L" \u0416\r\n";
  for (const std::wstring& plain :
       {std::wstring(L"Z\u00fcrich \u0416\u0443\u043a \u6771\u4eac\ttab\r\nline two"),
        std::wstring(L"braces { } and \\ backslash"), long_text}) {
    ASSERT_TRUE(RichEditSetText(Edit(), plain));
    ExpectSameText(RichEditGetText(Edit()), plain);
    std::wstring rtf = RichEditGetRtf(Edit());
    ASSERT_EQ(rtf.compare(0, 5, L"{\\rtf"), 0);
    for (wchar_t c : rtf) ASSERT_LE(c, 0xFF);  // held as 8-bit text
    EXPECT_TRUE(std::string(rtf.begin(), rtf.end()) == RichEditGetRtfA(Edit(), false));
    ExpectSameText(RtfToPlainText(rtf), plain);
  }
}

TEST_F(RichEditTest, UnicodeRtfIsRecognisedByItsFirstSixCharacters) {
  struct {
    const wchar_t* text;
    bool unicode;
    bool rtf;
  } cases[] = {{L"{\\urtf", false, true},   {L"{\\URTF1 x}", true, true}, {L"{\\uRtf1", true, true},
               {L"{\\rtf1 x}", false, true}, {L"{\\RTF1", false, true},   {L" {\\rtf1", false, false},
               {L"{\\urt", false, false},    {L"", false, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(IsUnicodeRtfText(c.text), c.unicode) << c.text;
    EXPECT_EQ(LooksLikeRtf(c.text, wcslen(c.text)), c.rtf) << c.text;
  }
}

TEST_F(RichEditTest, SelectionsStreamOutOnlyTheirCharacters) {
  ASSERT_TRUE(RichEditSetText(Edit(), L"0123456789"));
  EXPECT_EQ(RichEditTextLength(Edit(), false), 10);
  CHARRANGE range = {7, 3};
  SendMessageW(Edit(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(RichEditTextLength(Edit(), true), 4);
  EXPECT_EQ(RichEditGetSelText(Edit()), L"3456");
  EXPECT_NE(RichEditStreamOut(Edit(), false, true).find(L"3456"), std::wstring::npos);
  range = {5, 5};
  SendMessageW(Edit(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(RichEditGetSelText(Edit()), L"");
  EXPECT_EQ(RichEditGetRtfA(Edit(), true), "");
  // An empty control streams nothing.
  RichEditSetText(Edit(), L"");
  EXPECT_EQ(RichEditGetText(Edit()), L"");
  EXPECT_EQ(RichEditGetRtf(Edit()), L"");
}

TEST_F(RichEditTest, StreamInReportsWhetherAnythingWasRead) {
  const std::string rtf = "{\\rtf1 abc}";
  EXPECT_TRUE(RichEditStreamIn(Edit(), rtf.data(), rtf.size(), false, true));
  EXPECT_EQ(RichEditGetText(Edit()), L"abc");
  const std::wstring text = L"\u0416x";
  EXPECT_TRUE(RichEditStreamIn(Edit(), text.data(), text.size() * 2, true, false));
  EXPECT_EQ(RichEditGetText(Edit()), text);
  EXPECT_FALSE(RichEditStreamIn(Edit(), nullptr, 10, false, false));
  EXPECT_FALSE(RichEditSetRtfA(Edit(), nullptr));
  EXPECT_TRUE(RichEditSetRtfA(Edit(), "8-bit plain"));
  EXPECT_EQ(RichEditGetText(Edit()), L"8-bit plain");
  // A font name far longer than any font's (the system's reader faults on
  // one) is cut; the text comes through.
  std::string name;
  for (int i = 0; i < 300; ++i) name += "Arialf0 ";
  const std::string longName = "{\\rtf1\\ansi{\\fonttbl{\\f0 " + name + ";}{\\f1\\'e9 Courier;}}\\f0 Hello}";
  EXPECT_TRUE(RichEditStreamIn(Edit(), longName.data(), longName.size(), false, true));
  EXPECT_EQ(RichEditGetText(Edit()), L"Hello");
}

TEST_F(RichEditTest, ReplaceAllGoesOnBehindEachReplacement) {
  struct {
    const wchar_t* text;
    const wchar_t* find;
    const wchar_t* replacement;
    int count;
    const wchar_t* result;
  } cases[] = {
      {L"a-b-c", L"-", L"--", 2, L"a--b--c"},  // the replacement holds what is searched
      {L"Abc abc ABC", L"abc", L"x", 3, L"x x x"},
      {L"aaaa", L"aa", L"a", 2, L"aa"},
      {L"none here", L"zz", L"y", 0, L"none here"},
      {L"one\r\ntwo\r\nthree", L"\r", L" ", 2, L"one two three"},
      {L"x", L"", L"y", 0, L"x"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(RichEditSetText(Edit(), c.text));
    EXPECT_EQ(RichEditReplaceAll(Edit(), c.find, c.replacement), c.count) << c.text;
    EXPECT_EQ(RichEditGetText(Edit()), c.result) << c.text;
  }
}

TEST_F(RichEditTest, ReplacementsMayGrowTheTextBeyondTheDefaultLimit) {
  ASSERT_TRUE(RichEditSetText(Edit(), L"x" + std::wstring(30000, L'.')));
  EXPECT_EQ(RichEditReplaceAll(Edit(), L"x", std::wstring(5000, L'y')), 1);
  EXPECT_EQ(RichEditGetText(Edit()).size(), 35000u);
}

TEST_F(RichEditTest, TrimCharCutsBothEndsAndCountsAnEmptiedTextAsUnchanged) {
  struct {
    const wchar_t* text;
    wchar_t ch;
    int count;
    const wchar_t* result;
  } cases[] = {
      {L"  abc  ", L' ', 4, L"abc"},
      {L"   ", L' ', 0, L""},
      {L"abc", L' ', 0, L"abc"},
      {L"--a-b--", L'-', 4, L"a-b"},
      {L" x", L' ', 1, L"x"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(RichEditSetText(Edit(), c.text));
    EXPECT_EQ(RichEditTrimChar(Edit(), c.ch), c.count) << c.text;
    EXPECT_EQ(RichEditGetText(Edit()), c.result) << c.text;
  }
  RichEditSetText(Edit(), L"");
  EXPECT_EQ(RichEditTrimChar(Edit(), L' '), 0);
}

TEST_F(RichEditTest, LineBreaksBecomeBlanksInPlace) {
  std::string rtf = "{\\rtf1\\ansi" + kPad + "one\\par two\\par\r\nthree}";
  std::string buffer = rtf;
  EXPECT_GE(RtfLineBreaksToSpaces(&buffer[0], buffer.size()), 2);
  std::string written = buffer.c_str();
  EXPECT_LT(written.size(), rtf.size());
  EXPECT_EQ(PlainOf(written), L"one two three");

  // Nothing to replace: untouched.
  std::string flat = "{\\rtf1\\ansi" + kPad + " one line}";
  buffer = flat;
  EXPECT_EQ(RtfLineBreaksToSpaces(&buffer[0], buffer.size()), 0);
  EXPECT_EQ(buffer, flat);
  // The control's RTF would not fit: untouched as well.
  std::string tight = "{\\rtf1 a\\par b}";
  buffer = tight;
  EXPECT_EQ(RtfLineBreaksToSpaces(&buffer[0], buffer.size()), 0);
  EXPECT_EQ(buffer, tight);
}

TEST_F(RichEditTest, RemoveCharactersTrimsBlanksAndLineEnds) {
  std::string rtf = "{\\rtf1\\ansi" + kPad + "  \\par  some {\\b text}  \\par \\par}";
  std::string buffer = rtf;
  EXPECT_GT(RtfRemoveCharacters(&buffer[0], buffer.size(), L" \r\n"), 0);
  EXPECT_EQ(PlainOf(buffer.c_str()), L"some text");

  struct {
    std::string rtf;
    std::wstring set;
  } unchanged[] = {
      {"{\\rtf1\\ansi" + kPad + "   }", L" "},          // only blanks: the control empties
      {"{\\rtf1\\ansi" + kPad + " x }", L""},           // nothing to remove
      {"{\\rtf1\\ansi" + kPad + "x}", L" \r\n"},        // nothing found
  };
  for (const auto& c : unchanged) {
    buffer = c.rtf;
    EXPECT_EQ(RtfRemoveCharacters(&buffer[0], buffer.size(), c.set), 0);
    EXPECT_EQ(buffer, c.rtf);
  }
}

TEST_F(RichEditTest, CaseChangeKeepsFontsAndDropsEmphasis) {
  const std::string rtf =
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}"
      "\\f0 {\\b Hello} {\\cf1\\i W\\u246?rld} \\f1 \\u1078?\\u1091?\\u1082? \\ul mixed\\ulnone\\par "
      "line 2}";
  std::string upper = RtfChangeCase(rtf, true);
  ASSERT_FALSE(upper.empty());
  EXPECT_EQ(PlainOf(upper), L"HELLO W\u00d6RLD \u0416\u0423\u041a MIXED\r\nLINE 2");
  // Plain black text, fonts as they were.
  ASSERT_TRUE(RichEditSetRtfA(Edit(), upper.c_str()));
  for (LONG pos : {0, 6, 16}) {
    DWORD effects = FormatAt(pos).dwEffects;
    EXPECT_EQ(effects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_LINK), 0u) << pos;
  }
  EXPECT_STREQ(FormatAt(0).szFaceName, L"Arial");
  EXPECT_STREQ(FormatAt(13).szFaceName, L"Courier New");
  // A font change inside one word.
  std::string word = RtfChangeCase("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\f0 ab\\f1 cd}", true);
  ASSERT_TRUE(RichEditSetRtfA(Edit(), word.c_str()));
  EXPECT_EQ(RichEditGetText(Edit()), L"ABCD");
  EXPECT_STREQ(FormatAt(1).szFaceName, L"Arial");
  EXPECT_STREQ(FormatAt(2).szFaceName, L"Courier New");

  EXPECT_EQ(PlainOf(RtfChangeCase(upper, false)), L"hello w\u00f6rld \u0436\u0443\u043a mixed\r\nline 2");
  // Plain 8-bit text comes back as RTF of the changed text.
  std::string fromPlain = RtfChangeCase("MiXeD Text", false);
  ASSERT_EQ(fromPlain.compare(0, 5, "{\\rtf"), 0);
  EXPECT_EQ(PlainOf(fromPlain), L"mixed text");
  EXPECT_EQ(RtfChangeCase("", true), "");
}

}  // namespace
