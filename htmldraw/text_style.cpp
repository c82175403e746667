#include "htmldraw/text_style.h"

#include <algorithm>

#include "htmldraw/markup_values.h"

LOGFONTW StyleLogFont(const HtmlTextStyle& style) {
  LOGFONTW lf = {};
  lf.lfHeight = std::min(std::max(style.fontSize, 0), kMaxFontHeight);
  lf.lfWeight = std::min(std::max(style.fontWeight, 0), 1000);
  lf.lfItalic = style.italic ? TRUE : FALSE;
  lf.lfUnderline = style.underline ? TRUE : FALSE;
  lf.lfStrikeOut = style.strikeout ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  size_t n = std::min(style.fontFamily.size(), static_cast<size_t>(LF_FACESIZE - 1));
  std::copy_n(style.fontFamily.c_str(), n, lf.lfFaceName);
  lf.lfFaceName[n] = L'\0';
  return lf;
}

void ApplyTextTransform(std::wstring& run, int transform) {
  if (run.empty() || transform == kTransformNone) return;
  DWORD len = static_cast<DWORD>(run.size());
  if (transform == kTransformUpper) {
    CharUpperBuffW(&run[0], len);
  } else if (transform == kTransformLower || transform == kTransformCapitalize) {
    CharLowerBuffW(&run[0], len);
  }
  if (transform != kTransformCapitalize) return;
  for (size_t i = 0; i < run.size(); ++i) {
    bool wordStart = i == 0 || run[i - 1] == L' ' || run[i - 1] == L'\t';
    if (wordStart && run[i] >= L'a' && run[i] <= L'z') run[i] = static_cast<wchar_t>(run[i] - L'a' + L'A');
  }
}
