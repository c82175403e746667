// Documents come from files and the network: garbled, huge or hostile input
// must load in bounded time and memory and never crash.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "platform/htmlayout/dom.h"
#include "platform/htmlayout/htmlayout.h"
#include "platform/htmlayout/tests/dll/sample_pages.h"
#include "platform/htmlayout/tests/memory_in_use.h"
#include "platform/htmlayout/tree_builder.h"
#include "platform/htmlayout/view.h"

namespace {

class FuzzTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view = CreateWindowExW(0, HTMLayoutClassNameW(), L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(view);
  }
  void TearDown() override { DestroyWindow(view); }

  // Loads, then touches every element through the C interface.
  void LoadAndWalk(const std::string& html) {
    HTMLayoutLoadHtml(view, reinterpret_cast<const BYTE*>(html.data()), static_cast<UINT>(html.size()));
    HELEMENT root = nullptr;
    ASSERT_EQ(HTMLayoutGetRootElement(view, &root), HLDOM_OK);
    HTMLayoutVisitElements(root, nullptr, nullptr, nullptr, [](HELEMENT he, LPVOID) -> BOOL {
      UINT type = 0, state = 0;
      LPCWSTR href = nullptr;
      HTMLayoutControlGetType(he, &type);
      HTMLayoutGetElementState(he, &state);
      HTMLayoutGetAttributeByName(he, "href", &href);
      VALUE v;
      ValueInit(&v);
      HTMLayoutControlGetValue(he, &v);
      ValueClear(&v);
      return FALSE;
    }, nullptr, 0);
    SendMessageW(view, WM_GETTEXTLENGTH, 0, 0);
  }

  size_t Elements() const { return hl::ViewFromWindow(view)->Doc()->NodeCount(); }

  HWND view = nullptr;
};

std::string Repeat(const std::string& piece, size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST_F(FuzzTest, HostileShapesLoadQuicklyAndBounded) {
  std::string thousandAttributes = "<div";
  for (int i = 0; i < 1000; ++i) thousandAttributes += " a" + std::to_string(i) + (i % 3 ? "=v" : "");
  thousandAttributes += ">x</div>";
  std::string tenMegabytes = Repeat("<p class=x>news &amp; <b>text</b> <a href=\"http://h/\">link</a>\n", 10 * 1024 * 1024 / 66);
  const struct {
    const char* name;
    std::string html;
  } cases[] = {
      {"100000 levels", Repeat("<div>", 100000) + "deep" + Repeat("</div>", 100000)},
      {"100000 unclosed levels", Repeat("<span><b>", 50000)},
      {"lone BOM", "\xEF\xBB\xBF"},
      {"invalid UTF-8", Repeat("\xC3\x28\xA0\xA1\xE2\x28\xA1\xF0\x28\x8C\xBC\xFF\xFE<\xC0>", 20000)},
      {"attributes without values", Repeat("<input checked disabled readonly value>", 1000)},
      {"a thousand attributes", thousandAttributes},
      {"unterminated comment", "<p>a<!-- " + Repeat("<b>", 10000)},
      {"unterminated tag", "<p>a<div class=\"" + Repeat("x", 100000)},
      {"unterminated style", "<style>" + Repeat("p{}", 100000)},
      {"many end tags", Repeat("</td></tr></table></div>", 50000)},
      {"10 MB", tenMegabytes},
      {"all tags", Repeat("<", 1000000)},
      {"ampersands", Repeat("&#x", 300000) + Repeat("&", 300000)},
  };
  const size_t memoryBefore = hltest::MemoryInUse();
  for (const auto& c : cases) {
    DWORD start = GetTickCount();
    LoadAndWalk(c.html);
    DWORD took = GetTickCount() - start;
    // Generous: the machine is shared. A quadratic path takes minutes here.
    EXPECT_LT(took, 20000u) << c.name;
    printf("  %-28s %8zu bytes  %5lu ms  %7zu nodes\n", c.name, c.html.size(), took, Elements());
    EXPECT_LE(Elements(), hl::BuildLimits().maxNodes) << c.name;
  }
  LoadAndWalk("<p>done");
  EXPECT_LT(hltest::MemoryInUse(), memoryBefore + (64u << 20)) << "memory kept after the documents went";
}

TEST_F(FuzzTest, RandomAndMutatedDocumentsNeverCrash) {
  std::mt19937 random(20261209);
  const std::string seeds[] = {hlpages::UpdatePage(true, 7), hlpages::WelcomePage(),
                               "<table><tr><td>a<td>b</table><!-- c --><style>x</style>&amp;",
                               // Floats, overlays, attribute selectors and images.
                               "<style>a[href^=h] {color: red} p[title] {float: left; width: 30%} "
                               ".o {position: absolute; top: 3px; right: 4px; width: 20px} "
                               ".i::after {background-image: url(x.bmp)}</style><div class=o>over</div>"
                               "<p title=t class=i><img src=x.bmp width=4>f</p><div style=\"float: right\">r</div>"
                               "<a href=h>l</a>"};
  const size_t seedCount = sizeof(seeds) / sizeof(seeds[0]);
  const char alphabet[] = "<>/=\"' !-&#;abtdrpxyz[]^:{}%.\xC3\xA9\xEF\xBB\xBF\x80\n";
  for (int round = 0; round < 3000; ++round) {
    std::string html;
    if (round % 3 == 0) {
      size_t n = random() % 400;
      for (size_t i = 0; i < n; ++i) html += alphabet[random() % (sizeof(alphabet) - 1)];
    } else {
      html = seeds[random() % seedCount];
      int edits = 1 + static_cast<int>(random() % 20);
      for (int e = 0; e < edits && !html.empty(); ++e) {
        size_t at = random() % html.size();
        switch (random() % 4) {
          case 0: html.erase(at, random() % 40); break;
          case 1: html.insert(at, 1, alphabet[random() % (sizeof(alphabet) - 1)]); break;
          case 2: html[at] = static_cast<char>(random()); break;
          case 3: html.insert(at, html.substr(random() % html.size(), random() % 200)); break;
        }
      }
    }
    LoadAndWalk(html);
    if (HasFatalFailure()) return;
  }
  size_t elements = hl::LiveElementCount();
  LoadAndWalk("");
  EXPECT_LT(hl::LiveElementCount(), elements + 1);
  EXPECT_EQ(Elements(), 1u);  // the root alone
}

}  // namespace
