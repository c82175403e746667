#include "platform/htmlayout/tokenizer.h"

#include <gtest/gtest.h>

#include "platform/htmlayout/tests/outline.h"
#include "platform/htmlayout/text_decode.h"

namespace {

// Tokens as "<tag a=v>", "</tag>", "'text'".
std::string Tokens(const std::wstring& html) {
  hl::Tokenizer tokenizer(html);
  hl::Token token;
  std::string out;
  while (tokenizer.Next(token)) {
    if (!out.empty()) out += " ";
    switch (token.kind) {
      case hl::Token::kStartTag:
        out += "<" + token.name;
        for (const auto& a : token.attributes) out += " " + a.name + "=" + Narrow(a.value);
        out += token.selfClosing ? "/>" : ">";
        break;
      case hl::Token::kEndTag: out += "</" + token.name + ">"; break;
      case hl::Token::kText: out += "'" + Narrow(token.text) + "'"; break;
    }
  }
  return out;
}

TEST(TokenizerTest, ForgivingMarkup) {
  const struct {
    const wchar_t* html;
    const char* tokens;
  } cases[] = {
      {L"<A HREF=\"x.html\" TITLE='t'>Go</A>", "<a href=x.html title=t> 'Go' </a>"},
      {L"<tabLE width=100% bgCOLOR=#FFFFFF  Cellpadding=5>", "<table width=100% bgcolor=#FFFFFF cellpadding=5>"},
      {L"<widget type=\"checkbox\"  checked=true ID=\"A\" TITLE =\"x\">", "<widget type=checkbox checked=true id=A title=x>"},
      {L"<INPUT disabled size=3 Value=\"7\"></INPUT>", "<input disabled= size=3 value=7> </input>"},
      {L"<br/><img src=a.png />", "<br/> <img src=a.png/>"},
      {L"<IMG ALT='' SRC=http://h/a.png>", "<img alt= src=http://h/a.png>"},
      {L"a<!-- <b>hidden</b> -->b", "'a' 'b'"},
      {L"a<!-- never closed <b>x</b>", "'a'"},
      {L"<!DOCTYPE html><?xml x?>t", "'t'"},
      {L"1 < 2 <3 and a<>b", "'1 < 2 <3 and a<>b'"},
      {L"x</ >y</>z", "'x' 'y' 'z'"},
      {L"<b>cut <i class=\"never", "<b> 'cut '"},
      {L"<b>cut <i", "<b> 'cut '"},
      {L"</TD></TD></TABLE>", "</td> </td> </table>"},
      {L"<style>p > b {x: \"</p>\"}</STYLE >after", "<style> 'p > b {x: \"</p>\"}' </style> 'after'"},
      {L"<title>A &amp; B</title>", "<title> 'A & B' </title>"},
      {L"<script>if (a<b && c) x='&amp;';</script>", "<script> 'if (a<b && c) x='&amp;';' </script>"},
      {L"<style>never closed", "<style> 'never closed'"},
      {L"<a title=\"a &quot;b&quot; &amp c\" x=&lt;>", "<a title=a \"b\" & c x=<>"},
  };
  for (const auto& c : cases) EXPECT_EQ(Tokens(c.html), c.tokens) << Narrow(c.html);
}

TEST(TokenizerTest, CharacterReferences) {
  const struct {
    const wchar_t* text;
    const wchar_t* decoded;
  } cases[] = {
      {L"&nbsp;&bull;&nbsp;", L"\xA0\x2022\xA0"},
      {L"&raquo;&raquo; more", L"\xBB\xBB more"},
      {L"&#65;&#x42;&#X43;&#x1F600;", L"ABC\xD83D\xDE00"},
      {L"&#0;&#xD800;&#x110000;&#99999999999;", L"\xFFFD\xFFFD\xFFFD\xFFFD" L"999;"},
      {L"&unknown; & &; &#; &#x;", L"&unknown; & &; &#; &#x;"},
      {L"&amp &lt3 &ampx", L"& &lt3 &ampx"},
      {L"tail &", L"tail &"},
  };
  for (const auto& c : cases) {
    std::wstring out;
    hl::AppendDecodedText(out, c.text, wcslen(c.text));
    EXPECT_EQ(out, c.decoded) << Narrow(c.text);
  }
}

TEST(TokenizerTest, Utf8DecodingIsTolerant) {
  const struct {
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"\xEF\xBB\xBF<p>", L"<p>"},
      {"\xEF\xBB\xBF", L""},
      {"\xEF\xBB", L"\xFFFD\xFFFD"},
      {"caf\xC3\xA9 \xE2\x80\xA2 \xF0\x9F\x98\x80", L"caf\xE9 \x2022 \xD83D\xDE00"},
      {"a\x80" "b\xFF" "c", L"a\xFFFD" L"b\xFFFD" L"c"},
      {"\xC0\xAF\xE0\x80\xAF", L"\xFFFD\xFFFD\xFFFD"},
      {"\xED\xA0\x80", L"\xFFFD"},
      {"\xF4\x90\x80\x80", L"\xFFFD"},
      {"\xE2\x82" "x", L"\xFFFD" L"x"},
      {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hl::DecodeUtf8(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size()), c.text)
        << c.bytes;
  }
}

}  // namespace
