#include "foundation/text/xml_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string Printed(const TiXmlDocument& doc) {
  TiXmlPrinter printer;
  doc.Accept(&printer);
  return printer.Str();
}

// Small seeded changes: bytes from the XML alphabet inserted, dropped,
// replaced or a piece repeated.
std::string Mutated(std::string text, uint32_t& seed) {
  static const char kAlphabet[] = "<>/=\"'!?-[]&;# \r\n\tab_x\xC3\xA9";
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  const int edits = 1 + next() % 4;
  for (int e = 0; e < edits && !text.empty(); ++e) {
    size_t at = next() % text.size();
    switch (next() % 4) {
      case 0: text.insert(at, 1, kAlphabet[next() % (sizeof(kAlphabet) - 1)]); break;
      case 1: text.erase(at, 1 + next() % 3); break;
      case 2: text[at] = kAlphabet[next() % (sizeof(kAlphabet) - 1)]; break;
      default: {
        size_t len = 1 + next() % 12;
        text.insert(at, text.substr(at, len));
      }
    }
  }
  return text;
}

}  // namespace

// The bounded reader builds the very tree TinyXML builds, in both blank
// modes, for well-formed and damaged texts alike.
TEST(XmlReaderTest, ReadsWhatTinyXmlReads) {
  const std::vector<std::string> seeds = {
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><root a=\"1\" b='x&amp;y'><c>text &lt;b&gt;</c>"
      "<d/><!-- note --><e><![CDATA[<raw>]]></e>  tail  </root>",
      "\xEF\xBB\xBF<rss version=\"2.0\"><channel><item><title>T\xC3\xA9</title><link>u</link></item>"
      "</channel></rss>",
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!DOCTYPE x><LRQuery HWND_Active=\"5\">"
      "<AppPath>C:\\a b.exe</AppPath><SelText StateSelText=\"2\">  two  words\r\n</SelText></LRQuery>",
      "<a><b><c><d x=\"/>\">deep</d></c></b></a><after/>",
      "<a>unclosed",
      "<a></b>",
      "<a x=1></a>",
      "<a x=\"1\" x=\"2\"/>",
      "</a><b/>",
      "text only",
  };
  for (bool condense : {true, false}) {
    TiXmlBase::SetCondenseWhiteSpace(condense);
    uint32_t seed = 7;
    for (const std::string& base : seeds) {
      for (int round = 0; round < 400; ++round) {
        const std::string text = round == 0 ? base : Mutated(base, seed);
        TiXmlDocument theirs, ours;
        theirs.Parse(text.c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
        const bool ok = ParseXmlBounded(ours, text.c_str(), TIXML_ENCODING_UNKNOWN);
        if (!theirs.Error()) {
          EXPECT_TRUE(ok) << text;
        }
        if (ok) {
          EXPECT_FALSE(theirs.Error()) << text;
        }
        if (ok || !theirs.Error()) {
          EXPECT_EQ(Printed(ours), Printed(theirs)) << text;
        }
      }
    }
  }
  TiXmlBase::SetCondenseWhiteSpace(true);
}

// Nesting past the bound fails and leaves nothing, however the levels are
// written; the walk does not descend, so a megabyte of them is harmless.
TEST(XmlReaderTest, DepthIsBoundedWithoutRecursion) {
  auto nested = [](const std::string& open, const std::string& close, int levels) {
    std::string text;
    for (int i = 0; i < levels; ++i) text += open;
    for (int i = 0; i < levels; ++i) text += close;
    return text;
  };
  const struct {
    std::string text;
    int maxDepth;
    bool ok;
  } cases[] = {
      {nested("<a>", "</a>", 3), 3, true},
      {nested("<a>", "</a>", 4), 3, false},
      {nested("<a x=\"/>\">", "</a>", 4), 3, false},
      {nested("<a><b/>", "</a>", 3) + "<!-- <c><c><c> -->", 4, true},
      {nested("<a>", "", 1024 * 1024 / 3), kMaxXmlDepth, false},
      {nested("<a x='/>'>", "</a>", 1024 * 1024 / 20), kMaxXmlDepth, false},
  };
  for (const auto& c : cases) {
    TiXmlDocument doc;
    EXPECT_EQ(ParseXmlBounded(doc, c.text.c_str(), TIXML_ENCODING_UTF8, c.maxDepth), c.ok)
        << c.text.substr(0, 60);
    EXPECT_EQ(doc.FirstChild() != nullptr, c.ok) << c.text.substr(0, 60);
  }
}
