// Reading style sheets into their rule table.
#include <gtest/gtest.h>

#include "htmldraw/style_sheet.h"

namespace {

// The rules as "selector{text}" in selector order.
std::wstring RulesOf(const HtmlStyleSheet& sheet) {
  std::wstring out;
  for (const auto& rule : sheet.Rules()) out += rule.first + L"{" + rule.second + L"}";
  return out;
}

TEST(StyleSheetTest, SheetsReadIntoRules) {
  struct Case {
    const wchar_t* sheet;
    const wchar_t* rules;
  };
  const Case cases[] = {
      {L"", L""},
      {L"   \r\n ", L""},
      {L"H1 {COLOR:RED}", L"h1{COLOR:RED}"},  // selectors are lower-cased, texts kept
      {L"h1{color:red}h2 {color:blue}", L"h1{color:red}h2{color:blue}"},
      {L"h1 {color:red}\r\nh1 {color:blue}", L"h1{color:blue}"},  // the later rule replaces
      {L"h1, h2 {color:red}", L"h1,{color:red}"},  // a list is not split
      {L".Note {x}", L".note{x}"},
      {L"a:hover {}", L"a:hover{}"},
      {L"#id {a}", L"id{a}"},
      {L"h1\r\n{color:red}", L"h1{color:red}"},
      {L"h1 {color:red} h2 {color:", L"h1{color:red}"},  // the unclosed rest is ignored
      {L"h1 color:red", L""},
      {L"h1 {a} {b} h2 {c}", L"b}{c}h1{a}"},  // after the first rule, "b}" is read as a selector
  };
  for (const Case& c : cases) {
    HtmlStyleSheet sheet;
    sheet.SetStyleSheet(c.sheet);
    EXPECT_EQ(RulesOf(sheet), c.rules) << c.sheet;
    EXPECT_EQ(sheet.Text(), c.sheet);
  }
}

TEST(StyleSheetTest, DefaultSheetHasItsSeventeenLinesAndRules) {
  HtmlStyleSheet sheet;
  const std::wstring text = sheet.Text();
  size_t lines = 0;
  for (size_t pos = 0; (pos = text.find(L"\r\n", pos)) != std::wstring::npos; pos += 2) ++lines;
  EXPECT_EQ(lines, 17u);
  EXPECT_EQ(text.substr(text.size() - 2), L"\r\n");
  EXPECT_EQ(text.substr(0, text.find(L"\r\n")), L"body {font-size: 10pt; color:black; font-family:Verdana}");
  EXPECT_EQ(sheet.RuleCount(), 17u);
  struct Rule {
    const wchar_t* selector;
    const wchar_t* text;
  };
  const Rule rules[] = {
      {L"h6", L"font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal"},
      {L"pre", L"font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb"},
      {L"a:link", L"text-decoration:none; color:blue"},
      {L"a:hover", L"text-decoration:underline; color:blue"},
      {L".cpp-comment", L"color:green; font-style:italic"},
      {L"p", L"font-size: 10pt; color:black; font-family:Verdana; font-weight:bold"},
      {L"SMALL", L"font-size:75%"},  // looked up by the lower-cased name
  };
  for (const Rule& r : rules) {
    const std::wstring* found = sheet.FindRule(r.selector);
    ASSERT_NE(found, nullptr) << r.selector;
    EXPECT_EQ(*found, r.text) << r.selector;
  }
  EXPECT_EQ(sheet.FindRule(L"h7"), nullptr);

  sheet.SetStyleSheet(L"b {x}");
  EXPECT_EQ(sheet.RuleCount(), 1u);
  sheet.SetStyleSheet(nullptr);  // null brings the default back
  EXPECT_EQ(sheet.Text(), DefaultStyleSheetText());
  EXPECT_EQ(sheet.RuleCount(), 17u);
}

}  // namespace
