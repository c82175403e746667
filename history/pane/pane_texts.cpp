#include "history/pane/pane_texts.h"

#include <algorithm>
#include <cwchar>
#include <cstring>

#include "foundation/localization/localized_strings.h"
#include "foundation/logging/system_error.h"
#include "history/store/history_caption.h"
#include "history/store/history_item.h"
#include "phrases/macros/macro_dates.h"

namespace {

constexpr wchar_t kProductName[] = L"Quillora";
constexpr size_t kMaxUrlChars = 2083;

enum : UINT {
  kIdsPlainText = 136,
  kIdsTextLength = 141,
  kIdsDataFormat = 143,
  kIdsRtf = 144,
  kIdsHistory = 172,
  kIdsBrindle = 176,
  kIdsHintDoubleClick = 224,
  kIdsBitmap = 227,
  kIdsWidth = 228,
  kIdsHeight = 229,
  kIdsHtml = 285,
  kIdsTime = 286,
  kIdsFormats = 287,
  kIdsHintQuickCopy = 288,
};

std::wstring KindName(int kind) {
  switch (kind) {
    case kHistoryKindAnsi:
      return PaneString(kIdsPlainText) + L" (ANSI)";
    case kHistoryKindUnicode:
      return PaneString(kIdsPlainText) + L" (Unicode)";
    case kHistoryKindRtf:
      return PaneString(kIdsRtf);
    case kHistoryKindBrindle:
      return PaneString(kIdsBrindle);
    case kHistoryKindBitmap:
      return PaneString(kIdsBitmap);
    default:
      return PaneString(kIdsHtml);
  }
}

std::wstring RegisteredName(const wchar_t* name, const wchar_t* fallback) {
  wchar_t buffer[64] = {};
  UINT id = RegisterClipboardFormatW(name);
  if (id && GetClipboardFormatNameW(id, buffer, 64) > 0) return buffer;
  return fallback;
}

std::wstring FormatName(int kind) {
  switch (kind) {
    case kHistoryKindAnsi:
      return L"Text (ANSI)";
    case kHistoryKindUnicode:
      return L"Text (Unicode)";
    case kHistoryKindRtf:
      return RegisteredName(L"Rich Text Format", L"Text (RTF)");
    case kHistoryKindBrindle:
      return L"Brindle";
    case kHistoryKindBitmap: {
      // A predefined format has no registered name: the fallback stays.
      wchar_t buffer[64] = {};
      return GetClipboardFormatNameW(CF_BITMAP, buffer, 64) > 0 ? buffer : L"Bitmap";
    }
    default:
      return RegisteredName(L"HTML Format", L"HTML");
  }
}

// Control characters would break the tip's layout (or end its text).
std::wstring PrintableUrl(const std::wstring& url) {
  std::wstring out = url.substr(0, kMaxUrlChars);
  for (wchar_t& c : out) {
    if (c < 0x20 || c == 0x7F) c = L' ';
  }
  return out;
}

std::wstring BitmapSizeText(HBITMAP bitmap) {
  BITMAP info = {};
  SetLastError(0);
  if (bitmap && GetObjectW(bitmap, sizeof(info), &info) == sizeof(info) && info.bmWidth > 0 &&
      info.bmHeight != 0) {
    return PaneString(kIdsWidth) + L": " + std::to_wstring(info.bmWidth) + L", " +
           PaneString(kIdsHeight) + L": " + std::to_wstring(info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
  }
  DWORD error = GetLastError();
  if (error == 0) error = ERROR_INVALID_DATA;
  return L"Invalid Data\nERR: " + std::to_wstring(error) + L" " + GetSystemErrorText(error);
}

}  // namespace

std::wstring PaneString(UINT id) {
  CLngString text;
  text.LoadString(id);
  return text.Text();
}

std::wstring FormatItemNumber(int n) { return std::to_wstring(n) + L"."; }

std::wstring HistoryPaneTitle(int count) {
  return PaneString(kIdsHistory) + L"[" + std::to_wstring(count) + L"] : " + kProductName;
}

std::wstring HistoryCaptionText(int count) {
  return std::wstring(kProductName) + L" : " + PaneString(kIdsHistory) + L" [" +
         std::to_wstring(count) + L"]";
}

std::wstring ListCaptionText(const std::wstring& caption) {
  size_t start = caption.find_first_not_of(L"\r\n\t");
  if (start == std::wstring::npos) return std::wstring();
  size_t end = caption.find_last_not_of(L"\r\n\t") + 1;
  // Each replacement makes one character of two at most: this much of the
  // source fills the list's line, so a megabyte caption costs no more than a
  // short one.
  const size_t window = 2 * (kListTextMaxChars + 2);
  std::wstring out = caption.substr(start, std::min(end - start, window));
  std::wstring merged;
  merged.reserve(out.size());
  for (size_t i = 0; i < out.size(); ++i) {
    wchar_t c = out[i] == L'\n' ? L' ' : out[i];
    merged.push_back(c);
    // A pair of blanks (line feeds count as blanks now) becomes one.
    if (c == L' ' && i + 1 < out.size() && (out[i + 1] == L' ' || out[i + 1] == L'\n')) ++i;
  }
  if (merged.size() > kListTextMaxChars) {
    size_t cut = kListTextMaxChars;
    if (IS_HIGH_SURROGATE(merged[cut - 1])) --cut;
    merged.erase(cut);
  }
  return merged;
}

std::wstring BreakAtMiddleBlank(const std::wstring& text) {
  size_t blank = text.find(L' ', text.size() / 2);
  if (blank == std::wstring::npos) return text;
  return text.substr(0, blank) + L"\n" + text.substr(blank + 1);
}

std::wstring EmptyListHint() {
  return BreakAtMiddleBlank(PaneString(kIdsHintDoubleClick)) + L"\n\n" +
         BreakAtMiddleBlank(PaneString(kIdsHintQuickCopy));
}

int HistoryItemImage(const CCHItem* item, bool hovered) {
  if (!item) return -1;
  if (hovered) return 5;
  switch (item->kind) {
    case kHistoryKindAnsi:
    case kHistoryKindUnicode:
      return 1;
    case kHistoryKindRtf:
      return 0;
    case kHistoryKindBrindle:
      return 2;
    case kHistoryKindBitmap:
      return 3;
    default:
      return 4;
  }
}

std::wstring GetHistoryFileStateText(const CCHItem& item) {
  if (item.storedState == kStoredNot || item.dataPath.empty()) return std::wstring();
  return std::wstring(item.storedState == kStoredLoaded ? L"Loaded from" : L"Saved to") + L": [" +
         item.dataPath + L"]";
}

std::wstring HistoryItemDetails(const CCHItem& item, const std::wstring& listText) {
  std::wstring out;
  if (!item.sourceUrl.empty()) out += L"\tURL: " + PrintableUrl(item.sourceUrl) + L"\n\n";
  const bool bitmap = item.kind == kHistoryKindBitmap;
  out += bitmap ? PaneString(kIdsBitmap) : listText;
  out += L"\n";
  out += L"\n\t" + PaneString(kIdsDataFormat) + L": " + KindName(item.kind);
  out += L"\n\t" + PaneString(kIdsFormats) + L": " + FormatName(item.kind);
  for (const auto& alternate : item.alternates) {
    if (alternate) out += L", " + FormatName(alternate->kind);
  }
  out += L"\n\t";
  const bool text = item.kind == kHistoryKindAnsi || item.kind == kHistoryKindUnicode ||
                    item.kind == kHistoryKindRtf;
  std::wstring plain;
  if (bitmap) {
    out += BitmapSizeText(item.Bitmap());
  } else {
    size_t length = item.Size();
    if (text) {
      plain = HistoryItemPlainText(item);
      length = plain.size();
    }
    out += PaneString(kIdsTextLength) + L": " + std::to_wstring(length);
  }
  if (text) {
    std::wstring lines;
    FormatLinesInfo(lines, CountLinesW(plain.c_str(), plain.size()));
    out += L"\n\t" + lines;
  }
  out += L"\n\t" + PaneString(kIdsTime) + L": " + FormatDateTimeMultiline(item.captureTime);
  std::wstring state = GetHistoryFileStateText(item);
  if (!state.empty()) out += L"\n\t" + state;
  return out;
}

int CopyToBuffer(const std::wstring& text, wchar_t* buffer, int capacity) {
  if (!buffer || capacity <= 0) return 0;
  size_t count = text.size();
  if (count > static_cast<size_t>(capacity - 1)) count = static_cast<size_t>(capacity - 1);
  // A cut never leaves half of a surrogate pair at the end.
  if (count > 0 && count < text.size() && IS_HIGH_SURROGATE(text[count - 1])) --count;
  if (count) std::wmemcpy(buffer, text.data(), count);
  buffer[count] = L'\0';
  return static_cast<int>(count);
}
