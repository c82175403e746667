#include "online/news_feed.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/text/date_helpers.h"
#include "online/http_head_info.h"
#include "online/online_test_seams.h"
#include "phrases/macros/macro_dates.h"
#include "tests/support/http_test_server.h"
#include "tests/support/test_support.h"

namespace {

std::string Item(int i, const std::string& more = "") {
  return "<item><title>Title " + std::to_string(i) + "</title><description>Text " + std::to_string(i) +
         "</description><link>http://news/" + std::to_string(i) + "</link><author>A" +
         std::to_string(i) + "</author>" + more + "</item>";
}

std::string Feed(const std::string& items, const char* root = "rss") {
  return std::string("<?xml version=\"1.0\"?><") + root + " version=\"2.0\"><channel><title>News</title>" +
         items + "</channel></" + root + ">";
}

class NewsFeedTest : public ::testing::Test {
 protected:
  bool Read(const std::string& xml, std::vector<CNewsItem>& news, int max = 6) {
    std::wstring path = dir.File(L"feed" + std::to_wstring(++count) + L".xml");
    qlrtest::WriteBytes(path, xml);
    return ReadNewsFeed(news, max, path);
  }
  qlrtest::TempDir dir;
  int count = 0;
};

TEST_F(NewsFeedTest, FirstItemsOfAnRssFeed) {
  std::string ten;
  for (int i = 1; i <= 10; ++i) ten += Item(i) + "<other/>";
  std::vector<CNewsItem> news;
  ASSERT_TRUE(Read(Feed(ten), news));
  ASSERT_EQ(news.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(news[i].title, L"Title " + std::to_wstring(i + 1));
    EXPECT_EQ(news[i].description, L"Text " + std::to_wstring(i + 1));
    EXPECT_EQ(news[i].link, L"http://news/" + std::to_wstring(i + 1));
    EXPECT_EQ(news[i].author, L"A" + std::to_wstring(i + 1));
  }
  std::vector<CNewsItem> none;
  EXPECT_TRUE(Read(Feed(ten), none, 0));
  EXPECT_TRUE(none.empty());

  std::vector<CNewsItem> sparse;
  ASSERT_TRUE(Read(Feed("<item><title>Only a title</title></item><item/>"), sparse));
  ASSERT_EQ(sparse.size(), 2u);
  EXPECT_EQ(sparse[0].title, L"Only a title");
  EXPECT_TRUE(sparse[0].link.empty());
  EXPECT_TRUE(sparse[0].pubDate.empty());
  EXPECT_TRUE(sparse[1].title.empty());

  // Ten thousand items are cheap to skip.
  std::string many;
  for (int i = 0; i < 10000; ++i) many += "<item><title>t</title></item>";
  std::vector<CNewsItem> six;
  EXPECT_TRUE(Read(Feed(many), six));
  EXPECT_EQ(six.size(), 6u);
}

TEST_F(NewsFeedTest, FeedsThatAreNoRssGiveNothing) {
  const std::string cases[] = {
      Feed(Item(1), "feed"),
      "<rss><item><title>no channel</title></item></rss>",
      "<rss><channel><title>no items</title></channel></rss>",
      "not xml",
      "",
      std::string(50000, '<'),
  };
  for (const std::string& xml : cases) {
    std::vector<CNewsItem> news;
    EXPECT_FALSE(Read(xml, news)) << xml.substr(0, 40);
    EXPECT_TRUE(news.empty());
  }
  std::vector<CNewsItem> news;
  EXPECT_FALSE(ReadNewsFeed(news, 6, dir.File(L"missing.xml")));
}

TEST_F(NewsFeedTest, DatesThroughWinInetTheOwnReaderOrRaw) {
  // WinINet reads it: shown as WinINet gives it, no zone conversion.
  SYSTEMTIME inet = {};
  ASSERT_TRUE(InternetTimeToSystemTimeText(L"Sat, 05 Dec 2026 10:20:30 GMT", inet));
  // Only the own reader takes a date without a weekday: shown in local time.
  SYSTEMTIME own = {};
  ASSERT_TRUE(ParseRssDate(L"05 Dec 2026 10:20:30", own));
  SYSTEMTIME ownLocal = {};
  ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &own, &ownLocal));
  const struct {
    const char* date;
    std::wstring shown;
  } cases[] = {
      {"Sat, 05 Dec 2026 10:20:30 GMT", FormatDateTimeText(inet)},
      {"05 Dec 2026 10:20:30 GMT", FormatDateTimeText(ownLocal)},
      {"  05 Dec 2026 10:20:30", FormatDateTimeText(ownLocal)},
      {"sometime next week", L"sometime next week"},
      {"99 Foo 2026", L"99 Foo 2026"},
  };
  for (const auto& c : cases) {
    std::vector<CNewsItem> news;
    ASSERT_TRUE(Read(Feed(Item(1, std::string("<pubDate>") + c.date + "</pubDate>")), news)) << c.date;
    ASSERT_EQ(news.size(), 1u);
    EXPECT_EQ(news[0].pubDate, c.shown) << c.date;
  }
}

TEST_F(NewsFeedTest, TheFeedIsFetchedFromTheUpdateSite) {
  qlrtest::HttpTestServer server;
  ASSERT_TRUE(server.Start());
  SetUpdateSiteForTests(server.BaseUrl());
  qlrtest::HttpAnswer feed;
  feed.body = Feed(Item(1) + Item(2));
  server.SetAnswer("/news_en.xml", feed);
  std::vector<CNewsItem> news;
  EXPECT_TRUE(DownloadNewsFeed(news, 6));
  EXPECT_EQ(news.size(), 2u);
  EXPECT_EQ(server.CountRequests("/news_en.xml", "Quillora_Updater"), 1u);
  // A missing feed is no news.
  server.SetAnswer("/news_en.xml", qlrtest::HttpAnswer{404, "<rss/>"});
  std::vector<CNewsItem> missing;
  EXPECT_FALSE(DownloadNewsFeed(missing, 6));
  EXPECT_TRUE(missing.empty());
  SetUpdateSiteForTests(L"");
}

}  // namespace
