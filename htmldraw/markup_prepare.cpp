#include "htmldraw/markup_prepare.h"

#include "foundation/text/text_basics.h"

// "&lt;" becomes "<<", which the lexer reads as one literal "<"; the entity
// for the ampersand comes first, so a written "&amp;lt;" shows as "<".
const MarkupEntity kMarkupEntities[13] = {
    {L"&amp;", L"&"},         {L"&bull;", L"\x2022"}, {L"&copy;", L"\x00A9"},
    {L"&euro;", L"\x20AC"},   {L"&gt;", L">"},        {L"&iquest;", L"\x00BF"},
    {L"&lt;", L"<<"},         {L"&nbsp;", L" "},      {L"&para;", L"\x00B6"},
    {L"&pound;", L"\x00A3"},  {L"&quot;", L"\""},     {L"&reg;", L"\x00AE"},
    {L"&trade;", L"\x2122"},
};

std::wstring PrepareMarkupText(const std::wstring& raw, bool multiLine, bool entities) {
  std::wstring text = raw;
  if (entities && text.find(L'&') != std::wstring::npos) {
    for (const MarkupEntity& e : kMarkupEntities) ReplaceText(text, e.name, e.replacement);
  }
  std::wstring out;
  out.reserve(text.size() + text.size() / 8);
  for (wchar_t c : text) {
    switch (c) {
      case L'\r':
        break;
      case L'\n':
        if (multiLine) out += L"<br>";
        break;
      case L'\t':
        if (multiLine) out += L"<t>";
        break;
      default:
        out += c;
    }
  }
  return out;
}
