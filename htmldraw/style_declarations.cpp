#include "htmldraw/style_declarations.h"

#include "htmldraw/markup_lexer.h"
#include "htmldraw/markup_values.h"
#include "htmldraw/named_colors.h"
#include "htmldraw/style_sheet.h"

namespace {

struct Keyword {
  const wchar_t* word;
  int value;
};

// The value of a keyword of the list (an empty word matches an empty value);
// false when the value is none of them.
template <size_t N>
bool MatchKeyword(const Keyword (&list)[N], const std::wstring& value, int& out) {
  for (const Keyword& k : list) {
    if (value == k.word) {
      out = k.value;
      return true;
    }
  }
  return false;
}

const Keyword kTextAlign[] = {{L"", kAlignLeft}, {L"left", kAlignLeft}, {L"center", kAlignCenter},
                              {L"right", kAlignRight}};
const Keyword kTransforms[] = {{L"", kTransformNone},
                               {L"none", kTransformNone},
                               {L"uppercase", kTransformUpper},
                               {L"lowercase", kTransformLower},
                               {L"capitalize", kTransformCapitalize}};
const Keyword kVertAlign[] = {{L"", kAlignBaseline}, {L"baseline", kAlignBaseline}, {L"middle", kAlignVCenter},
                              {L"vcenter", kAlignVCenter}, {L"top", kAlignTop},    {L"bottom", kAlignBottom}};
const Keyword kBorderStyles[] = {{L"", kBorderNone},        {L"none", kBorderNone},     {L"solid", kBorderSolid},
                                 {L"dashed", kBorderDashed}, {L"dotted", kBorderDotted}, {L"double", kBorderDouble}};
const Keyword kFontStyles[] = {{L"", FALSE}, {L"normal", FALSE}, {L"italic", TRUE}, {L"oblique", TRUE}};

void ApplyTextDecoration(const std::wstring& value, HtmlTextStyle& style) {
  if (value.empty()) {
    style.underline = style.strikeout = style.overline = FALSE;
    return;
  }
  size_t pos = 0;
  while (pos < value.size()) {
    size_t end = pos;
    while (end < value.size() && !IsMarkupBlank(value[end]) && value[end] != L',') ++end;
    std::wstring word = value.substr(pos, end - pos);
    if (word == L"none") {
      style.underline = style.strikeout = style.overline = FALSE;
    } else if (word == L"underline") {
      style.underline = TRUE;
    } else if (word == L"line-through") {
      style.strikeout = TRUE;
    } else if (word == L"overline") {
      style.overline = TRUE;
    }
    pos = end + 1;
  }
}

void SetBorderWidth(HtmlTextStyle& style, int width) {
  style.borderWidth = width;
  if (width == 0) {
    style.borderStyle = kBorderNone;
  } else if (style.borderStyle == kBorderNone) {
    style.borderStyle = kBorderSolid;
  }
}

void ApplyBorderWidth(const std::wstring& value, HtmlTextStyle& style, StyleLengthUnits& units) {
  if (value.empty()) return;
  int width = style.borderWidth;
  if (value == L"thin") {
    width = MulDiv(width, 75, 100);
  } else if (value == L"thick") {
    width = MulDiv(width, 125, 100);
  } else if (value != L"medium") {
    width = ParseStyleLength(value, width, units);
  }
  SetBorderWidth(style, width < 0 ? 0 : (width > kMaxStyleLength ? kMaxStyleLength : width));
}

void ApplyProperty(const std::wstring& name, const std::wstring& value, HtmlTextStyle& style,
                   const StyleColorContext& colors, StyleLengthUnits& units) {
  int keyword;
  if (name == L"font-size") {
    style.fontSize = ParseStyleLength(value, style.fontSize, units, LengthKind::kFontSize);
  } else if (name == L"font-family") {
    if (!value.empty()) style.fontFamily = value;
  } else if (name == L"font-style") {
    if (MatchKeyword(kFontStyles, value, keyword)) style.italic = keyword;
  } else if (name == L"font-weight") {
    style.fontWeight = ParseFontWeight(value);
  } else if (name == L"text-align") {
    if (MatchKeyword(kTextAlign, value, keyword)) style.horzAlign = keyword;
  } else if (name == L"text-transform") {
    if (MatchKeyword(kTransforms, value, keyword)) style.textTransform = keyword;
  } else if (name == L"color") {
    style.textColor = colors.Resolve(value, style.textColor);
  } else if (name == L"background-color") {
    ApplyTextBackground(value, style, colors);
  } else if (name == L"background-image") {
    // Tiled behind the text; a local file's path.
    style.backgroundImage = value.empty() || value == L"none" ? std::wstring() : L"file:" + value;
  } else if (name == L"background-repeat") {
    style.backgroundRepeat = value == L"repeat-x" ? 1 : value == L"repeat-y" ? 2 : 0;
  } else if (name == L"text-decoration") {
    ApplyTextDecoration(value, style);
  } else if (name == L"vertical-align") {
    if (MatchKeyword(kVertAlign, value, keyword)) style.vertAlign = keyword;
  } else if (name == L"border-color") {
    if (!value.empty()) style.borderColorLight = style.borderColorDark = colors.Resolve(value, style.borderColorLight);
  } else if (name == L"border-width" || name == L"size") {
    ApplyBorderWidth(value, style, units);
  } else if (name == L"border-style") {
    if (MatchKeyword(kBorderStyles, value, keyword)) {
      style.borderStyle = keyword;
      if (keyword != kBorderNone && style.borderWidth == 0) style.borderWidth = 1;
    }
  } else if (name == L"margin") {
    style.innerSpacing = ParseStyleLength(value, style.innerSpacing, units);
  } else if (name == L"padding") {
    style.outerSpacing = ParseStyleLength(value, style.outerSpacing, units);
  }
}

}  // namespace

COLORREF StyleColorContext::Resolve(const std::wstring& value, COLORREF current) const {
  if (!enabled) return disabledColor;
  return names ? ParseMarkupColor(value, current, *names) : current;
}

void ApplyTextBackground(const std::wstring& value, HtmlTextStyle& style, const StyleColorContext& colors) {
  if (value.empty() || value == L"transparent" || !colors.enabled) {
    style.backgroundMode = kBackgroundTransparent;
    return;
  }
  style.backgroundMode = kBackgroundOpaque;
  style.backgroundColor = colors.Resolve(value, style.backgroundColor);
}

void ApplyStyleDeclarations(const std::wstring& text, HtmlTextStyle& style, const StyleColorContext& colors,
                            StyleLengthUnits& units) {
  const std::wstring s = StyleLowerCase(text);
  const size_t n = s.size();
  size_t pos = 0;
  std::wstring name, value;
  for (;;) {
    while (pos < n && !IsMarkupNameChar(s[pos])) ++pos;
    if (pos >= n) return;
    size_t start = pos;
    while (pos < n && !IsMarkupBlank(s[pos]) && s[pos] != L':') ++pos;
    name.assign(s, start, pos - start);
    while (pos < n && IsMarkupBlank(s[pos])) ++pos;
    value.clear();
    if (pos < n && s[pos] == L':') {
      ++pos;
      while (pos < n && (IsMarkupBlank(s[pos]) || s[pos] == L';')) ++pos;
      if (pos < n && s[pos] == L'"') {
        size_t close = s.find(L'"', pos + 1);
        size_t end = close == std::wstring::npos ? n : close;
        value.assign(s, pos + 1, end - pos - 1);
        pos = close == std::wstring::npos ? n : close + 1;
      } else {
        start = pos;
        while (pos < n && !IsMarkupBlank(s[pos]) && s[pos] != L';') ++pos;
        value.assign(s, start, pos - start);
      }
    }
    ApplyProperty(name, value, style, colors, units);
  }
}
