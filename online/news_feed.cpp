#include "online/news_feed.h"

#include <tinyxml.h>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/logging/exception_guard.h"
#include "foundation/text/convert.h"
#include "foundation/text/date_helpers.h"
#include "foundation/text/text_helpers.h"
#include "foundation/text/xml_reader.h"
#include "online/downloads.h"
#include "online/http_head_info.h"
#include "online/temp_file_guard.h"
#include "online/update_answer.h"
#include "online/web_links.h"
#include "phrases/macros/macro_dates.h"

namespace {

std::wstring ChildText(const TiXmlElement* parent, const char* name) {
  const TiXmlElement* child = parent->FirstChildElement(name);
  const char* text = child ? child->GetText() : nullptr;
  return text ? Utf8ToWide(text) : std::wstring();
}

std::wstring TrimBlanks(const std::wstring& text) {
  size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return std::wstring();
  return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

struct RssDateCall {
  const wchar_t* text;
  SYSTEMTIME* out;
  bool ok;
};

}  // namespace

std::wstring NewsDisplayDate(const std::wstring& text) {
  SYSTEMTIME time = {};
  bool read = InternetTimeToSystemTimeText(text.c_str(), time);
  if (!read) {
    std::wstring withoutZone = text;
    ReplaceAllText(withoutZone, L"GMT", L"");
    read = InternetTimeToSystemTimeText(TrimBlanks(withoutZone).c_str(), time);
  }
  if (!read) {
    // The reader walks text from the network: a fault in it costs the date
    // only.
    RssDateCall call = {text.c_str(), &time, false};
    bool ran = RunGuarded([](void* c) {
      auto* p = static_cast<RssDateCall*>(c);
      p->ok = ParseRssDate(p->text, *p->out);
    }, &call, nullptr);
    if (!ran || !call.ok) return text;
    SystemTimeToLocalZone(time);
  }
  std::wstring display = FormatDateTimeText(time);
  return display.empty() ? text : display;
}

void FillNewsItem(CNewsItem& item, const TiXmlElement* element) {
  item.title = ChildText(element, "title");
  item.description = ChildText(element, "description");
  item.link = ChildText(element, "link");
  item.author = ChildText(element, "author");
  std::wstring date = ChildText(element, "pubDate");
  item.pubDate = date.empty() ? date : NewsDisplayDate(date);
}

bool ReadNewsFeed(std::vector<CNewsItem>& news, int maxItems, const std::wstring& path) {
  size_t size = 0;
  std::unique_ptr<char[]> text = ReadFileToBuffer(path, &size);
  if (!text || size > kMaxDownloadBytes) return false;
  TiXmlDocument document;
  if (!ParseXmlBounded(document, text.get(), TIXML_ENCODING_UNKNOWN)) return false;
  const TiXmlElement* rss = document.FirstChildElement("rss");
  const TiXmlElement* channel = rss ? rss->FirstChildElement("channel") : nullptr;
  const TiXmlElement* item = channel ? channel->FirstChildElement("item") : nullptr;
  if (!item) return false;
  for (int i = 0; i < maxItems && item; ++i, item = item->NextSiblingElement("item")) {
    CNewsItem entry;
    FillNewsItem(entry, item);
    news.push_back(entry);
  }
  return true;
}

bool DownloadNewsFeed(std::vector<CNewsItem>& news, int maxItems) {
  std::wstring path = GetTempFileNameWithExt(L"xml");
  if (path.empty()) return false;
  if (!DownloadFileWinInet(GetNewsFeedURL(), path, nullptr, nullptr, L"Quillora_Updater", true)) {
    DeleteFileW(path.c_str());
    return false;
  }
  CTempFileGuard guard(path);
  return ReadNewsFeed(news, maxItems, path);
}
