#include <gtest/gtest.h>

#include "editor/tree/tests/tree_test_util.h"

using namespace treetest;

namespace {

class TreeInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ShowDisabled(true);
    ASSERT_TRUE(MakeTree(tree, host));
    AddPhrase(store.Commands(), 1, L"first");
    AddPhrase(store.Commands(), 2, L"second", false, 1);
    tree.FillFromStore(store);
  }

  // A point on the item's check box, found by hit tests along its row.
  bool StateIconPoint(HTREEITEM item, POINT* point) {
    RECT row = {};
    if (!tree.GetItemRect(item, &row, FALSE)) return false;
    for (int x = row.left; x < row.right; ++x) {
      UINT flags = 0;
      POINT pt = {x, (row.top + row.bottom) / 2};
      if (tree.HitTest(CPoint(pt), &flags) == item && (flags & TVHT_ONITEMSTATEICON)) {
        *point = pt;
        return true;
      }
    }
    return false;
  }

  RecordingHost host;
  CPhraseTreeCtrl tree;
  CCommandFolder store;
};

TEST_F(TreeInputTest, ClickOnTheCheckBoxNotifiesOnceWithTheNewState) {
  HTREEITEM item = tree.FindItemById(1);
  POINT pt;
  ASSERT_TRUE(StateIconPoint(item, &pt));
  LPARAM at = MAKELPARAM(pt.x, pt.y);
  tree.PostMessage(WM_LBUTTONUP, 0, at);
  tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return !host.checks.empty(); }, 5000));
  qlrtest::PumpUntil([] { return false; }, 100);  // nothing more comes
  ASSERT_EQ(1u, host.checks.size());
  EXPECT_EQ(item, host.checks[0].item);
  EXPECT_EQ(INDEXTOSTATEIMAGEMASK(1), host.checks[0].state & TVIS_STATEIMAGEMASK);
  EXPECT_FALSE(host.checks[0].state & TVIS_BOLD);
  EXPECT_FALSE(tree.GetItemState(item, TVIS_BOLD) & TVIS_BOLD);
}

TEST_F(TreeInputTest, SpaceReleaseNotifiesWithBoldForChecked) {
  HTREEITEM item = tree.FindItemById(2);
  tree.SelectItem(item);
  tree.SendMessage(WM_KEYDOWN, VK_SPACE, 0x00390001);
  tree.SendMessage(WM_CHAR, L' ', 0x00390001);
  tree.SendMessage(WM_KEYUP, VK_SPACE, 0xC0390001);
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return !host.checks.empty(); }, 5000));
  qlrtest::PumpUntil([] { return false; }, 100);
  ASSERT_EQ(1u, host.checks.size());
  EXPECT_EQ(item, host.checks[0].item);
  EXPECT_EQ(INDEXTOSTATEIMAGEMASK(2), host.checks[0].state & TVIS_STATEIMAGEMASK);
  EXPECT_TRUE(host.checks[0].state & TVIS_BOLD);
  EXPECT_TRUE(tree.GetItemState(item, TVIS_BOLD) & TVIS_BOLD);
}

TEST_F(TreeInputTest, SetItemCheckChangesAndNotifiesOnlyOnChange) {
  HTREEITEM item = tree.FindItemById(1);
  EXPECT_EQ(0, tree.SetItemCheck(item, true, true));
  EXPECT_EQ(0, tree.SetItemCheck(nullptr, true, true));
  qlrtest::PumpUntil([] { return false; }, 100);
  EXPECT_TRUE(host.checks.empty());

  EXPECT_EQ(1, tree.SetItemCheck(item, false, false));
  EXPECT_FALSE(tree.GetCheck(item));
  EXPECT_FALSE(tree.GetItemState(item, TVIS_BOLD) & TVIS_BOLD);
  qlrtest::PumpUntil([] { return false; }, 100);
  EXPECT_TRUE(host.checks.empty()) << "asked not to notify";

  EXPECT_EQ(1, tree.SetItemCheck(item, true, true));
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return !host.checks.empty(); }, 5000));
  EXPECT_TRUE(host.checks[0].state & TVIS_BOLD);

  // A check posted for an item that went before it arrived is dropped.
  host.checks.clear();
  tree.SetItemCheck(item, false, true);
  tree.DeleteItem(item);
  qlrtest::PumpUntil([] { return false; }, 100);
  EXPECT_TRUE(host.checks.empty());
}

TEST_F(TreeInputTest, TabGivesTheFocusHintInsteadOfTheControl) {
  std::vector<UINT> hints;
  tree.SetDocUpdateHandler([&](UINT hint) { hints.push_back(hint); });
  tree.SelectItem(tree.FindItemById(1));
  tree.SendMessage(WM_KEYDOWN, VK_TAB, 0x000F0001);
  ASSERT_EQ(1u, hints.size());
  EXPECT_EQ(11u, hints[0]);
  EXPECT_EQ(1u, tree.GetSelectedId());
  tree.SendMessage(WM_KEYDOWN, VK_DOWN, 0x00500001);
  EXPECT_EQ(1u, hints.size()) << "other keys go to the control";
  EXPECT_EQ(2u, tree.GetSelectedId());
  tree.SetDocUpdateHandler(nullptr);
  tree.SendMessage(WM_KEYDOWN, VK_TAB, 0x000F0001);  // no listener: nothing
}

TEST_F(TreeInputTest, ReleaseRightOfALabelSelectsIt) {
  HTREEITEM item = tree.FindItemById(2);
  RECT label = {};
  ASSERT_TRUE(tree.GetItemRect(item, &label, TRUE));
  LPARAM at = MAKELPARAM(label.right + 30, (label.top + label.bottom) / 2);
  tree.SendMessage(WM_LBUTTONUP, 0, at);
  EXPECT_EQ(2u, tree.GetSelectedId());
}

TEST_F(TreeInputTest, ResizeStartsTheRepaintTimerWhichStopsItself) {
  // KillTimer answers whether the tree's timer was running.
  tree.SetWindowPos(nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_TRUE(::KillTimer(tree.m_hWnd, CPhraseTreeCtrl::kTimerResize));
  tree.SetWindowPos(nullptr, 10, 10, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
  EXPECT_FALSE(::KillTimer(tree.m_hWnd, CPhraseTreeCtrl::kTimerResize)) << "a move alone starts nothing";
  tree.SetWindowPos(nullptr, 0, 0, 320, 220, SWP_NOZORDER | SWP_NOMOVE);
  DWORD resized = ::GetTickCount();
  qlrtest::PumpUntil([&] { return ::GetTickCount() - resized > 1500; }, 3000);
  EXPECT_FALSE(::KillTimer(tree.m_hWnd, CPhraseTreeCtrl::kTimerResize)) << "stopped once it fired";
}

TEST(TreeInfoTipTest, HoverAsksTheParentForTheInfoTip) {
  RecordingHost host(true);
  CPhraseTreeCtrl tree;
  ASSERT_TRUE(MakeTree(tree, host));
  CCommandFolder store;
  AddPhrase(store.Commands(), 1, L"hover me");
  AddPhrase(store.Commands(), 2, L"other", true, 1);
  tree.FillFromStore(store);
  HTREEITEM item = tree.FindItemById(1);
  RECT label = {};
  ASSERT_TRUE(tree.GetItemRect(item, &label, TRUE));
  POINT pt = {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
  POINT screen = pt;
  tree.ClientToScreen(&screen);
  ASSERT_TRUE(::SetCursorPos(screen.x, screen.y));
  tree.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return !host.infoTips.empty(); }, 5000));
  EXPECT_EQ(item, host.infoTips[0]);
  qlrtest::PumpUntil([] { return false; }, 1200);
  EXPECT_EQ(1u, host.infoTips.size()) << "one request per hover";
  ::SetCursorPos(0, 0);
}

}  // namespace
