#include "editor/text/look_stream.h"

#include <richedit.h>
#include <tom.h>

#include <cstdio>
#include <vector>

#include "foundation/ui/rich_edit.h"

namespace {

// The formats that must be the same over the whole range: the stream
// brings only colours and boldness (links are detected again).
constexpr DWORD kUniformMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT |
                               CFM_OFFSET | CFM_PROTECTED | CFM_BACKCOLOR;

bool TextFitsTheStream(const std::wstring& text) {
  for (wchar_t c : text)
    if (c < 0x20 && c != L'\t' && c != L'\r') return false;  // line breaks and objects keep their own form
  return text.find(static_cast<wchar_t>(WCH_EMBEDDING)) == std::wstring::npos;
}

void Select(HWND control, LONG from, LONG to) {
  CHARRANGE range = {from, to};
  ::SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

bool FormatsUniform(HWND control, LONG from, LONG to, DWORD mask) {
  Select(control, from, to);
  CHARFORMAT2W cf = {};
  cf.cbSize = sizeof cf;
  ::SendMessageW(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  return (cf.dwMask & mask) == mask;
}

// Boldness the plan leaves open must not vary either.
DWORD UniformMaskFor(const LookPlan& plan) {
  for (const Look& look : plan.looks)
    if (look.bold == tomUndefined) return kUniformMask | CFM_BOLD;
  return kUniformMask;
}

// A long range leaves the control in pieces of this many paragraphs, last
// piece first, before the stream replaces the rest: the control walks its
// paragraphs for every paragraph and run it removes, and in one piece that
// walk also grows as the removal goes on (under Wine, a thousand lines come
// out in about two thirds of the time this way).
constexpr size_t kRemovalPiece = 100;

// Removes the range's paragraphs after its first piece, last piece first;
// stops at the first piece the control does not remove exactly.
void RemoveTailPieces(HWND control, LONG from, const std::wstring& text) {
  LONG end = from + static_cast<LONG>(text.size());
  LONG count = RichEditCharCount(control);
  size_t paragraphs = 0;
  for (size_t i = text.size() - 1; i > 0; --i) {
    if (text[i - 1] != L'\r' || ++paragraphs < kRemovalPiece) continue;
    const LONG cut = from + static_cast<LONG>(i);
    Select(control, cut, end);
    // Undoable: a removal that cannot be undone empties the history. The
    // caller keeps collection paused, so this adds no step.
    ::SendMessageW(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
    const LONG now = RichEditCharCount(control);
    if (now != count - (end - cut)) return;
    count = now;
    end = cut;
    paragraphs = 0;
  }
}

// Emptying a long text in pieces from its end takes under half the time
// of removing it at once (the same walk as above grows with the removal).
constexpr LONG kEmptyingPiece = 2000;

struct ByteCursor {
  const std::string* bytes;
  size_t next;
};

DWORD CALLBACK ReadBytes(DWORD_PTR cookie, LPBYTE buffer, LONG asked, LONG* given) {
  auto* cursor = reinterpret_cast<ByteCursor*>(cookie);
  size_t left = cursor->bytes->size() - cursor->next;
  size_t n = asked > 0 && static_cast<size_t>(asked) < left ? static_cast<size_t>(asked) : left;
  memcpy(buffer, cursor->bytes->data() + cursor->next, n);
  cursor->next += n;
  *given = static_cast<LONG>(n);
  return 0;
}

}  // namespace

void EmptyInPieces(HWND control) {
  LONG count = RichEditCharCount(control);
  // A short text goes at once.
  while (count > kEmptyingPiece) {
    Select(control, count - kEmptyingPiece, count);
    ::SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    const LONG now = RichEditCharCount(control);
    if (now >= count) break;  // the control keeps what it will not remove
    count = now;
  }
  // What is left (a short piece, or what a piece could not take) goes at
  // once; this also empties the undo history, as setting the text does.
  ::SetWindowTextW(control, L"");
}

std::wstring RangeText(HWND control, LONG from, LONG to) {
  if (to <= from) return std::wstring();
  std::wstring text(static_cast<size_t>(to - from) + 1, L'\0');
  TEXTRANGEW tr = {{from, to}, &text[0]};
  LRESULT got = ::SendMessageW(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr));
  text.resize(got > 0 && got <= to - from ? static_cast<size_t>(got) : 0);
  return text;
}

std::string LooksRtf(const LookPlan& plan, const std::wstring& text) { return LooksRtfOf(plan, text, 0, text.size()); }

std::string LooksRtfOf(const LookPlan& plan, const std::wstring& text, size_t begin, size_t end) {
  // Colour 0 of the table is the automatic colour.
  std::vector<long> colours;
  auto colourIndex = [&](long colour) {
    if (colour == tomAutoColor) return 0;
    for (size_t i = 0; i < colours.size(); ++i)
      if (colours[i] == colour) return static_cast<int>(i + 1);
    colours.push_back(colour);
    return static_cast<int>(colours.size());
  };
  std::string body;
  body.reserve(text.size() + text.size() / 4);
  char word[32];
  int colour = -1;
  long bold = tomUndefined;
  for (size_t i = begin; i < end && i < text.size() && i < plan.looks.size(); ++i) {
    const Look& look = plan.looks[i];
    const int index = colourIndex(look.colour);
    if (index != colour) {
      snprintf(word, sizeof word, "\\cf%d ", index);
      body += word;
      colour = index;
    }
    if (look.bold != tomUndefined && look.bold != bold) {
      body += look.bold == tomTrue ? "\\b " : "\\b0 ";
      bold = look.bold;
    }
    const wchar_t c = text[i];
    if (c == L'\r') {
      body += "\\par\n";
    } else if (c == L'\t') {
      body += "\\tab ";
    } else if (c == L'\\' || c == L'{' || c == L'}') {
      body += '\\';
      body += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      body += static_cast<char>(c);
    } else {
      snprintf(word, sizeof word, "\\u%d?", static_cast<int>(static_cast<short>(c)));
      body += word;
    }
  }
  std::string rtf = "{\\rtf1\\ansi\\uc1{\\colortbl;";
  for (long c : colours) {
    snprintf(word, sizeof word, "\\red%d\\green%d\\blue%d;", GetRValue(c), GetGValue(c), GetBValue(c));
    rtf += word;
  }
  rtf += "}";
  rtf += body;
  rtf += "}";
  return rtf;
}

// Streams the RTF of plan and text (begin..end of them) in place of the
// selection.
void StreamSelection(HWND control, const LookPlan& plan, const std::wstring& text, size_t begin, size_t end) {
  const std::string rtf = LooksRtfOf(plan, text, begin, end);
  ByteCursor cursor = {&rtf, 0};
  EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&cursor), 0, ReadBytes};
  ::SendMessageW(control, EM_STREAMIN, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&es));
}

void StreamSelection(HWND control, const LookPlan& plan, const std::wstring& text) {
  StreamSelection(control, plan, text, 0, text.size());
}

// The characters of text's first paragraphs that surely fill the control's
// page: a longer text brings the vertical scroll bar, and the control lays
// out again all it holds when the bar comes. Streamed first, they are all it
// lays out twice. Lines are taken as high as the default font and wrapped
// as if a character were a third of that wide (narrower than any text
// font's average), so the page is never short. The whole text when it is
// not longer than that.
size_t FirstPageLength(HWND control, const std::wstring& text) {
  RECT client = {};
  ::GetClientRect(control, &client);
  CHARFORMAT2W format = {};
  format.cbSize = sizeof format;
  ::SendMessageW(control, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  int dpi = 96;
  if (HDC dc = ::GetDC(control)) {
    dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(control, dc);
  }
  // yHeight is in twips; a line is at least as high as its font.
  const LONG lineHeight = ::MulDiv(format.yHeight > 0 ? format.yHeight : 160, dpi, 1440);
  const LONG height = lineHeight > 0 ? lineHeight : 1;
  const LONG pageLines = (client.bottom - client.top) / height + 1;
  const LONG charsPerLine = (client.right - client.left) * 3 / height + 1;
  LONG lines = 0;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r') continue;
    lines += 1 + static_cast<LONG>(i - start) / charsPerLine;
    start = i + 1;
    if (lines > pageLines) return i + 1;
  }
  return text.size();
}

bool StreamNewText(HWND control, const LookPlan& plan, const std::wstring& text) {
  if (plan.first != 0 || plan.looks.size() != text.size() || !TextFitsTheStream(text)) return false;
  // The first page, then the rest after it, laid out once beside the bar.
  const size_t page = FirstPageLength(control, text);
  StreamSelection(control, plan, text, 0, page);
  if (page < text.size()) {
    Select(control, -1, -1);
    StreamSelection(control, plan, text, page, text.size());
  }
  return RichEditCharCount(control) == static_cast<int>(text.size()) &&
         RangeText(control, 0, static_cast<LONG>(text.size())) == text;
}

bool StreamLooks(HWND control, const LookPlan& plan, const std::wstring& text) {
  const LONG from = plan.first, to = plan.End();
  if (to <= from || static_cast<size_t>(to - from) != text.size() || !TextFitsTheStream(text)) return false;
  CHARRANGE caret = {0, 0};
  ::SendMessageW(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  POINT scroll = {0, 0};
  ::SendMessageW(control, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
  // No notice of any kind while the range is replaced by itself.
  const LRESULT mask = ::SendMessageW(control, EM_SETEVENTMASK, 0, 0);
  bool done = false;
  if (FormatsUniform(control, from, to, UniformMaskFor(plan))) {
    const LONG before = RichEditCharCount(control);
    RemoveTailPieces(control, from, text);
    // What is left of the range is replaced by the stream.
    Select(control, from, from + RichEditCharCount(control) - (before - (to - from)));
    StreamSelection(control, plan, text);
    // The characters must come back exactly; where the control read them
    // otherwise, the original text goes back in plainly.
    const LONG inserted = RichEditCharCount(control) - (before - (to - from));
    done = inserted == to - from && RangeText(control, from, to) == text;
    if (!done && inserted >= 0) {
      Select(control, from, from + inserted);
      ::SendMessageW(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
  ::SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  ::SendMessageW(control, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
  ::SendMessageW(control, EM_SETEVENTMASK, 0, mask);
  return done;
}
