#include "editor/toolbars/pane_toolbar_ctrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/toolbars/toolbar_names.h"
#include "platform/mfc/tests/control_host.h"

using namespace toolbars;

namespace {

constexpr UINT kQueryMessage = WM_APP + 77;

// The pane: answers the click question and records it and the commands.
class CPaneHost : public CControlHost {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kQueryMessage) {
      m_queries.push_back({static_cast<int>(wParam), static_cast<int>(lParam)});
      return m_answer;
    }
    if (message == WM_COMMAND && lParam) m_commands.push_back(LOWORD(wParam));
    return CControlHost::WindowProc(message, wParam, lParam);
  }
  struct Query {
    int index;
    int id;
    bool operator==(const Query& o) const { return index == o.index && id == o.id; }
  };
  std::vector<Query> m_queries;
  std::vector<UINT> m_commands;
  LRESULT m_answer = 0;
};

class CCountingPaneBar : public CPaneToolBarCtrl {
 public:
  explicit CCountingPaneBar(UINT query) : CPaneToolBarCtrl(query) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == TB_SETBUTTONINFOW) ++m_textSets;
    if (message == TB_CHECKBUTTON) ++m_checks;
    return CPaneToolBarCtrl::WindowProc(message, wParam, lParam);
  }
  int m_textSets = 0;
  int m_checks = 0;
};

// The pane's style, kept from aligning itself to the test window.
constexpr DWORD kPaneStyle = 0x50000911 | CCS_NORESIZE | CCS_NOPARENTALIGN;

void AddPaneButtons(CToolBarCtrl& bar) {
  TBBUTTON buttons[3] = {};
  const int ids[] = {32772, 32773, static_cast<int>(kIdHideUnchecked)};
  const BYTE styles[] = {BTNS_DROPDOWN, BTNS_DROPDOWN, BTNS_CHECK};
  for (int i = 0; i < 3; ++i) {
    buttons[i].idCommand = ids[i];
    buttons[i].fsStyle = styles[i];
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].iString = -1;
  }
  ASSERT_TRUE(bar.AddButtons(3, buttons));
}

LPARAM Centre(CToolBarCtrl& bar, int index) {
  CRect r;
  bar.GetItemRect(index, &r);
  return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

TEST(PaneToolBarCtrlTest, TheParentMaySwallowAClickOnAButton) {
  CPaneHost host;
  CPaneToolBarCtrl bar(kQueryMessage);
  ASSERT_TRUE(bar.Create(kPaneStyle, CRect(0, 0, 300, 30), &host, 1030));
  AddPaneButtons(bar);

  host.m_answer = 1;
  ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, Centre(bar, 2));
  ::SendMessageW(bar, WM_LBUTTONUP, 0, Centre(bar, 2));
  EXPECT_EQ(host.m_queries, (std::vector<CPaneHost::Query>{{2, static_cast<int>(kIdHideUnchecked)}}));
  EXPECT_NE(::GetCapture(), bar.m_hWnd);
  EXPECT_TRUE(host.m_commands.empty());
  EXPECT_EQ(bar.GetButtonState(kIdHideUnchecked) & TBSTATE_CHECKED, 0);

  // Any other answer: the control handles the press as usual.
  host.m_answer = 0;
  ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, Centre(bar, 2));
  ::SendMessageW(bar, WM_LBUTTONUP, 0, Centre(bar, 2));
  EXPECT_EQ(host.m_queries.size(), 2u);
  EXPECT_EQ(host.m_commands, (std::vector<UINT>{kIdHideUnchecked}));
  EXPECT_TRUE(bar.GetButtonState(kIdHideUnchecked) & TBSTATE_CHECKED);

  // Off the buttons nobody is asked.
  ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(295, 5));
  ::SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(295, 5));
  EXPECT_EQ(host.m_queries.size(), 2u);
}

TEST(PaneToolBarCtrlTest, WithoutAQueryMessageClicksAreTheControls) {
  CPaneHost host;
  host.m_answer = 1;
  CPaneToolBarCtrl bar;
  ASSERT_TRUE(bar.Create(kPaneStyle, CRect(0, 0, 300, 30), &host, 1030));
  AddPaneButtons(bar);
  ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, Centre(bar, 2));
  ::SendMessageW(bar, WM_LBUTTONUP, 0, Centre(bar, 2));
  EXPECT_TRUE(host.m_queries.empty());
  EXPECT_EQ(host.m_commands, (std::vector<UINT>{kIdHideUnchecked}));
}

TEST(PaneToolBarCtrlTest, TheLastButtonTakesTheRoomLeftUpTo160) {
  CPaneHost host;
  CPaneToolBarCtrl bar(kQueryMessage);
  ASSERT_TRUE(bar.Create(kPaneStyle, CRect(0, 0, 300, 30), &host, 1030));
  AddPaneButtons(bar);
  auto lastWidth = [&] {
    TBBUTTONINFOW info = {sizeof(info)};
    info.dwMask = TBIF_SIZE | TBIF_BYINDEX;
    ::SendMessageW(bar, TB_GETBUTTONINFOW, 2, reinterpret_cast<LPARAM>(&info));
    return static_cast<int>(info.cx);
  };
  bar.MoveWindow(0, 0, 600, 30);
  EXPECT_EQ(lastWidth(), 160);
  bar.MoveWindow(0, 0, 150, 30);
  EXPECT_EQ(lastWidth(), 150 - 2 * 32);
  // No room beyond the buttons' own: the width stays.
  bar.MoveWindow(0, 0, 90, 30);
  EXPECT_EQ(lastWidth(), 150 - 2 * 32);
}

TEST(PaneToolBarCtrlTest, FilterButtonTextAndCheckAreWrittenOnlyWhenTheyDiffer) {
  CPaneHost host;
  CCountingPaneBar bar(kQueryMessage);
  ASSERT_TRUE(bar.Create(kPaneStyle, CRect(0, 0, 400, 30), &host, 1030));
  AddPaneButtons(bar);
  auto text = [&] {
    wchar_t buffer[64] = L"";
    TBBUTTONINFOW info = {};
    info.dwMask = TBIF_TEXT;
    info.pszText = buffer;
    info.cchText = 64;
    bar.GetButtonInfo(static_cast<int>(kIdHideUnchecked), &info);
    return std::wstring(buffer);
  };
  bar.SetFilterButton(L"All Phrases", TRUE);
  EXPECT_EQ(text(), L"All Phrases");
  EXPECT_TRUE(bar.GetButtonState(kIdHideUnchecked) & TBSTATE_CHECKED);
  EXPECT_EQ(bar.m_textSets, 1);
  EXPECT_EQ(bar.m_checks, 1);
  bar.SetFilterButton(L"All Phrases", TRUE);
  EXPECT_EQ(bar.m_textSets, 1);
  EXPECT_EQ(bar.m_checks, 1);
  bar.SetFilterButton(L"Checked Only", TRUE);
  EXPECT_EQ(text(), L"Checked Only");
  EXPECT_EQ(bar.m_textSets, 2);
  EXPECT_EQ(bar.m_checks, 1);
  bar.SetFilterButton(L"Checked Only", FALSE);
  EXPECT_EQ(bar.m_textSets, 2);
  EXPECT_EQ(bar.m_checks, 2);
  EXPECT_EQ(bar.GetButtonState(kIdHideUnchecked) & TBSTATE_CHECKED, 0);
  bar.SetFilterButton(nullptr, FALSE);
  EXPECT_EQ(text(), L"");
}

}  // namespace
