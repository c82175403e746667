#include "foundation/text/date_helpers.h"

#include <vector>

#include "foundation/system/system_helpers.h"
#include "foundation/text/text_helpers.h"

namespace {

const wchar_t* const kMonthNames[12] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                        L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};

wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? c - L'A' + L'a' : c; }

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }

// A small scanner in the manner of "%d %s %d": every field is bounded, so
// no input can overrun it.
class Scanner {
 public:
  explicit Scanner(const std::wstring& text) : m_text(text) {}

  void SkipBlanks() {
    while (m_pos < m_text.size() && IsBlank(m_text[m_pos])) ++m_pos;
  }
  // Optional sign and decimal digits; the value saturates instead of
  // overflowing.
  bool Int(int& value) {
    SkipBlanks();
    size_t p = m_pos;
    bool negative = false;
    if (p < m_text.size() && (m_text[p] == L'+' || m_text[p] == L'-')) negative = m_text[p++] == L'-';
    size_t digitsAt = p;
    long long v = 0;
    while (p < m_text.size() && m_text[p] >= L'0' && m_text[p] <= L'9') {
      if (v < 1000000000LL) v = v * 10 + (m_text[p] - L'0');
      ++p;
    }
    if (p == digitsAt) return false;
    m_pos = p;
    value = static_cast<int>(negative ? -v : v);
    return true;
  }
  bool Word(std::wstring& word, size_t maxChars) {
    SkipBlanks();
    size_t start = m_pos;
    while (m_pos < m_text.size() && !IsBlank(m_text[m_pos]) && m_pos - start < maxChars) ++m_pos;
    word = m_text.substr(start, m_pos - start);
    return !word.empty();
  }
  bool Literal(wchar_t c) {
    if (m_pos < m_text.size() && m_text[m_pos] == c) {
      ++m_pos;
      return true;
    }
    return false;
  }

 private:
  const std::wstring& m_text;
  size_t m_pos = 0;
};

int TwoDigits(const std::wstring& text, size_t at) {
  int value = 0;
  for (size_t i = at; i < at + 2 && i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') break;
    value = value * 10 + (text[i] - L'0');
  }
  return value;
}

}  // namespace

int MonthFromName(const std::wstring& name, int def) {
  for (int i = 0; i < 12; ++i) {
    const wchar_t* month = kMonthNames[i];
    if (name.size() != wcslen(month)) continue;
    bool same = true;
    for (size_t k = 0; k < name.size() && same; ++k) same = AsciiLower(name[k]) == AsciiLower(month[k]);
    if (same) return i + 1;
  }
  return def;
}

std::wstring GetBuildStamp() {
  const char stamp[] = __DATE__ " " __TIME__;
  return std::wstring(stamp, stamp + sizeof(stamp) - 1);
}

bool ParseBuildStamp(const std::wstring& text, SYSTEMTIME& out) {
  out = SYSTEMTIME{};
  std::wstring copy = text;
  ReplaceAllText(copy, L"  ", L" ");
  std::vector<std::wstring> tokens;
  size_t pos = 0;
  while (pos < copy.size()) {
    size_t blank = copy.find(L' ', pos);
    if (blank == std::wstring::npos) blank = copy.size();
    if (blank > pos) tokens.push_back(copy.substr(pos, blank - pos));
    pos = blank + 1;
  }
  if (tokens.size() < 3) return false;
  int day = 0, year = 0;
  if (!Scanner(tokens[1]).Int(day) || !Scanner(tokens[2]).Int(year)) return false;
  out.wMonth = static_cast<WORD>(MonthFromName(tokens[0], 1));
  out.wDay = static_cast<WORD>(day);
  out.wYear = static_cast<WORD>(year);
  out.wDayOfWeek = static_cast<WORD>(GetDayOfWeek(day, out.wMonth, year));

  size_t colon = copy.find(L':', 1);
  if (colon != std::wstring::npos && colon > 2) {
    out.wHour = static_cast<WORD>(TwoDigits(copy, colon - 2));
    size_t second = copy.find(L':', colon + 1);
    if (second != std::wstring::npos) {
      out.wMinute = static_cast<WORD>(TwoDigits(copy, second - 2));
      out.wSecond = static_cast<WORD>(TwoDigits(copy, second + 1));
    }
  }
  return true;
}

bool ParseBuildDate(SYSTEMTIME& out) { return ParseBuildStamp(GetBuildStamp(), out); }

bool ParseRssDate(const wchar_t* text, SYSTEMTIME& out) {
  out = SYSTEMTIME{};
  if (!text || !*text) return false;
  std::wstring copy = text;
  ReplaceAllText(copy, L"GMT", L"");
  size_t first = copy.find_first_not_of(L' ');
  if (first == std::wstring::npos) return false;
  copy = copy.substr(first, copy.find_last_not_of(L' ') - first + 1);

  // Day, month name, year and time; a field that does not read stays 0 and
  // ends the scan, as a scanf would.
  int day = 0, year = 0, hour = 0, minute = 0, second = 0;
  std::wstring monthName;
  Scanner scan(copy);
  if (scan.Int(day) && scan.Word(monthName, 99) && scan.Int(year) && scan.Int(hour) &&
      scan.Literal(L':') && scan.Int(minute) && scan.Literal(L':')) {
    scan.Int(second);
  }
  if (monthName.empty()) return false;
  int month = MonthFromName(monthName, 65535);
  if (month == 65535) return false;
  out.wYear = static_cast<WORD>(year);
  out.wMonth = static_cast<WORD>(month);
  out.wDayOfWeek = static_cast<WORD>(GetDayOfWeek(day, month, year));
  out.wDay = static_cast<WORD>(day);
  out.wHour = static_cast<WORD>(hour);
  out.wMinute = static_cast<WORD>(minute);
  out.wSecond = static_cast<WORD>(second);
  return true;
}
