#include "foundation/ui/rich_edit_convert.h"

#include <richedit.h>

#include <cstring>
#include <vector>

#include "foundation/ui/rich_edit.h"
#include "foundation/ui/rtf_case.h"
#include "foundation/ui/rtf_reader.h"

namespace {

HWND g_parent = nullptr;
HWND g_hidden = nullptr;

// The control's default limit (32767 characters) would cut long clipboard
// items short.
constexpr LPARAM kTextLimit = 0x7FFFFFFE;

bool WriteBack(HWND edit, char* buffer, size_t size) {
  std::string rtf = RichEditGetRtfA(edit, false);
  if (rtf.empty() || rtf.size() >= size) return false;
  memset(buffer, 0, size);
  memcpy(buffer, rtf.data(), rtf.size());
  return true;
}

// Loads the first size bytes of an in-place buffer (it need not end in a
// zero within them).
bool LoadBuffer(HWND edit, const char* buffer, size_t size) {
  std::string copy(buffer, strnlen(buffer, size));
  return RichEditSetRtfA(edit, copy.c_str());
}

CHARFORMAT2W FormatAt(HWND edit, LONG from, LONG to) {
  CHARRANGE range = {from, to};
  SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  CHARFORMAT2W cf;
  memset(&cf, 0, sizeof cf);
  cf.cbSize = sizeof cf;
  SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  return cf;
}

// The text character by character position (paragraph marks count one).
std::wstring TextByPosition(HWND edit, LONG length) {
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  TEXTRANGEW tr = {{0, length}, &text[0]};
  LRESULT got = SendMessageW(edit, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr));
  if (got == length) {
    text.resize(static_cast<size_t>(length));
    return text;
  }
  // This control gives line ends as two characters: read one position at a time.
  text.assign(static_cast<size_t>(length), L'\0');
  for (LONG i = 0; i < length; ++i) {
    wchar_t one[4] = {};
    TEXTRANGEW single = {{i, i + 1}, one};
    SendMessageW(edit, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&single));
    text[static_cast<size_t>(i)] = one[0];
  }
  return text;
}

// Changes the case of the control's text run by run, keeping each run's
// character format. The control's own upper/lower-case edit styles are not
// available on every rich edit version.
void ChangeCaseInPlace(HWND edit, bool upper) {
  LONG length = RichEditCharCount(edit);
  if (length <= 0) return;
  std::wstring text = TextByPosition(edit, length);
  std::wstring changed = text;
  if (upper)
    CharUpperBuffW(&changed[0], static_cast<DWORD>(changed.size()));
  else
    CharLowerBuffW(&changed[0], static_cast<DWORD>(changed.size()));

  LONG i = 0;
  while (i < length) {
    if (text[i] == changed[i]) {
      ++i;
      continue;
    }
    // The run of one format that begins here, found by doubling and then
    // halving its length: the control reports a shorter mask for a range
    // whose characters differ in format.
    CHARFORMAT2W format = FormatAt(edit, i, i + 1);
    auto uniform = [&](LONG end) { return FormatAt(edit, i, end).dwMask == format.dwMask; };
    LONG good = i + 1, step = 1;
    while (good < length) {
      LONG probe = good + step < length ? good + step : length;
      if (!uniform(probe)) break;
      good = probe;
      step *= 2;
    }
    for (LONG bad = good + step < length ? good + step : length; bad - good > 1;) {
      LONG middle = good + (bad - good) / 2;
      if (uniform(middle))
        good = middle;
      else
        bad = middle;
    }
    // Replace up to the last character that changes, then restore the
    // run's format on the new text.
    LONG last = good - 1;
    while (text[last] == changed[last]) --last;
    CHARRANGE range = {i, last + 1};
    std::wstring run = changed.substr(static_cast<size_t>(i), static_cast<size_t>(last + 1 - i));
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(run.c_str()));
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageW(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    i = good;
  }
}

}  // namespace

void SetHiddenRichEditParent(HWND parent) { g_parent = parent; }

HWND GetHiddenRichEdit() {
  // The control goes with its parent: a destroyed one is made anew.
  if (g_hidden && IsWindow(g_hidden)) return g_hidden;
  CoInitialize(nullptr);
  LoadLibraryW(L"RichEd20.DLL");
  g_hidden = CreateWindowExW(0, L"RICHEDIT20W", nullptr, WS_CHILD | ES_MULTILINE | ES_WANTRETURN,
                             1, 1, 10, 10, g_parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!g_hidden) return nullptr;
  SendMessageW(g_hidden, EM_SETEVENTMASK, 0, 0);
  // Text streamed in starts from the control's default format; with the
  // system font that would be bold on some rich edit versions.
  SendMessageW(g_hidden, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SendMessageW(g_hidden, EM_EXLIMITTEXT, 0, kTextLimit);
  // No wrapping to the control's tiny width: laying out long texts
  // character by character would make every conversion slow.
  SendMessageW(g_hidden, EM_SETTARGETDEVICE, 0, 1);
  return g_hidden;
}

std::wstring RtfToPlainText(const std::wstring& rtfOrText) {
  HWND edit = GetHiddenRichEdit();
  if (!edit) return std::wstring();
  // Streaming into the control lays the whole text out, which costs
  // seconds for long texts under some rich edit versions.
  if (LooksLikeRtf(rtfOrText.c_str(), rtfOrText.size()) && !IsUnicodeRtfText(rtfOrText)) {
    std::string bytes = NarrowRtf(rtfOrText);
    std::wstring plain;
    if (RtfPlainTextFast(bytes.data(), bytes.size(), &plain)) return plain;
  }
  if (!RichEditSetText(edit, rtfOrText)) return std::wstring();
  return RichEditGetText(edit);
}

std::wstring PlainTextViaRichEdit(const wchar_t* text) {
  HWND edit = GetHiddenRichEdit();
  if (!edit || !RichEditSetUnicodeText(edit, text)) return std::wstring();
  return RichEditGetText(edit);
}

int RtfLineBreaksToSpaces(char* rtf, size_t size) {
  HWND edit = GetHiddenRichEdit();
  if (!rtf || !edit || !LoadBuffer(edit, rtf, size)) return 0;
  int total = 0;
  for (const wchar_t* lineBreak : {L"\r\n", L"\n", L"\r"}) total += RichEditReplaceAll(edit, lineBreak, L" ");
  if (total == 0) return 0;
  return WriteBack(edit, rtf, size) ? total : 0;
}

int RtfRemoveCharacters(char* rtf, size_t size, const std::wstring& characters) {
  HWND edit = GetHiddenRichEdit();
  if (!rtf || !edit || !LoadBuffer(edit, rtf, size)) return 0;
  // Passes over the set until none removes anything: the ends may hold the
  // characters in any order (blanks before a line end).
  int total = 0;
  for (int removed = 1; removed > 0; total += removed) {
    removed = 0;
    for (wchar_t c : characters) removed += RichEditTrimChar(edit, c);
  }
  // Nothing removed: the buffer keeps its own RTF rather than the control's.
  if (total == 0) return 0;
  return WriteBack(edit, rtf, size) ? total : 0;
}

std::string RtfChangeCase(const std::string& rtf, bool upper) {
  if (!GetHiddenRichEdit()) return std::string();
  std::string changed;
  const char* bytes = rtf.c_str();
  if (RtfChangeCaseFast(bytes, strlen(bytes), upper, &changed)) return changed;
  return RtfChangeCaseViaRichEdit(rtf, upper);
}

std::string RtfChangeCaseViaRichEdit(const std::string& rtf, bool upper) {
  HWND edit = GetHiddenRichEdit();
  if (!edit || !RichEditSetRtfA(edit, rtf.c_str())) return std::string();
  ChangeCaseInPlace(edit, upper);

  CHARRANGE all = {0, -1};
  SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
  CHARFORMAT2W plain;
  memset(&plain, 0, sizeof plain);
  plain.cbSize = sizeof plain;
  plain.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED |
                 CFM_LINK;
  SendMessageW(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&plain));
  return RichEditGetRtfA(edit, false);
}
