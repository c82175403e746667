// Preparation, lexer, tag table and attribute scanner of the markup.
#include <gtest/gtest.h>

#include <cwchar>

#include "htmldraw/markup_lexer.h"
#include "htmldraw/markup_prepare.h"
#include "htmldraw/markup_tags.h"
#include "htmldraw/tests/markup_test_util.h"

using markuptest::LexedForm;

namespace {

std::wstring Lex(const std::wstring& raw, bool multiLine = true) {
  return LexedForm(PrepareMarkupText(raw, multiLine));
}

TEST(MarkupTagsTest, EveryTagNameFindsItsIdAndStyleNameAndNothingElseDoes) {
  struct Case {
    const wchar_t* name;
    int id;           // 0: not a tag
    const wchar_t* styleName;
  };
  const Case cases[] = {
      {L"b", 1, L"bold"},         {L"i", 2, L"italic"},       {L"em", 2, L"italic"},
      {L"u", 3, L"underline"},    {L"s", 4, L"strikeout"},    {L"strike", 4, L"strikeout"},
      {L"font", 5, L"font"},      {L"hr", 6, L""},            {L"br", 7, L""},
      {L"t", 8, L""},             {L"left", 9, L"left"},      {L"center", 10, L"center"},
      {L"right", 11, L"right"},   {L"justify", 12, L"justify"}, {L"baseline", 13, L"baseline"},
      {L"top", 14, L"top"},       {L"vcenter", 15, L"vcenter"}, {L"middle", 15, L"vcenter"},
      {L"bottom", 16, L"vcenter"}, {L"bmp", 17, L""},         {L"icon", 18, L""},
      {L"ilst", 19, L""},         {L"string", 20, L""},       {L"body", 21, L"body"},
      {L"h1", 21, L"h1"},         {L"h2", 21, L"h2"},         {L"h3", 21, L"h3"},
      {L"h4", 21, L"h4"},         {L"h5", 21, L"h5"},         {L"h6", 21, L"h6"},
      {L"code", 21, L"code"},     {L"pre", 21, L"pre"},       {L"big", 21, L"big"},
      {L"small", 21, L"small"},   {L"sub", 21, L"sub"},       {L"sup", 21, L"sup"},
      {L"span", 22, L"span"},     {L"a", 23, L"link"},
      // not tags: other case, tables, prefixes and extensions of names, empty
      {L"B", 0, L""},             {L"Font", 0, L""},          {L"table", 0, L""},
      {L"td", 0, L""},            {L"p", 0, L""},             {L"h", 0, L""},
      {L"h7", 0, L""},            {L"fonts", 0, L""},         {L"st", 0, L""},
      {L"", 0, L""},              {L"vcenterx", 0, L""},      {L"aa", 0, L""},
  };
  for (const Case& c : cases) {
    const MarkupTag* tag = FindMarkupTag(c.name, wcslen(c.name));
    if (c.id == 0) {
      EXPECT_EQ(tag, nullptr) << c.name;
      continue;
    }
    ASSERT_NE(tag, nullptr) << c.name;
    EXPECT_EQ(tag->id, c.id) << c.name;
    EXPECT_STREQ(tag->styleName, c.styleName) << c.name;
    EXPECT_EQ(tag->IsObject(), c.styleName[0] == L'\0') << c.name;
  }
  // The name is bounded by its length, not by a terminator.
  EXPECT_EQ(FindMarkupTag(L"bold", 1)->id, kTagBold);
}

TEST(MarkupPrepareTest, EntitiesInTableOrderAndLineCharacters) {
  struct Case {
    const wchar_t* raw;
    bool multiLine;
    const wchar_t* prepared;
    bool entities = true;
  };
  const Case cases[] = {
      {L"&amp;lt;", true, L"<<"},  // the ampersand entity first, then less-than
      {L"&lt;b&gt;", true, L"<<b>"},
      {L"&amp;amp;", true, L"&amp;"},  // each entity is replaced once, in one pass
      {L"&iquest;&pound;&euro;&bull;&copy;&para;&reg;&trade;", true,
       L"\x00BF\x00A3\x20AC\x2022\x00A9\x00B6\x00AE\x2122"},
      {L"a&nbsp;b&quot;c", true, L"a b\"c"},
      {L"&AMP; &unknown; & ;", true, L"&AMP; &unknown; & ;"},
      {L"a\r\nb\tc\r", true, L"a<br>b<t>c"},
      {L"a\r\nb\tc\r", false, L"abc"},
      {L"", true, L""},
      // A text whose references its maker resolved (a page's) keeps them.
      {L"&lt;b&gt; &amp;\r\n", true, L"&lt;b&gt; &amp;<br>", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PrepareMarkupText(c.raw, c.multiLine, c.entities), c.prepared) << c.raw;
}

TEST(MarkupLexerTest, RunsTagsAndLiteralLessThan) {
  struct Case {
    const wchar_t* raw;
    const wchar_t* lexed;
  };
  const Case cases[] = {
      {L"&amp;lt;", L"<"},
      {L"&lt;b&gt;", L"<b>"},  // three characters, no tag
      {L"<<", L"<"},
      {L"a<<b", L"a<b"},
      {L"a<", L"a<"},           // a "<" at the end is literal
      {L"<", L"<"},
      {L"a<b", L"ab"},          // an unclosed "<" is dropped
      {L"x<y<z", L"xyz"},
      {L"a<p>b</p>c", L"abc"},  // unknown tags vanish, with their closing forms
      {L"<table border=1><tr><td>x</td></tr></table>", L"x"},
      {L"<B>x</B>", L"x"},      // tag names are case-sensitive
      {L"<b>x</b>", L"[b]x[/b]"},
      {L"<font color=red size=3>x", L"[font color=red size=3]x"},
      {L"<font   face='a b'>", L"[font face='a b']"},
      {L"<br=2>", L"[br =2]"},  // the attribute text keeps the "="
      {L"<br 2>", L"[br 2]"},
      {L"<>x</>", L"x"},
      {L"a\nb", L"a[br]b"},
      {L"a\tb", L"a[t]b"},
      {L"<b x>y", L"[b x]y"},
      {L"<b<i>>z", L">z"},      // the tag text runs to the first ">"
      {L"<<b>>", L"<b>>"},
  };
  for (const Case& c : cases) EXPECT_EQ(Lex(c.raw), c.lexed) << c.raw;
  EXPECT_EQ(Lex(L"a\nb", false), L"ab");
}

TEST(MarkupAttributeScannerTest, NamesAndQuotedOrBareValues) {
  struct Case {
    const wchar_t* attributes;
    const wchar_t* scanned;  // name=value| for each attribute
  };
  const Case cases[] = {
      {L"color=red size=3", L"color=red|size=3|"},
      {L"face=\"Courier New\" color='#00ff00'", L"face=Courier New|color=#00ff00|"},
      {L"  size =  = 5", L"size=5|"},
      {L"=2", L"2=|"},  // a br's count reads as a name without value
      {L"class=a class=b", L"class=a|class=b|"},
      {L"face=\"open", L"face=open|"},
      {L"--- ;; color=x", L"color=x|"},
      {L"Color=Red", L"Color=Red|"},  // taken as written
      {L"href=", L"href=|"},
      {L"", L""},
  };
  for (const Case& c : cases) {
    std::wstring attributes = c.attributes, name, value, scanned;
    MarkupAttributeScanner scan(attributes);
    while (scan.Next(name, value)) scanned += name + L"=" + value + L"|";
    EXPECT_EQ(scanned, c.scanned) << c.attributes;
  }
}

TEST(MarkupAttributeScannerTest, RepeatCountsOfBreaksAndTabsAreBounded) {
  struct Case {
    const wchar_t* attributes;
    int count;
  };
  const Case cases[] = {
      {L"=2", 2}, {L"", 1}, {L"=0", 1}, {L"=", 1}, {L"2", 1},  // "<br 2>": the blank takes the count's place
      {L"=-5", 1}, {L"=x", 1}, {L"=999999999999999999999", kMaxMarkupRepeat}, {L"=100", 100}, {L"=101", 100}, {L"=2000000000", 100},
  };
  for (const Case& c : cases) EXPECT_EQ(MarkupRepeatCount(c.attributes), c.count) << c.attributes;
}

}  // namespace
