#include "foundation/ui/rich_edit.h"

#include <algorithm>

#include <commdlg.h>
#include <richedit.h>

#include <cstring>

namespace {

struct ReadCursor {
  const BYTE* bytes;
  size_t count;
  size_t next;
  size_t unit;  // bytes per character: 2 for UTF-16 text, else 1
};

bool IsCharAt(const ReadCursor& cursor, size_t at, char c) {
  return cursor.bytes[at] == static_cast<BYTE>(c) && (cursor.unit == 1 || cursor.bytes[at + 1] == 0);
}

DWORD CALLBACK StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG asked, LONG* given) {
  auto* cursor = reinterpret_cast<ReadCursor*>(cookie);
  size_t left = cursor->count - cursor->next;
  size_t n = asked > 0 && static_cast<size_t>(asked) < left ? static_cast<size_t>(asked) : left;
  if (n < left) {
    if (n > cursor->unit) n -= n % cursor->unit;  // whole characters only
    // Never part a CR from its LF: some controls read the halves as two
    // line breaks.
    size_t last = cursor->next + n - cursor->unit;
    if (n > cursor->unit && IsCharAt(*cursor, last, '\r') && IsCharAt(*cursor, last + cursor->unit, '\n'))
      n -= cursor->unit;
  }
  memcpy(buffer, cursor->bytes + cursor->next, n);
  cursor->next += n;
  *given = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK StreamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
  auto* sink = reinterpret_cast<std::string*>(cookie);
  if (count > 0) sink->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
  *taken = count;
  return 0;
}

// Every byte the control streams out, bounded by the count it gave.
std::string StreamOutBytes(HWND edit, WPARAM format, size_t reserve) {
  std::string sink;
  sink.reserve(reserve);
  EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&sink), 0, StreamOutCallback};
  SendMessageW(edit, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&es));
  return sink;
}

bool StartsWithNoCase(const wchar_t* text, size_t length, const wchar_t* prefix) {
  size_t n = wcslen(prefix);
  if (length < n) return false;
  for (size_t i = 0; i < n; ++i) {
    wchar_t c = text[i];
    if (c >= L'A' && c <= L'Z') c = c - L'A' + L'a';
    if (c != prefix[i]) return false;
  }
  return true;
}

void AppendUnicodeEscape(std::string& out, wchar_t c) {
  char escape[16];
  snprintf(escape, sizeof escape, "\\u%d?", static_cast<int>(static_cast<short>(c)));
  out += escape;
}


void Select(HWND edit, LONG from, LONG to) {
  CHARRANGE range = {from, to};
  SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void ReplaceSelection(HWND edit, const wchar_t* text) {
  SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

bool SelectedCharIs(HWND edit, LONG from, wchar_t ch) {
  Select(edit, from, from + 1);
  std::wstring selected = RichEditGetSelText(edit);
  return !selected.empty() && selected[0] == ch;
}

// Groups nested deeper than this are flattened before the control reads
// them: some rich edit versions crash on groups nested a few dozen deep
// (seen between 30 and 60), and real documents nest a dozen deep at most.
constexpr int kMaxRtfDepth = 30;

// The RTF with the braces beyond kMaxRtfDepth dropped (their text kept);
// empty when no group goes that deep.
std::string FlattenDeepGroups(const BYTE* rtf, size_t count) {
  int depth = 0;
  bool tooDeep = false;
  for (size_t i = 0; i < count && !tooDeep; ++i) {
    if (rtf[i] == '\\') ++i;  // an escaped character, braces too
    else if (rtf[i] == '{') tooDeep = ++depth > kMaxRtfDepth;
    else if (rtf[i] == '}' && depth > 0) --depth;
  }
  if (!tooDeep) return std::string();
  std::string out;
  out.reserve(count);
  depth = 0;
  for (size_t i = 0; i < count; ++i) {
    char c = static_cast<char>(rtf[i]);
    if (c == '\\' && i + 1 < count) {
      out += c;
      out += static_cast<char>(rtf[++i]);
      continue;
    }
    if (c == '{' && ++depth > kMaxRtfDepth) continue;
    if (c == '}' && depth > 0 && depth-- > kMaxRtfDepth) continue;
    out += c;
  }
  // The groups still open are closed too.
  if (depth > kMaxRtfDepth) depth = kMaxRtfDepth;
  out.append(static_cast<size_t>(depth), '}');
  return out;
}

// Wine's reader also falls over a font name far past the 31 characters a
// font name can have; such names are cut in the font table.
constexpr size_t kMaxRtfFontName = 31;

// Where the font table's control word starts: a group opened at the
// document's level that begins with "\fonttbl". The same letters elsewhere,
// in the text as "\\fonttbl" or in a deeper group, are no table. Null when
// there is none.
const char* FindFontTable(const char* rtf, size_t count) {
  const char kTable[] = "\\fonttbl";
  const size_t tableLength = sizeof(kTable) - 1;
  int depth = 0;
  for (size_t i = 0; i < count; ++i) {
    if (rtf[i] == '\\') {
      ++i;  // an escaped character or the first letter of a control word
    } else if (rtf[i] == '{') {
      if (++depth == 2 && count - i - 1 >= tableLength && memcmp(rtf + i + 1, kTable, tableLength) == 0) {
        const size_t after = i + 1 + tableLength;
        const bool wordEnds = after == count || !((rtf[after] >= 'a' && rtf[after] <= 'z') ||
                                                   (rtf[after] >= 'A' && rtf[after] <= 'Z'));
        if (wordEnds) return rtf + i + 1;
      }
    } else if (rtf[i] == '}' && depth > 0) {
      --depth;
    }
  }
  return nullptr;
}

// The RTF with the font table's names cut to kMaxRtfFontName characters;
// empty when no name is that long.
std::string CutLongFontNames(const char* rtf, size_t count) {
  const char* found = FindFontTable(rtf, count);
  if (!found) return std::string();
  std::string out(rtf, found);
  out.reserve(count);
  bool cut = false;
  size_t i = static_cast<size_t>(found - rtf), run = 0;
  int depth = 1;  // inside the table's group
  auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  while (i < count && depth > 0) {
    const char c = rtf[i];
    if (c == '\\') {  // a control word with its parameter and delimiter, or an escaped character
      out += rtf[i++];
      if (i < count && isAlpha(rtf[i])) {
        while (i < count && isAlpha(rtf[i])) out += rtf[i++];
        if (i < count && rtf[i] == '-') out += rtf[i++];
        while (i < count && isDigit(rtf[i])) out += rtf[i++];
        if (i < count && rtf[i] == ' ') out += rtf[i++];
      } else if (i < count) {
        out += rtf[i++];
      }
      continue;
    }
    if (c == '{' || c == '}' || c == ';') {
      depth += c == '{' ? 1 : c == '}' ? -1 : 0;
      run = 0;
      out += c;
    } else if (run++ < kMaxRtfFontName) {
      out += c;
    } else {
      cut = true;
    }
    ++i;
  }
  if (!cut) return std::string();
  out.append(rtf + i, rtf + count);
  return out;
}

}  // namespace

std::string NarrowRtf(const std::wstring& text) {
  bool unicode = IsUnicodeRtfText(text);
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (c <= 0x7F || (c <= 0xFF && !unicode))
      out += static_cast<char>(c);
    else
      AppendUnicodeEscape(out, c);
  }
  return out;
}

bool RichEditStreamIn(HWND edit, const void* bytes, size_t count, bool unicode, bool rtf) {
  if (rtf && !unicode && bytes) {
    std::string names = CutLongFontNames(static_cast<const char*>(bytes), count);
    if (!names.empty()) return RichEditStreamIn(edit, names.data(), names.size(), false, true);
    std::string flat = FlattenDeepGroups(static_cast<const BYTE*>(bytes), count);
    if (!flat.empty()) return RichEditStreamIn(edit, flat.data(), flat.size(), false, true);
  }
  ReadCursor cursor = {static_cast<const BYTE*>(bytes), bytes ? count : 0, 0, unicode && !rtf ? 2u : 1u};
  EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&cursor), 0, StreamInCallback};
  WPARAM format = (rtf ? SF_RTF : SF_TEXT) | (unicode ? SF_UNICODE : 0);
  return SendMessageW(edit, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&es)) > 0;
}

bool LooksLikeRtf(const wchar_t* text, size_t length) {
  return text && (StartsWithNoCase(text, length, L"{\\rtf") || StartsWithNoCase(text, length, L"{\\urtf"));
}

bool IsUnicodeRtfText(const std::wstring& text) {
  return text.size() > 6 && StartsWithNoCase(text.c_str(), text.size(), L"{\\urtf");
}

bool RichEditSetText(HWND edit, const std::wstring& text) {
  if (!LooksLikeRtf(text.c_str(), text.size()))
    return RichEditStreamIn(edit, text.data(), text.size() * sizeof(wchar_t), true, false);
  std::string bytes = NarrowRtf(text);
  return RichEditStreamIn(edit, bytes.data(), bytes.size(), false, true);
}

bool RichEditSetUnicodeText(HWND edit, const wchar_t* text) {
  return text && RichEditSetText(edit, text);
}

bool RichEditSetRtfA(HWND edit, const char* rtf) {
  if (!rtf) return false;
  size_t length = strlen(rtf);
  bool isRtf = _strnicmp(rtf, "{\\rtf", 5) == 0 || _strnicmp(rtf, "{\\urtf", 6) == 0;
  return RichEditStreamIn(edit, rtf, length, false, isRtf);
}

int RichEditCharCount(HWND edit) {
  GETTEXTLENGTHEX gtl = {GTL_NUMCHARS | GTL_PRECISE, 1200};
  return static_cast<int>(SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&gtl), 0));
}

int RichEditTextLength(HWND edit, bool selection) {
  if (!selection) return GetWindowTextLengthW(edit);
  CHARRANGE range = {0, 0};
  SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return range.cpMax > range.cpMin ? range.cpMax - range.cpMin : range.cpMin - range.cpMax;
}

std::wstring RichEditStreamOut(HWND edit, bool plain, bool selection) {
  size_t n = static_cast<size_t>(RichEditTextLength(edit, selection));
  if (n == 0) return std::wstring();
  WPARAM part = selection ? SFF_SELECTION : 0;
  std::wstring result;
  if (plain) {
    std::string bytes = StreamOutBytes(edit, SF_TEXT | SF_UNICODE | part, 2 * (n + 10));
    result.assign(bytes.size() / 2, L'\0');
    if (!result.empty()) memcpy(&result[0], bytes.data(), result.size() * 2);
  } else {
    std::string bytes = StreamOutBytes(edit, SF_RTF | part, 2 * n + 256);
    result.assign(bytes.begin(), bytes.end());
    for (wchar_t& c : result) c &= 0xFF;  // bytes widen one to one
  }
  size_t zero = result.find(L'\0');
  if (zero != std::wstring::npos) result.resize(zero);
  return result;
}

std::wstring RichEditGetRtf(HWND edit) { return RichEditStreamOut(edit, false, false); }
std::wstring RichEditGetText(HWND edit) { return RichEditStreamOut(edit, true, false); }
std::wstring RichEditGetSelText(HWND edit) { return RichEditStreamOut(edit, true, true); }

std::string RichEditGetRtfA(HWND edit, bool selection) {
  size_t n = static_cast<size_t>(RichEditTextLength(edit, selection));
  if (n == 0) return std::string();
  std::string bytes = StreamOutBytes(edit, SF_RTF | (selection ? SFF_SELECTION : 0), 2 * n + 256);
  size_t zero = bytes.find('\0');
  if (zero != std::string::npos) bytes.resize(zero);
  return bytes;
}

int RichEditReplaceAll(HWND edit, const std::wstring& find, const std::wstring& replacement) {
  if (find.empty()) return 0;
  int count = 0;
  LONG from = 0;
  for (;;) {
    FINDTEXTEXW ft = {};
    ft.chrg.cpMin = from;
    ft.chrg.cpMax = -1;
    ft.lpstrText = find.c_str();
    if (SendMessageW(edit, EM_FINDTEXTEXW, FR_DOWN, reinterpret_cast<LPARAM>(&ft)) < 0) break;
    if (ft.chrgText.cpMax <= ft.chrgText.cpMin) break;
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&ft.chrgText));
    ReplaceSelection(edit, replacement.c_str());
    ++count;
    // Go on behind the replacement (where the caret now is).
    CHARRANGE caret = {0, 0};
    SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    from = caret.cpMax;
  }
  return count;
}

int RichEditTrimChar(HWND edit, wchar_t ch) {
  if (RichEditCharCount(edit) == 0) return 0;
  int count = 0;
  for (LONG length = RichEditCharCount(edit); length > 0 && SelectedCharIs(edit, length - 1, ch);) {
    ReplaceSelection(edit, L"");
    ++count;
    LONG now = RichEditCharCount(edit);
    if (now >= length) break;  // a character the control keeps (a protected one)
    length = now;
  }
  if (RichEditCharCount(edit) == 0) return 0;
  for (LONG m = RichEditCharCount(edit); m > 0 && SelectedCharIs(edit, 0, ch); --m) {
    ReplaceSelection(edit, L"");
    ++count;
  }
  return count;
}
