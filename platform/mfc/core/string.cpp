#include "platform/mfc/core/string.h"

#include <cstdarg>
#include <cwchar>
#include <cwctype>

#include "foundation/localization/localized_strings.h"

namespace {

bool InSet(wchar_t ch, const wchar_t* set) { return set && ch && std::wcschr(set, ch) != nullptr; }

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

}  // namespace

wchar_t CString::GetAt(int index) const {
  return index >= 0 && index < GetLength() ? m_s[index] : L'\0';
}

void CString::SetAt(int index, wchar_t ch) {
  if (index >= 0 && index < GetLength()) m_s[index] = ch;
}

int CString::Compare(const wchar_t* text) const { return std::wcscmp(m_s.c_str(), text ? text : L""); }

int CString::CompareNoCase(const wchar_t* text) const {
  return ::lstrcmpiW(m_s.c_str(), text ? text : L"");
}

CString CString::Left(int count) const {
  return CString(m_s.substr(0, Clamp(count, 0, GetLength())));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  first = Clamp(first, 0, GetLength());
  count = Clamp(count, 0, GetLength() - first);
  return CString(m_s.substr(first, count));
}

CString CString::Right(int count) const {
  count = Clamp(count, 0, GetLength());
  return CString(m_s.substr(GetLength() - count));
}

int CString::Find(wchar_t ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  size_t at = m_s.find(ch, start);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const wchar_t* sub, int start) const {
  if (!sub || start < 0 || start > GetLength()) return -1;
  size_t at = m_s.find(sub, start);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t ch) const {
  size_t at = m_s.rfind(ch);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const wchar_t* charSet) const {
  if (!charSet || !*charSet) return -1;
  size_t at = m_s.find_first_of(charSet);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
  if (!oldText || !*oldText) return 0;
  const std::wstring from(oldText), to(newText ? newText : L"");
  std::wstring out;
  int count = 0;
  size_t pos = 0;
  for (size_t at; (at = m_s.find(from, pos)) != std::wstring::npos; pos = at + from.size()) {
    out.append(m_s, pos, at - pos);
    out += to;
    ++count;
  }
  if (count) {
    out.append(m_s, pos, std::wstring::npos);
    m_s.swap(out);
  }
  return count;
}

int CString::Replace(wchar_t oldCh, wchar_t newCh) {
  int count = 0;
  for (wchar_t& c : m_s) {
    if (c == oldCh) {
      c = newCh;
      ++count;
    }
  }
  return count;
}

int CString::Remove(wchar_t ch) {
  size_t before = m_s.size();
  std::wstring out;
  for (wchar_t c : m_s) {
    if (c != ch) out += c;
  }
  m_s.swap(out);
  return static_cast<int>(before - m_s.size());
}

int CString::Insert(int index, const wchar_t* text) {
  if (text) m_s.insert(Clamp(index, 0, GetLength()), text);
  return GetLength();
}

int CString::Delete(int index, int count) {
  if (index >= 0 && index < GetLength() && count > 0) m_s.erase(index, count);
  return GetLength();
}

CString& CString::TrimLeft() {
  size_t i = 0;
  while (i < m_s.size() && std::iswspace(m_s[i])) ++i;
  m_s.erase(0, i);
  return *this;
}

CString& CString::TrimLeft(wchar_t ch) {
  const wchar_t set[2] = {ch, 0};
  return TrimLeft(set);
}

CString& CString::TrimLeft(const wchar_t* charSet) {
  size_t i = 0;
  while (i < m_s.size() && InSet(m_s[i], charSet)) ++i;
  m_s.erase(0, i);
  return *this;
}

CString& CString::TrimRight() {
  size_t n = m_s.size();
  while (n > 0 && std::iswspace(m_s[n - 1])) --n;
  m_s.resize(n);
  return *this;
}

CString& CString::TrimRight(wchar_t ch) {
  const wchar_t set[2] = {ch, 0};
  return TrimRight(set);
}

CString& CString::TrimRight(const wchar_t* charSet) {
  size_t n = m_s.size();
  while (n > 0 && InSet(m_s[n - 1], charSet)) --n;
  m_s.resize(n);
  return *this;
}

CString& CString::MakeUpper() {
  if (!m_s.empty()) ::CharUpperBuffW(&m_s[0], static_cast<DWORD>(m_s.size()));
  return *this;
}

CString& CString::MakeLower() {
  if (!m_s.empty()) ::CharLowerBuffW(&m_s[0], static_cast<DWORD>(m_s.size()));
  return *this;
}

CString& CString::MakeReverse() {
  m_s.assign(m_s.rbegin(), m_s.rend());
  return *this;
}

void CString::FormatV(const wchar_t* format, va_list args) {
  if (!format) {
    m_s.clear();
    return;
  }
  std::wstring buffer(256, L'\0');
  // The buffer grows until the whole text fits; a text past 16 M characters
  // (a runaway argument) is cut rather than grown further.
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vswprintf(&buffer[0], buffer.size(), format, copy);
    va_end(copy);
    if (n >= 0 && static_cast<size_t>(n) < buffer.size()) {
      buffer.resize(n);
      break;
    }
    if (buffer.size() >= (16u << 20)) {
      buffer.resize(std::wcslen(buffer.c_str()));
      break;
    }
    buffer.resize(buffer.size() * 4);
  }
  m_s.swap(buffer);
}

void CString::Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...) {
  CString more;
  va_list args;
  va_start(args, format);
  more.FormatV(format, args);
  va_end(args);
  m_s += more.m_s;
}

wchar_t* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) m_s.resize(minLength);
  // The terminator slot after size() belongs to the string; writing a
  // terminator there is allowed.
  return &m_s[0];
}

wchar_t* CString::GetBufferSetLength(int length) {
  m_s.resize(length > 0 ? length : 0);
  return &m_s[0];
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) {
    m_s.resize(std::wcslen(m_s.c_str()));
  } else {
    m_s.resize(Clamp(newLength, 0, GetLength()));
  }
}

BOOL CString::LoadString(UINT id) {
  CLngString text;
  if (!text.LoadString(id)) {
    m_s.clear();
    return FALSE;
  }
  m_s = text.Text();
  return TRUE;
}

CString operator+(const CString& a, const CString& b) { return CString(a.Str() + b.Str()); }
CString operator+(const CString& a, const wchar_t* b) { return CString(a.Str() + (b ? b : L"")); }
CString operator+(const wchar_t* a, const CString& b) { return CString((a ? a : L"") + b.Str()); }
CString operator+(const CString& a, wchar_t b) { return CString(a.Str() + b); }
CString operator+(wchar_t a, const CString& b) { return CString(std::wstring(1, a) + b.Str()); }
