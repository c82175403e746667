// Relayed mouse moves over real tool windows: the initial delay, moves
// inside the shown tool, leaving it, the show-again and follow behaviours,
// the notification before the build, window-information pages.
#include <windows.h>

#include <gtest/gtest.h>

#include "htmldraw/tooltip/pp_tooltip.h"
#include "htmldraw/tooltip/tests/tooltip_test_util.h"

using namespace tiptest;

namespace {

class RelayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateQuickTip(tip, host.host));
    tip.AddTool(host.tool, L"<b>Tool</b> text");
  }
  // Hovers at point and waits for the tip.
  bool HoverUntilShown(POINT point) {
    return RelayMoveTo(tip, host.tool, point) && PumpUntil([&] { return tip.GetState() == CPPToolTip::kShown; });
  }

  ToolHost host;
  CPPToolTip tip;
};

TEST_F(RelayTest, HoverShowsAfterTheInitialDelayAndTheSamePointChangesNothing) {
  const ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(RelayMoveTo(tip, host.tool, host.InTool()));
  EXPECT_FALSE(IsShown(tip)) << "the initial delay runs first";
  ASSERT_TRUE(PumpUntil([&] { return IsShown(tip); }));
  EXPECT_GE(GetTickCount64() - start, 30u);
  EXPECT_EQ(tip.GetState(), CPPToolTip::kShown);
  EXPECT_EQ(tip.GetDisplayedTool(), host.tool);
  EXPECT_EQ(tip.GetDisplayedRecord().text, L"<b>Tool</b> text");
  const RECT before = WindowRectOf(tip.GetSafeHwnd());

  // Again the same point: neither hidden nor moved nor shown anew.
  for (int i = 0; i < 3; ++i) {
    MSG msg = MouseMessage(host.tool, WM_MOUSEMOVE, host.InTool());
    tip.RelayMessage(&msg);
    PumpFor(60);
    EXPECT_TRUE(IsShown(tip));
    EXPECT_EQ(tip.GetState(), CPPToolTip::kShown);
    RECT now = WindowRectOf(tip.GetSafeHwnd());
    EXPECT_TRUE(EqualRect(&before, &now));
  }
}

TEST_F(RelayTest, AMoveInsideTheShownToolHidesItUntilTheCursorLeftTheTool) {
  ASSERT_TRUE(HoverUntilShown(host.InTool()));
  ASSERT_TRUE(RelayMoveTo(tip, host.tool, host.InTool(5, 3)));
  EXPECT_FALSE(IsShown(tip)) << "without fading the tip hides at once";
  EXPECT_EQ(tip.GetState(), CPPToolTip::kHidden);

  // More moves inside the same tool bring nothing back.
  for (int i = 1; i <= 4; ++i) ASSERT_TRUE(RelayMoveTo(tip, host.tool, host.InTool(5 + i * 7, 3)));
  PumpFor(300);
  EXPECT_FALSE(IsShown(tip));

  // Off the tool and back: the tip shows again.
  ASSERT_TRUE(RelayMoveTo(tip, host.host, host.BesideTool()));
  EXPECT_EQ(tip.GetDisplayedTool(), nullptr);
  ASSERT_TRUE(HoverUntilShown(host.InTool(-20, -20)));
}

TEST_F(RelayTest, ShowAgainBringsTheSameToolBackAfterTheTipHid) {
  tip.SetBehaviour(kPPShowAgain);
  tip.SetDelayTime(kPPDelayAutopop, 150);
  ASSERT_TRUE(HoverUntilShown(host.InTool()));
  // With this bit a move inside the tool leaves the tip as it is.
  ASSERT_TRUE(RelayMoveTo(tip, host.tool, host.InTool(4, 0)));
  EXPECT_TRUE(IsShown(tip));
  // The autopop hides it and forgets the tool: the next move shows it again.
  ASSERT_TRUE(PumpUntil([&] { return !IsShown(tip); }));
  EXPECT_EQ(tip.GetDisplayedTool(), nullptr);
  ASSERT_TRUE(HoverUntilShown(host.InTool(9, 0)));
}

TEST_F(RelayTest, FollowAndRestartBehavioursKeepTheTipWhileTheCursorMovesInTheTool) {
  tip.SetBehaviour(kPPFollowCursor);
  tip.SetDelayTime(kPPDelayAutopop, 400);
  ASSERT_TRUE(HoverUntilShown(host.InTool()));
  RECT first = WindowRectOf(tip.GetSafeHwnd());
  ASSERT_TRUE(RelayMoveTo(tip, host.tool, host.InTool(7, 5)));
  ASSERT_TRUE(IsShown(tip));
  RECT moved = WindowRectOf(tip.GetSafeHwnd());
  EXPECT_EQ(moved.left - first.left, 7);
  EXPECT_EQ(moved.top - first.top, 5);

  // Moves every 150 ms keep restarting the 400 ms autopop.
  tip.SetBehaviour(kPPRestartOnMove);
  tip.Pop();
  ASSERT_TRUE(RelayMoveTo(tip, host.host, host.BesideTool()));
  ASSERT_TRUE(HoverUntilShown(host.InTool()));
  for (int i = 1; i <= 5; ++i) {
    PumpFor(150);
    ASSERT_TRUE(RelayMoveTo(tip, host.tool, host.InTool(i, 0)));
    EXPECT_TRUE(IsShown(tip)) << i;
  }
  EXPECT_TRUE(PumpUntil([&] { return !IsShown(tip); })) << "the autopop still ends it";
}

TEST_F(RelayTest, TheNotifyWindowChangesTheTextBeforeTheTipIsBuilt) {
  int notifications = 0;
  POINT seenPoint = {};
  HWND seenTool = nullptr;
  host.onMessage = [&](HWND hwnd, UINT message, WPARAM, LPARAM lParam, LRESULT*) {
    if (hwnd != host.host || message != WM_NOTIFY) return false;
    auto* display = reinterpret_cast<PPToolTipDisplay*>(lParam);
    if (display->hdr.code != kPPNotifyDisplay || display->hdr.hwndFrom != tip.GetSafeHwnd()) return false;
    ++notifications;
    seenPoint = *display->pt;
    seenTool = display->hwndTool;
    EXPECT_EQ(display->ti->text, L"<b>Tool</b> text");
    display->ti->text = L"Changed by the owner, <i>quite a bit longer than the tool text</i>";
    return true;
  };
  tip.SetNotify(TRUE);
  ASSERT_TRUE(HoverUntilShown(host.InTool()));
  EXPECT_EQ(notifications, 1);
  EXPECT_EQ(seenTool, host.tool);
  EXPECT_EQ(seenPoint.x, host.InTool().x);
  EXPECT_EQ(seenPoint.y, host.InTool().y);
  EXPECT_EQ(tip.GetDisplayedRecord().text, L"Changed by the owner, <i>quite a bit longer than the tool text</i>");
  // The tip is laid out for the changed text: wider than the short one.
  const RECT changed = WindowRectOf(tip.GetSafeHwnd());
  tip.Pop();
  tip.SetNotify(FALSE);
  ASSERT_TRUE(RelayMoveTo(tip, host.host, host.BesideTool()));
  ASSERT_TRUE(HoverUntilShown(host.InTool(3, 0)));
  const RECT plain = WindowRectOf(tip.GetSafeHwnd());
  EXPECT_EQ(notifications, 1);
  EXPECT_GT(changed.right - changed.left, plain.right - plain.left);
}

TEST_F(RelayTest, EmptyTextsShowNothing) {
  // A relayed hover over a tool without text: the build is asked for (the
  // notification arrives) and nothing shows.
  int notifications = 0;
  host.onMessage = [&](HWND hwnd, UINT message, WPARAM, LPARAM lParam, LRESULT*) {
    if (hwnd != host.host || message != WM_NOTIFY) return false;
    if (reinterpret_cast<NMHDR*>(lParam)->code == kPPNotifyDisplay) ++notifications;
    return true;
  };
  tip.SetNotify(TRUE);
  tip.AddTool(host.tool, L"");
  ASSERT_TRUE(RelayMoveTo(tip, host.tool, host.InTool()));
  ASSERT_TRUE(PumpUntil([&] { return notifications == 1; }));
  EXPECT_FALSE(IsShown(tip));
  EXPECT_EQ(tip.GetState(), CPPToolTip::kHidden);

  tip.ShowTextAt(host.InTool(), L"");
  EXPECT_EQ(notifications, 2);
  EXPECT_FALSE(IsShown(tip));
  EXPECT_EQ(tip.GetState(), CPPToolTip::kHidden);
  // And the next tip is not held up by the empty one.
  tip.ShowTextAt(host.InTool(), L"next");
  EXPECT_TRUE(IsShown(tip));
}

TEST_F(RelayTest, ToolRectanglesPickTheRecordUnderTheCursor) {
  RECT left = {0, 0, 100, ToolHost::kToolHeight}, right = {100, 0, ToolHost::kToolWidth, ToolHost::kToolHeight};
  tip.AddTool(host.tool, L"left", &left, 1);
  tip.AddTool(host.tool, L"right", &right, 2);
  tip.AddTool(host.tool, L"right again", &right, 3);  // replaces the record of an equal rectangle
  const std::vector<PPToolRecord>* tools = tip.GetTools(host.tool);
  ASSERT_NE(tools, nullptr);
  ASSERT_EQ(tools->size(), 3u) << "the whole-window record, left and right";

  // The whole-window record came first and holds no rectangle to hit, so the
  // rectangles decide.
  ASSERT_TRUE(HoverUntilShown(POINT{ToolHost::kLeft + 10 + 20, ToolHost::kTop + 10 + 50}));
  EXPECT_EQ(tip.GetDisplayedRecord().text, L"left");
  ASSERT_TRUE(RelayMoveTo(tip, host.tool, POINT{ToolHost::kLeft + 10 + 150, ToolHost::kTop + 10 + 50}));
  ASSERT_TRUE(PumpUntil([&] { return IsShown(tip) && tip.GetDisplayedRecord().id == 3; }));
  EXPECT_EQ(tip.GetDisplayedRecord().text, L"right again");
}

TEST_F(RelayTest, WindowInformationModeDescribesTheWindowUnderTheCursor) {
  tip.SetWindowInfoMode(TRUE);
  EnableWindow(host.tool, FALSE);  // disabled windows are described too
  ASSERT_TRUE(HoverUntilShown(host.InTool()));
  const std::wstring& page = tip.GetDisplayedRecord().text;
  wchar_t handle[16];
  swprintf(handle, 16, L"0x%08X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(host.tool)));
  for (const std::wstring& part :
       {std::wstring(L"<td width=70 bgcolor=buttonface>Class name</td><td width=130 bgcolor=window>TooltipTestHost"),
        std::wstring(L">Handle</td><td width=130 bgcolor=window>") + handle, std::wstring(L">Control ID</td><td width=130 bgcolor=window>7<"),
        std::wstring(L">Has Tooltip</td><td width=130 bgcolor=window>Yes<"), std::wstring(L">Title</td><td width=130 bgcolor=window>host<"),
        std::wstring(L"<font color=darkblue>Mouse Cursor</font>")})
    EXPECT_NE(page.find(part), std::wstring::npos) << std::string(part.begin(), part.end());
}

}  // namespace
