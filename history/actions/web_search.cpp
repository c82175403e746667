#include "history/actions/web_search.h"

#include "foundation/system/command_runners.h"

namespace {

const wchar_t* SearchPrefix(int engine) {
  switch (engine) {
    case kSearchEngineGoogle:
      return L"http://search1.example/search?q=";
    case kSearchEngineYandex:
      return L"http://search2.example/yandsearch?text=";
    case kSearchEngineMsdn:
      return L"http://search3.example/Search/en-US?query=";
    case kSearchEngineWikipedia:
      return L"https://search4.example/wiki/Special:Search?search=";
    default:
      return nullptr;
  }
}

void ReplaceAll(std::wstring& text, const wchar_t* from, const wchar_t* to) {
  const std::wstring what = from;
  const std::wstring with = to;
  for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
}

bool IsUnreserved(unsigned ch) {
  return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
         ch == '-' || ch == '.' || ch == '_' || ch == '~';
}

// The code point at text[at]; count receives how many UTF-16 units it took.
unsigned CodePointAt(const std::wstring& text, size_t at, size_t* count) {
  const unsigned unit = text[at];
  *count = 1;
  if (unit >= 0xD800 && unit <= 0xDBFF && at + 1 < text.size()) {
    const unsigned low = text[at + 1];
    if (low >= 0xDC00 && low <= 0xDFFF) {
      *count = 2;
      return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
  }
  if (unit >= 0xD800 && unit <= 0xDFFF) return 0xFFFD;
  return unit;
}

// The escapes (or the bare character) of one code point.
std::wstring EncodeCodePoint(unsigned cp) {
  if (cp < 0x80 && IsUnreserved(cp)) return std::wstring(1, static_cast<wchar_t>(cp));
  unsigned char bytes[4];
  int n = 0;
  if (cp < 0x80) {
    bytes[n++] = static_cast<unsigned char>(cp);
  } else if (cp < 0x800) {
    bytes[n++] = static_cast<unsigned char>(0xC0 | (cp >> 6));
    bytes[n++] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    bytes[n++] = static_cast<unsigned char>(0xE0 | (cp >> 12));
    bytes[n++] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
    bytes[n++] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
  } else {
    bytes[n++] = static_cast<unsigned char>(0xF0 | (cp >> 18));
    bytes[n++] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
    bytes[n++] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
    bytes[n++] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
  }
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out;
  for (int i = 0; i < n; ++i) {
    out += L'%';
    out += kHex[bytes[i] >> 4];
    out += kHex[bytes[i] & 0xF];
  }
  return out;
}

}  // namespace

std::wstring EncodeSearchQuery(const std::wstring& text, size_t maxChars) {
  std::wstring query;
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at += count) {
    const std::wstring piece = EncodeCodePoint(CodePointAt(text, at, &count));
    if (query.size() + piece.size() > maxChars) break;
    query += piece;
  }
  return query;
}

std::wstring BuildWebSearchAddress(const std::wstring& text, int engine) {
  const wchar_t* prefix = SearchPrefix(engine);
  if (!prefix) return std::wstring();
  std::wstring line = text;
  // CR LF first, so that a Windows line break gives one blank, not two.
  ReplaceAll(line, L"\r\n", L" ");
  ReplaceAll(line, L"\n", L" ");
  ReplaceAll(line, L"\r", L" ");
  return prefix + EncodeSearchQuery(line);
}

bool SearchTextOnWeb(const std::wstring& text, int engine, HWND owner) {
  const std::wstring address = BuildWebSearchAddress(text, engine);
  if (address.empty()) return false;
  return RunCommand(address, true, owner);
}
