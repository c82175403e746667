// The HTML page of the update dialog, built in memory from the record of one
// update check: the new version or the installed one, the downloads, the
// settings widgets, the latest news and the footer links.
//
// Texts that come from the network as plain text (version, status, release
// date, news title, date and author, error text) are escaped; attribute
// values are escaped too. News descriptions and offer captions are markup
// and go in as they are: the view loads nothing and runs no script.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "foundation/text/html_escape.h"
#include "online/update_info.h"

// News items the page shows at most.
constexpr size_t kUpdatePageMaxNews = 6;

// Element ids the dialog looks up in the page.
constexpr wchar_t kAutoCheckElementId[] = L"CFUAutoCheck";
constexpr wchar_t kDaysNumberElementId[] = L"CFUDaysNumber";
constexpr wchar_t kDaysTextElementId[] = L"cfu_days_text";

// What the page takes from the running program besides the record.
struct UpdatePageContext {
  bool autoCheck = true;
  int days = 1;
  std::wstring lastCheckText;  // the last check in local time, formatted
  std::wstring buildDateText;  // the running program's build date
  std::wstring languageCode;   // the interface language; empty: built-in English
  COLORREF windowColor = RGB(255, 255, 255);
  bool updateVersionTest = false;
};

// The context of this process: settings, last check, language, colours.
UpdatePageContext GetUpdatePageContext();

std::wstring BuildUpdatePage(const CUpdateInfo& record);
std::wstring BuildUpdatePage(const CUpdateInfo& record, const UpdatePageContext& context);

// No components: "Unavailable"; four: "a.bc[ extra] build d"; any other
// count: the components joined by ".".
std::wstring FormatVersionText(const std::vector<int>& components, const std::wstring& extra);

// <A HREF="href" TITLE="title" ID="id">text</A>; text is markup (the href
// itself when empty), href and title are escaped, quotes in the title
// become apostrophes.
std::wstring BuildAnchor(const std::wstring& href, const std::wstring& text, const std::wstring& title = L"",
                         const std::wstring& id = L"");
// "<SPAN>" with id -> <SPAN ID="id">content</SPAN>.
std::wstring BuildTagWithId(const std::wstring& openTag, const std::wstring& id, const std::wstring& content);

std::wstring BuildBodyOpening(COLORREF background);
std::wstring BuildNewVersionBody(const CUpdateInfo& record, const UpdatePageContext& context);
std::wstring BuildNoUpdateBody(const CUpdateInfo& record, const UpdatePageContext& context);
std::wstring BuildVersionLines(const CUpdateInfo& record, const std::wstring& separator,
                               const UpdatePageContext& context);
std::wstring BuildLinksLine();
std::wstring BuildLastCheckAndSettings(const UpdatePageContext& context);
std::wstring BuildSettingsTable(bool autoCheck, int days);
// Appends the news (at most kUpdatePageMaxNews items) and the footer to
// page; the news rules go in front of it.
void BuildNewsSection(std::wstring& page, const std::vector<CNewsItem>& news);
std::wstring BuildNewsItem(const CNewsItem& item);
std::wstring BuildNewsStyle();
std::wstring BuildFooter();

using UpdateOffers = std::map<std::wstring, std::pair<std::wstring, std::wstring>>;  // key -> {link, caption}
// The offer for the language (key compared ignoring case), else for its
// fallback language, else the "EN" one; null when none fits. An empty
// languageCode means no language file: only "EN" is looked for.
const std::pair<std::wstring, std::wstring>* PickOffer(const UpdateOffers& offers,
                                                       const std::wstring& languageCode);
std::wstring BuildOfferBanner(const std::wstring& caption, const std::wstring& link);
