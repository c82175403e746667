#include "platform/htmlayout/tree_builder.h"

#include <gtest/gtest.h>

#include "platform/htmlayout/htmlayout.h"
#include "platform/htmlayout/tests/outline.h"

namespace {

std::string Built(const std::wstring& html, const hl::BuildLimits& limits = {}) {
  auto doc = hl::BuildDocument(html, limits);
  return Outline(doc->Root());
}

TEST(TreeBuilderTest, MendsNestingAsPagesNeed) {
  const struct {
    const wchar_t* html;
    const char* tree;
  } cases[] = {
      // Implied ends.
      {L"<p>a<p>b<div>c</div>", "html(p(\"a\") p(\"b\") div(\"c\"))"},
      {L"<ul><li>a<li>b<ul><li>c</ul><li>d</ul>", "html(ul(li(\"a\") li(\"b\" ul(li(\"c\"))) li(\"d\")))"},
      {L"<table><tr><td>a<td>b<tr><td>c</table>x", "html(table(tr(td(\"a\") td(\"b\")) tr(td(\"c\"))) \"x\")"},
      {L"<dl><dt>t<dd>d<dt>u</dl>", "html(dl(dt(\"t\") dd(\"d\") dt(\"u\")))"},
      {L"<select><option>a<option>b</select>", "html(select(option(\"a\") option(\"b\")))"},
      {L"<td><p>in cell<td>next", "html(td(p(\"in cell\")) td(\"next\"))"},
      // Stray and doubled end tags change nothing they cannot match.
      {L"<TABLE><TR><TD>h</TD></TD></TABLE>after", "html(table(tr(td(\"h\"))) \"after\")"},
      {L"</b></p>a</div>b", "html(\"ab\")"},
      {L"<table><tr><td><b>x</td>y</table>", "html(table(tr(td(b(\"x\")) \"y\")))"},
      {L"<td><span>a</td></span>b", "html(td(span(\"a\")) \"b\")"},
      {L"<div><span>a</div>b", "html(div(span(\"a\")) \"b\")"},
      {L"<b><i>x</b>y", "html(b(i(\"x\")) \"y\")"},
      // Nested tables close from the inside out.
      {L"<TABLE><TR><TD ID=o><TABLE><TR><TD>i</TD></TD></TABLE></TABLE>z",
       "html(table(tr(td#o(table(tr(td(\"i\")))))) \"z\")"},
      // Void and self-closed elements take no children.
      {L"<br>a<img src=x>b<INPUT value=1></INPUT>c<div/>d", "html(br \"a\" img \"b\" input \"c\" div \"d\")"},
      // The root is the one html element; its attributes join it.
      {L"x<html lang=en><body>y</body></html>z", "html(\"x\" body(\"y\") \"z\")"},
      // Head content stays out of the text.
      {L"<head><title>T</title><style>p{}</style><meta charset=utf-8><BASE TARGET=_blank>"
       L"<script>var a='<b>';</script></head>t",
       "html(head(title style meta base script) \"t\")"},
      {L"<widget type=checkbox><STRONG>S</STRONG></widget>", "html(widget(strong(\"S\")))"},
  };
  for (const auto& c : cases) EXPECT_EQ(Built(c.html), c.tree) << Narrow(c.html);
}

TEST(TreeBuilderTest, HeadDataAndStates) {
  auto doc = hl::BuildDocument(
      L"<html><head><title>A &amp; B</title><style>h1 {color: green;}</style>"
      L"<link rel=\"StyleSheet\" href=\"ext_style.css\"><link rel=icon href=i.ico>"
      L"<base href=\"http://h/x/\"><base href=\"http://other/\"></head>"
      L"<body><input type=checkbox checked><input type=checkbox checked=false>"
      L"<widget disabled checked=true></widget><STYLE>p {}</STYLE></body></html>");
  EXPECT_EQ(doc->title, L"A & B");
  EXPECT_EQ(doc->baseHref, L"http://h/x/");
  ASSERT_EQ(doc->sheets.size(), 3u);
  EXPECT_EQ(doc->sheets[0].text, L"h1 {color: green;}");
  EXPECT_EQ(doc->sheets[1].uri, L"ext_style.css");
  EXPECT_EQ(doc->sheets[2].text, L"p {}");
  const struct {
    size_t index;
    unsigned state;
  } inputs[] = {{0, STATE_CHECKED}, {1, 0}, {2, STATE_CHECKED | STATE_DISABLED}};
  std::vector<hl::Node*> controls;
  hl::WalkTree(doc->Root(), [&](hl::Node* n, size_t) {
    if (n->tag == "input" || n->tag == "widget") controls.push_back(n);
    return true;
  });
  ASSERT_EQ(controls.size(), 3u);
  for (const auto& c : inputs) EXPECT_EQ(controls[c.index]->state, c.state) << c.index;
}

TEST(TreeBuilderTest, LimitsBoundDepthAndSize) {
  hl::BuildLimits limits;
  limits.maxDepth = 4;
  limits.maxNodes = 6;
  // Past the depth limit elements become siblings at the deepest level.
  EXPECT_EQ(Built(L"<b><i><u><s>x</s></u></i></b>", limits), "html(b(i(u(s \"x\"))))");
  auto doc = hl::BuildDocument(L"<p>1<p>2<p>3<p>4", limits);
  EXPECT_TRUE(doc->truncated);
  EXPECT_EQ(doc->NodeCount(), 6u);
  EXPECT_FALSE(hl::BuildDocument(L"<p>1<p>2", limits)->truncated);
}

}  // namespace
