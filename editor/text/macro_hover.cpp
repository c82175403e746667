#include "editor/text/macro_hover.h"

#include <richole.h>
#include <tom.h>

#include <cstdlib>

#include "editor/text/com_ref.h"
#include "editor/text/rich_text_io.h"
#include "foundation/ui/rich_edit.h"
#include "phrases/macros/macro_table.h"

namespace {

// How far the word scan looks to either side of the point: beyond the
// longest macro and a prompt question of a few words.
constexpr LONG kScanReach = 160;
constexpr LONG kBelowLastLine = 20;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }

// Characters first..last, one per position: the object model first, the
// control's range message where it has none.
std::wstring ReadRange(HWND control, LONG first, LONG last) {
  std::wstring text = rich_text::GetRangeText(control, first, last);
  if (!text.empty() || last <= first) return text;
  text.assign(static_cast<size_t>(last - first) + 1, L'\0');
  TEXTRANGEW range = {{first, last}, &text[0]};
  LRESULT got = ::SendMessageW(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

POINT PosFromChar(HWND control, LONG index) {
  POINTL p = {0, 0};
  ::SendMessageW(control, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), index);
  return {static_cast<LONG>(p.x), static_cast<LONG>(p.y)};
}

// The height of the character in pixels: its font size through the object
// model, else the control's default format.
LONG CharHeight(HWND control, LONG index) {
  float points = 0;
  ComRef<ITextRange> range(rich_text::GetRange(control, index, index + 1));
  ComRef<ITextFont> font;
  if (range && SUCCEEDED(range->GetFont(font.Out())) && font) font->GetSize(&points);
  if (points <= 0) {
    CHARFORMAT2W cf = {};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_SIZE;
    ::SendMessageW(control, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    points = static_cast<float>(cf.yHeight) / 20.0f;
  }
  HDC dc = ::GetDC(control);
  int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ::ReleaseDC(control, dc);
  return static_cast<LONG>(points * static_cast<float>(dpi) / 72.0f + 0.5f);
}

std::wstring Trim(const std::wstring& text) {
  const wchar_t* blanks = L"\r\n\t ";
  size_t from = text.find_first_not_of(blanks);
  if (from == std::wstring::npos) return std::wstring();
  size_t to = text.find_last_not_of(blanks);
  return text.substr(from, to - from + 1);
}

}  // namespace

std::wstring GetWordAtPoint(HWND control, POINT client) {
  if (!control || !::IsWindow(control)) return std::wstring();
  LONG length = RichEditCharCount(control);
  if (length <= 0) return std::wstring();
  LONG lastTop = PosFromChar(control, length - 1).y;
  if (client.y > lastTop + CharHeight(control, length - 1) + kBelowLastLine) return std::wstring();
  POINTL p = {client.x, client.y};
  LONG at = static_cast<LONG>(::SendMessageW(control, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&p)));
  if (at < 0 || at >= length) return std::wstring();

  // The rich edit's own word breaks are missing from some versions: the
  // word is scanned here, as the run of characters between blanks.
  LONG first = at > kScanReach ? at - kScanReach : 0;
  LONG last = at + kScanReach < length ? at + kScanReach : length;
  std::wstring around = ReadRange(control, first, last);
  size_t offset = static_cast<size_t>(at - first);
  if (offset >= around.size() || IsBlank(around[offset])) return std::wstring();
  size_t start = offset, end = offset;
  while (start > 0 && !IsBlank(around[start - 1])) --start;
  while (end < around.size() && !IsBlank(around[end])) ++end;
  return around.substr(start, end - start);
}

std::wstring FindMacroInWord(const std::wstring& word) {
  std::wstring trimmed = Trim(word);
  if (trimmed.size() < 2) return std::wstring();
  for (const CMacroEntry& entry : *GetMacroList())
    if (trimmed.find(entry.name) != std::wstring::npos) return entry.name;
  for (int i = 0; i < GetArgMacroCount(); ++i) {
    CArgMacroEntry entry = GetArgMacroEntry(i);
    if (!entry.opening.empty() && trimmed.compare(0, entry.opening.size(), entry.opening) == 0) return entry.whole;
  }
  return std::wstring();
}

std::wstring MakeMacroTipHtml(const std::wstring& title, const std::wstring& macro,
                              const std::wstring& description) {
  if (description.empty()) return std::wstring();
  return L"<font size=12pt><b>" + title + L" " + L"<font color=orange>" + macro + L"</font>" + L"</font></b>" +
         L"<br><hr color=gray><br>" + L"<font color=gray>" + description + L"</font>";
}

bool IsCursorOverLink(HWND control, const CHARRANGE& link, POINT client) {
  if (!control || !::IsWindow(control)) return false;
  POINTL p = {client.x, client.y};
  LONG at = static_cast<LONG>(::SendMessageW(control, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&p)));
  if (at < link.cpMin || at >= link.cpMax) return false;
  LONG top = PosFromChar(control, at).y;
  return std::labs(client.y - top) <= CharHeight(control, at);
}
