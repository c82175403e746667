// Tips shown at a point: fixed in place, no autopop, gone on a click, key or
// wheel; fading in and out; placement at the screen's edges; links.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "htmldraw/tooltip/pp_tooltip.h"
#include "htmldraw/tooltip/tests/tooltip_test_util.h"

using namespace tiptest;

namespace {

RECT VirtualScreen() {
  int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

class ShowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateQuickTip(tip, host.host));
    tip.AddTool(host.tool, L"tool text");
  }
  ToolHost host;
  CPPToolTip tip;
};

TEST_F(ShowTest, ATipShownAtAPointStaysPutUntilAClickKeyOrWheel) {
  tip.SetDelayTime(kPPDelayAutopop, 100);
  const UINT enders[] = {WM_LBUTTONDOWN, WM_KEYDOWN, WM_MOUSEWHEEL, WM_RBUTTONDOWN, WM_NCLBUTTONDOWN};
  for (UINT ender : enders) {
    SCOPED_TRACE(ender);
    tip.ShowTextAt(host.InTool(), L"Fixed <b>tip</b>");
    ASSERT_TRUE(IsShown(tip)) << "shown at once";
    EXPECT_EQ(tip.GetState(), CPPToolTip::kShown);
    const RECT placed = WindowRectOf(tip.GetSafeHwnd());
    // Moves over the tool, off it and over the tip itself change nothing.
    for (POINT p : {host.InTool(9, 4), host.BesideTool(), POINT{placed.left + 20, placed.top + 20}}) {
      ASSERT_TRUE(RelayMoveTo(tip, host.tool, p));
      RECT now = WindowRectOf(tip.GetSafeHwnd());
      EXPECT_TRUE(IsShown(tip));
      EXPECT_TRUE(EqualRect(&placed, &now));
    }
    // No autopop: well past its delay the tip is still there.
    PumpFor(300);
    EXPECT_TRUE(IsShown(tip));
    // Button-up messages are not among the enders.
    MSG up = MouseMessage(host.tool, WM_LBUTTONUP, host.InTool());
    tip.RelayMessage(&up);
    EXPECT_TRUE(IsShown(tip));

    MSG end = MouseMessage(host.tool, ender, host.InTool());
    if (ender == WM_KEYDOWN) end.wParam = VK_SHIFT;
    tip.RelayMessage(&end);
    EXPECT_FALSE(IsShown(tip));
    EXPECT_EQ(tip.GetState(), CPPToolTip::kHidden);
    // After it went, relayed moves work again.
    ASSERT_TRUE(RelayMoveTo(tip, host.tool, host.InTool(2, 2)));
    ASSERT_TRUE(PumpUntil([&] { return IsShown(tip); }));
    tip.Pop();
  }
}

TEST_F(ShowTest, WithoutFadeStepsTheTipShowsAndHidesAtOnceAndWithThemItFades) {
  tip.ShowTextAt(host.InTool(), L"no fading");
  EXPECT_TRUE(IsShown(tip));
  EXPECT_EQ(tip.GetState(), CPPToolTip::kShown);
  EXPECT_EQ(tip.GetTransparency(), 0);
  tip.HideTip();
  EXPECT_FALSE(IsShown(tip));
  EXPECT_EQ(tip.GetState(), CPPToolTip::kHidden);

  tip.SetDelayTime(kPPDelayFadeIn, 20);
  tip.SetDelayTime(kPPDelayFadeOut, 20);
  tip.ShowTextAt(host.InTool(), L"fading");
  EXPECT_TRUE(IsShown(tip));
  EXPECT_EQ(tip.GetState(), CPPToolTip::kAppearing);
  EXPECT_EQ(tip.GetTransparency(), 100);
  ASSERT_TRUE(PumpUntil([&] { return tip.GetState() == CPPToolTip::kShown; }));
  EXPECT_EQ(tip.GetTransparency(), 0);
  tip.HideTip();
  EXPECT_EQ(tip.GetState(), CPPToolTip::kDisappearing);
  EXPECT_TRUE(IsShown(tip));
  ASSERT_TRUE(PumpUntil([&] { return tip.GetState() == CPPToolTip::kHidden; }));
  EXPECT_FALSE(IsShown(tip));
  EXPECT_EQ(tip.GetTransparency(), 100);

  // A request while the fade-out runs shows the new tip when it ends.
  tip.ShowTextAt(host.InTool(), L"first");
  ASSERT_TRUE(PumpUntil([&] { return tip.GetState() == CPPToolTip::kShown; }));
  tip.HideTip();
  tip.ShowTextAt(host.InTool(), L"second");
  ASSERT_TRUE(PumpUntil([&] { return tip.GetState() == CPPToolTip::kShown; }));
  EXPECT_EQ(tip.GetDisplayedRecord().text, L"second");
}

TEST_F(ShowTest, ATipThatWouldLeaveTheScreenGoesToTheOtherSide) {
  const RECT screen = VirtualScreen();
  tip.SetShadow(0, 0);
  tip.SetDirection(kPPBelow);
  const int anchor = tip.GetSize(kPPAnchorHeight);
  ASSERT_GT(anchor, 0);

  // Near the top there is room below: the anchor sits on the top edge.
  POINT high = {screen.left + 300, screen.top + 40};
  tip.ShowTextAt(high, L"line one<br>line two");
  RECT r = WindowRectOf(tip.GetSafeHwnd());
  EXPECT_EQ(tip.GetActualDirection() & 0x30, kPPBelow);
  EXPECT_EQ(r.top, high.y);
  tip.Pop();

  // Near the bottom it goes above, the anchor on its bottom edge.
  POINT low = {screen.left + 300, screen.bottom - 10};
  tip.ShowTextAt(low, L"line one<br>line two");
  r = WindowRectOf(tip.GetSafeHwnd());
  EXPECT_EQ(tip.GetActualDirection() & 0x30, kPPAbove);
  EXPECT_EQ(r.bottom, low.y);
  EXPECT_LT(r.top, low.y - anchor);
  tip.Pop();

  // At the right edge the window stays on the screen and the anchor moves
  // to the far end.
  POINT corner = {screen.right - 3, screen.bottom - 10};
  tip.ShowTextAt(corner, L"a tip wide enough to need the room at the left of the point");
  r = WindowRectOf(tip.GetSafeHwnd());
  EXPECT_LE(r.right, screen.right);
  EXPECT_GE(r.left, screen.left);
  EXPECT_NE(tip.GetActualDirection() & 3, kPPAnchorNear);
  tip.Pop();

  // With the shadow the window grows by its offsets below and at the right.
  tip.SetShadow(6, 6);
  tip.ShowTextAt(low, L"line one<br>line two");
  r = WindowRectOf(tip.GetSafeHwnd());
  EXPECT_EQ(r.bottom, low.y + 6);
}

TEST_F(ShowTest, AClickOnALinkReachesTheDrawersLinkTarget) {
  std::wstring clicked;
  const UINT kLinkMessage = WM_APP + 5;
  host.onMessage = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
    if (hwnd != host.host || message != kLinkMessage) return false;
    clicked = reinterpret_cast<const wchar_t*>(wParam);
    EXPECT_EQ(lParam, 77);
    return true;
  };
  tip.GetHtmlDrawer().SetLinkMessage(host.host, kLinkMessage, 77);
  tip.ShowTextAt(host.InTool(), L"Open <a msg=\"phrase:12\">the phrase</a> now");
  ASSERT_TRUE(IsShown(tip));
  const auto& links = tip.GetHtmlDrawer().LinkAreas();
  ASSERT_EQ(links.size(), 1u) << "the paint laid the link out";
  const RECT tipRect = WindowRectOf(tip.GetSafeHwnd());
  const RECT& link = links[0].rect;
  POINT onLink = {tipRect.left + (link.left + link.right) / 2, tipRect.top + (link.top + link.bottom) / 2};

  // A click beside the link only hides the tip.
  MSG miss = MouseMessage(tip.GetSafeHwnd(), WM_LBUTTONDOWN, POINT{tipRect.left + link.left - 6, onLink.y});
  tip.RelayMessage(&miss);
  EXPECT_TRUE(clicked.empty());
  EXPECT_FALSE(IsShown(tip));

  tip.ShowTextAt(host.InTool(), L"Open <a msg=\"phrase:12\">the phrase</a> now");
  MSG hit = MouseMessage(tip.GetSafeHwnd(), WM_LBUTTONDOWN, onLink);
  tip.RelayMessage(&hit);
  EXPECT_EQ(clicked, L"phrase:12");
  EXPECT_FALSE(IsShown(tip));
}

TEST_F(ShowTest, AnIconGoesBeforeTheText) {
  HICON icon = LoadIconW(nullptr, IDI_INFORMATION);
  ASSERT_NE(icon, nullptr);
  tip.ShowTextAt(host.InTool(), L"with icon");
  const RECT plain = WindowRectOf(tip.GetSafeHwnd());
  tip.Pop();
  tip.ShowTextAt(host.InTool(), L"with icon", icon);
  const RECT withIcon = WindowRectOf(tip.GetSafeHwnd());
  EXPECT_NE(tip.GetDisplayedRecord().text.find(L"<icon handle=0x"), std::wstring::npos);
  EXPECT_GE(withIcon.right - withIcon.left, plain.right - plain.left + GetSystemMetrics(SM_CXICON));
}

TEST_F(ShowTest, ADeactivatedProgramOrAPopRequestPopsItsTip) {
  tip.ShowTextAt(host.InTool(), L"active");
  ASSERT_TRUE(IsShown(tip));
  SendMessageW(tip.GetSafeHwnd(), WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_TRUE(IsShown(tip));
  SendMessageW(tip.GetSafeHwnd(), WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(IsShown(tip));
  EXPECT_EQ(tip.GetState(), CPPToolTip::kHidden);
  // The owner's pop request, as to a common tooltip, in every state.
  for (int fade : {0, 200}) {
    tip.SetDelayTime(kPPDelayFadeIn, fade);
    tip.ShowTextAt(host.InTool(), L"popped");
    ASSERT_TRUE(PumpUntil([&] { return IsShown(tip); }));
    SendMessageW(tip.GetSafeHwnd(), TTM_POP, 0, 0);
    EXPECT_FALSE(IsShown(tip));
    EXPECT_EQ(tip.GetState(), CPPToolTip::kHidden);
  }
}

}  // namespace
