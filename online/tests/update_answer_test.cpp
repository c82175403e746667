#include "online/update_answer.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <random>
#include <string>

#include "online/web_links.h"
#include "tests/support/test_support.h"

namespace {

using Version = std::vector<int>;

int Parse(const std::string& xml, CUpdateInfo& record, bool versionTest = false) {
  TiXmlDocument document;
  document.Parse(xml.c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
  return ParseUpdateInfoXml(document, record, versionTest);
}

std::string Answer(const std::string& version, const std::string& more = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><QuilloraVersionInfo><Version>" + version +
         "</Version>" + more + "</QuilloraVersionInfo>";
}

TEST(UpdateAnswerTest, VersionsSplitCompareAndPrint) {
  const struct {
    const wchar_t* text;
    bool ok;
    Version parts;
  } splits[] = {
      {L"2.60.0.12", true, {2, 60, 0, 12}},
      {L"2..60.", true, {2, 60}},
      {L"3.x.7b", true, {3, 0, 7}},
      {L" 4.-1", true, {4, -1}},
      {L"", true, {}},
      {L"2147483647.1", true, {2147483647, 1}},
      {L"2147483648.1", false, {}},
      {L"1.99999999999999999999", false, {}},
      {L"-2147483649", false, {}},
  };
  for (const auto& c : splits) {
    Version parts = {9};
    EXPECT_EQ(CVersionNumber::Split(c.text, parts), c.ok) << qlrtest::ToUtf8(c.text);
    EXPECT_EQ(parts, c.parts) << qlrtest::ToUtf8(c.text);
  }
  const struct {
    Version offered, own;
    bool newer;
  } compares[] = {
      {{2, 60, 0, 12}, {2, 60, 0, 11}, true},  {{2, 60, 0, 12}, {2, 61, 0, 1}, false},
      {{2, 60, 0, 11}, {2, 60, 0, 11}, false}, {{3}, {2, 99, 99, 99}, true},
      {{2, 60}, {2, 60, 0, 0}, false},         {{2, 60, 0, 1}, {2, 60}, true},
      {{1}, {}, true},                         {{}, {}, false},
  };
  for (const auto& c : compares)
    EXPECT_EQ(IsVersionNewer(c.offered, c.own), c.newer)
        << qlrtest::ToUtf8(CVersionNumber::ToString(c.offered)) << " vs "
        << qlrtest::ToUtf8(CVersionNumber::ToString(c.own));
  EXPECT_EQ(CVersionNumber::ToString({2, 60, 0, -1}), L"2.60.0.-1");
  EXPECT_EQ(CVersionNumber::ToString({}), L"");
}

TEST(UpdateAnswerTest, OfferedVersionAgainstTheRunningOne) {
  const struct {
    std::string xml;
    Version own;
    int result;
    const wchar_t* versionText;
  } cases[] = {
      {Answer("2.60.0.11"), {2, 60, 0, 11}, kAnswerNoNewerVersion, L""},
      {Answer("2.60.0.12"), {2, 60, 0, 11}, kAnswerNewerVersion, L"2.60.0.12"},
      {Answer("2.60.0.12"), {2, 61, 0, 1}, kAnswerNoNewerVersion, L""},
      // Neither "Status" nor "WhatNewsURL" is needed.
      {Answer("9.0.0.0"), {2, 60, 0, 11}, kAnswerNewerVersion, L"9.0.0.0"},
  };
  for (const auto& c : cases) {
    CUpdateInfo record;
    record.ownVersion = c.own;
    record.versionText = L"stale";
    EXPECT_EQ(Parse(c.xml, record), c.result) << c.xml;
    EXPECT_EQ(record.versionText, c.versionText) << c.xml;
    EXPECT_TRUE(record.statusText.empty());
    EXPECT_TRUE(record.whatsNewUrl.empty());
  }
}

TEST(UpdateAnswerTest, AnswerFieldsOffersAndTheTestVersion) {
  std::string xml =
      "<QuilloraVersionInfo><Version>2.70.0.1</Version><Version_Test>2.80.0.1</Version_Test>"
      "<Status>Stable \xC3\xA9t\xC3\xA9</Status><WhatNewsURL>http://news/whats</WhatNewsURL>"
      "<Offers>"
      "<Offer Lang=\"de\" URL=\"http://offer/de\">Angebot</Offer>"
      "<Offer URL=\"http://offer/en\">No language</Offer>"
      "<Offer Lang=\"\" URL=\"http://offer/en2\">Empty language</Offer>"
      "<Offer Lang=\"fr\">No link</Offer>"
      "<Offer Lang=\"ru\" URL=\"\">Empty link</Offer>"
      "<Offer Lang=\"it\" URL=\"http://offer/it\"></Offer>"
      "<Other Lang=\"es\">Not an offer</Other>"
      "</Offers></QuilloraVersionInfo>";
  CUpdateInfo record;
  record.ownVersion = {2, 60, 0, 1};
  EXPECT_EQ(Parse(xml, record), kAnswerNewerVersion);
  EXPECT_EQ(record.versionText, L"2.70.0.1");
  EXPECT_EQ(record.offeredVersion, (Version{2, 70, 0, 1}));
  EXPECT_EQ(record.statusText, L"Stable \u00e9t\u00e9");
  EXPECT_EQ(record.whatsNewUrl, L"http://news/whats");
  using Offer = std::pair<std::wstring, std::wstring>;
  std::map<std::wstring, Offer> expected = {
      {L"DE", {L"http://offer/de", L"Angebot"}},
      {L"EN", {L"http://offer/en2", L"Empty language"}},  // the later one replaces
      {L"FR", {GetHomePageURL(), L"No link"}},
      {L"RU", {GetHomePageURL(), L"Empty link"}},
  };
  EXPECT_EQ(record.offers, expected);  // "it" had no caption
  EXPECT_EQ(record.downloadSize, 0);   // not asked
  EXPECT_EQ(record.downloadSizePortable, 0);

  CUpdateInfo test;
  test.ownVersion = {2, 60, 0, 1};
  EXPECT_EQ(Parse(xml, test, true), kAnswerNewerVersion);
  EXPECT_EQ(test.versionText, L"2.80.0.1");
  CUpdateInfo noTestVersion;
  EXPECT_EQ(Parse(Answer("2.1"), noTestVersion, true), kAnswerInvalid);

  // A thousand offers, one language each.
  std::string many = "<Offers>";
  for (int i = 0; i < 1000; ++i)
    many += "<Offer Lang=\"l" + std::to_string(i) + "\">Caption " + std::to_string(i) + "</Offer>";
  many += "</Offers>";
  CUpdateInfo big;
  EXPECT_EQ(Parse(Answer("1.0", many), big), kAnswerNewerVersion);  // no own version
  EXPECT_EQ(big.offers.size(), 1000u);
  EXPECT_EQ(big.offers[L"L999"].second, L"Caption 999");
}

TEST(UpdateAnswerTest, InvalidAnswersGiveTwo) {
  const std::string cases[] = {
      "",
      "not xml at all",
      "<html><body>404</body></html>",
      "<QuilloraVersionInfo/>",
      "<QuilloraVersionInfo><Status>x</Status></QuilloraVersionInfo>",
      "<QuilloraVersionInfo><version>2.0</version></QuilloraVersionInfo>",
      Answer(""),
      Answer("..."),
      Answer("2.4294967296.0.1"),
      Answer("99999999999"),
      "<Other><QuilloraVersionInfo><Version>2</Version></QuilloraVersionInfo></Other>",
  };
  for (const std::string& xml : cases) {
    CUpdateInfo record;
    record.ownVersion = {1};
    EXPECT_EQ(Parse(xml, record), kAnswerInvalid) << xml;
    EXPECT_TRUE(record.versionText.empty()) << xml;
  }
  CUpdateInfo notRead;
  EXPECT_EQ(LoadUpdateInfoFile(L"Z:\\no\\such\\answer.xml", notRead), kAnswerInvalid);
}

TEST(UpdateAnswerTest, FilesOfAnswersAreBoundedInSizeAndDepth) {
  qlrtest::TempDir dir;
  const struct {
    std::string bytes;
    int result;
  } cases[] = {
      {Answer("3.0.0.0"), kAnswerNewerVersion},
      {"\xEF\xBB\xBF" + Answer("3.0.0.0"), kAnswerNewerVersion},
      {std::string(200000, '<') + "a>", kAnswerInvalid},
      {[] {
         std::string deep;
         for (int i = 0; i < 100000; ++i) deep += "<a>";
         return deep;
       }(),
       kAnswerInvalid},
      // A ">" inside a quoted attribute does not end the tag.
      {[] {
         std::string levels;
         for (int i = 0; i < 300; ++i) levels = "<a x=\"/>\">" + levels + "</a>";
         return Answer("3.0.0.0", levels);
       }(),
       kAnswerInvalid},
      {Answer("3.0.0.0", "<Pad>" + std::string(1024 * 1024, 'x') + "</Pad>"), kAnswerInvalid},
  };
  int i = 0;
  for (const auto& c : cases) {
    std::wstring path = dir.File(L"answer" + std::to_wstring(i++) + L".xml");
    ASSERT_TRUE(qlrtest::WriteBytes(path, c.bytes));
    CUpdateInfo record;
    record.ownVersion = {2, 60, 0, 0};
    EXPECT_EQ(LoadUpdateInfoFile(path, record), c.result) << c.bytes.substr(0, 40);
  }
}

TEST(UpdateAnswerTest, MutatedAnswersNeverCrashTheReader) {
  const std::string base = Answer(
      "2.60.0.12",
      "<Status>ok</Status><DownloadURL>setup.exe</DownloadURL><DownloadURL_PE>portable.zip"
      "</DownloadURL_PE><WhatNewsURL>whats</WhatNewsURL><Offers><Offer Lang=\"de\" URL=\"u\">"
      "Angebot</Offer><Offer>Two</Offer></Offers>");
  std::mt19937 random(20261209);
  const char alphabet[] = "<>/=\"' .&;!?-0123456789QVOx\xC3\xA9\xFF";
  int results[3] = {};
  for (int round = 0; round < 4000; ++round) {
    std::string text = base;
    int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      size_t at = random() % text.size();
      switch (random() % 4) {
        case 0: text[at] = alphabet[random() % (sizeof(alphabet) - 1)]; break;
        case 1: text.erase(at, 1 + random() % 12); break;
        case 2: text.insert(at, text.substr(random() % text.size(), random() % 40)); break;
        default: text.resize(at); break;
      }
    }
    CUpdateInfo record;
    record.ownVersion = {2, 60, 0, 11};
    int result = Parse(text, record);
    ASSERT_TRUE(result >= 0 && result <= 2);
    ++results[result];
    if (result != kAnswerNewerVersion) EXPECT_TRUE(record.versionText.empty());
  }
  // The mutations reached both outcomes, not only broken documents.
  EXPECT_GT(results[kAnswerNewerVersion] + results[kAnswerNoNewerVersion], 100);
  EXPECT_GT(results[kAnswerInvalid], 100);
}

}  // namespace
