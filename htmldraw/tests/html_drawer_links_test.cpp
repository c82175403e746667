// Links of the text drawer: numbering, hover notifications, the hand cursor,
// click dispatch to the message target and to the shell (through the
// in-process seam, so no browser opens), areas after redraws at other
// places; string resources and their lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/system/shell_open.h"
#include "htmldraw/html_text_drawer.h"
#include "htmldraw/link_open.h"
#include "htmldraw/tests/dib_canvas.h"
#include "htmldraw/tests/drawer_test_util.h"

namespace {

constexpr UINT kHoverMessage = WM_APP + 1;
constexpr UINT kLinkMessage = WM_APP + 2;

// What the owner window heard.
std::vector<int> g_hovers;
std::vector<std::wstring> g_messages;
std::vector<LPARAM> g_params;
std::vector<std::wstring> g_opened;

LRESULT CALLBACK SinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kHoverMessage) {
    g_hovers.push_back(static_cast<int>(wp));
    g_params.push_back(lp);
    return 0;
  }
  if (msg == kLinkMessage) {
    g_messages.push_back(reinterpret_cast<const wchar_t*>(wp));
    g_params.push_back(lp);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

INT_PTR RecordOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*, int) {
  g_opened.push_back(std::wstring(verb ? verb : L"") + L" " + (file ? file : L""));
  return kShellOpenRecordedResult;
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class DrawerLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = SinkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QlrHtmlDrawerLinkSink";
    RegisterClassW(&wc);
    sink = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(sink, nullptr);
    drawer.SetNotify(sink, kHoverMessage, 77);
    drawer.SetLinkMessage(sink, kLinkMessage, 88);
    g_hovers.clear();
    g_messages.clear();
    g_params.clear();
    g_opened.clear();
    SetShellOpenHookForTests(RecordOpen);
  }
  void TearDown() override {
    SetShellOpenHookForTests(nullptr);
    if (sink) DestroyWindow(sink);
  }
  void MeasureAndDraw(const wchar_t* text, int left = 0, int top = 0) {
    SIZE size = drawer.Measure(canvas.Dc(), text);
    RECT r = {left, top, left + size.cx, top + size.cy};
    drawer.Draw(canvas.Dc(), r);
  }
  const HtmlLinkArea* AreaOf(int index) {
    for (const HtmlLinkArea& a : drawer.LinkAreas())
      if (a.index == index) return &a;
    return nullptr;
  }

  HWND sink = nullptr;
  drawtest::Canvas canvas{400, 300};
  CHtmlTextDrawer drawer;
};

TEST_F(DrawerLinksTest, LinksAreNumberedAndHoverIsNotified) {
  MeasureAndDraw(L"<a msg=one>one</a> and <a href=\"http://example.com/two\">two</a>");
  ASSERT_EQ(drawer.LinkAreas().size(), 2u);
  const HtmlLinkArea first = *AreaOf(0), second = *AreaOf(1);
  EXPECT_EQ(first.kind, kLinkMsg);
  EXPECT_EQ(first.target, L"one");
  EXPECT_EQ(second.kind, kLinkHref);
  EXPECT_LT(first.rect.right, second.rect.left);

  EXPECT_TRUE(drawer.OnSetCursor(Centre(first.rect)));
  EXPECT_TRUE(drawer.OnSetCursor(Centre(first.rect)));  // no second notice for the same link
  EXPECT_TRUE(drawer.OnSetCursor(Centre(second.rect)));
  EXPECT_FALSE(drawer.OnSetCursor(POINT{first.rect.right + 2, first.rect.top}));
  EXPECT_FALSE(drawer.OnSetCursor(POINT{390, 290}));
  EXPECT_EQ(g_hovers, (std::vector<int>{0, 1, -2}));
  EXPECT_EQ(g_params, (std::vector<LPARAM>{77, 77, 77}));
  EXPECT_EQ(drawer.HoveredLink(), CHtmlTextDrawer::kNoLink);

  // Edges belong to the area.
  EXPECT_TRUE(drawer.OnSetCursor(POINT{first.rect.left, first.rect.top}));
  EXPECT_TRUE(drawer.OnSetCursor(POINT{first.rect.right, first.rect.bottom}));

  // A null window switches the notification off.
  drawer.SetNotify(nullptr, kHoverMessage, 5);
  g_hovers.clear();
  drawer.OnSetCursor(Centre(second.rect));
  EXPECT_TRUE(g_hovers.empty());
}

TEST_F(DrawerLinksTest, ClicksDispatchByKind) {
  MeasureAndDraw(L"<a msg=one>one</a> <a href=\"http://example.com/two\">two</a> <a>none</a> <a msg=\"\">empty</a>");
  ASSERT_EQ(drawer.LinkAreas().size(), 4u);
  drawer.OnClick(Centre(AreaOf(0)->rect));
  EXPECT_EQ(g_messages, (std::vector<std::wstring>{L"one"}));
  EXPECT_EQ(g_params, (std::vector<LPARAM>{88}));
  EXPECT_TRUE(g_opened.empty());

  // A link that opens loads the hand cursor again, whatever the owner set.
  auto hotspot = [](HCURSOR cursor) {
    ICONINFO info = {};
    if (!cursor || !GetIconInfo(cursor, &info)) return POINT{-1, -1};
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return POINT{static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
  };
  const POINT hand = hotspot(LoadCursorW(nullptr, IDC_HAND));
  drawer.SetHandCursor(CopyCursor(LoadCursorW(nullptr, IDC_CROSS)));
  ASSERT_TRUE(drawer.OnSetCursor(Centre(AreaOf(1)->rect)));
  ASSERT_NE(hotspot(GetCursor()).x, hand.x);
  drawer.OnClick(Centre(AreaOf(1)->rect));
  EXPECT_EQ(g_opened, (std::vector<std::wstring>{L"open http://example.com/two"}));
  ASSERT_TRUE(drawer.OnSetCursor(Centre(AreaOf(1)->rect)));
  EXPECT_EQ(hotspot(GetCursor()).x, hand.x);
  EXPECT_EQ(hotspot(GetCursor()).y, hand.y);

  // A msg link with an empty target: no hand cursor, and a click does nothing.
  for (int index : {2, 3}) {
    EXPECT_FALSE(drawer.OnSetCursor(Centre(AreaOf(index)->rect))) << index;
    drawer.OnClick(Centre(AreaOf(index)->rect));
  }
  EXPECT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_opened.size(), 1u);
  drawer.OnClick(POINT{399, 299});
  EXPECT_EQ(g_opened.size(), 1u);
}

TEST_F(DrawerLinksTest, RedrawsAtMovedRectanglesKeepOnlyTheCurrentAreas) {
  const wchar_t* text = L"<a href=http://a.example/>alpha</a> <a href=http://b.example/>beta</a>";
  SIZE size = drawer.Measure(canvas.Dc(), text);
  const POINT places[] = {{0, 0}, {120, 60}, {30, 200}, {0, 0}};
  POINT previous = {-1, -1};
  for (POINT at : places) {
    RECT r = {at.x, at.y, at.x + size.cx, at.y + size.cy};
    drawer.Draw(canvas.Dc(), r);
    ASSERT_EQ(drawer.LinkAreas().size(), 2u) << "areas of earlier draws are gone";
    const RECT beta = AreaOf(1)->rect;
    EXPECT_GE(beta.left, at.x);
    EXPECT_GE(beta.top, at.y);
    g_opened.clear();
    drawer.OnClick(Centre(beta));
    drawer.OnClick(Centre(AreaOf(0)->rect));
    EXPECT_EQ(g_opened, (std::vector<std::wstring>{L"open http://b.example/", L"open http://a.example/"}));
    if (previous.x >= 0 && (previous.x != at.x || previous.y != at.y)) {
      // Where beta was drawn last time nothing answers now.
      g_opened.clear();
      drawer.OnClick(POINT{beta.left - at.x + previous.x + 1, beta.top - at.y + previous.y + 1});
      EXPECT_TRUE(g_opened.empty());
    }
    previous = at;
  }
  // The hovered link is drawn in the hover style and keeps its number.
  drawer.OnSetCursor(Centre(AreaOf(1)->rect));
  RECT r = {0, 0, size.cx, size.cy};
  drawer.Draw(canvas.Dc(), r);
  EXPECT_EQ(drawer.HoveredLink(), 1);
  EXPECT_EQ(drawer.LinkAreas().size(), 2u);
}

TEST(BrowserCommandLine, TargetIsOneQuotedArgument) {
  struct Case {
    const wchar_t* command;
    const wchar_t* target;
    const wchar_t* expected;
  } cases[] = {
      {L"\"C:\\b\\browser.exe\" \"%1\"", L"http://x/", L"\"C:\\b\\browser.exe\" \"http://x/\""},
      {L"browser.exe %1 -new", L"http://x/", L"browser.exe \"http://x/\""},
      {L"browser.exe", L"http://x/", L"browser.exe \"http://x/\""},
      {L"b.exe \"%1\"", L"http://x/\" & calc \"", L"b.exe \"http://x/ & calc \""},
      {L"b.exe -url \"%1\" %1", L"a b", L"b.exe -url \"a b\""},
  };
  for (const Case& c : cases) EXPECT_EQ(BrowserCommandLine(c.command, c.target), c.expected) << c.command;
}

TEST(DrawerStrings, LinesOfStringResources) {
  struct Case {
    UINT id;
    int line;
    const wchar_t* expected;
  } cases[] = {{700, 0, L"first line"}, {700, 1, L"second line"}, {700, 2, L"third"},
               {700, 3, L""},           {700, -1, L""},            {701, 0, L"Resource text"},
               {701, 1, L""},           {999, 0, L""}};
  for (const Case& c : cases) EXPECT_EQ(CHtmlTextDrawer::LoadStringLine(c.id, c.line), c.expected) << c.id << " " << c.line;

  drawtest::Canvas canvas(300, 100);
  CHtmlTextDrawer drawer;
  SIZE size = drawer.Measure(canvas.Dc(), L"<string idres=701>");
  SIZE ext = drawertest::BodyExtent(canvas.Dc(), L"Resource text");
  EXPECT_EQ(size.cx, ext.cx + 1);
  // Drawn as one run: no wrapping even with a small maximum width.
  drawer.SetMaxWidth(10);
  drawer.Measure(canvas.Dc(), L"<string idres=701>");
  EXPECT_EQ(drawer.Lines().size(), 1u);
  drawer.SetMaxWidth(0);
  for (const wchar_t* missing : {L"<string idres=999>", L"<string>", L"<string idres=0x7fffffff>"}) {
    SIZE none = drawer.Measure(canvas.Dc(), missing);
    EXPECT_EQ(none.cx, 1) << missing;
    EXPECT_EQ(none.cy, 1) << missing;
  }
}

}  // namespace
