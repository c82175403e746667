// The page as the drawer's markup: what shows and what is hidden, which
// styles reach the text, and what a page can never make the drawer load.
#include <gtest/gtest.h>

#include <string>

#include "htmldraw/style_sheet.h"
#include "platform/htmlayout/render/page_images.h"
#include "platform/htmlayout/render/page_markup.h"
#include "platform/htmlayout/text_decode.h"
#include "platform/htmlayout/tree_builder.h"
#include "tests/support/test_support.h"

namespace {

struct Translated {
  std::unique_ptr<hl::Document> doc;
  hl::PageMarkup page;
};

Translated Translate(const std::string& html, const std::wstring& base = L"") {
  Translated t;
  t.doc = hl::BuildDocument(hl::DecodeUtf8(reinterpret_cast<const unsigned char*>(html.data()), html.size()));
  t.doc->baseUrl = base;
  hl::MarkupOptions options;
  options.imageFolder = hl::ImageFolderOf(base);
  options.width = 400;
  t.page = hl::TranslateDocument(*t.doc, options);
  return t;
}

bool Has(const std::wstring& text, const wchar_t* part) { return text.find(part) != std::wstring::npos; }

TEST(PageMarkupTest, HiddenElementsAndPageTextStayOut) {
  Translated t = Translate(
      "<style>#gone {display: none} .quiet {visibility: hidden} #green {color: green}</style>"
      "<p id=gone>one</p><p class=\"x quiet\">two</p><p hidden=true>three</p><p hidden=false>four</p>"
      "<script>five</script><p id=green style=\"font-weight: bold\">&lt;b&gt;six</p>"
      "<p>&amp;lt;i&amp;gt;seven</p>");
  const std::wstring& m = t.page.markup;
  EXPECT_FALSE(Has(m, L"one"));
  EXPECT_FALSE(Has(m, L"two"));
  EXPECT_FALSE(Has(m, L"three"));
  EXPECT_TRUE(Has(m, L"four"));
  EXPECT_FALSE(Has(m, L"five"));
  // Page text never opens a drawer tag.
  EXPECT_TRUE(Has(m, L"<<b>six"));
  // Its references were resolved once, when the page was read: the drawer
  // gets them as text.
  EXPECT_TRUE(Has(m, L"&lt;i&gt;seven"));
  // The rule and the style attribute reach the text through one class.
  EXPECT_TRUE(Has(t.page.styleSheet, L"color:green;font-weight:bold;"));
  // A run-time style comes last and wins.
  hl::Node* green = nullptr;
  hl::WalkTree(t.doc->Root(), [&](hl::Node* n, size_t) {
    const hl::Attribute* id = n->FindAttribute("id");
    if (id && id->value == L"green") green = n;
    return true;
  });
  ASSERT_NE(green, nullptr);
  green->styles.push_back({"color", L"red"});
  hl::MarkupOptions options;
  const std::wstring sheet = hl::TranslateDocument(*t.doc, options).styleSheet;
  EXPECT_TRUE(Has(sheet, L"font-weight:bold;color:red;"));
  // The overridden colour does not reach the drawer at all.
  EXPECT_TRUE(Has(sheet, L".c1 {font-weight:bold;color:red;}")) << qlrtest::ToUtf8(sheet);
}

// A page whose sheet has thousands of rules matching thousands of elements
// (a feed's description can carry one): each element keeps one value per
// property, elements styled alike share one drawer rule, and the cascade
// still holds.
TEST(PageMarkupTest, HostileSheetsStayBoundedAndKeepTheCascade) {
  std::string sheet = "<style>";
  for (int i = 0; i < 4900; ++i) {
    sheet += i % 2 ? "p {color: #0000" + std::to_string(10 + i % 90) + "; font-family: x" + std::to_string(i) + "}"
                   : ".c {font-weight: bold; text-decoration: underline; junk-" + std::to_string(i) + ": 1}";
  }
  sheet += "p {color: #00AA00} .c {color: #0000FF} #last {display: none}</style>";
  std::string body;
  for (int i = 0; i < 3000; ++i) body += "<p class=c id=e" + std::to_string(i) + ">t" + std::to_string(i) + "</p>";
  Translated t = Translate(sheet + body + "<p id=last>gone</p><p>plain</p>");
  EXPECT_TRUE(Has(t.page.markup, L"t2999"));
  EXPECT_FALSE(Has(t.page.markup, L"gone"));
  // Two styles in all: the class's elements and the plain one.
  EXPECT_LT(t.page.styleSheet.size(), DefaultStyleSheetText().size() + 600u);
  EXPECT_TRUE(Has(t.page.styleSheet, L"color:#0000FF;"));
  EXPECT_TRUE(Has(t.page.styleSheet, L"color:#00AA00;"));
  EXPECT_FALSE(Has(t.page.styleSheet, L"junk-"));

  // Attribute tests are made for every element, alike or not: they are
  // charged too, so past the budget the later elements keep their own
  // styles only (5000 tests each: the budget lasts 400 elements).
  std::string tests = "<style>";
  for (int i = 0; i < 4999; ++i) tests += "p[data-x=v" + std::to_string(i) + "] {font-family: x" + std::to_string(i) + "}";
  tests += "p[data-x] {color: #00AA00}</style>";
  std::string alike;
  for (int i = 0; i < 3000; ++i) alike += "<p data-x=1>a" + std::to_string(i) + "</p>";
  Translated a = Translate(tests + alike);
  const std::wstring& m = a.page.markup;
  ASSERT_TRUE(Has(a.page.styleSheet, L"color:#00AA00;")) << "the first elements are styled";
  ASSERT_TRUE(Has(m, L"a2999"));
  const std::wstring& styles = a.page.styleSheet;
  const size_t green = styles.find(L"color:#00AA00;");
  const size_t dot = styles.rfind(L".c", green);
  ASSERT_NE(dot, std::wstring::npos);
  const std::wstring cls = L"class=" + styles.substr(dot + 1, styles.find(L' ', dot) - dot - 1) + L">";
  size_t styled = 0;
  for (size_t at = m.find(cls); at != std::wstring::npos; at = m.find(cls, at + 1)) ++styled;
  EXPECT_GT(styled, 0u);
  EXPECT_LT(styled, 1000u);
}

// Absolute elements are overlays laid out apart from the page: their markup
// counts against the same cap as the page's.
TEST(PageMarkupTest, OverlaysCountAgainstTheMarkupCap) {
  const std::string text(1000, 'o');
  std::string paragraphs;
  for (int k = 0; k < 40; ++k) paragraphs += "<p>" + text + "</p>";
  std::string html;
  for (int i = 0; i < 12; ++i)
    html += "<div style=\"position: absolute; top: " + std::to_string(i) + "px\">" + paragraphs + "</div>";
  html += "<p>after</p>";
  Translated t = Translate(html);
  size_t total = t.page.markup.size();
  for (const hl::PageOverlay& overlay : t.page.overlays) total += overlay.markup.size();
  ASSERT_FALSE(t.page.overlays.empty());
  // Past the cap by at most the closing of what was open and one text.
  EXPECT_LT(total, hl::MarkupOptions().maxMarkup + 2 * text.size());
  EXPECT_FALSE(Has(t.page.markup, L"after"));
}

TEST(PageMarkupTest, LinksAnchorsAndWidgetsAreMarked) {
  Translated t = Translate(
      "<a name=top></a><a href=\"#top\">up</a><a href=\"http://x.test/\"><b>out</b></a>"
      "<widget type=checkbox id=c>label</widget><input type=number value=3><input type=text value=no>");
  EXPECT_EQ(t.page.links.size(), 2u);
  EXPECT_EQ(t.page.anchors.size(), 1u);
  EXPECT_EQ(t.page.widgets.size(), 2u);
  EXPECT_TRUE(Has(t.page.markup, L"<a msg=\"l1\">"));
  EXPECT_TRUE(Has(t.page.markup, L"<a msg=\"w1\">"));
  hl::MarkKind kind;
  size_t index = 0;
  EXPECT_TRUE(hl::ParseMark(L"n0", kind, index));
  EXPECT_EQ(kind, hl::MarkKind::kAnchor);
  EXPECT_FALSE(hl::ParseMark(L"x1", kind, index));
  EXPECT_FALSE(hl::ParseMark(L"l1a", kind, index));
  EXPECT_FALSE(hl::ParseMark(L"l", kind, index));
}

TEST(PageMarkupTest, NothingThatLoadsModulesOrHandlesIsWritten) {
  Translated t = Translate(
      "<img srcdll=a.dll iddll=1 handle=1234 src=x.png><table background=\"iddll:1\" srcdll=a.dll><tr>"
      "<td handle=5 bgcolor=\"red\" style=\"}\">c</td></tr></table><font face='\"><bmp file=a.bmp>'>f</font>"
      "<a href=\"x\" msg=\"y\">z</a>");
  const std::wstring& m = t.page.markup;
  for (const wchar_t* word : {L"srcdll", L"iddll", L"handle", L"background", L"<bmp", L"<icon", L"<string"})
    EXPECT_FALSE(Has(m, word)) << qlrtest::ToUtf8(word) << " in " << qlrtest::ToUtf8(m);
  EXPECT_TRUE(Has(m, L"bgcolor=#FF0000"));

  // A cell's style rule paints the cell and frames it.
  Translated cell = Translate("<style>#s {background-color: whitesmoke; border-color: darkgray; "
                              "border-style: solid; border-width: 1px}</style><table><tr><td id=s>x</td></tr></table>");
  EXPECT_TRUE(Has(cell.page.markup, L"bgcolor=#F5F5F5 bgeffect=solid bordercolor=#A9A9A9 border=1 borderstyle=solid"))
      << qlrtest::ToUtf8(cell.page.markup);
}

TEST(PageMarkupTest, ImagesOnlyFromTheBaseFolder) {
  qlrtest::TempDir dir;
  const std::wstring base = dir.Path() + L"\\page\\";
  CreateDirectoryW(base.c_str(), nullptr);
  CreateDirectoryW((base + L"img").c_str(), nullptr);
  for (const wchar_t* name : {L"page\\a.bmp", L"page\\img\\b.ico", L"page\\c.png", L"page\\f.gif", L"d.bmp", L"d.png"})
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(name), "BM"));
  const std::wstring folder = hl::ImageFolderOf(base);
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(hl::ImageFolderOf(base + L"index.html"), folder);
  EXPECT_EQ(hl::ImageFolderOf(L"file:///" + base), folder);
  for (const wchar_t* remote : {L"http://127.0.0.1/", L"https://x.test/a/", L"\\\\server\\share\\", L"//server/share/",
                                L"relative\\", L""})
    EXPECT_TRUE(hl::ImageFolderOf(remote).empty()) << remote;

  EXPECT_EQ(hl::LocalImagePath(folder, base, L"a.bmp"), base + L"a.bmp");
  EXPECT_EQ(hl::LocalImagePath(folder, base, L"img/b.ico"), base + L"img\\b.ico");
  EXPECT_EQ(hl::LocalImagePath(folder, base, base + L"a.bmp"), base + L"a.bmp");
  EXPECT_EQ(hl::LocalImagePath(folder, base, L"C.PNG"), base + L"C.PNG");
  struct Case {
    const char* label;
    std::wstring src;
  } refused[] = {
      {"not drawable", L"f.gif"},
      {"png outside", L"../d.png"},
      {"missing", L"e.bmp"},
      {"out by ..", L"../d.bmp"},
      {"out by .. inside", L"img/../../d.bmp"},
      {"absolute outside", dir.File(L"d.bmp")},
      {"remote", L"http://127.0.0.1/a.bmp"},
      {"unc", L"\\\\127.0.0.1\\share\\a.bmp"},
      {"unc slashes", L"//127.0.0.1/share/a.bmp"},
      {"other scheme", L"res://x.dll/a.bmp"},
      {"device", L"\\\\.\\c:\\a.bmp"},
      {"stream", L"a.bmp:alt"},
  };
  for (const Case& c : refused) EXPECT_TRUE(hl::LocalImagePath(folder, base, c.src).empty()) << c.label;
  // Without a local base no image is drawn at all.
  EXPECT_TRUE(hl::LocalImagePath(L"", L"", base + L"a.bmp").empty());

  // Background images of links that do not repeat, drawn once at their end
  // for ::after and a right position, at the size asked; links alike but
  // for their address match apart. One that repeats is tiled behind the text.
  const std::string page =
      "<style>a[href^=\"http://\"]:after {background-image: url(c.png); background-repeat: no-repeat;"
      " padding-right: 14px}"
      " .own {background-image: url(img/b.ico); background-position: right 2px; background-size: 12px 12px;"
      " background-repeat: no-repeat} .far {background-image: url(../d.png)} .tile {background: url(c.png)}</style>"
      "<a href=\"http://x.test/\">web</a> <a href=\"%CMD%\">cmd</a> <a class=own href=\"%CMD%\">own</a> "
      "<a class=far href=\"http://y.test/\">far</a> <a href=\"https://x.test/\">safe</a> <span class=tile>t</span>";
  Translated links = Translate(page, base);
  const std::wstring& m = links.page.markup;
  auto count = [&](const wchar_t* part) {
    size_t n = 0;
    for (size_t at = m.find(part); at != std::wstring::npos; at = m.find(part, at + 1)) ++n;
    return n;
  };
  EXPECT_TRUE(Has(m, (L"web<bmp file=\"" + base + L"c.png\">").c_str())) << qlrtest::ToUtf8(m);
  EXPECT_TRUE(Has(m, (L"own<icon file=\"" + base + L"img\\b.ico\" width=12px height=12px>").c_str()));
  EXPECT_TRUE(Has(m, (L"far<bmp file=\"" + base + L"c.png\">").c_str())) << "the more specific rule wins";
  EXPECT_EQ(count(L"<bmp"), 2u);
  EXPECT_EQ(count(L"<icon"), 1u);
  const std::wstring tiled = L"background-image:\"" + base + L"c.png\";background-repeat:repeat;";
  EXPECT_TRUE(Has(links.page.styleSheet, tiled.c_str())) << qlrtest::ToUtf8(links.page.styleSheet);
}

}  // namespace
