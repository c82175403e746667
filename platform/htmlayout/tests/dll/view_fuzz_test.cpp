// Pages come from the network (news descriptions are markup): thousands of
// random and mutated documents loaded and painted in a real view must never
// crash or hang it, and leave memory and GDI objects bounded.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "platform/htmlayout/tests/dll/sample_pages.h"
#include "platform/htmlayout/tests/dll/view_host.h"
#include "platform/htmlayout/tests/memory_in_use.h"

namespace {

const char* const kPieces[] = {
    "<table", "<TABLE BORDER=3 CELLSPACING=2000000000>", "<tr>", "<td colspan=2000000000>", "<td rowspan=-1>",
    "<td width=40000>", "<td width=100%>", "<td height=40000>", "</td>", "</tr>", "</table>", "<a href=\"#x\">",
    "<a href=http://127.0.0.1:1/>", "<a name=x>", "</a>", "<b>", "</b>", "<div style=\"font-size: 400px\">",
    "<div style=\"color: red; display: none\">", "</div>", "<p>", "<br>", "<h1>", "</h1>",
    "<widget type=checkbox checked>", "</widget>", "<input type=number>", "<input type=number minvalue=30 maxvalue=1 value=abc>",
    "<input type=number value=99999999999999>", "<img src=x.bmp width=40000 height=40000>",
    "<img srcdll=x.dll iddll=1>", "<style>#a {color: green} td {background-color: red}", "</style>",
    "<font size=+100 color=#12>", "</font>", "<span id=a class=\"a b\">", "</span>", "text ", "&lt;bmp&gt;",
    "<<", "&amp;", "\t\n", "<ul><li>", "<pre>", "</pre>", "<hr>", "<center>", "<td", "<", ">", "\"", "=",
    // Floats, overlays, attribute selectors and images beside them.
    "<div style=\"float: left; width: 40%\">", "<div style=\"float: right; width: 2000000px; border: 3px solid\">",
    "<div style=\"position: absolute; top: -5px; right: 2000000000px; width: 30px\">",
    "<div style=\"position: fixed; bottom: 0\">", "<style>a[href^=h] {color: red} p[title=t] {float: left} "
    "span[id] {position: absolute; left: 4px} .a::after {background-image: url(x.bmp); background-size: 9px 9px}",
    "<p title=t>", "<img src=\"img/x.ico\">",
};

std::string RandomPage(std::mt19937& rng) {
  std::uniform_int_distribution<size_t> piece(0, sizeof(kPieces) / sizeof(kPieces[0]) - 1);
  std::uniform_int_distribution<int> length(1, 120);
  std::string page;
  for (int n = length(rng); n > 0; --n) page += kPieces[piece(rng)];
  return page;
}

std::string Mutated(std::string page, std::mt19937& rng) {
  std::uniform_int_distribution<int> count(1, 20);
  for (int n = count(rng); n > 0 && !page.empty(); --n) {
    size_t at = std::uniform_int_distribution<size_t>(0, page.size() - 1)(rng);
    switch (rng() % 3) {
      case 0: page[at] = static_cast<char>(rng()); break;
      case 1: page.erase(at, std::uniform_int_distribution<size_t>(1, 40)(rng)); break;
      default: page.insert(at, kPieces[rng() % (sizeof(kPieces) / sizeof(kPieces[0]))]); break;
    }
  }
  return page;
}

// Paints into a memory context, scrolls and clicks about.
void Exercise(hltest::ViewHost& v, std::mt19937& rng) {
  HDC screen = GetDC(v.view);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 64, 64);
  ReleaseDC(v.view, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  SendMessageW(v.view, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  SendMessageW(v.view, WM_VSCROLL, rng() % 2 ? SB_PAGEDOWN : SB_BOTTOM, 0);
  SendMessageW(v.view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  int x = static_cast<int>(rng() % 300), y = static_cast<int>(rng() % 200);
  v.Click(x, y);
}

TEST(ViewFuzzTest, RandomAndMutatedPagesStayBounded) {
  hltest::ViewHost v(300, 200);
  v.handler.handleBehavior = HYPERLINK_CLICK | SINKING;  // nothing goes to the shell
  std::mt19937 rng(20261209);
  const std::string seeds[] = {hlpages::UpdatePage(true, 7), hlpages::WelcomePage()};
  // Warm up, then measure: the first pages build caches of their own.
  for (int i = 0; i < 20; ++i) {
    v.Load(RandomPage(rng));
    Exercise(v, rng);
  }
  const size_t memory = hltest::MemoryInUse();
  ASSERT_GT(memory, 0u);
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  const int rounds = 2000;
  for (int i = 0; i < rounds; ++i) {
    std::string page = i % 3 == 0 ? Mutated(seeds[i % 2], rng) : RandomPage(rng);
    v.Load(page);
    Exercise(v, rng);
    if (i % 500 == 0) std::printf("round %d: %zu KB in use\n", i, hltest::MemoryInUse() / 1024);
  }
  EXPECT_LT(hltest::MemoryInUse(), memory + (64u << 20));
  EXPECT_LT(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi + 50);
  EXPECT_LT(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user + 50);
}

TEST(ViewFuzzTest, HugePagesLoadAndPaint) {
  hltest::ViewHost v(300, 200);
  v.handler.handleBehavior = HYPERLINK_CLICK | SINKING;
  std::mt19937 rng(7);
  std::string links = "<body>";
  for (int i = 0; i < 10000; ++i) links += "<a href=\"http://example.test/" + std::to_string(i) + "\">link</a> ";
  std::string table = "<table border=1>";
  for (int r = 0; r < 300; ++r) {
    table += "<tr>";
    for (int c = 0; c < 300; ++c) table += "<td>x";
  }
  std::string wide = "<table width=40000><tr><td width=40000>wide<td><img width=40000 src=a.bmp></table>"
                     "<div style=\"font-size: 40000px\">big</div>";
  std::string deep;
  for (int i = 0; i < 1000; ++i) deep += "<table><tr><td><b><div>";
  std::string widgets;
  for (int i = 0; i < 300; ++i)
    widgets += "<widget type=checkbox>c</widget><input type=number minvalue=5 maxvalue=1><input type=number value=>";
  for (const std::string& page : {links, table, wide, deep, widgets}) {
    ASSERT_TRUE(v.Load(page));
    Exercise(v, rng);
    EXPECT_GT(SendMessageW(v.view, WM_GETTEXTLENGTH, 0, 0), 0);
  }
}

}  // namespace
