#include "editor/toolbars/text_tool_bar.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "editor/toolbars/toolbar_names.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/system/sounds.h"
#include "platform/mfc/tests/control_host.h"
#include "tests/support/test_support.h"
#include "tests/support/toolbar_tip.h"

using namespace toolbars;

namespace {

std::atomic<int> g_beeps{0};
void CountBeep(const wchar_t* alias) {
  if (std::wstring(alias) == L"SystemExclamation") ++g_beeps;
}

// Counts what reaches the toolbar's window, from any thread.
class CCountingTextBar : public CTextToolBar {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == TB_HIDEBUTTON && wParam == kIdReadOnlyMode && LOWORD(lParam)) ++m_hides;
    if (message == TB_ENABLEBUTTON || message == TB_CHECKBUTTON) ++m_stateSends;
    return CTextToolBar::WindowProc(message, wParam, lParam);
  }
  int m_hides = 0;
  int m_stateSends = 0;
};

constexpr DWORD kViewToolBarStyle = 0x50001901;

class TextToolBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_beeps = 0;
    SetSoundAliasObserver(CountBeep);
    ASSERT_TRUE(Make(m_bar));
  }
  void TearDown() override {
    SetSoundAliasObserver(nullptr);
    SetCurrentLanguage(L"");
  }
  bool Make(CTextToolBar& bar) { return bar.Create(kViewToolBarStyle, CRect(2, 2, 470, 36), &m_host, 1030) != FALSE; }

  TBBUTTONINFOW Info(UINT id, wchar_t* text = nullptr, int chars = 0) {
    TBBUTTONINFOW info = {};
    info.dwMask = TBIF_SIZE | TBIF_LPARAM | TBIF_IMAGE | TBIF_STYLE | TBIF_STATE | (text ? TBIF_TEXT : 0);
    info.pszText = text;
    info.cchText = chars;
    m_bar.GetButtonInfo(static_cast<int>(id), &info);
    return info;
  }
  std::wstring Text(UINT id) {
    wchar_t text[128] = L"";
    Info(id, text, 128);
    return text;
  }
  int Width(UINT id) { return Info(id).cx; }
  std::wstring Tip(UINT id) {
    wchar_t buffer[256] = L"";
    return qlrtest::AskToolbarTip(m_host, m_bar.m_hWnd, 1030, static_cast<int>(id), buffer, 256);
  }

  CControlHost m_host;
  CCountingTextBar m_bar;
};

TEST_F(TextToolBarTest, ElevenButtonsAllDisabledWithTheirImagesAndTexts) {
  struct Expected {
    int id;
    int image;
    BYTE style;
  };
  const Expected expected[] = {{57643, 0, BTNS_BUTTON},   {57644, 1, BTNS_BUTTON},   {0, -1, BTNS_SEP},
                               {57635, 2, BTNS_BUTTON},   {57634, 3, BTNS_BUTTON},   {57637, 4, BTNS_BUTTON},
                               {0, -1, BTNS_SEP},         {32793, 5, BTNS_BUTTON},   {32801, 6, BTNS_DROPDOWN},
                               {32802, 7, BTNS_DROPDOWN}, {32837, 8, BTNS_CHECK}};
  ASSERT_EQ(m_bar.GetButtonCount(), 11);
  for (int i = 0; i < 11; ++i) {
    TBBUTTON b = {};
    ASSERT_TRUE(::SendMessageW(m_bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b)));
    EXPECT_EQ(b.fsStyle & (BTNS_SEP | BTNS_DROPDOWN | BTNS_CHECK), expected[i].style) << i;
    if (expected[i].style == BTNS_SEP) continue;
    EXPECT_EQ(b.idCommand, expected[i].id) << i;
    EXPECT_EQ(b.iBitmap, expected[i].image) << i;
    EXPECT_EQ(b.fsState & TBSTATE_ENABLED, 0) << i;
  }
  EXPECT_TRUE(m_bar.GetExtendedStyle() & TBSTYLE_EX_DRAWDDARROWS);
  // Nine strip images, then the formatted, plain and program images.
  EXPECT_EQ(m_bar.m_images.GetImageCount(), 12);
  EXPECT_EQ(m_bar.RtfImage, 9);
  EXPECT_EQ(m_bar.TextImage, 10);
  EXPECT_EQ(m_bar.ExecImage, 11);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(::SendMessageW(m_bar, TB_GETIMAGELIST, 0, 0)), m_bar.m_images.GetSafeHandle());
  EXPECT_EQ(Text(kIdInsertMacro), L"Macro");
  EXPECT_EQ(Info(kIdInsertMacro).lParam, 1);
  EXPECT_EQ(Text(kIdReadOnlyMode), L"Read Only");
  EXPECT_EQ(Width(kIdReadOnlyMode), 160);
}

TEST_F(TextToolBarTest, TheMacroButtonKeepsItsWidthOverLanguageSwitches) {
  const int first = Width(kIdInsertMacro);
  EXPECT_GT(first, 8);
  m_bar.RefreshTexts();
  m_bar.RefreshTexts();
  EXPECT_EQ(Width(kIdInsertMacro), first);

  qlrtest::TempDir dir;
  const std::wstring lng = dir.File(L"Long.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(
      lng, L"[Main]\r\nLangPrefix=Lo\r\n[Strings_Editor]\r\n130=Makro einfuegen und so weiter\r\n223=\r\n"));
  ASSERT_TRUE(SetLngStringFile(lng, L"_Editor"));
  m_bar.RefreshTexts();
  const int longer = Width(kIdInsertMacro);
  EXPECT_GT(longer, first);
  m_bar.RefreshTexts();
  EXPECT_EQ(Width(kIdInsertMacro), longer);
  EXPECT_EQ(Text(kIdInsertMacro), L"Makro einfuegen und so weiter");
  EXPECT_EQ(Width(kIdReadOnlyMode), 160);

  SetCurrentLanguage(L"");
  m_bar.RefreshTexts();
  EXPECT_EQ(Width(kIdInsertMacro), first);
}

TEST_F(TextToolBarTest, TipsFollowTheDataTypeAndShowTheMacroShortcut) {
  const struct {
    int type;
    const wchar_t* tip;
  } cases[] = {{0, L"Paste the phrase as plain text"},
               {1, L"Paste the phrase as formatted text (RTF)"},
               {2, L"Start the phrase as a program or address"},
               {7, L"Data type of the phrase"},
               {-1, L"Data type of the phrase"}};
  for (const auto& c : cases) {
    m_bar.SetCurrentType(c.type);
    EXPECT_EQ(Tip(kIdDataType), c.tip) << c.type;
  }
  EXPECT_EQ(Tip(kIdInsertMacro), L"Insert a macro at the caret   [Ctrl+Alt+K]");
  // Any other button: its command's prompt, without the short name.
  EXPECT_EQ(Tip(kIdReadOnlyMode), L"Protect the phrase text from changes; switch it off to edit the phrase");
}

TEST_F(TextToolBarTest, ReadOnlyButtonIsWrittenOnlyWhenItsStateChanges) {
  m_bar.m_stateSends = 0;
  m_bar.SetReadOnlyButton(FALSE, FALSE);  // as it starts
  EXPECT_EQ(m_bar.m_stateSends, 0);
  m_bar.SetReadOnlyButton(TRUE, TRUE);
  EXPECT_EQ(m_bar.m_stateSends, 2);
  EXPECT_EQ(m_bar.GetButtonState(kIdReadOnlyMode), TBSTATE_ENABLED | TBSTATE_CHECKED);
  m_bar.SetReadOnlyButton(TRUE, TRUE);
  EXPECT_EQ(m_bar.m_stateSends, 2);
  m_bar.SetReadOnlyButton(FALSE, TRUE);
  EXPECT_EQ(m_bar.m_stateSends, 3);
  EXPECT_EQ(m_bar.GetButtonState(kIdReadOnlyMode), TBSTATE_ENABLED);
}

TEST_F(TextToolBarTest, RequestsDuringABlinkOnlyBeep) {
  m_bar.Blink(true);
  m_bar.Blink(true);
  m_bar.Blink(true);
  EXPECT_TRUE(m_bar.Blinking);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return !m_bar.Blinking; }, 10000));
  EXPECT_EQ(m_bar.m_hides, 2);  // one blink: hidden twice
  EXPECT_EQ(g_beeps.load(), 3);
  EXPECT_FALSE(m_bar.GetButtonState(kIdReadOnlyMode) & TBSTATE_HIDDEN);

  // Twenty requests at once, some without a beep: still one blink.
  for (int i = 0; i < 20; ++i) m_bar.Blink(i % 2 == 0);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return !m_bar.Blinking; }, 10000));
  EXPECT_EQ(m_bar.m_hides, 4);
  EXPECT_EQ(g_beeps.load(), 13);
}

TEST_F(TextToolBarTest, AToolbarDestroyedDuringItsBlinkLeavesTheThreadHarmless) {
  auto gone = std::make_unique<CTextToolBar>();
  ASSERT_TRUE(Make(*gone));
  gone->Blink(false);
  gone->DestroyWindow();
  gone.reset();
  // A blink started later ends later: by then the first thread is done.
  m_bar.Blink(false);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return !m_bar.Blinking; }, 10000));
  EXPECT_EQ(m_bar.m_hides, 2);
  EXPECT_EQ(g_beeps.load(), 0);
}

TEST_F(TextToolBarTest, CustomDrawPaintsTheWindowColourFirst) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 500, 40);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  RECT all = {0, 0, 500, 40};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  NMTBCUSTOMDRAW draw = {};
  draw.nmcd.hdr = {m_bar.m_hWnd, 1030, static_cast<UINT>(NM_CUSTOMDRAW)};
  draw.nmcd.dwDrawStage = CDDS_PREPAINT;
  draw.nmcd.hdc = dc;
  EXPECT_EQ(::SendMessageW(m_host, WM_NOTIFY, 1030, reinterpret_cast<LPARAM>(&draw)), CDRF_NOTIFYITEMDRAW);
  EXPECT_EQ(::GetPixel(dc, 5, 5), ::GetNearestColor(dc, ::GetSysColor(COLOR_WINDOW)));
  draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
  EXPECT_EQ(::SendMessageW(m_host, WM_NOTIFY, 1030, reinterpret_cast<LPARAM>(&draw)), CDRF_DODEFAULT);
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
}

}  // namespace
