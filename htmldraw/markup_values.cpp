#include "htmldraw/markup_values.h"

#include <climits>

#include "htmldraw/named_colors.h"

namespace {

const int kHtmlFontSizes[7] = {8, 10, 12, 14, 18, 24, 36};

int DigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return 99;
}

int Clamp(long long value, int low, int high) {
  if (value < low) return low;
  if (value > high) return high;
  return static_cast<int>(value);
}

}  // namespace

int ParseLeadingInt(const wchar_t* text) {
  while (*text == L' ' || *text == L'\t') ++text;
  bool negative = false;
  if (*text == L'+' || *text == L'-') negative = *text++ == L'-';
  long long value = 0;
  for (; *text >= L'0' && *text <= L'9'; ++text) {
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (*text - L'0');
  }
  if (negative) value = -value;
  return Clamp(value, INT_MIN, INT_MAX);
}

uint32_t ParseUnsignedNumber(const std::wstring& text) {
  size_t i = 0;
  int base = 10;
  if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
    base = 16;
    i = 2;
  } else if (!text.empty() && text[0] == L'0') {
    base = 8;
  }
  unsigned long long value = 0;
  for (; i < text.size(); ++i) {
    int digit = DigitValue(text[i]);
    if (digit >= base) break;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) value = 0xFFFFFFFFull + 1;  // keeps the product in range
  }
  return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

COLORREF ParseMarkupColor(const std::wstring& value, COLORREF current, const NamedColorTable& names) {
  if (value.empty()) return current;
  if (value[0] == L'#') {
    if (value.size() != 7) return current;
    int d[6];
    for (int k = 0; k < 6; ++k) {
      d[k] = DigitValue(value[k + 1]);
      if (d[k] > 15) return current;
    }
    return RGB(d[0] * 16 + d[1], d[2] * 16 + d[3], d[4] * 16 + d[5]);
  }
  if (value[0] >= L'0' && value[0] <= L'9') {
    uint32_t number = ParseUnsignedNumber(value);
    return number > 0xFFFFFF ? RGB(255, 255, 255) : number;
  }
  COLORREF named;
  return names.Find(value, named) ? named : current;
}

int ParseFontWeight(const std::wstring& value) {
  if (value.empty() || value == L"normal") return FW_NORMAL;
  if (value == L"bold") return FW_BOLD;
  if (value == L"bolder") return FW_HEAVY;
  if (value == L"lighter") return FW_THIN;
  return Clamp(ParseLeadingInt(value.c_str()), 0, 1000);
}

int StyleLengthUnits::DpiY() {
  if (m_dpiY < 0) m_dpiY = m_dc ? GetDeviceCaps(m_dc, LOGPIXELSY) : 96;
  return m_dpiY;
}

int StyleLengthUnits::EmHeight() {
  if (m_em < 0) {
    TEXTMETRICW tm = {};
    m_em = m_dc && GetTextMetricsW(m_dc, &tm) ? tm.tmHeight : 16;
  }
  return m_em;
}

int StyleLengthUnits::ExHeight() {
  if (m_ex < 0) {
    SIZE size = {};
    m_ex = m_dc && GetTextExtentPoint32W(m_dc, L"x", 1, &size) ? size.cy : 8;
  }
  return m_ex;
}

int ParseBackgroundEffect(const std::wstring& value, int current) {
  static const wchar_t* const kEffects[] = {
      L"transparent", L"solid",  L"hgradient", L"vgradient", L"hcgradient", L"vcgradient",
      L"3hgradient",  L"3vgradient", L"noise", L"diagshade", L"hshade",     L"vshade",
      L"hbump",       L"vbump",  L"softbump",  L"hardbump",  L"metal",
  };
  for (int i = 0; i < 17; ++i) {
    if (value == kEffects[i]) return i - 1;
  }
  // Names such as "3hgradient" start with a digit too, so they are looked up first.
  if (!value.empty() && ((value[0] >= L'0' && value[0] <= L'9') || value[0] == L'-' || value[0] == L'+'))
    return Clamp(ParseLeadingInt(value.c_str()), -1, 15);
  return current;
}

int HtmlFontSize(int size) { return size >= 1 && size <= 7 ? kHtmlFontSizes[size - 1] : size; }

int ParseStyleLength(const std::wstring& value, int current, StyleLengthUnits& units, LengthKind kind) {
  if (value.empty()) return current;
  const int high = kind == LengthKind::kFontSize ? kMaxFontHeight : kMaxStyleLength;
  std::wstring rest = value[0] == L'+' || value[0] == L'-' ? value.substr(1) : value;
  long long result;
  if (!rest.empty() && rest.back() == L'%') {
    // Rounded as MulDiv rounds: half away from zero.
    long long product = static_cast<long long>(current) * ParseLeadingInt(rest.c_str());
    result = (product >= 0 ? product + 50 : product - 50) / 100;
  } else {
    long long number = ParseLeadingInt(rest.c_str());
    std::wstring unit = rest.size() >= 2 ? rest.substr(rest.size() - 2) : std::wstring();
    if (unit == L"px") {
      result = number;
    } else if (unit == L"em") {
      result = number * units.EmHeight();
    } else if (unit == L"ex") {
      result = number * units.ExHeight();
    } else if (unit == L"in") {
      result = number * units.DpiY();
    } else if (unit == L"cm") {
      result = static_cast<long long>(static_cast<double>(number) * units.DpiY() * 0.39370078740157477);
    } else if (unit == L"mm") {
      result = static_cast<long long>(static_cast<double>(number) * units.DpiY() * 0.03937007874015748);
    } else if (unit == L"pt") {
      result = number * units.DpiY() / 72;
    } else if (unit == L"pc") {
      result = number * units.DpiY() / 6;
    } else {
      result = ParseUnsignedNumber(rest);
      if (kind == LengthKind::kFontSize && result >= 1 && result <= 7) result = HtmlFontSize(static_cast<int>(result));
    }
  }
  return Clamp(result, 0, high);
}
