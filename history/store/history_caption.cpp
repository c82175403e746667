#include "history/store/history_caption.h"

#include <cstring>

#include "foundation/ui/rich_edit_convert.h"

namespace {

std::wstring AnsiToWide(const char* text, size_t length) {
  if (!length) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), &wide[0], n);
  return wide;
}

// The data as text up to its terminator, never past the buffer.
std::wstring TextOfData(const CCHItem& item) {
  if (!item.Data()) return std::wstring();
  if (item.kind == kHistoryKindUnicode) {
    const auto* text = static_cast<const wchar_t*>(item.Data());
    size_t max = item.Size() / sizeof(wchar_t);
    size_t n = 0;
    while (n < max && text[n]) ++n;
    return std::wstring(text, n);
  }
  const auto* bytes = static_cast<const char*>(item.Data());
  size_t n = strnlen(bytes, item.Size());
  return AnsiToWide(bytes, n);
}

bool IsBreak(wchar_t c) { return c == L'\r' || c == L'\n' || c == L'\t'; }

}  // namespace

std::wstring HistoryItemPlainText(const CCHItem& item) {
  switch (item.kind) {
    case kHistoryKindAnsi:
    case kHistoryKindUnicode:
      return TextOfData(item);
    case kHistoryKindRtf: {
      std::wstring rtf = TextOfData(item);
      return rtf.empty() ? rtf : PlainTextViaRichEdit(rtf.c_str());
    }
    default:
      return std::wstring();
  }
}

bool HistoryItemInsertText(const CCHItem& item, std::wstring* text, int* dataType) {
  switch (item.kind) {
    case kHistoryKindAnsi:
    case kHistoryKindUnicode:
      *text = TextOfData(item);
      *dataType = 0;
      return true;
    case kHistoryKindRtf: {
      // RTF is an 8-bit format: widened byte by byte, never through a code
      // page, so that it streams back into a rich edit unchanged.
      const auto* bytes = static_cast<const unsigned char*>(item.Data());
      size_t n = bytes ? strnlen(reinterpret_cast<const char*>(bytes), item.Size()) : 0;
      text->assign(bytes, bytes + n);
      *dataType = 1;
      return true;
    }
    default:
      return false;
  }
}

std::wstring HistoryItemKindText(const CCHItem& item) {
  if (item.kind == kHistoryKindBrindle) return L"Brindle Document Data";
  if (item.kind == kHistoryKindBitmap) return L"Bitmap";
  return HistoryItemPlainText(item);
}

std::wstring HistoryItemCaption(const CCHItem& item, int maxChars, bool firstLineOnly) {
  if (item.kind < kHistoryKindAnsi || item.kind > kHistoryKindBitmap) return L"O-o-ops! Naxer!";
  std::wstring text = HistoryItemKindText(item);
  bool cut = false;
  if (firstLineOnly) {
    size_t start = 0;
    while (start < text.size() && IsBreak(text[start])) ++start;
    text.erase(0, start);
    size_t end = 0;
    while (end < text.size() && !IsBreak(text[end])) ++end;
    if (end >= 1 && end < text.size()) {
      text.resize(end);
      cut = true;
    }
  }
  if (maxChars > 0 && text.size() > static_cast<size_t>(maxChars)) {
    size_t keep = static_cast<size_t>(maxChars);
    if (IS_HIGH_SURROGATE(text[keep - 1])) --keep;  // keep the pair whole
    text.resize(keep);
    cut = true;
  }
  if (cut) text += L'\u2026';
  return text;
}

void RemoveMenuItemRange(HMENU menu, UINT first, UINT last) {
  for (UINT id = first; id <= last && id >= first; ++id) DeleteMenu(menu, id, MF_BYCOMMAND);
  int count = GetMenuItemCount(menu);
  if (count < 5) return;
  for (int i = count - 1; i >= 0; --i) {
    MENUITEMINFOW info = {sizeof(info)};
    info.fMask = MIIM_FTYPE;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) && (info.fType & MFT_SEPARATOR))
      DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
  }
}
