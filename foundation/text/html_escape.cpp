#include "foundation/text/html_escape.h"

void AppendEscapedHtml(std::wstring& out, const std::wstring& text, bool quotes) {
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"':
        if (quotes) out += L"&quot;";
        else out += c;
        break;
      default: out += c;
    }
  }
}

std::wstring EscapeHtml(const std::wstring& text, bool quotes) {
  std::wstring out;
  out.reserve(text.size());
  AppendEscapedHtml(out, text, quotes);
  return out;
}
