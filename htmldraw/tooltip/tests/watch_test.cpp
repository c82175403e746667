// The watch timer: animated tips are redrawn while shown; hidden tips and
// still ones wake no drawing.
#include <windows.h>

#include <gtest/gtest.h>

#include "foundation/system/handles.h"
#include "htmldraw/tooltip/pp_tooltip.h"
#include "htmldraw/tooltip/tests/tooltip_test_util.h"

using namespace tiptest;

namespace {

// Every draw of a tip frames its border.
class CCountingTip : public CPPToolTip {
 public:
  void DrawBorder(HDC dc, HRGN region) override {
    ++draws;
    CPPToolTip::DrawBorder(dc, region);
  }
  int draws = 0;
};

TEST(WatchTest, OnlyAShownAnimatedTipIsRedrawnByTheWatch) {
  ToolHost host;
  CCountingTip tip;
  ASSERT_TRUE(tip.Create(host.host));
  tip.SetDelayTime(kPPDelayWatch, 20);
  // A strip of four 8 x 8 frames, one frame per watch tick.
  UniqueGdiObject strip(CreateBitmap(32, 8, 1, 32, nullptr));
  ASSERT_TRUE(strip);
  wchar_t markup[96];
  swprintf(markup, 96, L"Busy <ilst handle=0x%X cx=8 speed=1>",
           static_cast<unsigned>(reinterpret_cast<UINT_PTR>(strip.Get())));

  tip.ShowTextAt(host.InTool(), markup);
  ASSERT_TRUE(IsShown(tip));
  ASSERT_EQ(tip.GetHtmlDrawer().Animations().size(), 1u);
  const int shownDraws = tip.draws;
  ASSERT_TRUE(PumpUntil([&] { return tip.draws >= shownDraws + 3; })) << "the animation redraws the tip";

  tip.Pop();
  PumpFor(100);
  const int hiddenDraws = tip.draws;
  const int frame = tip.GetHtmlDrawer().Animations()[0].frame;
  PumpFor(300);
  EXPECT_EQ(tip.draws, hiddenDraws) << "a hidden tip is not drawn";
  EXPECT_EQ(tip.GetHtmlDrawer().Animations()[0].frame, frame) << "nor is its drawer woken";

  tip.ShowTextAt(host.InTool(), L"Still text");
  ASSERT_TRUE(IsShown(tip));
  PumpFor(100);
  const int stillDraws = tip.draws;
  PumpFor(300);
  EXPECT_EQ(tip.draws, stillDraws) << "a tip without animation is not redrawn";
}

}  // namespace
