#include "history/capture/clipboard_capture.h"

#include <cstring>
#include <vector>

#include "foundation/system/handles.h"
#include "foundation/ui/bitmaps.h"
#include "history/store/history_names.h"
#include "phrases/insertion/clipboard_ops.h"

namespace hn = history_names;

namespace {

UINT Format(const wchar_t* name) { return RegisterClipboardFormatW(name); }

// The bytes of one clipboard format, at most GlobalSize of its handle.
std::vector<char> ReadFormatBytes(HWND owner, UINT format) {
  std::vector<char> bytes;
  ClipboardLock clipboard(owner, 20);
  if (!clipboard) return bytes;
  HGLOBAL handle = GetClipboardData(format);
  if (!handle) return bytes;
  SIZE_T size = GlobalSize(handle);
  GlobalLockScope<char> lock(handle);
  if (!lock || size == 0) return bytes;
  bytes.assign(lock.Get(), lock.Get() + size);
  return bytes;
}

// Text up to its terminator or the end of the data, with one terminator.
template <typename Char>
std::vector<Char> TextOf(const std::vector<char>& bytes) {
  size_t chars = bytes.size() / sizeof(Char);
  std::vector<Char> text(chars);
  if (chars) std::memcpy(text.data(), bytes.data(), chars * sizeof(Char));
  size_t length = 0;
  while (length < chars && text[length] != 0) ++length;
  text.resize(length);
  if (length) text.push_back(0);
  return text;
}

bool Available(UINT format) { return format && IsClipboardFormatAvailable(format); }

std::unique_ptr<CCHItem> NarrowTextItem(HWND owner, UINT format, int kind) {
  std::vector<char> text = TextOf<char>(ReadFormatBytes(owner, format));
  if (text.empty()) return nullptr;
  auto item = std::make_unique<CCHItem>(kind);
  if (!item->SetData(text.data(), static_cast<std::uint32_t>(text.size()))) return nullptr;
  return item;
}

std::unique_ptr<CCHItem> UnicodeTextItem(HWND owner) {
  std::vector<wchar_t> text = TextOf<wchar_t>(ReadFormatBytes(owner, CF_UNICODETEXT));
  if (text.empty()) return nullptr;
  auto item = std::make_unique<CCHItem>(kHistoryKindUnicode);
  if (!item->SetData(text.data(), static_cast<std::uint32_t>(text.size() * sizeof(wchar_t)))) return nullptr;
  return item;
}

// CF_TEXT widened with the ANSI code page; the locale it was written in kept.
std::unique_ptr<CCHItem> AnsiTextItem(HWND owner) {
  std::vector<char> text = TextOf<char>(ReadFormatBytes(owner, CF_TEXT));
  if (text.empty()) return nullptr;
  int chars = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (chars <= 0) return nullptr;
  std::vector<wchar_t> wide(chars);
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), chars);
  auto item = std::make_unique<CCHItem>(kHistoryKindUnicode);
  if (!item->SetData(wide.data(), static_cast<std::uint32_t>(chars * sizeof(wchar_t)))) return nullptr;
  std::vector<char> locale = ReadFormatBytes(owner, CF_LOCALE);
  if (locale.size() >= sizeof(LCID)) std::memcpy(&item->locale, locale.data(), sizeof(LCID));
  return item;
}

// The system offers each text format also converted from the other; the
// one the writer put comes first in the enumeration.
bool AnsiTextCameFirst(HWND owner) {
  ClipboardLock clipboard(owner, 20);
  if (!clipboard) return false;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    if (format == CF_UNICODETEXT) return false;
    if (format == CF_TEXT) return true;
  }
  return false;
}

std::unique_ptr<CCHItem> BrindleItem(HWND owner) {
  std::vector<char> bytes = ReadFormatBytes(owner, Format(hn::kBrindleFormat));
  if (bytes.empty()) return nullptr;
  auto item = std::make_unique<CCHItem>(kHistoryKindBrindle);
  if (!item->SetData(bytes.data(), static_cast<std::uint32_t>(bytes.size()))) return nullptr;
  return item;
}

std::unique_ptr<CCHItem> BitmapItem(HWND owner) {
  ClipboardLock clipboard(owner, 20);
  if (!clipboard) return nullptr;
  HANDLE bitmap = GetClipboardData(CF_BITMAP);
  HANDLE copy = bitmap ? CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION) : nullptr;
  if (!copy) return nullptr;
  auto item = std::make_unique<CCHItem>(kHistoryKindBitmap);
  item->SetBitmap(static_cast<HBITMAP>(copy), true);
  return item;
}

std::wstring SourceUrlOnClipboard(HWND owner) {
  UINT html = Format(hn::kHtmlFormat);
  if (!Available(html)) return std::wstring();
  std::vector<char> bytes = TextOf<char>(ReadFormatBytes(owner, html));
  return bytes.empty() ? std::wstring() : GetHtmlSourceURL(bytes.data(), bytes.size() - 1);
}

void AddAlternates(HWND owner, const CaptureKinds& kinds, CCHItem* item) {
  UINT rtf = Format(hn::kRtfFormat), html = Format(hn::kHtmlFormat);
  if (item->kind != kHistoryKindRtf && Available(rtf)) {
    if (auto alternate = NarrowTextItem(owner, rtf, kHistoryKindRtf))
      item->alternates.push_back(std::shared_ptr<CCHItem>(alternate.release()));
  }
  if (kinds.Allows(kHistoryKindHtml) && item->kind != kHistoryKindHtml && Available(html)) {
    if (auto alternate = NarrowTextItem(owner, html, kHistoryKindHtml))
      item->alternates.push_back(std::shared_ptr<CCHItem>(alternate.release()));
  }
}

}  // namespace

bool CaptureKinds::Allows(int kind) const {
  switch (kind) {
    case kHistoryKindAnsi:
    case kHistoryKindUnicode:
      return on[0];
    case kHistoryKindRtf:
      return on[1];
    case kHistoryKindBitmap:
      return on[2];
    case kHistoryKindBrindle:
      return on[3];
    case kHistoryKindHtml:
      return on[4];
  }
  return false;
}

std::wstring GetHtmlSourceURL(const char* html, size_t size) {
  if (!html || size == 0) return std::wstring();
  int chars = MultiByteToWideChar(CP_UTF8, 0, html, static_cast<int>(size), nullptr, 0);
  if (chars <= 0) return std::wstring();
  std::wstring text(chars, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, html, static_cast<int>(size), &text[0], chars);
  std::wstring tag(hn::kSourceUrlTag, hn::kSourceUrlTag + strlen(hn::kSourceUrlTag));
  size_t at = text.find(tag);
  if (at == std::wstring::npos) return std::wstring();
  at += tag.size();
  size_t end = text.find_first_of(L"\r\n", at);
  return end == std::wstring::npos ? std::wstring() : text.substr(at, end - at);
}

std::unique_ptr<CCHItem> CaptureClipboardItem(HWND owner, const CaptureKinds& kinds) {
  // The order of preference; a kind that is switched off gives way to the
  // next format, so a bitmap with its text still records the text.
  std::unique_ptr<CCHItem> item;
  bool withUrl = false;
  if (kinds.Allows(kHistoryKindBrindle) && Available(Format(hn::kBrindleFormat))) item = BrindleItem(owner);
  if (!item && kinds.Allows(kHistoryKindBitmap) && IsClipboardFormatAvailable(CF_BITMAP)) {
    item = BitmapItem(owner);
    if (!item) return nullptr;  // the bitmap was meant, the texts are not tried
    withUrl = true;
  }
  if (!item && kinds.Allows(kHistoryKindRtf) && Available(Format(hn::kRtfFormat))) {
    item = NarrowTextItem(owner, Format(hn::kRtfFormat), kHistoryKindRtf);
    withUrl = item != nullptr;
  }
  if (!item && kinds.Allows(kHistoryKindUnicode)) {
    if (!AnsiTextCameFirst(owner) && IsClipboardFormatAvailable(CF_UNICODETEXT)) item = UnicodeTextItem(owner);
    if (!item && IsClipboardFormatAvailable(CF_TEXT)) item = AnsiTextItem(owner);
    withUrl = item != nullptr;
  }
  if (!item) return nullptr;
  if (withUrl) item->sourceUrl = SourceUrlOnClipboard(owner);
  AddAlternates(owner, kinds, item.get());
  return item;
}

namespace {

bool HasClipboardPayload(const CCHItem& item) {
  switch (item.kind) {
    case kHistoryKindUnicode:
      return item.Text() != nullptr;
    case kHistoryKindBrindle:
      return item.Data() && item.Size();
    case kHistoryKindBitmap:
      return item.Bitmap() != nullptr;
    case kHistoryKindAnsi:
    case kHistoryKindRtf:
    case kHistoryKindHtml:
      return item.Data() != nullptr;
  }
  return false;
}

bool PutHistoryItemOnce(const CCHItem& item) {
  const char* narrow = static_cast<const char*>(item.Data());
  switch (item.kind) {
    case kHistoryKindAnsi:
      return narrow && PutDataOnClipboard(CF_TEXT, narrow, strlen(narrow) + 1);
    case kHistoryKindUnicode:
      return item.Text() && PutDataOnClipboard(CF_UNICODETEXT, item.Text(), (wcslen(item.Text()) + 1) * sizeof(wchar_t));
    case kHistoryKindRtf:
      return narrow && PutDataOnClipboard(Format(hn::kRtfFormat), narrow, strlen(narrow) + 1);
    case kHistoryKindBrindle:
      return narrow && item.Size() && PutDataOnClipboard(Format(hn::kBrindleFormat), narrow, item.Size());
    case kHistoryKindBitmap:
      return item.Bitmap() && CopyBitmapToClipboard(item.Bitmap());
    case kHistoryKindHtml:
      return narrow && PutDataOnClipboard(Format(hn::kHtmlFormat), narrow, strlen(narrow) + 1);
  }
  return false;
}

}  // namespace

bool PutHistoryItemOnClipboard(const CCHItem& item) {
  if (!HasClipboardPayload(item)) return false;
  // Another program, or the history's own watcher still reading the last
  // change, may hold the clipboard for a moment: the user's choice waits
  // for it, for a second at most.
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (attempt > 0) Sleep(20);
    if (PutHistoryItemOnce(item)) return true;
  }
  return false;
}
