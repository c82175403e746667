#include "platform/htmlayout/text_decode.h"

#include <cwchar>

namespace hl {
namespace {

void AppendCodePoint(std::wstring& out, unsigned long cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (cp >> 10));
    out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<wchar_t>(cp);
  }
}

struct NamedReference {
  const wchar_t* name;
  wchar_t ch;
};

const NamedReference kNamed[] = {
    {L"amp", L'&'},      {L"lt", L'<'},       {L"gt", L'>'},        {L"quot", L'"'},
    {L"apos", L'\''},    {L"nbsp", 0xA0},     {L"bull", 0x2022},    {L"raquo", 0xBB},
    {L"laquo", 0xAB},    {L"copy", 0xA9},     {L"reg", 0xAE},       {L"trade", 0x2122},
    {L"mdash", 0x2014},  {L"ndash", 0x2013},  {L"hellip", 0x2026},  {L"middot", 0xB7},
    {L"rsquo", 0x2019},  {L"lsquo", 0x2018},  {L"rdquo", 0x201D},   {L"ldquo", 0x201C},
    {L"euro", 0x20AC},   {L"times", 0xD7},    {L"deg", 0xB0},       {L"sect", 0xA7},
};

// Length of a recognised reference at text[0] == '&' (0: none) and its text.
size_t MatchReference(const wchar_t* text, size_t size, std::wstring& out) {
  if (size < 3) return 0;
  if (text[1] == L'#') {
    bool hex = size > 2 && (text[2] == L'x' || text[2] == L'X');
    size_t i = hex ? 3 : 2;
    unsigned long cp = 0;
    size_t digits = 0;
    for (; i < size && digits < 8; ++i, ++digits) {
      wchar_t c = text[i];
      int d = -1;
      if (c >= L'0' && c <= L'9') d = c - L'0';
      else if (hex && c >= L'a' && c <= L'f') d = c - L'a' + 10;
      else if (hex && c >= L'A' && c <= L'F') d = c - L'A' + 10;
      if (d < 0) break;
      cp = cp * (hex ? 16 : 10) + static_cast<unsigned long>(d);
    }
    if (digits == 0) return 0;
    if (i < size && text[i] == L';') ++i;
    AppendCodePoint(out, cp);
    return i;
  }
  for (const NamedReference& r : kNamed) {
    size_t n = wcslen(r.name);
    if (n + 1 > size || wcsncmp(text + 1, r.name, n) != 0) continue;
    if (n + 1 < size && text[n + 1] == L';') {
      out += r.ch;
      return n + 2;
    }
    // The oldest names are recognised without their semicolon too.
    bool legacy = n <= 4 && (r.ch == L'&' || r.ch == L'<' || r.ch == L'>' || r.ch == L'"' ||
                             r.ch == 0xA0);
    wchar_t next = n + 1 < size ? text[n + 1] : 0;
    if (legacy && !iswalnum(next) && next != L'=') {
      out += r.ch;
      return n + 1;
    }
  }
  return 0;
}

}  // namespace

std::wstring DecodeUtf8(const unsigned char* bytes, size_t size) {
  std::wstring out;
  if (!bytes) return out;
  size_t i = 0;
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) i = 3;
  out.reserve(size - i);
  while (i < size) {
    unsigned char b = bytes[i];
    if (b < 0x80) {
      out += static_cast<wchar_t>(b);
      ++i;
      continue;
    }
    int extra = b >= 0xF0 && b <= 0xF4 ? 3 : b >= 0xE0 ? (b <= 0xEF ? 2 : -1) : b >= 0xC2 ? 1 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= size) {
      out += static_cast<wchar_t>(0xFFFD);  // a stray or cut-off lead byte
      ++i;
      continue;
    }
    unsigned long cp = b & (0x3F >> extra);
    size_t j = 1;
    for (; j <= static_cast<size_t>(extra); ++j) {
      unsigned char c = bytes[i + j];
      if ((c & 0xC0) != 0x80) break;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (j <= static_cast<size_t>(extra)) {
      out += static_cast<wchar_t>(0xFFFD);
      i += j;  // resynchronise at the byte that broke the sequence
      continue;
    }
    static const unsigned long kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra]) cp = 0xFFFD;  // overlong
    AppendCodePoint(out, cp);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

void AppendDecodedText(std::wstring& out, const wchar_t* text, size_t size) {
  size_t i = 0;
  while (i < size) {
    const wchar_t* amp = static_cast<const wchar_t*>(wmemchr(text + i, L'&', size - i));
    if (!amp) {
      out.append(text + i, size - i);
      return;
    }
    size_t at = static_cast<size_t>(amp - text);
    out.append(text + i, at - i);
    size_t used = MatchReference(text + at, size - at, out);
    if (used == 0) {
      out += L'&';
      used = 1;
    }
    i = at + used;
  }
}

}  // namespace hl
