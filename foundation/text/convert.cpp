#include "foundation/text/convert.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

// Conversions run on every clipboard capture and XML exchange: short texts
// go through a stack buffer in a single call, longer ones are measured first
// and converted straight into the result. A UTF-16 unit never needs more
// than four bytes in any code page, so short texts always fit the buffer
// (a failed first try costs as much as a whole conversion).
constexpr int kStackChars = 2000;
constexpr int kStackBytes = kStackChars * 4;

}  // namespace

std::wstring MultiByteToWide(const char* text, unsigned int codePage) {
  if (!text || !*text) return std::wstring();
  size_t len = std::strlen(text);
  if (len > 0x7FFFFFFF) return std::wstring();
  int n = static_cast<int>(len);
  if (n < kStackChars) {
    wchar_t buffer[kStackChars];
    int k = MultiByteToWideChar(codePage, 0, text, n, buffer, kStackChars);
    if (k > 0) return std::wstring(buffer, k);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::wstring();
  }
  int m = MultiByteToWideChar(codePage, 0, text, n, nullptr, 0);
  if (m <= 0) return std::wstring();
  std::wstring result(static_cast<size_t>(m), L'\0');
  int k = MultiByteToWideChar(codePage, 0, text, n, &result[0], m);
  if (k <= 0) return std::wstring();
  result.resize(static_cast<size_t>(k));
  return result;
}

std::wstring AnsiToWide(const char* text) { return MultiByteToWide(text, CP_ACP); }

std::wstring Utf8ToWide(const char* text) { return MultiByteToWide(text, CP_UTF8); }

std::string WideToMultiByte(const wchar_t* text, unsigned int codePage) {
  if (!text || !*text) return std::string();
  size_t len = std::wcslen(text);
  if (len > 0x7FFFFFFF) return std::string();
  int n = static_cast<int>(len);
  if (n < kStackChars) {
    char buffer[kStackBytes];
    int k = WideCharToMultiByte(codePage, 0, text, n, buffer, kStackBytes, nullptr, nullptr);
    if (k > 0) return std::string(buffer, k);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::string();
  }
  int m = WideCharToMultiByte(codePage, 0, text, n, nullptr, 0, nullptr, nullptr);
  if (m <= 0) return std::string();
  std::string result(static_cast<size_t>(m), '\0');
  int k = WideCharToMultiByte(codePage, 0, text, n, &result[0], m, nullptr, nullptr);
  if (k <= 0) return std::string();
  result.resize(static_cast<size_t>(k));
  return result;
}

std::string WideToThreadAnsi(const wchar_t* text) { return WideToMultiByte(text, CP_THREAD_ACP); }

std::string WideToUtf8(const wchar_t* text) { return WideToMultiByte(text, CP_UTF8); }

wchar_t ToUpperInvariant(wchar_t ch) {
  wchar_t out = 0;
  if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, &ch, 1, &out, 1) != 1) return ch;
  return out;
}

int CompareStringsW(const wchar_t* a, const wchar_t* b, bool caseSensitive) {
  if (a == b) return 0;
  if (!a) a = L"";
  if (!b) b = L"";
  for (;; ++a, ++b) {
    wchar_t ca = *a, cb = *b;
    if (ca == cb) {
      if (!ca) return 0;
      continue;
    }
    if (!ca || !cb) return static_cast<int>(ca) - static_cast<int>(cb);
    if (!caseSensitive) {
      ca = ToUpperInvariant(ca);
      cb = ToUpperInvariant(cb);
    }
    if (ca != cb) return static_cast<int>(ca) - static_cast<int>(cb);
  }
}

std::wstring MapStringUpperInvariant(const std::wstring& text) {
  if (text.empty() || text.size() > 0x7FFFFFFF) return std::wstring();
  int n = static_cast<int>(text.size());
  std::wstring result(text.size(), L'\0');
  int k = LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.c_str(), n, &result[0], n);
  if (k <= 0) return std::wstring();
  result.resize(static_cast<size_t>(k));
  return result;
}

int FindStringNoCase(const std::wstring& needle, const std::wstring& text, int start) {
  if (needle.empty() || text.empty()) return -1;
  if (start < 0) start = 0;
  if (static_cast<size_t>(start) >= text.size()) return -1;
  std::wstring upperNeedle = MapStringUpperInvariant(needle);
  std::wstring upperText = MapStringUpperInvariant(text);
  if (upperNeedle.empty() || upperText.empty()) return -1;
  size_t pos = upperText.find(upperNeedle, static_cast<size_t>(start));
  return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}
