#include "editor_settings/buttons/link_rules.h"

#include <cwchar>

#include "editor_settings/buttons/buttons_names.h"
#include "foundation/system/registry.h"

namespace qlr_editor {

namespace {

// Decimal digits from text[*pos] up to the end or a stop character.
bool ReadNumber(const std::wstring& text, size_t* pos, wchar_t stop, unsigned long long* value) {
  size_t start = *pos;
  unsigned long long number = 0;
  while (*pos < text.size() && text[*pos] != stop) {
    wchar_t ch = text[*pos];
    if (ch < L'0' || ch > L'9') return false;
    // Only the low byte counts; keep the number small without changing it.
    number = (number * 10 + static_cast<unsigned>(ch - L'0')) % 0x10000;
    ++*pos;
  }
  if (*pos == start) return false;
  *value = number;
  return true;
}

void ReadOneColor(const wchar_t* valueName, COLORREF* color) {
  std::wstring text;
  // One more than the longest value, so a longer one fails to read.
  if (RegReadString(HKEY_CURRENT_USER, kAnchorColorKey, valueName, kAnchorColorMaxChars + 1, text))
    ParseAnchorColor(text, color);
}

}  // namespace

bool ParseAnchorColor(const std::wstring& text, COLORREF* color) {
  unsigned long long channel[3] = {};
  size_t pos = 0;
  for (int i = 0; i < 3; ++i) {
    wchar_t stop = i < 2 ? L',' : L'\0';
    if (!ReadNumber(text, &pos, stop, &channel[i])) return false;
    if (i < 2) {
      if (pos >= text.size()) return false;  // no comma after the number
      ++pos;
    }
  }
  if (pos != text.size()) return false;
  *color = RGB(channel[0] & 0xFF, channel[1] & 0xFF, channel[2] & 0xFF);
  return true;
}

void ReadAnchorColors(COLORREF* link, COLORREF* visited) {
  ReadOneColor(kAnchorColorValue, link);
  ReadOneColor(kAnchorColorVisitedValue, visited);
}

RECT LinkTextBox(const RECT& client, SIZE text, DWORD style) {
  RECT box = {};
  int width = client.right - client.left;
  switch (style & 3) {
    case 1:
      box.left = client.left + (width - text.cx) / 2;
      break;
    case 2:
      box.left = client.right - text.cx;
      break;
    default:
      box.left = client.left;
      break;
  }
  box.right = box.left + text.cx;
  int d = (client.bottom - client.top - text.cy) / 2;
  int down = d < 0 ? 0 : d <= 1 ? d : d - 2;
  box.top = client.top + down;
  box.bottom = box.top + text.cy;
  return box;
}

std::wstring MakeMessageLinkText(UINT message) {
  wchar_t text[32];
  swprintf(text, 32, L"message:%d", static_cast<int>(message));
  return text;
}

bool ParseMessageLink(const std::wstring& url, UINT* message) {
  const std::wstring prefix = kMessageLinkPrefix;
  if (url.compare(0, prefix.size(), prefix) != 0) return false;
  *message = 0;
  std::wstring digits = url.substr(prefix.size());
  if (digits.empty() || digits.size() > 10) return true;
  unsigned long long value = 0;
  for (wchar_t ch : digits) {
    if (ch < L'0' || ch > L'9') return true;
    value = value * 10 + static_cast<unsigned>(ch - L'0');
  }
  if (value <= 0xFFFFFFFFull) *message = static_cast<UINT>(value);
  return true;
}

std::wstring LinkShellTarget(const std::wstring& url) {
  size_t at = url.find(L'@');
  // A scheme before the "@" (https://host/@name, mailto:a@b) is kept.
  if (at != std::wstring::npos && at > 0 && url.find(L':') > at) return kMailtoPrefix + url;
  return url;
}

}  // namespace qlr_editor
