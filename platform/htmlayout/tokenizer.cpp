#include "platform/htmlayout/tokenizer.h"

#include "platform/htmlayout/text_decode.h"

namespace hl {
namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f'; }
bool IsLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

void AppendLower(std::string& out, wchar_t c) {
  if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  // Names are ASCII in every page we show; anything else is kept as a marker
  // that matches no real name.
  out += c < 0x80 ? static_cast<char>(c) : '?';
}

bool StartsTagLike(const std::wstring& s, size_t at) {
  if (at + 1 >= s.size()) return false;
  wchar_t c = s[at + 1];
  return IsLetter(c) || c == L'/' || c == L'!' || c == L'?';
}

const char* const kVoid[] = {"area", "base", "basefont", "br", "col", "embed", "frame", "hr",
                             "img", "input", "link", "meta", "param", "source", "wbr", nullptr};
const char* const kRaw[] = {"style", "script", "title", "textarea", nullptr};

}  // namespace

bool IsVoidElement(const std::string& tag) { return TagIn(tag, kVoid); }
bool IsRawTextElement(const std::string& tag) { return TagIn(tag, kRaw); }

void Tokenizer::SkipTo(wchar_t c) {
  size_t at = m_s.find(c, m_pos);
  m_pos = at == std::wstring::npos ? m_s.size() : at + 1;
}

bool Tokenizer::ReadRawText(Token& token) {
  // The content ends at "</name" followed by a blank, '/', '>' or the end.
  size_t from = m_pos, at = m_pos;
  size_t end = m_s.size();
  while ((at = m_s.find(L"</", at)) != std::wstring::npos) {
    size_t i = at + 2, k = 0;
    while (k < m_rawEnd.size() && i < m_s.size()) {
      wchar_t c = m_s[i];
      if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
      if (c != static_cast<wchar_t>(m_rawEnd[k])) break;
      ++i, ++k;
    }
    if (k == m_rawEnd.size() && (i == m_s.size() || IsSpace(m_s[i]) || m_s[i] == L'/' || m_s[i] == L'>')) {
      end = at;
      break;
    }
    at += 2;
  }
  m_rawEnd.clear();
  m_pos = end;
  token = Token();
  token.kind = Token::kText;
  if (m_rawDecoded) {
    AppendDecodedText(token.text, m_s.data() + from, end - from);
  } else {
    token.text.assign(m_s, from, end - from);
  }
  return true;
}

bool Tokenizer::ReadEndTag(Token& token) {
  token = Token();
  token.kind = Token::kEndTag;
  size_t i = m_pos + 2;
  while (i < m_s.size() && !IsSpace(m_s[i]) && m_s[i] != L'/' && m_s[i] != L'>') AppendLower(token.name, m_s[i++]);
  m_pos = i;
  size_t close = m_s.find(L'>', m_pos);
  if (close == std::wstring::npos) {
    m_pos = m_s.size();
    return false;
  }
  m_pos = close + 1;
  return true;
}

bool Tokenizer::ReadStartTag(Token& token) {
  token = Token();
  token.kind = Token::kStartTag;
  const size_t n = m_s.size();
  size_t i = m_pos + 1;
  while (i < n && !IsSpace(m_s[i]) && m_s[i] != L'/' && m_s[i] != L'>') AppendLower(token.name, m_s[i++]);
  for (;;) {
    while (i < n && IsSpace(m_s[i])) ++i;
    if (i >= n) break;
    wchar_t c = m_s[i];
    if (c == L'>') {
      m_pos = i + 1;
      return true;
    }
    if (c == L'/') {
      token.selfClosing = i + 1 < n && m_s[i + 1] == L'>';
      ++i;
      continue;
    }
    Attribute attribute;
    // A name may start with '=' (then it is part of the name, as browsers do).
    attribute.name.clear();
    AppendLower(attribute.name, m_s[i++]);
    while (i < n && !IsSpace(m_s[i]) && m_s[i] != L'/' && m_s[i] != L'>' && m_s[i] != L'=') {
      AppendLower(attribute.name, m_s[i++]);
    }
    size_t j = i;
    while (j < n && IsSpace(m_s[j])) ++j;
    if (j < n && m_s[j] == L'=') {
      i = j + 1;
      while (i < n && IsSpace(m_s[i])) ++i;
      if (i >= n) break;
      size_t from, to;
      if (m_s[i] == L'"' || m_s[i] == L'\'') {
        size_t close = m_s.find(m_s[i], i + 1);
        if (close == std::wstring::npos) break;
        from = i + 1;
        to = close;
        i = close + 1;
      } else {
        from = i;
        while (i < n && !IsSpace(m_s[i]) && m_s[i] != L'>') ++i;
        to = i;
      }
      AppendDecodedText(attribute.value, m_s.data() + from, to - from);
    }
    if (token.attributes.size() < kMaxAttributes) token.attributes.push_back(std::move(attribute));
  }
  m_pos = n;  // cut off by the end: dropped
  return false;
}

bool Tokenizer::Next(Token& token) {
  const size_t n = m_s.size();
  if (!m_rawEnd.empty()) return ReadRawText(token);
  while (m_pos < n) {
    if (m_s[m_pos] == L'<' && StartsTagLike(m_s, m_pos)) {
      wchar_t c = m_s[m_pos + 1];
      if (c == L'!') {
        if (m_s.compare(m_pos, 4, L"<!--") == 0) {
          size_t close = m_s.find(L"-->", m_pos + 4);
          m_pos = close == std::wstring::npos ? n : close + 3;
        } else {
          SkipTo(L'>');  // doctype and other declarations
        }
        continue;
      }
      if (c == L'?') {
        SkipTo(L'>');
        continue;
      }
      if (c == L'/') {
        if (m_pos + 2 < n && IsLetter(m_s[m_pos + 2])) {
          if (ReadEndTag(token)) return true;
        } else {
          SkipTo(L'>');  // "</>" or "</ ..."
        }
        continue;
      }
      if (!ReadStartTag(token)) continue;
      if (IsRawTextElement(token.name) && !token.selfClosing) {
        m_rawEnd = token.name;
        m_rawDecoded = token.name == "title" || token.name == "textarea";
      }
      return true;
    }
    // Text runs to the next '<' that opens something.
    size_t end = m_pos + 1;
    for (;;) {
      end = m_s.find(L'<', end);
      if (end == std::wstring::npos) {
        end = n;
        break;
      }
      if (StartsTagLike(m_s, end)) break;
      ++end;
    }
    token = Token();
    token.kind = Token::kText;
    AppendDecodedText(token.text, m_s.data() + m_pos, end - m_pos);
    m_pos = end;
    return true;
  }
  return false;
}

}  // namespace hl
