#include "foundation/text_basics.h"

#include <windows.h>

#include <cwchar>

std::wstring IntToStr(int value) {
  wchar_t buf[16];
  swprintf(buf, 16, L"%d", value);
  return buf;
}

int ReplaceText(std::wstring& text, const std::wstring& from, const std::wstring& to) {
  if (from.empty()) return 0;
  int count = 0;
  size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::wstring::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
    ++count;
  }
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
