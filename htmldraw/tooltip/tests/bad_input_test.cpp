// Hostile texts, tools that go away and settings out of range.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "htmldraw/tests/markup_fuzz_util.h"
#include "htmldraw/tooltip/pp_tooltip.h"
#include "htmldraw/tooltip/tests/tooltip_test_util.h"

using namespace tiptest;

namespace {

RECT WorkArea(POINT at) {
  MONITORINFO info = {sizeof(info)};
  GetMonitorInfoW(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

// The window (shadow included) is no larger than the work area.
void ExpectBoundedBy(const RECT& window, const RECT& work, const std::string& what) {
  EXPECT_LE(window.right - window.left, work.right - work.left) << what;
  EXPECT_LE(window.bottom - window.top, work.bottom - work.top) << what;
}

class BadInputTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateQuickTip(tip, host.host, 5)); }
  ToolHost host;
  CPPToolTip tip;
};

TEST_F(BadInputTest, HugeAndMalformedTextsShowWithinTheWorkArea) {
  const RECT work = WorkArea(host.InTool());
  std::vector<std::pair<std::string, std::wstring>> texts = {
      {"100,000 letters", std::wstring(100000, L'w')},
      {"100,000 words", [] { std::wstring t; while (t.size() < 100000) t += L"word "; return t; }()},
      {"100,000 line breaks", [] { std::wstring t; while (t.size() < 100000) t += L"x\n"; return t; }()},
      {"unclosed tags", std::wstring(20000, L'<')},
      {"a huge font", L"<font size=99999999>big</font>"},
      {"a huge table", L"<table><tr><td width=99999999 height=99999999>cell</td></tr></table>"},
  };
  std::mt19937 rng(20261209);
  for (int i = 0; i < 60; ++i) texts.push_back({"random " + std::to_string(i), markupfuzz::RandomText(rng, 1 + rng() % 200)});
  for (int i = 0; i < 60; ++i)
    texts.push_back({"mutated " + std::to_string(i),
                     markupfuzz::Mutate(L"<table><tr><td><b>a</b></td><td><a href=x>link</a></td></tr></table>", rng)});

  for (const auto& [what, text] : texts) {
    tip.ShowTextAt(host.InTool(), text);
    if (IsShown(tip)) ExpectBoundedBy(WindowRectOf(tip.GetSafeHwnd()), work, what);
    tip.Pop();
  }
  // The same through a relayed hover.
  for (size_t i = 0; i < 8; ++i) {
    const auto& [what, text] = texts[i];
    tip.AddTool(host.tool, text);
    ASSERT_TRUE(RelayMoveTo(tip, host.host, host.BesideTool()));
    ASSERT_TRUE(RelayMoveTo(tip, host.tool, host.InTool(static_cast<int>(i), 0)));
    EXPECT_TRUE(PumpUntil([&] { return IsShown(tip); })) << what;
    ExpectBoundedBy(WindowRectOf(tip.GetSafeHwnd()), work, what);
    tip.Pop();
  }
}

TEST_F(BadInputTest, AToolDestroyedWhileItsTipWaitsOrShowsIsForgotten) {
  tip.SetDelayTime(kPPDelayInitial, 150);
  tip.AddTool(host.tool, L"doomed tool");
  ASSERT_TRUE(RelayMoveTo(tip, host.tool, host.InTool()));
  DestroyWindow(host.tool);
  PumpFor(400);
  EXPECT_FALSE(IsShown(tip)) << "a pending tip of a dead tool does not show";
  ASSERT_TRUE(RelayMoveTo(tip, host.host, host.InTool(3, 0)));
  EXPECT_EQ(tip.GetTools(host.tool), nullptr) << "the next relay forgets the tool";

  // Shown, then the tool dies: the next relay hides the tip and forgets it.
  HWND second = CreateWindowExW(0, L"TooltipTestHost", L"second", WS_CHILD | WS_VISIBLE, 10, 10,
                                ToolHost::kToolWidth, ToolHost::kToolHeight, host.host, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(second, nullptr);
  tip.SetDelayTime(kPPDelayInitial, 5);
  tip.AddTool(second, L"second tool");
  ASSERT_TRUE(RelayMoveTo(tip, second, host.InTool()));
  ASSERT_TRUE(PumpUntil([&] { return IsShown(tip); }));
  EXPECT_EQ(tip.GetDisplayedTool(), second);
  DestroyWindow(second);
  ASSERT_TRUE(RelayMoveTo(tip, host.host, host.InTool(6, 0)));
  EXPECT_FALSE(IsShown(tip));
  EXPECT_EQ(tip.GetDisplayedTool(), nullptr);
  EXPECT_EQ(tip.GetTools(second), nullptr);
}

TEST_F(BadInputTest, SettingsOutOfRangeAreBounded) {
  tip.SetDefaultSizes(TRUE);
  int before[kPPGeometryCount];
  for (int i = 0; i < kPPGeometryCount; ++i) before[i] = tip.GetSize(i);
  tip.SetSize(9, 55);
  tip.SetSize(1000, 55);
  tip.SetSize(-1, 55);
  for (int i = 0; i < kPPGeometryCount; ++i) EXPECT_EQ(tip.GetSize(i), before[i]) << i;
  EXPECT_EQ(tip.GetSize(9), 0);
  tip.SetSize(kPPMarginX, 20);
  EXPECT_EQ(tip.GetSize(kPPMarginX), 20);

  tip.SetShadow(6, 6, 250);
  EXPECT_EQ(tip.GetShadowDarkness(), 100);
  tip.SetShadow(6, 6, 100);
  EXPECT_EQ(tip.GetShadowDarkness(), 100);
  tip.SetShadow(6, 6, -5);
  EXPECT_EQ(tip.GetShadowDarkness(), 0);
  // A huge shadow, blur and margin still make a bounded tip.
  tip.SetShadow(100000, 100000, 250, TRUE, 100000, 100000);
  tip.SetSize(kPPMarginX, 100000);
  tip.ShowTextAt(host.InTool(), L"shadowed");
  ASSERT_TRUE(IsShown(tip));
  ExpectBoundedBy(WindowRectOf(tip.GetSafeHwnd()), WorkArea(host.InTool()), "huge settings");
}

}  // namespace
