#include "foundation/text/text_basics.h"

#include <windows.h>

#include <cstdarg>
#include <cwchar>

std::wstring IntToStr(int value) {
  wchar_t buf[16];
  swprintf(buf, 16, L"%d", value);
  return buf;
}

std::wstring FormatText(const wchar_t* format, ...) {
  wchar_t text[1024];
  text[0] = L'\0';
  va_list args;
  va_start(args, format);
  vswprintf(text, 1024, format, args);
  va_end(args);
  // A text longer than the buffer may come back unterminated.
  text[1023] = L'\0';
  return text;
}

int ReplaceText(std::wstring& text, const std::wstring& from, const std::wstring& to) {
  if (from.empty()) return 0;
  size_t pos = text.find(from);
  if (pos == std::wstring::npos) return 0;
  // Built into a new string: replacing in place moves the tail at every hit,
  // which is quadratic on long texts full of matches.
  std::wstring out;
  out.reserve(text.size());
  int count = 0;
  size_t done = 0;
  for (; pos != std::wstring::npos; pos = text.find(from, done)) {
    out.append(text, done, pos - done);
    out += to;
    done = pos + from.size();
    ++count;
  }
  out.append(text, done, std::wstring::npos);
  text.swap(out);
  return count;
}

std::wstring TrimChars(const std::wstring& text, const wchar_t* chars) {
  size_t first = text.find_first_not_of(chars);
  if (first == std::wstring::npos) return std::wstring();
  size_t last = text.find_last_not_of(chars);
  return text.substr(first, last - first + 1);
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  if (a.empty()) return true;
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool IsAscii(const std::wstring& text) {
  for (wchar_t c : text)
    if (c > 0x7F) return false;
  return true;
}
