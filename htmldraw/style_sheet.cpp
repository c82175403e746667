#include "htmldraw/style_sheet.h"

#include <windows.h>

#include "htmldraw/markup_lexer.h"

namespace {

const wchar_t* const kDefaultSheetLines[] = {
    L"body {font-size: 10pt; color:black; font-family:Verdana}",
    L"p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}",
    L"h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}",
    L"h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}",
    L"h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}",
    L"h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}",
    L"h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}",
    L"h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}",
    L"pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}",
    L"code {color:#990000; font-family:Arial}",
    L"a:link {text-decoration:none; color:blue}",
    L"a:hover {text-decoration:underline; color:blue}",
    L"sub {font-size:65%; vertical-align:bottom}",
    L"sup {font-size:65%; vertical-align:top}",
    L"big {font-size:125%}",
    L"small {font-size:75%}",
    L".cpp-comment {color:green; font-style:italic}",
};

}  // namespace

std::wstring StyleLowerCase(const std::wstring& text) {
  std::wstring lower = text;
  if (!lower.empty()) CharLowerBuffW(&lower[0], static_cast<DWORD>(lower.size()));
  return lower;
}

std::wstring DefaultStyleSheetText() {
  std::wstring text;
  for (const wchar_t* line : kDefaultSheetLines) {
    text += line;
    text += L"\r\n";
  }
  return text;
}

void HtmlStyleSheet::SetStyleSheet(const wchar_t* text) {
  if (!text) {
    SetDefaultStyleSheet();
    return;
  }
  m_text = text;
  Parse();
}

void HtmlStyleSheet::SetDefaultStyleSheet() {
  m_text = DefaultStyleSheetText();
  Parse();
}

void HtmlStyleSheet::Parse() {
  m_rules.clear();
  const std::wstring& s = m_text;
  const size_t n = s.size();
  size_t pos = 0;
  for (;;) {
    while (pos < n && !IsMarkupNameChar(s[pos])) ++pos;
    size_t start = pos;
    while (pos < n && !IsMarkupBlank(s[pos]) && s[pos] != L'{') ++pos;
    if (pos == start) return;
    std::wstring selector = s.substr(start, pos - start);
    size_t open = s.find(L'{', pos);
    if (open == std::wstring::npos) return;
    size_t close = s.find(L'}', open + 1);
    if (close == std::wstring::npos) return;
    // A later rule for the same selector replaces the earlier one.
    m_rules[StyleLowerCase(selector)] = s.substr(open + 1, close - open - 1);
    pos = close + 1;
  }
}

const std::wstring* HtmlStyleSheet::FindRule(const std::wstring& name) const {
  auto it = m_rules.find(StyleLowerCase(name));
  return it == m_rules.end() ? nullptr : &it->second;
}
