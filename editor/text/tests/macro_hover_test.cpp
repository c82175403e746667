#include "editor/text/macro_hover.h"

#include <gtest/gtest.h>

#include <string>

#include "editor/services/macro_menus.h"
#include "editor/text/tests/text_test_util.h"

namespace {

using texttest::kTextId;
using texttest::kTextStyle;

TEST(MacroHoverTest, MacroOfAWord) {
  struct Case {
    std::wstring word;
    std::wstring macro;
  };
  const Case cases[] = {
      {L"%DATE%", L"%DATE%"},
      {L"(%DATE%),", L"%DATE%"},
      {L"\t%TIME%\r\n", L"%TIME%"},
      {L"%DATETIME%", L"%DATETIME%"},
      {L"%PROMPT_TEXT={abc}%", L"%PROMPT_TEXT={}%"},
      {L"%PROMPT_TEXT={}%", L"%PROMPT_TEXT={}%"},
      {L"%PROMPT_TEXT={", L"%PROMPT_TEXT={}%"},
      {L"x%PROMPT_TEXT={abc}%", L""},
      {L"%DATA%", L""},
      {L"%", L""},
      {L"", L""},
      {L"   ", L""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindMacroInWord(c.word), c.macro) << std::string(c.word.begin(), c.word.end());
}

TEST(MacroHoverTest, TipMarkup) {
  EXPECT_EQ(MakeMacroTipHtml(L"Macro", L"%DATE%", L"Insert current date only"),
            L"<font size=12pt><b>Macro <font color=orange>%DATE%</font></font></b>"
            L"<br><hr color=gray><br><font color=gray>Insert current date only</font>");
  EXPECT_EQ(MakeMacroTipHtml(L"Macro", L"%DATE%", L""), L"") << "no description, no tip";
  // Every macro of the menu has its description.
  for (const std::wstring& macro : GetMenuMacroNames())
    if (macro.compare(0, 13, L"%ACTIVATE_KL_") != 0) {
      EXPECT_FALSE(GetMacroDescription(macro).empty()) << std::string(macro.begin(), macro.end());
    }
}

class MacroHoverWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(text.Create(kTextStyle, CControlHost::ChildRect(), &host, kTextId)); }
  POINT PointOf(LONG at, int dy = 2) {
    CPoint p = text.PosFromChar(static_cast<UINT>(at));
    return {p.x + 2, p.y + dy};
  }
  texttest::RecordingHost host;
  CPhraseRichEdit text;
};

TEST_F(MacroHoverWindowTest, WordUnderThePoint) {
  EXPECT_EQ(GetWordAtPoint(text, {20, 20}), L"") << "empty text";
  ::SetWindowTextW(text, L"say %DATE% now\r\nask %PROMPT_TEXT={abc}%\r\nlast %TIME%");
  EXPECT_EQ(GetWordAtPoint(text, PointOf(5)), L"%DATE%");
  EXPECT_EQ(GetWordAtPoint(text, PointOf(0)), L"say");
  EXPECT_EQ(GetWordAtPoint(text, PointOf(3)), L"") << "over a blank";
  EXPECT_EQ(FindMacroInWord(GetWordAtPoint(text, PointOf(20))), L"%PROMPT_TEXT={}%");
  LONG last = static_cast<LONG>(::SendMessageW(text, EM_LINEINDEX, 2, 0)) + 6;
  EXPECT_EQ(GetWordAtPoint(text, PointOf(last)), L"%TIME%") << "the last line";
  EXPECT_EQ(GetWordAtPoint(text, PointOf(last, 200)), L"") << "far below the last line";
  EXPECT_EQ(GetWordAtPoint(nullptr, {1, 1}), L"");

  // Thousands of macros: the scan reads only the neighbourhood.
  std::wstring many;
  for (int i = 0; i < 5000; ++i) many += L"%DAY%";
  ::SetWindowTextW(text, many.c_str());
  std::wstring word = GetWordAtPoint(text, PointOf(3));
  EXPECT_FALSE(word.empty());
  EXPECT_LT(word.size(), 400u);
  EXPECT_EQ(FindMacroInWord(word), L"%DAY%");
}

TEST_F(MacroHoverWindowTest, LinkCountsOnlyOverItsText) {
  ::SetWindowTextW(text, L"see http://example.com\r\n\r\n\r\nnext");
  CHARRANGE link = {4, 22};
  EXPECT_TRUE(IsCursorOverLink(text, link, PointOf(8)));
  EXPECT_FALSE(IsCursorOverLink(text, link, PointOf(1))) << "beside the link";
  POINT below = PointOf(8);
  below.y += 200;
  EXPECT_FALSE(IsCursorOverLink(text, link, below));

  // The control answers 1 to the parent's EN_LINK for a cursor below the
  // link's line, and lets one over the link through.
  auto sendLink = [&](POINT client) {
    POINT screen = client;
    ::ClientToScreen(text, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ENLINK info = {};
    info.nmhdr = {text.m_hWnd, kTextId, EN_LINK};
    info.msg = WM_SETCURSOR;
    info.chrg = link;
    return ::SendMessageW(host, WM_NOTIFY, kTextId, reinterpret_cast<LPARAM>(&info));
  };
  POINT cursor;
  ::GetCursorPos(&cursor);
  POINT lastLine = PointOf(28, 2);
  lastLine.x = PointOf(8).x;
  EXPECT_EQ(sendLink(lastLine), 1);
  EXPECT_EQ(sendLink(PointOf(8)), 0);
  ::SetCursorPos(cursor.x, cursor.y);
}

TEST_F(MacroHoverWindowTest, HoverShowsTheMacroTip) {
  ::SetWindowTextW(text, L"at %DATE% here");
  POINT over = PointOf(5);
  POINT screen = over;
  ::ClientToScreen(text, &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::SendMessageW(text, WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  // The timer shows the tip after a short delay.
  DWORD start = ::GetTickCount();
  while (text.GetTipText().empty() && ::GetTickCount() - start < 5000) {
    texttest::Pump(&host);
    ::Sleep(20);
  }
  std::wstring tip = text.GetTipText();
  EXPECT_NE(tip.find(L"<font color=orange>%DATE%</font>"), std::wstring::npos);
  EXPECT_NE(tip.find(GetMacroDescription(L"%DATE%")), std::wstring::npos);
  EXPECT_EQ(tip.compare(0, 25, L"<font size=12pt><b>Macro "), 0);

  POINT plain = PointOf(11);
  ::SendMessageW(text, WM_MOUSEMOVE, 0, MAKELPARAM(plain.x, plain.y));
  EXPECT_EQ(text.GetTipText(), L"") << "away from the macro the tip goes";
}

}  // namespace
