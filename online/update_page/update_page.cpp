#include "online/update_page/update_page.h"

#include <cwchar>

#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/system/system_info.h"
#include "foundation/system/test_switches.h"
#include "online/update_page/update_page_ids.h"
#include "online/web_links.h"
#include "phrases/macros/macro_dates.h"
#include "settings/settings.h"
#include "settings/settings_files.h"

namespace {

constexpr wchar_t kDq[] = L"\"";
constexpr wchar_t kBullet[] = L"&nbsp;&bull;&nbsp;";
constexpr wchar_t kNewsAnchor[] = L"latest_news";
constexpr wchar_t kProduct[] = L"Quillora";

std::wstring Text(UINT id) {
  CLngString text;
  text.LoadString(id);
  return text.Text();
}

std::wstring Replaced(std::wstring text, const std::wstring& what, const std::wstring& with) {
  for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

std::wstring QuotesToApostrophes(std::wstring text) {
  for (wchar_t& c : text)
    if (c == L'"') c = L'\'';
  return text;
}

int ClampDays(int days) { return days < 1 ? 1 : days > 30 ? 30 : days; }

std::wstring ByteSizeText(int bytes) {
  return FormatByteSize(bytes < 0 ? 0ULL : static_cast<unsigned long long>(bytes));
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

const std::pair<std::wstring, std::wstring>* FindOffer(const UpdateOffers& offers, const std::wstring& key) {
  if (key.empty()) return nullptr;
  for (const auto& offer : offers)
    if (EqualNoCase(offer.first, key)) return &offer.second;
  return nullptr;
}

// The news rules in front of page, or into its style block when it has one.
void AddNewsStyle(std::wstring& page) {
  size_t open = page.find(L"<STYLE>");
  size_t close = open == std::wstring::npos ? open : page.find(L"</STYLE>", open);
  if (close != std::wstring::npos) {
    page.insert(close, L"\n" + BuildNewsStyle() + L"\n");
    return;
  }
  page.insert(0, L"<STYLE>\n" + BuildNewsStyle() + L"\n</STYLE>\n");
}

}  // namespace

std::wstring FormatVersionText(const std::vector<int>& components, const std::wstring& extra) {
  if (components.empty()) return Text(IDS_UPD_UNAVAILABLE);
  wchar_t buffer[96] = {};
  if (components.size() == 4) {
    swprintf(buffer, 96, L"%d.%d%d", components[0], components[1], components[2]);
    std::wstring text = buffer;
    if (!extra.empty()) text += L" " + extra;
    swprintf(buffer, 96, L" build %d", components[3]);
    return text + buffer;
  }
  std::wstring text;
  for (size_t i = 0; i < components.size(); ++i) {
    if (i) text += L".";
    text += std::to_wstring(components[i]);
  }
  return text;
}

std::wstring BuildAnchor(const std::wstring& href, const std::wstring& text, const std::wstring& title,
                         const std::wstring& id) {
  std::wstring a = L"<A HREF=" + std::wstring(kDq) + EscapeHtml(href) + kDq;
  if (!title.empty()) a += L" TITLE=" + std::wstring(kDq) + EscapeHtml(QuotesToApostrophes(title)) + kDq;
  if (!id.empty()) a += L" ID=" + std::wstring(kDq) + EscapeHtml(id) + kDq;
  return a + L">" + (text.empty() ? EscapeHtml(href) : text) + L"</A>";
}

std::wstring BuildTagWithId(const std::wstring& openTag, const std::wstring& id, const std::wstring& content) {
  std::wstring open = openTag;
  size_t end = open.rfind(L'>');
  if (end == std::wstring::npos) end = open.size();
  open.insert(end, L" ID=" + std::wstring(kDq) + id + kDq);
  std::wstring close = openTag;
  close.insert(1, L"/");
  return open + content + close;
}

std::wstring BuildBodyOpening(COLORREF background) {
  wchar_t color[16] = {};
  swprintf(color, 16, L"#%.2X%.2X%.2X", GetRValue(background), GetGValue(background), GetBValue(background));
  std::wstring body =
      L"<BODY BGCOLOR=%BGCOLOR% LEFTMARGIN=%MARGINVALUE% RIGHTMARGIN=%MARGINVALUE% TOPMARGIN=%MARGINVALUE% "
      L"BOTTOMMARGIN=%MARGINVALUE%><tabLE width=100% bgCOLOR=%BGCOLOR%  Cellpadding=5 BORDER=0 HEIGHT=100%>"
      L"<tr><td VALIGN=TOP COLSPAN=4>";
  return Replaced(Replaced(body, L"%BGCOLOR%", color), L"%MARGINVALUE%", L"5");
}

std::wstring BuildLinksLine() {
  return BuildAnchor(GetVersionHistoryURL(), Text(IDS_UPD_WHATS_NEW)) + L"|" +
         BuildAnchor(std::wstring(L"#") + kNewsAnchor, Text(IDS_UPD_LATEST_NEWS));
}

std::wstring BuildSettingsTable(bool autoCheck, int days) {
  const std::wstring label =
      L"<SPAN ID=" + std::wstring(kDaysTextElementId) + L">" + Text(IDS_UPD_CHECK_EVERY_DAYS) + L"</SPAN>";
  const std::wstring hint = Replaced(QuotesToApostrophes(Text(IDS_UPD_AUTO_CHECK_HINT)), L".", L".\r");
  std::wstring t = L"<TABLE BORDER=0 WIDTH=100%><TR><TD ID=settings><TABLE BORDER=0 CELLPADDING=5><TR><TD><H2>" +
                   Text(IDS_UPD_SETTINGS) + L"</H2><TD ALIGN=LEFT>";
  t += L"<widget type=\"checkbox\" ";
  if (autoCheck) t += L" checked=true";
  t += L" ID=\"" + std::wstring(kAutoCheckElementId) + L"\" TITLE =\"" + hint + L"\"><STRONG>" +
       Text(IDS_UPD_AUTO_CHECK) + L"</STRONG></widget>";
  t += L"<DIV ID=div_hor>" + label + L" <INPUT type=\"number\"  ID=\"" + kDaysNumberElementId + L"\"  Title=\"" +
       label + L"\" NoValue=\"" + label + L"\" step=\"1\" maxvalue=\"30\" minvalue=\"1\" size=3 Value=\"" +
       std::to_wstring(ClampDays(days)) + L"\"></INPUT></DIV>";
  t += L"</TD></TR><TR><TD COLSPAN=2>" + hint + L"</TD></TD></TABLE></TABLE>";
  return t;
}

std::wstring BuildLastCheckAndSettings(const UpdatePageContext& context) {
  return L"<BR><SPAN ID=hint>" + Text(IDS_UPD_LAST_CHECK) + L": " + EscapeHtml(context.lastCheckText) +
         L"</SPAN><BR>" + BuildSettingsTable(context.autoCheck, context.days);
}

std::wstring BuildVersionLines(const CUpdateInfo& record, const std::wstring& sep,
                               const UpdatePageContext& context) {
  return Text(IDS_UPD_YOUR_VERSION) + L": <STRONG>" + EscapeHtml(FormatVersionText(record.ownVersion, L"")) +
         L"</STRONG> (" + EscapeHtml(context.buildDateText) + L")" + sep + sep + Text(IDS_UPD_WEB_VERSION) +
         L": <STRONG>" + EscapeHtml(FormatVersionText(record.offeredVersion, record.statusText)) + L"</STRONG>" +
         sep + Text(IDS_UPD_RELEASED) + L": <STRONG>" + EscapeHtml(record.releaseDateText) + L"</STRONG><BR>" +
         BuildLinksLine();
}

std::wstring BuildNewsStyle() {
  return L"#id_item_title {color: green;font-size: 12pt;font-family: Verdana;background-color: LEMONCHIFFON;"
         L"margin-left: 0px;margin-top: 0px;margin-bottom: 5px;text-indent:0;padding-left: 10;padding-right: 5;"
         L"padding-top: 5;padding-bottom: 5;border-color: darkgray;border-style: solid ;border-width: 1px;"
         L"border-radius: 15px;}\n"
         L"#id_item_date {color: darkgray;font-size: 8pt;font-weight: normal;}\n"
         L"#id_item_author {color: green;font-style: italic;margin-left: 30px;margin-top: 5px;}\n"
         L"#id_item_desc {padding: 4;border-top-color: darkgray;border-left-color: whitesmoke;"
         L"border-right-color: whitesmoke;border-bottom-color: whitesmoke;border-style: solid ;"
         L"border-width: 1px;border-radius: 12px;}";
}

std::wstring BuildNewsItem(const CNewsItem& item) {
  const std::wstring title =
      item.link.empty() ? EscapeHtml(item.title) : BuildAnchor(item.link, EscapeHtml(item.title), item.title);
  const std::wstring heading =
      BuildTagWithId(L"<H3>", L"id_item_title",
                     title + L"<BR>" + BuildTagWithId(L"<SPAN>", L"id_item_date", EscapeHtml(item.pubDate)));
  return BuildTagWithId(L"<DIV>", L"id_item_desc",
                        heading + L"\n" + item.description + L"\n<BR>\n" +
                            BuildTagWithId(L"<SPAN>", L"id_item_author", EscapeHtml(item.author)));
}

std::wstring BuildFooter() {
  const std::wstring cell = L"<TD VALIGN=BOTTOM ALIGN=CENTER WIDTH=25%>";
  std::wstring f = L"<TABLE ALIGN=CENTER WIDTH=100%><TR>";
  f += cell + BuildAnchor(GetForumURL(), Text(IDS_UPD_FORUM));
  f += L"\n" + cell +
       BuildAnchor(GetSocialPageURL(),
                   L"<IMG WIDTH=16 SRC=" + EscapeHtml(GetSiteImageURL(L"community16.png")) +
                       L" BORDER=0 HSPACE=2>Community Group",
                   Text(IDS_UPD_COMMUNITY));
  f += L"\n<TD VALIGN=BOTTOM  ALIGN=CENTER WIDTH=25%>" +
       BuildAnchor(GetNewsFeedURL(),
                   L"<IMG WIDTH=14 SRC=" + EscapeHtml(GetSiteImageURL(L"rss14.png")) + L" BORDER=0 HSPACE=2>RSS",
                   GetNewsFeedURL());
  f += L"\n" + cell + L"<DIV ALIGN=CENTER>" + BuildAnchor(GetHomePageURL(), Text(IDS_UPD_OFFICIAL_SITE)) +
       L"</DIV>";
  return f + L"</TABLE>";
}

void BuildNewsSection(std::wstring& page, const std::vector<CNewsItem>& news) {
  std::wstring items;
  size_t count = 0;
  for (const CNewsItem& item : news) {
    if (count == kUpdatePageMaxNews) break;
    if (count++) items += L"\n<BR>\n";
    items += BuildNewsItem(item);
  }
  if (!items.empty()) {
    AddNewsStyle(page);
    page += L"<A NAME=\"" + std::wstring(kNewsAnchor) + L"\"></A><H1>" + Text(IDS_UPD_LATEST_NEWS) + L" (" +
            std::to_wstring(count) + L")</H1>" + items;
  }
  std::wstring footer = BuildFooter();
  if (!footer.empty()) page += L"\n" + footer;
}

std::wstring BuildNewVersionBody(const CUpdateInfo& record, const UpdatePageContext& context) {
  std::wstring b = BuildBodyOpening(context.windowColor);
  b += L"<IMG SRC=" + EscapeHtml(GetSiteImageURL(L"quillora24.png")) +
       L" BORDER=0 ALT='' HSPACE=5 HEIGHT=24 WIDTH=24>";
  b += L"<STRONG><FONT COLOR=green SIZE=+1>" + std::wstring(kProduct) + L": " + Text(IDS_UPD_HAS_NEW_VERSION) +
       L": <STRONG>" + EscapeHtml(record.versionText) + L"</STRONG></FONT></STRONG>";
  if (context.updateVersionTest)
    b += L"<BR><FONT COLOR=red SIZE=+1>Has [UpdateVersion_Test.UpdateVersion_Test]</FONT><BR>";
  b += L"<BR>" + Text(IDS_UPD_RELEASED) + L": <STRONG>" + EscapeHtml(record.releaseDateText) +
       L"</STRONG><BR><BR>";
  b += kBullet + BuildAnchor(record.downloadUrl, Text(IDS_UPD_DOWNLOAD_INSTALLER)) + L" [" +
       ByteSizeText(record.downloadSize) + L"]<BR>";
  b += kBullet + BuildAnchor(record.downloadUrlPortable, Text(IDS_UPD_DOWNLOAD_PORTABLE)) + L" [" +
       ByteSizeText(record.downloadSizePortable) + L"]<BR>";
  b += kBullet + BuildLinksLine() + L"<BR>";
  b += kBullet + BuildAnchor(GetPortableFaqURL(), Text(IDS_UPD_PORTABLE_TOO)) + L"<BR>";
  b += BuildLastCheckAndSettings(context);
  BuildNewsSection(b, record.news);
  return b + L"</table></BODY>";
}

std::wstring BuildNoUpdateBody(const CUpdateInfo& record, const UpdatePageContext& context) {
  std::wstring b = BuildBodyOpening(context.windowColor);
  // A failed check must not tell the user that the latest version is
  // installed: the error takes the place of that line.
  const std::wstring headline =
      record.errorText.empty() ? Text(IDS_UPD_LATEST_INSTALLED) : EscapeHtml(record.errorText);
  b += L"<STRONG><FONT SIZE=+1>" + headline + L"</FONT></STRONG><BR><BR>";
  b += BuildVersionLines(record, L"<BR>", context);
  b += L"<BR>" + BuildAnchor(GetPortableFaqURL(), Text(IDS_UPD_PORTABLE_TOO)) + L"<BR>";
  b += BuildLastCheckAndSettings(context);
  BuildNewsSection(b, record.news);
  return b + L"</table></BODY>";
}

const std::pair<std::wstring, std::wstring>* PickOffer(const UpdateOffers& offers,
                                                       const std::wstring& languageCode) {
  const std::wstring lang = languageCode.empty() ? L"EN" : languageCode;
  if (const auto* offer = FindOffer(offers, lang)) return offer;
  if (!languageCode.empty())
    if (const auto* offer = FindOffer(offers, GetFallbackLangPrefix(languageCode))) return offer;
  return FindOffer(offers, L"EN");
}

std::wstring BuildOfferBanner(const std::wstring& caption, const std::wstring& link) {
  const bool hasLink = caption.find(L"<A") != std::wstring::npos ||
                       caption.find(L"HREF=<a") != std::wstring::npos ||
                       caption.find(L"href=") != std::wstring::npos;
  std::wstring inner;
  if (!link.empty() && !hasLink) {
    inner = BuildAnchor(link, caption, Text(IDS_UPD_VISIT_SITE));
  } else {
    inner = caption;
    if (!link.empty()) inner += L"<BR>" + BuildAnchor(link, L"&raquo;&raquo; " + Text(IDS_UPD_VISIT_SITE));
  }
  return L"<TABLE BORDER=0 ALIGN=CENTER WIDTH=100%><TR><TD ALIGN=CENTER><DIV ID=promo>" + inner +
         L"</DIV></TABLE>";
}

std::wstring BuildUpdatePage(const CUpdateInfo& record, const UpdatePageContext& context) {
  std::wstring body = record.versionText.empty() ? BuildNoUpdateBody(record, context)
                                                 : BuildNewVersionBody(record, context);
  if (!record.offers.empty()) {
    if (const auto* offer = PickOffer(record.offers, context.languageCode)) {
      size_t at = body.find(L"<BODY ");
      if (at != std::wstring::npos) at = body.find(L'>', at);
      if (at != std::wstring::npos) body.insert(at + 1, BuildOfferBanner(offer->second, offer->first));
    }
  }
  const std::wstring style =
      L"<style>body {font-face: Trebuchet MS; font-size: 11px; margin: 5px;} #div_hor {flow: horizontal; "
      L"text-align: left;} h1 {color: green;} #settings {BACKGROUND-COLOR:whitesmoke; \tCOLOR:darkblue; "
      L"\tpadding-left: 5; \tpadding-right: 7px; \tpadding-top: 7px; \tpadding-bottom: 7px; border-color: "
      L"darkgray; border-style: solid ;border-width: 1px;border-radius: 10px;} #hint {color: darkgray;} #promo { "
      L"BACKGROUND-COLOR: gold; behavior: marquee; margin-left: 7px; margin-right: 7px;width: 90%%; border:1px "
      L"solid black;padding-top: 5px;padding-bottom: 5px;padding-left: 35px;padding-right: 35px;border-radius: "
      L"10px;font-size: 11pt;margin-bottom: 7px;}</style>";
  return L"<html><head>" + style +
         L"<BASE TARGET=_blank><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></head>" +
         body + L"</html>";
}

UpdatePageContext GetUpdatePageContext() {
  UpdatePageContext context;
  CQLRSettings& settings = GetSettings();
  context.autoCheck = settings.autoCheckForUpdates != 0;
  context.days = settings.GetDaysCheckForUpdates();
  SYSTEMTIME last = {};
  if (CQLRSettings::GetLastCheckForUpdatesLocal(last)) context.lastCheckText = FormatDateTimeText(last);
  context.buildDateText = GetBuildDateText();
  context.languageCode = GetInterfaceLanguageCode();
  context.windowColor = GetSysColor(COLOR_WINDOW);
  context.updateVersionTest = IsUpdateVersionTest();
  return context;
}

std::wstring BuildUpdatePage(const CUpdateInfo& record) { return BuildUpdatePage(record, GetUpdatePageContext()); }
