// The update page, piece by piece, as the update dialog loads it.
#include "online/update_page/update_page.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/system/system_info.h"

namespace {

const std::wstring kHost = L"https://www.quillora.example/";
const std::wstring kLinksLine = L"<A HREF=\"" + kHost +
                                L"download/version_history.php\">What`s news in this version</A>|"
                                L"<A HREF=\"#latest_news\">Latest News</A>";
const std::wstring kPortableFaq =
    L"<A HREF=\"" + kHost + L"quillora_faq.shtml#portable\">Also You can use portable version of Quillora</A>";

UpdatePageContext Context() {
  UpdatePageContext c;
  c.autoCheck = true;
  c.days = 7;
  c.lastCheckText = L"01.12.2026, 10:00:00";
  c.buildDateText = L"30.11.2026";
  c.windowColor = RGB(0x12, 0xAB, 0xEF);
  return c;
}

CNewsItem Item(int n) {
  CNewsItem item;
  item.title = L"Title " + std::to_wstring(n);
  item.description = L"<B>Text " + std::to_wstring(n) + L"</B>";
  item.link = L"http://news.example/" + std::to_wstring(n);
  item.pubDate = L"Date " + std::to_wstring(n);
  item.author = L"Author " + std::to_wstring(n);
  return item;
}

size_t Count(const std::wstring& text, const std::wstring& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

bool Has(const std::wstring& text, const std::wstring& what) { return text.find(what) != std::wstring::npos; }

TEST(UpdatePageTest, VersionTextByNumberOfComponents) {
  EXPECT_EQ(FormatVersionText({2, 6, 0, 123}, L""), L"2.60 build 123");
  EXPECT_EQ(FormatVersionText({2, 6, 1, 7}, L"beta"), L"2.61 beta build 7");
  EXPECT_EQ(FormatVersionText({1, 2}, L"beta"), L"1.2");
  EXPECT_EQ(FormatVersionText({1, 2, 3}, L""), L"1.2.3");
  EXPECT_EQ(FormatVersionText({1, 2, 3, 4, 5}, L"x"), L"1.2.3.4.5");
  EXPECT_EQ(FormatVersionText({9}, L""), L"9");
  EXPECT_EQ(FormatVersionText({}, L"beta"), L"Unavailable");
}

TEST(UpdatePageTest, AnchorsAndTagsEscapeWhatTheyAreGiven) {
  EXPECT_EQ(BuildAnchor(L"http://a.example/", L"Text"), L"<A HREF=\"http://a.example/\">Text</A>");
  EXPECT_EQ(BuildAnchor(L"http://a.example/?a=1&b=\"2\"><x", L"", L"say \"hi\" & <go>", L"id1"),
            L"<A HREF=\"http://a.example/?a=1&amp;b=&quot;2&quot;&gt;&lt;x\" TITLE=\"say 'hi' &amp; &lt;go&gt;\" "
            L"ID=\"id1\">http://a.example/?a=1&amp;b=&quot;2&quot;&gt;&lt;x</A>");
  EXPECT_EQ(BuildTagWithId(L"<SPAN>", L"x", L"in"), L"<SPAN ID=\"x\">in</SPAN>");
  EXPECT_EQ(EscapeHtml(L"a<b>&\"c'"), L"a&lt;b&gt;&amp;&quot;c'");
}

TEST(UpdatePageTest, FrameAndBodyOpening) {
  CUpdateInfo record;
  std::wstring page = BuildUpdatePage(record, Context());
  EXPECT_EQ(page.rfind(L"<html><head><style>body {font-face: Trebuchet MS; font-size: 11px; margin: 5px;} ", 0), 0u);
  EXPECT_TRUE(Has(page, L"#settings {BACKGROUND-COLOR:whitesmoke; \tCOLOR:darkblue; \tpadding-left: 5; "));
  EXPECT_TRUE(Has(page, L"width: 90%%; border:1px solid black;"));
  EXPECT_TRUE(Has(page, L"margin-bottom: 7px;}</style><BASE TARGET=_blank><meta http-equiv=\"Content-Type\" "
                        L"content=\"text/html; charset=utf-8\"></head><BODY BGCOLOR=#12ABEF LEFTMARGIN=5 "
                        L"RIGHTMARGIN=5 TOPMARGIN=5 BOTTOMMARGIN=5><tabLE width=100% bgCOLOR=#12ABEF  "
                        L"Cellpadding=5 BORDER=0 HEIGHT=100%><tr><td VALIGN=TOP COLSPAN=4>"));
  EXPECT_EQ(page.size() - page.rfind(L"</table></BODY></html>"), 22u);
}

TEST(UpdatePageTest, NewVersionWithBothDownloadsAndSizes) {
  CUpdateInfo record;
  record.versionText = L"2.70 build 5";
  record.releaseDateText = L"1 December 2026";
  record.downloadUrl = L"http://dl.example/setup.exe";
  record.downloadUrlPortable = L"http://dl.example/portable.zip";
  record.downloadSize = 1048576;
  record.downloadSizePortable = 2048;
  UpdatePageContext context = Context();
  std::wstring body = BuildNewVersionBody(record, context);
  const std::wstring expected =
      L"<IMG SRC=" + kHost + L"images/quillora24.png BORDER=0 ALT='' HSPACE=5 HEIGHT=24 WIDTH=24>"
      L"<STRONG><FONT COLOR=green SIZE=+1>Quillora: Has new version on official web site: <STRONG>2.70 build 5"
      L"</STRONG></FONT></STRONG><BR>This version released: <STRONG>1 December 2026</STRONG><BR><BR>"
      L"&nbsp;&bull;&nbsp;<A HREF=\"http://dl.example/setup.exe\">Download version with installer</A> [" +
      FormatByteSize(1048576) + L"]<BR>&nbsp;&bull;&nbsp;<A HREF=\"http://dl.example/portable.zip\">Download "
      L"portable version</A> [" + FormatByteSize(2048) + L"]<BR>&nbsp;&bull;&nbsp;" + kLinksLine +
      L"<BR>&nbsp;&bull;&nbsp;" + kPortableFaq + L"<BR><BR><SPAN ID=hint>Last Check For Updates: "
      L"01.12.2026, 10:00:00</SPAN><BR><TABLE BORDER=0 WIDTH=100%>";
  EXPECT_TRUE(Has(body, expected)) << body;
  EXPECT_FALSE(Has(body, L"UpdateVersion_Test"));
  EXPECT_FALSE(Has(body, L"You use the latest version"));
  context.updateVersionTest = true;
  EXPECT_TRUE(Has(BuildNewVersionBody(record, context),
                  L"</STRONG><BR><FONT COLOR=red SIZE=+1>Has [UpdateVersion_Test.UpdateVersion_Test]</FONT><BR>"
                  L"<BR>This version released"));
  // The version in the record picks this body.
  EXPECT_TRUE(Has(BuildUpdatePage(record, Context()), expected));
}

TEST(UpdatePageTest, NoUpdateAndAnErrorRecord) {
  CUpdateInfo record;
  record.versionText.clear();
  record.ownVersion = {2, 6, 0, 7};
  record.offeredVersion = {2, 6, 0, 7};
  record.statusText = L"release";
  record.releaseDateText = L"30 November 2026";
  const std::wstring lines =
      L"Your version of Quillora: <STRONG>2.60 build 7</STRONG> (30.11.2026)<BR><BR>Quillora version on Web "
      L"Site: <STRONG>2.60 release build 7</STRONG><BR>This version released: <STRONG>30 November 2026"
      L"</STRONG><BR>" + kLinksLine;
  EXPECT_EQ(BuildVersionLines(record, L"<BR>", Context()), lines);
  std::wstring page = BuildUpdatePage(record, Context());
  EXPECT_TRUE(Has(page, L"COLSPAN=4><STRONG><FONT SIZE=+1>You use the latest version of Quillora</FONT></STRONG>"
                        L"<BR><BR>" + lines + L"<BR>" + kPortableFaq + L"<BR><BR><SPAN ID=hint>"));

  // A failed check shows its error, escaped, instead of the claim.
  CUpdateInfo failed;
  failed.ownVersion = {2, 6, 0, 7};
  failed.errorText = L"ERROR: Cannot <load> information";
  page = BuildUpdatePage(failed, Context());
  EXPECT_FALSE(Has(page, L"You use the latest version"));
  EXPECT_TRUE(Has(page, L"<STRONG><FONT SIZE=+1>ERROR: Cannot &lt;load&gt; information</FONT></STRONG><BR><BR>"));
  EXPECT_TRUE(Has(page, L"Quillora version on Web Site: <STRONG>Unavailable</STRONG><BR>"));
}

TEST(UpdatePageTest, SettingsTableWithTheTwoWidgets) {
  const std::wstring label = L"<SPAN ID=cfu_days_text>Check every days</SPAN>";
  const std::wstring hint =
      L"The automatic check runs silently in the background.\r You see a message only when a new version is "
      L"available on the 'official' web site.\r";
  const std::wstring on = BuildSettingsTable(true, 45);
  EXPECT_EQ(on,
            L"<TABLE BORDER=0 WIDTH=100%><TR><TD ID=settings><TABLE BORDER=0 CELLPADDING=5><TR><TD><H2>Settings"
            L"</H2><TD ALIGN=LEFT><widget type=\"checkbox\"  checked=true ID=\"CFUAutoCheck\" TITLE =\"" + hint +
            L"\"><STRONG>Check for updates automatically</STRONG></widget><DIV ID=div_hor>" + label +
            L" <INPUT type=\"number\"  ID=\"CFUDaysNumber\"  Title=\"" + label + L"\" NoValue=\"" + label +
            L"\" step=\"1\" maxvalue=\"30\" minvalue=\"1\" size=3 Value=\"30\"></INPUT></DIV></TD></TR><TR>"
            L"<TD COLSPAN=2>" + hint + L"</TD></TD></TABLE></TABLE>");
  const std::wstring off = BuildSettingsTable(false, 0);
  EXPECT_FALSE(Has(off, L"checked"));
  EXPECT_TRUE(Has(off, L"<widget type=\"checkbox\"  ID=\"CFUAutoCheck\""));
  EXPECT_TRUE(Has(off, L"Value=\"1\">"));
  EXPECT_TRUE(Has(BuildSettingsTable(true, 12), L"Value=\"12\">"));
}

TEST(UpdatePageTest, OffersFallBackFromUkrainianToRussianThenEnglish) {
  UpdateOffers offers = {{L"ru", {L"http://ru.example/", L"RU offer"}},
                         {L"EN", {L"http://en.example/", L"EN offer"}},
                         {L"DE", {L"http://de.example/", L"DE offer"}}};
  auto caption = [&](const std::wstring& lang) {
    const auto* offer = PickOffer(offers, lang);
    return offer ? offer->second : std::wstring(L"none");
  };
  EXPECT_EQ(caption(L"UK"), L"RU offer");
  EXPECT_EQ(caption(L"RU"), L"RU offer");
  EXPECT_EQ(caption(L"de"), L"DE offer");
  EXPECT_EQ(caption(L"FR"), L"EN offer");
  EXPECT_EQ(caption(L""), L"EN offer");
  offers.erase(L"ru");
  EXPECT_EQ(caption(L"UK"), L"EN offer");
  offers.erase(L"EN");
  EXPECT_EQ(caption(L"UK"), L"none");
  EXPECT_EQ(caption(L""), L"none");
  // Without a language file only the English offer counts.
  offers[L"RU"] = {L"http://ru.example/", L"RU offer"};
  EXPECT_EQ(caption(L""), L"none");
}

TEST(UpdatePageTest, OfferBannerAfterTheBodyTag) {
  const std::wstring frame = L"<TABLE BORDER=0 ALIGN=CENTER WIDTH=100%><TR><TD ALIGN=CENTER><DIV ID=promo>";
  EXPECT_EQ(BuildOfferBanner(L"Sale <B>now</B>", L"http://o.example/"),
            frame + L"<A HREF=\"http://o.example/\" TITLE=\"Visit to official web site of Quillora\">Sale "
                    L"<B>now</B></A></DIV></TABLE>");
  EXPECT_EQ(BuildOfferBanner(L"See <A HREF=x>here</A>", L"http://o.example/"),
            frame + L"See <A HREF=x>here</A><BR><A HREF=\"http://o.example/\">&raquo;&raquo; Visit to official "
                    L"web site of Quillora</A></DIV></TABLE>");
  EXPECT_EQ(BuildOfferBanner(L"Plain", L""), frame + L"Plain</DIV></TABLE>");

  CUpdateInfo record;
  record.offers[L"RU"] = {L"http://o.example/", L"Offer"};
  UpdatePageContext context = Context();
  context.languageCode = L"uk";
  std::wstring page = BuildUpdatePage(record, context);
  EXPECT_TRUE(Has(page, L"BOTTOMMARGIN=5>" + BuildOfferBanner(L"Offer", L"http://o.example/") + L"<tabLE width"));
  context.languageCode.clear();
  EXPECT_FALSE(Has(BuildUpdatePage(record, context), L"ID=promo"));
}

TEST(UpdatePageTest, NewsItemsStyleAndFooter) {
  const std::wstring footer = BuildFooter();
  EXPECT_EQ(footer,
            L"<TABLE ALIGN=CENTER WIDTH=100%><TR><TD VALIGN=BOTTOM ALIGN=CENTER WIDTH=25%><A HREF=\"" + kHost +
                L"home_forum.php\">Official Forum</A>\n<TD VALIGN=BOTTOM ALIGN=CENTER WIDTH=25%><A HREF=\"" + kHost +
                L"community.php\" TITLE=\"Community Group\"><IMG WIDTH=16 SRC=" + kHost +
                L"images/community16.png BORDER=0 HSPACE=2>Community Group</A>\n<TD VALIGN=BOTTOM  ALIGN=CENTER "
                L"WIDTH=25%><A HREF=\"" + kHost + L"news_en.xml\" TITLE=\"" + kHost + L"news_en.xml\"><IMG "
                L"WIDTH=14 SRC=" + kHost + L"images/rss14.png BORDER=0 HSPACE=2>RSS</A>\n<TD VALIGN=BOTTOM "
                L"ALIGN=CENTER WIDTH=25%><DIV ALIGN=CENTER><A HREF=\"" + kHost +
                L"home_qlr.php\">Official Web Site</A></DIV></TABLE>");

  EXPECT_EQ(BuildNewsItem(Item(1)),
            L"<DIV ID=\"id_item_desc\"><H3 ID=\"id_item_title\"><A HREF=\"http://news.example/1\" TITLE=\"Title "
            L"1\">Title 1</A><BR><SPAN ID=\"id_item_date\">Date 1</SPAN></H3>\n<B>Text 1</B>\n<BR>\n<SPAN "
            L"ID=\"id_item_author\">Author 1</SPAN></DIV>");
  CNewsItem noLink = Item(2);
  noLink.link.clear();
  EXPECT_TRUE(Has(BuildNewsItem(noLink), L"<H3 ID=\"id_item_title\">Title 2<BR>"));

  std::vector<CNewsItem> news;
  for (int i = 1; i <= 10; ++i) news.push_back(Item(i));
  std::wstring page = L"BODY";
  BuildNewsSection(page, news);
  EXPECT_EQ(page.rfind(L"<STYLE>\n#id_item_title {color: green;font-size: 12pt;", 0), 0u);
  EXPECT_TRUE(Has(page, L"border-radius: 15px;}\n#id_item_date {color: darkgray;font-size: 8pt;font-weight: "
                        L"normal;}\n#id_item_author {"));
  EXPECT_TRUE(Has(page, L"border-radius: 12px;}\n</STYLE>\nBODY<A NAME=\"latest_news\"></A><H1>Latest News (6)"
                        L"</H1><DIV ID=\"id_item_desc\">"));
  EXPECT_EQ(Count(page, L"<DIV ID=\"id_item_desc\">"), 6u);
  EXPECT_TRUE(Has(page, L"Author 1</SPAN></DIV>\n<BR>\n<DIV"));
  EXPECT_FALSE(Has(page, L"Title 7"));
  EXPECT_EQ(page.size() - page.rfind(L"Author 6</SPAN></DIV>\n" + footer), footer.size() + 22);

  // A page with a style block of its own gets the rules there.
  page = L"<STYLE>a {}</STYLE>";
  BuildNewsSection(page, {Item(1)});
  EXPECT_EQ(page.rfind(L"<STYLE>a {}\n#id_item_title", 0), 0u);
  EXPECT_EQ(Count(page, L"<STYLE>"), 1u);

  // No news: no rules and no heading, but the footer.
  page = L"BODY";
  BuildNewsSection(page, {});
  EXPECT_EQ(page, L"BODY\n" + footer);
}

TEST(UpdatePageTest, NetworkTextsCannotAddMarkup) {
  const std::wstring evil = L"\"><script>alert(1)</script><A HREF=\"file:///x\">";
  CUpdateInfo record;
  record.versionText = evil;
  record.releaseDateText = evil;
  record.downloadUrl = evil;
  record.downloadUrlPortable = evil;
  CNewsItem item;
  item.title = evil;
  item.link = L"http://n.example/\" onclick=\"x";
  item.pubDate = evil;
  item.author = evil;
  record.news = {item};
  std::wstring page = BuildUpdatePage(record, Context());
  EXPECT_FALSE(Has(page, L"<script>"));
  EXPECT_FALSE(Has(page, L"file:///x\">"));
  EXPECT_FALSE(Has(page, L"\" onclick="));
  EXPECT_TRUE(Has(page, L"TITLE=\"'&gt;&lt;script&gt;alert(1)&lt;/script&gt;&lt;A HREF='file:///x'&gt;\""));

  CUpdateInfo noUpdate;
  noUpdate.statusText = evil;
  noUpdate.offeredVersion = {1, 2, 3, 4};
  noUpdate.releaseDateText = evil;
  EXPECT_FALSE(Has(BuildUpdatePage(noUpdate, Context()), L"<script>"));

  // A title as long as a whole download stays one escaped text.
  CUpdateInfo big;
  big.news = {Item(1)};
  big.news[0].title.assign(1024 * 1024, L'<');
  page = BuildUpdatePage(big, Context());
  EXPECT_GE(Count(page, L"&lt;"), 2u * 1024 * 1024);  // the link's text and its TITLE
  EXPECT_FALSE(Has(page, L"<<"));
}

}  // namespace
