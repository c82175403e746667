#include "history/capture/clipboard_capture.h"

#include <cstring>
#include <vector>

#include "foundation/system/handles.h"
#include "foundation/ui/bitmaps.h"
#include "history/store/history_caption.h"
#include "history/store/history_names.h"
#include "phrases/insertion/clipboard_ops.h"

namespace hn = history_names;

namespace {

UINT Format(const wchar_t* name) { return RegisterClipboardFormatW(name); }

// The bytes of one format of the open clipboard, at most GlobalSize of its handle.
std::vector<char> ReadFormatBytes(UINT format) {
  std::vector<char> bytes;
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

std::unique_ptr<CCHItem> NarrowTextItem(UINT format, int kind) {
  std::vector<char> text = TextOf<char>(ReadFormatBytes(format));
  if (text.empty()) return nullptr;
  auto item = std::make_unique<CCHItem>(kind);
  if (!item->SetData(text.data(), static_cast<std::uint32_t>(text.size()))) return nullptr;
  return item;
}

std::unique_ptr<CCHItem> UnicodeTextItem() {
  std::vector<wchar_t> text = TextOf<wchar_t>(ReadFormatBytes(CF_UNICODETEXT));
  if (text.empty()) return nullptr;
  auto item = std::make_unique<CCHItem>(kHistoryKindUnicode);
  if (!item->SetData(text.data(), static_cast<std::uint32_t>(text.size() * sizeof(wchar_t)))) return nullptr;
  return item;
}

// CF_TEXT widened with the ANSI code page; the locale it was written in kept.
std::unique_ptr<CCHItem> AnsiTextItem() {
  std::vector<char> text = TextOf<char>(ReadFormatBytes(CF_TEXT));
  if (text.empty()) return nullptr;
  int chars = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (chars <= 0) return nullptr;
  std::vector<wchar_t> wide(chars);
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), chars);
  auto item = std::make_unique<CCHItem>(kHistoryKindUnicode);
  if (!item->SetData(wide.data(), static_cast<std::uint32_t>(chars * sizeof(wchar_t)))) return nullptr;
  std::vector<char> locale = ReadFormatBytes(CF_LOCALE);
  if (locale.size() >= sizeof(LCID)) std::memcpy(&item->locale, locale.data(), sizeof(LCID));
  return item;
}

// The system offers each text format also converted from the other; the
// one the writer put comes first in the enumeration.
bool AnsiTextCameFirst() {
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    if (format == CF_UNICODETEXT) return false;
    if (format == CF_TEXT) return true;
  }
  return false;
}

std::unique_ptr<CCHItem> BrindleItem() {
  std::vector<char> bytes = ReadFormatBytes(Format(hn::kBrindleFormat));
  if (bytes.empty()) return nullptr;
  auto item = std::make_unique<CCHItem>(kHistoryKindBrindle);
  if (!item->SetData(bytes.data(), static_cast<std::uint32_t>(bytes.size()))) return nullptr;
  return item;
}

std::unique_ptr<CCHItem> BitmapItem() {
  HANDLE bitmap = GetClipboardData(CF_BITMAP);
  HANDLE copy = bitmap ? CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION) : nullptr;
  if (!copy) return nullptr;
  auto item = std::make_unique<CCHItem>(kHistoryKindBitmap);
  item->SetBitmap(static_cast<HBITMAP>(copy), true);
  return item;
}

// "HTML Format" is read once for both its uses, the source URL and the
// alternate: a writer rendering on request sees one request per format.
std::vector<char> HtmlOnClipboard() {
  UINT html = Format(hn::kHtmlFormat);
  return Available(html) ? TextOf<char>(ReadFormatBytes(html)) : std::vector<char>();
}

void AddAlternates(const CaptureKinds& kinds, const std::vector<char>& html, CCHItem* item) {
  UINT rtf = Format(hn::kRtfFormat);
  if (item->kind != kHistoryKindRtf && Available(rtf)) {
    if (auto alternate = NarrowTextItem(rtf, kHistoryKindRtf))
      item->alternates.push_back(std::shared_ptr<CCHItem>(alternate.release()));
  }
  if (kinds.Allows(kHistoryKindHtml) && item->kind != kHistoryKindHtml && !html.empty()) {
    auto alternate = std::make_unique<CCHItem>(kHistoryKindHtml);
    if (alternate->SetData(html.data(), static_cast<std::uint32_t>(html.size())))
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
  // One opening for every read: a copy made meanwhile must not mix its
  // formats into this one's.
  ClipboardLock clipboard(owner, 20);
  if (!clipboard) return nullptr;
  std::unique_ptr<CCHItem> item;
  bool withUrl = false;
  if (kinds.Allows(kHistoryKindBrindle) && Available(Format(hn::kBrindleFormat))) item = BrindleItem();
  if (!item && kinds.Allows(kHistoryKindBitmap) && IsClipboardFormatAvailable(CF_BITMAP)) {
    item = BitmapItem();
    if (!item) return nullptr;  // the bitmap was meant, the texts are not tried
    withUrl = true;
  }
  if (!item && kinds.Allows(kHistoryKindRtf) && Available(Format(hn::kRtfFormat))) {
    item = NarrowTextItem(Format(hn::kRtfFormat), kHistoryKindRtf);
    withUrl = item != nullptr;
  }
  if (!item && kinds.Allows(kHistoryKindUnicode)) {
    if (!AnsiTextCameFirst() && IsClipboardFormatAvailable(CF_UNICODETEXT)) item = UnicodeTextItem();
    if (!item && IsClipboardFormatAvailable(CF_TEXT)) item = AnsiTextItem();
    withUrl = item != nullptr;
  }
  if (!item) return nullptr;
  std::vector<char> html;
  if (withUrl || kinds.Allows(kHistoryKindHtml)) html = HtmlOnClipboard();
  if (withUrl && !html.empty()) item->sourceUrl = GetHtmlSourceURL(html.data(), html.size() - 1);
  AddAlternates(kinds, html, item.get());
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

// One form's clipboard format and bytes; false for a bitmap or no data.
bool FormBytes(const CCHItem& form, UINT* format, std::vector<BYTE>* bytes) {
  const char* narrow = static_cast<const char*>(form.Data());
  if (!narrow || form.kind == kHistoryKindBitmap) return false;
  size_t size = 0;
  switch (form.kind) {
    case kHistoryKindAnsi:
      *format = CF_TEXT;
      size = strnlen(narrow, form.Size()) + 1;
      break;
    case kHistoryKindUnicode:
      *format = CF_UNICODETEXT;
      size = (wcsnlen(form.Text(), form.Size() / sizeof(wchar_t)) + 1) * sizeof(wchar_t);
      break;
    case kHistoryKindRtf:
      *format = Format(hn::kRtfFormat);
      size = strnlen(narrow, form.Size()) + 1;
      break;
    case kHistoryKindBrindle:
      *format = Format(hn::kBrindleFormat);
      size = form.Size();
      break;
    case kHistoryKindHtml:
      *format = Format(hn::kHtmlFormat);
      size = strnlen(narrow, form.Size()) + 1;
      break;
    default:
      return false;
  }
  // The buffer holds two zero bytes past its size: a terminator is there.
  bytes->assign(narrow, narrow + size);
  return size > 0;
}

bool SetBytes(UINT format, const std::vector<BYTE>& bytes) {
  HGLOBAL block = GlobalWithBytes(bytes.data(), bytes.size());
  if (!block) return false;
  if (SetClipboardData(format, block)) return true;
  GlobalFree(block);
  return false;
}

// Every form of the item in one opening of the clipboard: the primary and
// each alternate in its own format, a rich text also as plain text (as it
// was copied), texts with their locale. True when the primary form is there.
bool PutHistoryItemOnce(const CCHItem& item, const ClipboardFormatTable& forms, UINT primary) {
  ClipboardLock clipboard(nullptr);
  if (!clipboard || !EmptyClipboard()) return false;
  bool primarySet = false;
  for (const auto& form : forms)
    if (SetBytes(form.first, form.second) && form.first == primary) primarySet = true;
  if (item.kind == kHistoryKindBitmap) {
    HANDLE copy = CopyImage(item.Bitmap(), IMAGE_BITMAP, 0, 0, 0);
    if (copy && SetClipboardData(CF_BITMAP, copy))
      primarySet = true;
    else if (copy)
      DeleteObject(copy);
  }
  return primarySet;
}

}  // namespace

bool PutHistoryItemOnClipboard(const CCHItem& item) {
  if (!HasClipboardPayload(item)) return false;
  ClipboardFormatTable forms;
  UINT primary = 0;
  std::vector<BYTE> bytes;
  if (FormBytes(item, &primary, &bytes)) forms[primary] = std::move(bytes);
  for (const auto& alternate : item.alternates) {
    UINT format = 0;
    std::vector<BYTE> alternateBytes;
    if (alternate && FormBytes(*alternate, &format, &alternateBytes) && !forms.count(format))
      forms[format] = std::move(alternateBytes);
  }
  if (item.kind == kHistoryKindRtf && !forms.count(CF_UNICODETEXT)) {
    std::wstring plain = HistoryItemPlainText(item);
    if (!plain.empty()) {
      const BYTE* p = reinterpret_cast<const BYTE*>(plain.c_str());
      forms[CF_UNICODETEXT].assign(p, p + (plain.size() + 1) * sizeof(wchar_t));
    }
  }
  if (forms.count(CF_TEXT) || forms.count(CF_UNICODETEXT)) {
    const LCID locale = item.locale ? item.locale : GetThreadLocale();
    const BYTE* p = reinterpret_cast<const BYTE*>(&locale);
    forms[CF_LOCALE].assign(p, p + sizeof(locale));
  }
  // Another program, or the history's own watcher still reading the last
  // change, may hold the clipboard for a moment: the user's choice waits
  // for it, for a second at most.
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (attempt > 0) Sleep(20);
    if (PutHistoryItemOnce(item, forms, primary)) return true;
  }
  return false;
}
