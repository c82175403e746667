#include "htmldraw/markup_lexer.h"

#include <windows.h>

#include "htmldraw/markup_values.h"

bool IsMarkupNameChar(wchar_t c) {
  if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'.')
    return true;
  return c > 0x7F && IsCharAlphaNumericW(c);
}

bool MarkupLexer::Next(MarkupToken& token) {
  const size_t n = m_text.size();
  token.text.clear();
  while (m_pos < n) {
    size_t lt = m_text.find(L'<', m_pos);
    if (lt == std::wstring::npos) {
      token.text.append(m_text, m_pos, std::wstring::npos);
      m_pos = n;
      break;
    }
    token.text.append(m_text, m_pos, lt - m_pos);
    if (lt + 1 == n) {  // a "<" at the very end is a literal one
      token.text += L'<';
      m_pos = n;
      break;
    }
    if (m_text[lt + 1] == L'<') {
      token.text += L'<';
      m_pos = lt + 2;
      continue;
    }
    // Once no ">" follows, none follows any later "<" either: remember it, so
    // a text full of unclosed "<" is not searched to its end again and again.
    size_t gt = lt < m_noCloseFrom ? m_text.find(L'>', lt + 1) : std::wstring::npos;
    if (gt == std::wstring::npos) {  // an unclosed "<" is dropped
      m_noCloseFrom = lt < m_noCloseFrom ? lt : m_noCloseFrom;
      m_pos = lt + 1;
      continue;
    }
    size_t nameStart = lt + 1;
    size_t nameEnd = nameStart;
    while (nameEnd < gt && !IsMarkupBlank(m_text[nameEnd]) && m_text[nameEnd] != L'=') ++nameEnd;
    bool closing = nameEnd > nameStart && m_text[nameStart] == L'/';
    if (closing) ++nameStart;
    const MarkupTag* tag = FindMarkupTag(m_text.data() + nameStart, nameEnd - nameStart);
    if (!tag) {  // unknown tags vanish; the text around them joins up
      m_pos = gt + 1;
      continue;
    }
    // Hand out the text before the tag first; the tag is read again next time.
    if (!token.text.empty()) {
      m_pos = lt;
      break;
    }
    m_pos = gt + 1;
    size_t attrStart = nameEnd;
    while (attrStart < gt && IsMarkupBlank(m_text[attrStart])) ++attrStart;
    token.kind = MarkupToken::kTag;
    token.tag = tag;
    token.closing = closing;
    token.attributes.assign(m_text, attrStart, gt - attrStart);
    return true;
  }
  if (token.text.empty()) return false;
  token.kind = MarkupToken::kText;
  token.tag = nullptr;
  token.closing = false;
  token.attributes.clear();
  return true;
}

bool MarkupAttributeScanner::Next(std::wstring& name, std::wstring& value) {
  const size_t n = m_text.size();
  while (m_pos < n && !IsMarkupNameChar(m_text[m_pos])) ++m_pos;
  if (m_pos >= n) return false;
  size_t start = m_pos;
  while (m_pos < n && !IsMarkupBlank(m_text[m_pos]) && m_text[m_pos] != L'=') ++m_pos;
  name.assign(m_text, start, m_pos - start);
  while (m_pos < n && (IsMarkupBlank(m_text[m_pos]) || m_text[m_pos] == L'=')) ++m_pos;
  value.clear();
  if (m_pos >= n) return true;
  wchar_t quote = m_text[m_pos];
  if (quote == L'"' || quote == L'\'') {
    size_t close = m_text.find(quote, m_pos + 1);
    size_t end = close == std::wstring::npos ? n : close;
    value.assign(m_text, m_pos + 1, end - m_pos - 1);
    m_pos = close == std::wstring::npos ? n : close + 1;
  } else {
    start = m_pos;
    while (m_pos < n && !IsMarkupBlank(m_text[m_pos])) ++m_pos;
    value.assign(m_text, start, m_pos - start);
  }
  return true;
}

int MarkupRepeatCount(const std::wstring& attributes) {
  if (attributes.size() < 2) return 1;
  long long count = ParseLeadingInt(attributes.c_str() + 1);
  if (count < 1) return 1;
  return count > kMaxMarkupRepeat ? kMaxMarkupRepeat : static_cast<int>(count);
}
