// The product's news feed (RSS 2.0): its first items, fetched with every
// update check for the update dialog's "Latest News".
#pragma once
#include <string>
#include <vector>

#include "online/update_info.h"

class TiXmlElement;

// Downloads the feed of the interface language to a temporary file and
// reads at most maxItems items from it; false when the download or the
// reading fails. The file is deleted in every case.
bool DownloadNewsFeed(std::vector<CNewsItem>& news, int maxItems);
// Appends at most maxItems items of the feed file; false when the file does
// not load or lacks "rss", "channel" or a first "item".
bool ReadNewsFeed(std::vector<CNewsItem>& news, int maxItems, const std::wstring& path);
// The five texts of one "item", its date made a display date.
void FillNewsItem(CNewsItem& item, const TiXmlElement* element);
// The display date of a feed date: WinINet's reading of it (as given, or
// without "GMT"), else the own RSS reader's in local time, else the text.
std::wstring NewsDisplayDate(const std::wstring& text);
