#include <gtest/gtest.h>

#include "foundation/text/html_escape.h"

namespace {

TEST(HtmlEscapeTest, MarkupCharactersBecomeEntitiesAndTheRestStays) {
  EXPECT_EQ(EscapeHtml(L"Ctrl+<&>"), L"Ctrl+&lt;&amp;&gt;");
  // An entity already written is escaped again: the page shows it as typed.
  EXPECT_EQ(EscapeHtml(L"&amp;"), L"&amp;amp;");
  EXPECT_EQ(EscapeHtml(L"say \"hi\""), L"say &quot;hi&quot;");
  EXPECT_EQ(EscapeHtml(L"say \"hi\"", false), L"say \"hi\"");
  EXPECT_EQ(EscapeHtml(L""), L"");
  EXPECT_EQ(EscapeHtml(L"\x00e9t\x00e9 \x4e2d"), L"\x00e9t\x00e9 \x4e2d");
  std::wstring out = L"<P>";
  AppendEscapedHtml(out, L"a<b", false);
  EXPECT_EQ(out, L"<P>a&lt;b");
}

}  // namespace
