#include "foundation/text/text_helpers.h"

#include <algorithm>

namespace {

const wchar_t* const kLineBreaks[] = {L"\r\n", L"\n", L"\r"};
const wchar_t kCutStartSeparators[] = L" \r\n\t,;?!^()+-\\/@|&*\"'";
const wchar_t* const kCutEndSeparators[] = {L" ", L"\r\n", L"\n", L"\r", L"\t"};
const wchar_t* const kUrlSchemes[] = {L"http://", L"https://", L"ftp://"};
const wchar_t kUrlSeparators[] = L"/&?";
const wchar_t kEllipsis = L'\u2026';
const wchar_t kCaptionTrimSet[] = L"\u00b6 \t\r";

void Normalise(std::wstring& text) {
  for (const wchar_t* lineBreak : kLineBreaks) ReplaceAllText(text, lineBreak, L" ");
  ReplaceAllText(text, L"   ", L" ");
  ReplaceAllText(text, L"  ", L" ");
  size_t first = text.find_first_not_of(kCaptionTrimSet);
  if (first == std::wstring::npos) {
    text.clear();
    return;
  }
  size_t last = text.find_last_not_of(kCaptionTrimSet);
  text = text.substr(first, last - first + 1);
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    wchar_t a = text[i], b = prefix[i];
    if (a >= L'A' && a <= L'Z') a = a - L'A' + L'a';
    if (b >= L'A' && b <= L'Z') b = b - L'A' + L'a';
    if (a != b) return false;
  }
  return true;
}

// The last count characters of text, count clamped to [0, size].
std::wstring LastChars(const std::wstring& text, long long count) {
  count = std::max(0LL, std::min(count, static_cast<long long>(text.size())));
  return text.substr(text.size() - static_cast<size_t>(count));
}

}  // namespace

size_t ReplaceAllText(std::wstring& text, const std::wstring& what, const std::wstring& with) {
  if (what.empty()) return 0;
  size_t count = 0;
  size_t pos = 0;
  while ((pos = text.find(what, pos)) != std::wstring::npos) {
    text.replace(pos, what.size(), with);
    pos += with.size();
    ++count;
  }
  return count;
}

bool FindCutRange(const std::wstring& text, int maxLength, CutRange& range) {
  size_t max = static_cast<size_t>(std::max(0, maxLength));
  if (text.size() <= max) return false;
  size_t half = max / 2;

  size_t start = 0;
  std::wstring head = text.substr(0, half);
  for (const wchar_t* sep = kCutStartSeparators; *sep; ++sep) {
    size_t pos = head.rfind(*sep);
    if (pos != std::wstring::npos && pos > start) start = pos;
  }
  if (start == 0) start = half;

  size_t from = text.size() - half;
  size_t end = std::wstring::npos;
  for (const wchar_t* sep : kCutEndSeparators) {
    size_t pos = text.find(sep, from);
    if (pos != std::wstring::npos && pos > 0) end = std::min(end, pos + wcslen(sep));
  }
  if (end == std::wstring::npos) end = from;

  range.start = start;
  range.end = end;
  return true;
}

bool ShortenTextForCaption(std::wstring& text, int maxLength) {
  std::wstring normal = text;
  Normalise(normal);
  bool changed = normal != text;
  text = normal;
  CutRange cut;
  if (!FindCutRange(text, maxLength, cut)) return changed;
  text = text.substr(0, cut.start) + kEllipsis + text.substr(cut.end);
  return true;
}

int FindLastOfAny(const std::wstring& text, const std::wstring& set) {
  size_t pos = text.find_last_of(set);
  if (pos == std::wstring::npos || pos == 0) return -1;
  return static_cast<int>(pos);
}

bool ShortenUrlForCaption(std::wstring& url, int maxLength) {
  long long max = std::max(0, maxLength);
  if (static_cast<long long>(url.size()) <= max) return true;

  const wchar_t* scheme = nullptr;
  for (const wchar_t* s : kUrlSchemes) {
    if (url.size() > wcslen(s) && StartsWithNoCase(url, s)) {
      scheme = s;
      break;
    }
  }
  int lastSep = FindLastOfAny(url, kUrlSeparators);
  if (!scheme || lastSep < 0) return false;

  std::wstring tail = url.substr(static_cast<size_t>(lastSep) + 1);
  size_t slash = url.find(L'/', wcslen(scheme));
  long long headLength;
  if (slash != std::wstring::npos && slash < static_cast<size_t>(lastSep)) {
    headLength = static_cast<long long>(slash) + 1;
  } else {
    headLength = max - static_cast<long long>(tail.size());
    if (headLength < 0) headLength = 20;
  }
  std::wstring head = url.substr(0, static_cast<size_t>(std::min<long long>(headLength, url.size())));

  if (static_cast<long long>(head.size()) > max) {
    // The head alone is too long: half of the room each for head and tail.
    head.resize(static_cast<size_t>(max / 2));
    tail = LastChars(tail, std::min(max - static_cast<long long>(head.size()), max / 2));
  } else {
    tail = LastChars(tail, max - static_cast<long long>(head.size()));
  }
  url = head + L' ' + kEllipsis + L' ' + tail;
  return true;
}
