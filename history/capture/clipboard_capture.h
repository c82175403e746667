// Reading the clipboard into a new history item: the formats in a fixed
// order of preference (the first that reads and whose kind is switched on
// becomes the item's primary kind), rich text and HTML as alternates, and
// the source URL of HTML data. Putting an item back on the clipboard.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "history/store/history_item.h"

// The ClipboardFormats0..4 switches: [0] texts, [1] RTF, [2] bitmaps,
// [3] Brindle documents, [4] HTML.
struct CaptureKinds {
  bool on[5] = {true, true, false, true, true};
  bool Allows(int kind) const;
};

// Null when nothing readable of a switched-on kind is on the clipboard (or
// a bitmap that should be taken cannot be copied). The clipboard is opened
// once with owner for all reads; every size comes from GlobalSize.
std::unique_ptr<CCHItem> CaptureClipboardItem(HWND owner, const CaptureKinds& kinds);
// The text after "SourceURL:" of "HTML Format" data up to the first CR or
// LF; empty when there is none or no line end follows it.
std::wstring GetHtmlSourceURL(const char* html, size_t size);

// Puts every form of the item back, in one change of the clipboard: the
// primary data in its own format (kind 4 as a bitmap, kind 5 as "HTML
// Format"), each alternate in its own, a rich text also as plain text;
// false when the primary form could not be put.
bool PutHistoryItemOnClipboard(const CCHItem& item);
