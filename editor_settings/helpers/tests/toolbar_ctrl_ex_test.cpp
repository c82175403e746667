#include "editor_settings/helpers/toolbar_ctrl_ex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "platform/mfc/tests/control_host.h"
#include "tests/support/test_support.h"
#include "tests/support/toolbar_tip.h"

namespace {

std::vector<std::wstring> g_calls;

TBBUTTON Button(int id, BYTE style = BTNS_BUTTON, BYTE state = 0) {
  TBBUTTON b = {};
  b.idCommand = id;
  b.fsStyle = style;
  b.fsState = state;
  b.iString = -1;
  return b;
}

// The target: update handlers for some ids, a command handler for one,
// and a push button of its own whose update comes after the toolbar's.
class CTarget : public CControlHost {
 public:
  CTarget() {
    m_button = ::CreateWindowExW(0, L"Button", L"b", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 300, 200, 60, 20, m_hWnd,
                                 reinterpret_cast<HMENU>(206), nullptr, nullptr);
  }
  HWND m_button = nullptr;

 protected:
  void OnUpdateFirst(CCmdUI* ui) {
    g_calls.push_back(L"201");
    ui->Enable(FALSE);
  }
  void OnUpdateSecond(CCmdUI* ui) {
    g_calls.push_back(L"202");
    ui->Enable(TRUE);
    ui->SetCheck(1);
  }
  void OnThird() {}
  void OnUpdateButton(CCmdUI* ui) {
    g_calls.push_back(L"206");
    ui->Enable(TRUE);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTarget, CControlHost)
  ON_UPDATE_COMMAND_UI(201, OnUpdateFirst)
  ON_UPDATE_COMMAND_UI(202, OnUpdateSecond)
  ON_COMMAND(203, OnThird)
  ON_UPDATE_COMMAND_UI(206, OnUpdateButton)
END_MESSAGE_MAP()

// A toolbar with an update handler of its own: it answers for every button.
class CSelfUpdatingBar : public CToolBarCtrlEx {
 protected:
  void OnOwnUpdate(CCmdUI* ui) {
    if (ui->m_pOther) return;  // a dialog-control pass over the target's children
    g_calls.push_back(L"own " + std::to_wstring(ui->m_nID));
    ui->Enable(TRUE);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSelfUpdatingBar, CToolBarCtrlEx)
  ON_UPDATE_COMMAND_UI_REFLECT(OnOwnUpdate)
END_MESSAGE_MAP()

constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_TOP | CCS_NODIVIDER;

void AddTestButtons(CToolBarCtrl& bar) {
  // 204 has no handler at all; the button starts enabled to see it go.
  TBBUTTON buttons[] = {Button(201, BTNS_BUTTON, TBSTATE_ENABLED), Button(0, BTNS_SEP), Button(202, BTNS_CHECK),
                        Button(203), Button(204, BTNS_BUTTON, TBSTATE_ENABLED)};
  ASSERT_TRUE(bar.AddButtons(5, buttons));
}

TEST(ToolBarCtrlExTest, ButtonsFollowTheTargetsHandlersThenItsDialogControls) {
  CTarget target;
  CToolBarCtrlEx bar;
  ASSERT_TRUE(bar.Create(kStyle, CRect(0, 0, 400, 30), &target, 300));
  EXPECT_TRUE(bar.GetExtendedStyle() & TBSTYLE_EX_DRAWDDARROWS);
  AddTestButtons(bar);
  g_calls.clear();
  // No target given: the parent is asked.
  bar.OnUpdateCmdUI(nullptr, TRUE);
  EXPECT_EQ(g_calls, (std::vector<std::wstring>{L"201", L"202", L"206"}));
  EXPECT_EQ(bar.GetButtonState(201) & TBSTATE_ENABLED, 0);
  EXPECT_EQ(bar.GetButtonState(202), TBSTATE_ENABLED | TBSTATE_CHECKED);
  EXPECT_EQ(bar.GetButtonState(203), TBSTATE_ENABLED);  // a command handler is enough
  EXPECT_EQ(bar.GetButtonState(204) & TBSTATE_ENABLED, 0);
  EXPECT_TRUE(::IsWindowEnabled(target.m_button));

  // Without the disable rule the unhandled buttons keep their state.
  bar.SetButtonState(204, TBSTATE_ENABLED);
  bar.OnUpdateCmdUI(&target, FALSE);
  EXPECT_EQ(bar.GetButtonState(204), TBSTATE_ENABLED);

  // Geometry and states by id; unknown ids answer -1.
  CRect known = bar.GetButtonRect(203);
  CRect direct;
  ASSERT_TRUE(::SendMessageW(bar, TB_GETRECT, 203, reinterpret_cast<LPARAM>(&direct)));
  EXPECT_TRUE(::EqualRect(&known, &direct));
  const CRect unknown = bar.GetButtonRect(999);
  const RECT none = {-1, -1, -1, -1};
  EXPECT_TRUE(::EqualRect(&unknown, &none));
  EXPECT_EQ(bar.GetButtonState(999), -1);
  EXPECT_FALSE(bar.SetButtonState(999, TBSTATE_ENABLED));
}

TEST(ToolBarCtrlExTest, TheToolbarsOwnUpdateIsAskedFirstAndDecides) {
  CTarget target;
  CSelfUpdatingBar bar;
  ASSERT_TRUE(bar.Create(kStyle, CRect(0, 0, 400, 30), &target, 300));
  AddTestButtons(bar);
  g_calls.clear();
  bar.OnUpdateCmdUI(&target, TRUE);
  // The target's handlers of the buttons never ran; its own button's did.
  EXPECT_EQ(g_calls, (std::vector<std::wstring>{L"own 201", L"own 202", L"own 203", L"own 204", L"206"}));
  EXPECT_EQ(bar.GetButtonState(201), TBSTATE_ENABLED);
  EXPECT_EQ(bar.GetButtonState(204), TBSTATE_ENABLED);
}

// Enable writes only a change: a second pass sets no state.
class CStateCountingBar : public CToolBarCtrlEx {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == TB_SETSTATE) ++m_sets;
    return CToolBarCtrlEx::WindowProc(message, wParam, lParam);
  }
  int m_sets = 0;
};

TEST(ToolBarCtrlExTest, AnUnchangedStateIsNotWrittenAgain) {
  CTarget target;
  CStateCountingBar bar;
  ASSERT_TRUE(bar.Create(kStyle, CRect(0, 0, 400, 30), &target, 300));
  AddTestButtons(bar);
  bar.OnUpdateCmdUI(&target, TRUE);
  EXPECT_GT(bar.m_sets, 0);
  bar.m_sets = 0;
  bar.OnUpdateCmdUI(&target, TRUE);
  EXPECT_EQ(bar.m_sets, 0);
}

// Asks the toolbar's parent for a tip the way the control does.
std::wstring AskTip(CWnd& parent, CToolBarCtrl& bar, int id, int bufferChars, wchar_t* buffer) {
  return qlrtest::AskToolbarTip(parent, bar.m_hWnd, static_cast<UINT_PTR>(bar.GetDlgCtrlID()), id, buffer,
                                bufferChars);
}

class ToolBarTipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_bar.Create(kStyle, CRect(0, 0, 400, 30), &m_host, 300));
    TBBUTTON buttons[] = {Button(100), Button(101), Button(103), Button(104)};
    ASSERT_TRUE(m_bar.AddButtons(4, buttons));
  }
  void TearDown() override { SetCurrentLanguage(L""); }
  std::wstring Tip(int id, int chars = 512) {
    m_buffer.assign(2100, L'X');
    return AskTip(m_host, m_bar, id, chars, &m_buffer[0]);
  }

  CControlHost m_host;
  CToolBarCtrlEx m_bar;
  std::wstring m_buffer;
};

TEST_F(ToolBarTipTest, TheLongPromptOrTheWholeTextCutToTheBuffer) {
  EXPECT_EQ(Tip(100), L"Erase the phrase");
  EXPECT_EQ(Tip(101), L"A prompt without a short form");
  EXPECT_EQ(Tip(103), L"Save & close");
  EXPECT_EQ(Tip(999), L"");  // no text: an empty tip
  EXPECT_EQ(Tip(100, 6), L"Erase");
  EXPECT_EQ(Tip(100, 1), L"");
  // A buffer of no characters is not touched.
  Tip(100, 0);
  EXPECT_EQ(m_buffer[0], L'X');
}

TEST_F(ToolBarTipTest, LanguageFileTextsOfAnyShape) {
  qlrtest::TempDir dir;
  const std::wstring lng = dir.File(L"Test.lng");
  const std::wstring longText(2000, L'w');
  ASSERT_TRUE(qlrtest::WriteUtf16File(lng, L"[Main]\r\nLangPrefix=Te\r\n[Strings_Editor]\r\n100=Zeile eins\\nZeile\r\n"
                                           L"101=\\nnur kurz\r\n104=" + longText + L"\r\n"));
  ASSERT_TRUE(SetLngStringFile(lng, L"_Editor"));
  EXPECT_EQ(Tip(100), L"Zeile eins");
  EXPECT_EQ(Tip(101), L"");
  const std::wstring cut = Tip(104, 80);
  EXPECT_EQ(cut, std::wstring(79, L'w'));
  const std::wstring whole = Tip(104, 2100);
  EXPECT_EQ(whole.find_first_not_of(L'w'), std::wstring::npos);
  EXPECT_GE(whole.size(), 700u);
}

}  // namespace
