#include "editor/toolbars/links_tool_bar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/services/web_pages.h"
#include "editor/toolbars/toolbar_names.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "platform/mfc/bars/dialog_bar.h"
#include "platform/mfc/tests/control_host.h"
#include "tests/support/test_support.h"
#include "tests/support/toolbar_tip.h"

using namespace toolbars;

namespace {

class CLinksHost : public CControlHost {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && lParam) m_commands.push_back(LOWORD(wParam));
    return CControlHost::WindowProc(message, wParam, lParam);
  }
  std::vector<UINT> m_commands;
};

// Keeps the padding the toolbar asks for: the control may bound it (Wine
// keeps at most the edge size).
class CPaddingRecordingBar : public CLinksToolBar {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == TB_SETPADDING) m_asked = static_cast<DWORD>(lParam);
    return CLinksToolBar::WindowProc(message, wParam, lParam);
  }
  DWORD m_asked = 0;
};

class LinksToolBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_bar.CreateEx(&m_host, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect(0, 0, 0, 0), 59392));
    m_bar.MoveWindow(0, 0, 470, 30);
  }
  void TearDown() override { SetCurrentLanguage(L""); }
  std::vector<std::wstring> Texts() {
    std::vector<std::wstring> texts;
    for (int i = 0; i < 5; ++i) texts.push_back(m_bar.GetButtonText(i).GetString());
    return texts;
  }
  std::wstring Tip(UINT id) {
    wchar_t buffer[300] = L"";
    return qlrtest::AskToolbarTip(m_host, m_bar.m_hWnd, 59392, static_cast<int>(id), buffer, 300);
  }

  CLinksHost m_host;
  CPaddingRecordingBar m_bar;
};

TEST_F(LinksToolBarTest, FiveTextButtonsWithTooltipsAndDoubledPadding) {
  const UINT ids[] = {32781, 32795, kIdLinksOfficialForum, 32840, 32827};
  ASSERT_EQ(m_bar.GetToolBarCtrl().GetButtonCount(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(m_bar.GetItemID(i), ids[i]) << i;
    TBBUTTON b = {};
    ASSERT_TRUE(m_bar.SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b)));
    EXPECT_TRUE(b.fsStyle & BTNS_SHOWTEXT) << i;
    EXPECT_EQ(b.iBitmap, i);
  }
  EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"Home Page", L"Support", L"Official Forum", L"Community Group",
                                                L"Video"}));
  EXPECT_TRUE(m_bar.GetStyle() & TBSTYLE_LIST);
  EXPECT_TRUE(m_bar.GetStyle() & TBSTYLE_TOOLTIPS);
  EXPECT_TRUE(m_bar.GetBarStyle() & CBRS_TOOLTIPS);
  EXPECT_NE(m_bar.SendMessage(TB_GETTOOLTIPS), 0);
  const DWORD ex = m_bar.GetToolBarCtrl().GetExtendedStyle();
  EXPECT_EQ(ex & (TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS), TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS);

  CToolBarCtrl plain;
  ASSERT_TRUE(plain.Create(WS_CHILD | TBSTYLE_FLAT | TBSTYLE_LIST, CRect(0, 0, 100, 30), &m_host, 77));
  const DWORD usual = static_cast<DWORD>(plain.SendMessage(TB_GETPADDING));
  EXPECT_EQ(LOWORD(m_bar.m_asked), 2 * LOWORD(usual));
  EXPECT_EQ(HIWORD(m_bar.m_asked), HIWORD(usual));
}

TEST_F(LinksToolBarTest, RelabelTakesTheNewLanguagesTexts) {
  qlrtest::TempDir dir;
  const std::wstring lng = dir.File(L"De.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[Main]\r\nLangPrefix=De\r\n[Strings_Editor]\r\n129=Startseite\r\n"
                                           L"189=Hilfe & Rat\r\n162=Forum\r\n224=Gruppe\r\n"));
  ASSERT_TRUE(SetLngStringFile(lng, L"_Editor"));
  EXPECT_EQ(Texts()[0], L"Home Page");  // nothing changes by itself
  m_bar.Relabel();
  EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"Startseite", L"Hilfe & Rat", L"Forum", L"Gruppe", L"Video"}));
  SetCurrentLanguage(L"");
  m_bar.Relabel();
  EXPECT_EQ(Texts()[0], L"Home Page");
}

TEST_F(LinksToolBarTest, TipsCarryThePagesAddressInAWideTip) {
  EXPECT_EQ(Tip(32781), L"Visit the web site of Quillora   \u00BB " + GetHomePageAddress());
  EXPECT_EQ(Tip(kIdLinksOfficialForum), L"Official forum of Quillora   \u00BB " + GetOfficialForumAddress());
  EXPECT_EQ(Tip(32840), L"Join the community group   \u00BB " + GetCommunityGroupAddress());
  // A command without a page: its prompt alone.
  EXPECT_EQ(Tip(32801), L"Data type of the phrase");
  HWND tips = reinterpret_cast<HWND>(m_bar.SendMessage(TB_GETTOOLTIPS));
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(::SendMessageW(tips, TTM_GETMAXTIPWIDTH, 0, 0), 300);
}

TEST_F(LinksToolBarTest, TheForumButtonOpensTheToolbarsPageNotTheMenus) {
  const int index = m_bar.CommandToIndex(kIdLinksOfficialForum);
  CRect r;
  ASSERT_TRUE(m_bar.GetToolBarCtrl().GetItemRect(index, &r));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  m_bar.SendMessage(WM_LBUTTONUP, 0, at);
  EXPECT_EQ(m_host.m_commands, (std::vector<UINT>{kIdLinksOfficialForum}));
  EXPECT_NE(kIdLinksOfficialForum, 32783u);
  EXPECT_EQ(GetCommandWebAddress(kIdLinksOfficialForum), GetOfficialForumAddress());
  EXPECT_NE(GetCommandWebAddress(32783), GetOfficialForumAddress());
  EXPECT_NE(GetOfficialForumAddress().find(L"/home_forum.php"), std::wstring::npos);
  EXPECT_NE(GetCommandWebAddress(32783).find(L"/forum/index.php"), std::wstring::npos);
}

TEST_F(LinksToolBarTest, BackgroundIsTheButtonFace) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 500, 40);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  RECT all = {0, 0, 500, 40};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  EXPECT_TRUE(m_bar.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)));
  EXPECT_EQ(::GetPixel(dc, 3, 3), ::GetNearestColor(dc, ::GetSysColor(COLOR_BTNFACE)));
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
}

// As on the language bar: the toolbar is a child of a dialog bar, which
// hands the notifications back to it and the clicks on to its owner.
TEST(LinksToolBarInDialogBarTest, TipsAndCommandsTakeTheBarsRoad) {
  CLinksHost host;
  CDialogBar languageBar;
  ASSERT_TRUE(languageBar.Create(&host, 4100, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE805));
  CLinksToolBar links;
  ASSERT_TRUE(links.CreateEx(&languageBar, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect(0, 0, 0, 0),
                             59392));
  links.MoveWindow(130, 0, 470, 30);

  wchar_t buffer[300] = L"";
  EXPECT_EQ(qlrtest::AskToolbarTip(languageBar, links.m_hWnd, 59392, 32827, buffer, 300), L"Watch the videos   \u00BB " + GetVideoPageAddress());

  CRect r;
  ASSERT_TRUE(links.GetToolBarCtrl().GetItemRect(links.CommandToIndex(32781), &r));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  links.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  links.SendMessage(WM_LBUTTONUP, 0, at);
  EXPECT_EQ(host.m_commands, (std::vector<UINT>{32781}));
}

}  // namespace
