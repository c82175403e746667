#include "foundation/ui/rich_edit.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "foundation/ui/rich_edit_convert.h"
#include "foundation/ui/rtf_case.h"
#include "foundation/ui/rtf_reader.h"

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
  // Only a group at the document's level is the table: the same letters
  // escaped in the text leave the text's runs whole.
  const std::string run(40, 'x');
  const std::string named = "{\\rtf1\\ansi C:\\\\fonttbl\\\\" + run + " ends}";
  EXPECT_TRUE(RichEditStreamIn(Edit(), named.data(), named.size(), false, true));
  EXPECT_EQ(RichEditGetText(Edit()), L"C:\\fonttbl\\" + std::wstring(run.begin(), run.end()) + L" ends");
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

// Random RTF of the constructs our own reader knows, and now and then one
// it must leave to the control.
struct RandomRtf {
  std::string rtf;
  bool unsupported = false;
};

class RtfMaker {
 public:
  explicit RtfMaker(unsigned seed) : m_rng(seed) {}

  RandomRtf Make() {
    RandomRtf doc;
    std::string& r = doc.rtf;
    r = "{\\rtf1";
    if (Pick(2)) r += "\\ansi";
    static const int kCodePages[] = {1252, 1251, 1250, 1253};
    if (Pick(2)) r += "\\ansicpg" + std::to_string(kCodePages[Pick(4)]);
    m_fonts = Pick(4);
    if (Pick(2)) r += "\\deff" + std::to_string(Pick(m_fonts + 1));
    if (Pick(2)) r += "\\deflang1049";
    static const int kCharsets[] = {-1, 0, 1, 204, 238, 161, -1, 0, 204, 2, 128};
    static const char* const kNames[] = {"Arial", "Tahoma", "Courier New", "Times New Roman"};
    if (m_fonts) {
      r += "{\\fonttbl";
      for (int f = 0; f < m_fonts; ++f) {
        int charset = kCharsets[Pick(Pick(4) ? 9 : 11)];
        r += "{\\f" + std::to_string(f) + (Pick(2) ? "\\fnil" : "\\fswiss\\fprq2");
        if (charset >= 0) r += "\\fcharset" + std::to_string(charset);
        r += std::string(" ") + kNames[Pick(4)] + ";}";
      }
      r += "}";
    }
    m_colors = Pick(3);
    if (m_colors) {
      r += "{\\colortbl ;";
      for (int c = 0; c < m_colors; ++c)
        r += "\\red" + std::to_string(Pick(256)) + "\\green0\\blue" + std::to_string(Pick(256)) + ";";
      r += "}";
    }
    if (Pick(2)) r += "{\\*\\generator Riched20 10.0;}\\viewkind4\\uc1";
    r += Pick(2) ? "\\pard" : "";
    r += m_fonts && Pick(4) ? "\\f0\\fs20 " : " ";
    int pieces = Pick(40);
    for (int i = 0; i < pieces; ++i) r += Piece(2);
    if (Pick(10) == 0) {
      static const std::string kUnsupported[] = {
          "{\\pict\\wmetafile8 0102}", "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}",
          "\\trowd\\cellx1000 a\\cell\\row ", "{\\pntext 1.\\tab}", "\\v hidden\\v0 ", "\\foo ", "\\|",
          "\\page ", "{\\header x}", "\\bin3 abc", "{\\object\\objemb x}", "\\caps x", "\\x", "\\'zz",
          "{\\*\\quillora x}", "{\\*\\b x}", "\\u ", "\\u99999 ", std::string(40, '{') + "deep" + std::string(40, '}'),
          "caf\xe9", "\\-"};
      r.insert(Pick(2) ? r.size() : r.find("\\pard") == std::string::npos ? r.size() : r.find("\\pard"),
               kUnsupported[Pick(21)]);
      doc.unsupported = true;
    }
    r += Pick(3) ? "}" : "\\par\r\n}";
    return doc;
  }

  // The RTF with a few bytes cut, doubled or overwritten, or cut short.
  std::string Mutate(std::string rtf) {
    static const char* const kBits[] = {"{", "}", "\\", "\\'", "\\u", "9", ";", "\\*", "\\par", "-", "\\'e", "\x85"};
    for (int n = 1 + Pick(3); n > 0 && !rtf.empty(); --n) {
      size_t at = Pick(static_cast<int>(rtf.size()));
      switch (Pick(4)) {
        case 0: rtf.resize(at); break;
        case 1: rtf.erase(at, 1 + Pick(4)); break;
        case 2: rtf.insert(at, kBits[Pick(12)]); break;
        default: rtf[at] = static_cast<char>(Pick(256) | 1); break;
      }
    }
    return rtf;
  }

  int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

 private:
  std::string Piece(int depth) {
    static const char* const kWords[] = {"Hello", "world", "Mixed Case", "istanbul", "STRASSE", "x1", " ", "  ", "a;b"};
    static const char* const kSpecials[] = {"\\par ", "\\par\r\n", "\\line ", "\\tab ", "\\emdash ", "\\endash ",
                                            "\\bullet ", "\\lquote ", "\\rquote ", "\\ldblquote ", "\\rdblquote ",
                                            "\\~", "\\_", "\\_", "\\\\", "\\{", "\\}", "\r\n"};
    static const int kUnicode[] = {0x416, 0x436, 0xE9,   0xC9,   0x3B1,  0x130,  0x131,
                                   0xDF,  0x2014, 0x1E9E, 0xFB01, 0x4E2D, -10179, -8704};
    switch (Pick(depth > 0 ? 9 : 8)) {
      case 0:
      case 1: return kWords[Pick(9)];
      case 2: return std::string(1, "!?.,:'\"()<>=+*&^%$#@"[Pick(22)]);
      case 3: {
        char hex[8];
        snprintf(hex, sizeof hex, "\\'%02x", Pick(3) ? 0x80 + Pick(128) : 0x41 + Pick(26));
        return hex;
      }
      case 4: {
        int skip = Pick(3);
        std::string u = Pick(2) ? "\\uc" + std::to_string(skip) : (skip = 1, std::string());
        u += "\\u" + std::to_string(kUnicode[Pick(14)]);
        for (int i = 0; i < skip; ++i) u += Pick(2) ? "?" : "\\'3f";
        return u + (Pick(2) ? "" : " ");
      }
      case 5: return kSpecials[Pick(18)];
      case 6: {
        static const char* const kFormats[] = {"\\b", "\\b0", "\\i", "\\i0", "\\ul", "\\ulnone", "\\strike",
                                               "\\strike0", "\\protect", "\\plain", "\\pard", "\\fs28", "\\fs16",
                                               "\\lang1033", "\\super", "\\nosupersub", "\\cf", "\\f", "\\qc"};
        std::string w = kFormats[Pick(19)];
        if (w == "\\cf") w += std::to_string(Pick(m_colors + 1));
        if (w == "\\f") w += std::to_string(Pick(m_fonts + 1));
        return w + (Pick(2) ? " " : "");
      }
      case 7: return Pick(2) ? "{\\*\\userprops skipped {nested} \\'e9 text}" : "{\\*\\bkmkstart x}";
      default: {
        std::string group = "{";
        for (int i = Pick(6); i > 0; --i) group += Piece(depth - 1);
        return group + "}";
      }
    }
  }

  std::mt19937 m_rng;
  int m_fonts = 0;
  int m_colors = 0;
};

// What a reader of the RTF sees: the text and each character's format.
struct Look {
  std::wstring text;
  std::wstring chars;  // one for each format
  std::vector<CHARFORMAT2W> formats;
};

Look LookOf(HWND edit, const std::string& rtf) {
  Look look;
  if (rtf.empty() || !RichEditSetRtfA(edit, rtf.c_str())) return look;
  look.text = RichEditGetText(edit);
  LONG count = RichEditCharCount(edit);
  for (LONG pos = 0; pos < count; ++pos) {
    CHARRANGE range = {pos, pos + 1};
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    wchar_t one[4] = {};
    TEXTRANGEW tr = {range, one};
    SendMessageW(edit, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr));
    look.chars += one[0];
    CHARFORMAT2W cf = {};
    cf.cbSize = sizeof cf;
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    look.formats.push_back(cf);
  }
  return look;
}

// The control's RTF holds a character that its font's code page lacks as a
// look-alike where the code page has one (a dotless i as "i"), where our
// own road keeps the character.
bool IsLookAlike(wchar_t kept, wchar_t written) {
  for (UINT cp : {1252u, 1251u, 1250u, 1253u}) {
    char byte = 0;
    wchar_t back = 0;
    if (WideCharToMultiByte(cp, 0, &kept, 1, &byte, 1, nullptr, nullptr) == 1 &&
        MultiByteToWideChar(cp, 0, &byte, 1, &back, 1) == 1 && back == written)
      return true;
  }
  return false;
}

bool SameOrLookAlike(const std::wstring& kept, const std::wstring& written) {
  if (kept.size() != written.size()) return false;
  for (size_t i = 0; i < kept.size(); ++i)
    if (kept[i] != written[i] && !IsLookAlike(kept[i], written[i])) return false;
  return true;
}

// What a case change makes of a look: the text in the new case, plain
// black without bold, italic, underline, strike-out, protection or link.
void ChangeCase(Look* look, bool upper) {
  for (std::wstring* text : {&look->text, &look->chars})
    if (!text->empty()) (upper ? CharUpperBuffW : CharLowerBuffW)(&(*text)[0], static_cast<DWORD>(text->size()));
  for (CHARFORMAT2W& cf : look->formats) {
    cf.dwEffects &= ~(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_PROTECTED | CFE_LINK | CFE_AUTOCOLOR);
    cf.crTextColor = 0;
  }
}

// The first difference between two looks, or "".
std::string LookDifference(const Look& a, const Look& b) {
  if (a.text != b.text)
    return "text: " + std::string(a.text.begin(), a.text.end()) + " / " + std::string(b.text.begin(), b.text.end());
  if (a.formats.size() != b.formats.size()) return "format count";
  const DWORD effects = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_PROTECTED | CFE_LINK |
                        CFE_AUTOCOLOR | CFE_SUBSCRIPT | CFE_SUPERSCRIPT;
  for (size_t i = 0; i < a.formats.size(); ++i) {
    const CHARFORMAT2W& x = a.formats[i];
    const CHARFORMAT2W& y = b.formats[i];
    const char* what = (x.dwEffects & effects) != (y.dwEffects & effects) ? "effects"
                       : x.crTextColor != y.crTextColor                  ? "colour"
                       : x.yHeight != y.yHeight                          ? "size"
                       : x.yOffset != y.yOffset                          ? "offset"
                       : wcscmp(x.szFaceName, y.szFaceName)              ? "font"
                       : x.bCharSet != y.bCharSet                        ? "charset"
                       : x.lcid != y.lcid                                ? "language"
                                                                         : nullptr;
    if (what) {
      char values[200];
      snprintf(values, sizeof values,
               " at %zu (%x): effects %lx/%lx colour %lx/%lx size %ld/%ld font %ls/%ls set %d/%d", i,
               i < a.chars.size() ? a.chars[i] : 0, x.dwEffects, y.dwEffects, x.crTextColor, y.crTextColor, x.yHeight,
               y.yHeight, x.szFaceName, y.szFaceName, x.bCharSet, y.bCharSet);
      return what + std::string(values);
    }
  }
  return std::string();
}

// Our own reader against the control, on random RTF, on the control's own
// RTF of it and on broken copies: every RTF the reader accepts reads and
// changes case as through the control, what it does not know is left to
// the control, and nothing crashes or hangs it.
TEST_F(RichEditTest, OwnRtfReaderAgreesWithTheControl) {
  RtfMaker maker(20261210);
  int accepted = 0, ownAccepted = 0, fuzzAccepted = 0;
  auto controlPlain = [&](const std::string& rtf) {
    return RichEditSetText(Edit(), std::wstring(rtf.begin(), rtf.end())) ? RichEditGetText(Edit()) : std::wstring();
  };
  // Where our road does not take the RTF, the result is the control's by
  // definition (and the control's road depends on what it held before).
  auto checkCase = [&](const std::string& rtf, bool upper) {
    std::string ours;
    if (!RtfChangeCaseFast(rtf.c_str(), rtf.size(), upper, &ours)) return;
    EXPECT_EQ(RtfChangeCase(rtf, upper), ours);
    // The RTF as the control reads it, changed there, against ours as the
    // control reads it.
    Look want = LookOf(Edit(), rtf);
    ChangeCase(&want, upper);
    Look got = LookOf(Edit(), ours);
    EXPECT_EQ(LookDifference(got, want), "") << (upper ? "upper " : "lower ") << rtf << "\n ours: " << ours;
    // The control's own road gives the same text, but for the look-alikes
    // its RTF writer puts in.
    std::string theirs = RtfChangeCaseViaRichEdit(rtf, upper);
    EXPECT_EQ(ours.empty(), theirs.empty()) << rtf;
    EXPECT_TRUE(SameOrLookAlike(got.text, LookOf(Edit(), theirs).text)) << rtf << "\n ours:   " << ours
                                                                        << "\n theirs: " << theirs;
  };
  for (int round = 0; round < 250; ++round) {
    RandomRtf doc = maker.Make();
    std::wstring fast;
    bool known = RtfPlainTextFast(doc.rtf.data(), doc.rtf.size(), &fast);
    std::wstring control = controlPlain(doc.rtf);
    if (doc.unsupported) {
      EXPECT_FALSE(known) << doc.rtf;
    }
    if (known) {
      ++accepted;
      EXPECT_EQ(fast, control) << doc.rtf;
      checkCase(doc.rtf, round % 2 == 0);
    }
    // The control's own RTF of the same text (the control still holds it).
    std::string own = control.empty() ? std::string() : RichEditGetRtfA(Edit(), false);
    if (!own.empty()) {
      if (RtfPlainTextFast(own.data(), own.size(), &fast)) {
        ++ownAccepted;
        EXPECT_EQ(fast, controlPlain(own)) << own;
        if (round % 5 == 0) checkCase(own, round % 10 == 0);
      }
    }
    for (int m = 0; m < 2; ++m) {
      std::string broken = maker.Mutate(known ? doc.rtf : own);
      if (RtfPlainTextFast(broken.data(), broken.size(), &fast)) {
        ++fuzzAccepted;
        EXPECT_EQ(fast, controlPlain(broken)) << broken;
        if (m == 0 && round % 4 == 0) checkCase(broken, true);
      }
    }
    if (HasFailure()) break;
  }
  // The runs above did exercise the reader.
  EXPECT_GT(accepted, 70);
  EXPECT_GT(ownAccepted, 120);
  EXPECT_GT(fuzzAccepted, 20);
  // Hostile RTF is refused at once, before the control sees it.
  const std::string hostile[] = {"{\\rtf1 " + std::string(100000, '{') + "x",
                                 "{\\rtf1 \\" + std::string(5000, 'a') + " x}",
                                 "{\\rtf1 \\u" + std::string(5000, '9') + " x}",
                                 "{\\rtf1 \\uc99999\\u1046 x}",
                                 "{\\rtf1{\\fonttbl{\\f0 " + std::string(5000, 'n') + ";}}\\f0 x}",
                                 "{\\rtf1 x",
                                 std::string("{\\rtf1 a\0b}", 11)};
  std::wstring plain;
  for (const std::string& rtf : hostile) EXPECT_FALSE(RtfPlainTextFast(rtf.data(), rtf.size(), &plain)) << rtf.size();
}

}  // namespace
