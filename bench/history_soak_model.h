// The history soak's model of the history and its reading of the tray
// program's pane: the rows' texts, the selection, and what a put-back left
// on the clipboard.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace soak {

enum CopyKind { kText, kRtf, kHtml, kBitmap, kTextHtml, kKinds };

inline bool IsPlainKind(int kind) { return kind == kText || kind == kTextHtml; }
inline bool HasText(int kind) { return kind != kBitmap; }

inline UINT RtfFormat() { return RegisterClipboardFormatW(L"Rich Text Format"); }
inline UINT HtmlFormat() { return RegisterClipboardFormatW(L"HTML Format"); }

inline std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += static_cast<char>(c);  // the soak's texts are ASCII
  return out;
}

// What the history should hold, newest first.
struct Entry {
  int id = 0;
  CopyKind kind = kText;
  std::wstring text;  // plain kinds: the text as it stands now
  int textCase = 0;   // 0 as copied, 1 upper, 2 lower
  bool edited = false;
};

inline std::wstring Cased(std::wstring text, int textCase) {
  for (wchar_t& c : text) c = textCase == 1 ? towupper(c) : textCase == 2 ? towlower(c) : c;
  return text;
}

// The words every text form of the entry must show now.
inline std::wstring Signature(const Entry& e) {
  wchar_t core[64];
  swprintf(core, 64, L"soak copy #%06d", e.id);
  return Cased(core, e.textCase);
}

inline void TrimBlanks(std::wstring& text, const wchar_t* set) {
  size_t end = text.find_last_not_of(set);
  text.erase(end == std::wstring::npos ? 0 : end + 1);
  size_t start = text.find_first_not_of(set);
  text.erase(0, start == std::wstring::npos ? text.size() : start);
}

inline int ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
  int count = 0;
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
    ++count;
  }
  return count;
}

enum Action { kUpper, kPick, kTrim, kLower, kJoin, kActionCycle, kClear = kActionCycle };
constexpr UINT kPaneCopy = 32793, kPaneClear = 32789, kPaneUpper = 32799, kPaneLower = 32805, kPaneTrim = 32812,
               kPaneJoin = 32822;

// The model's side of an action on entry e; false when it changes nothing.
// A rich text's trim or join changed it when the program says so.
inline bool ApplyToModel(Action action, Entry& e, bool richChanged) {
  if ((action == kTrim || action == kJoin) && !IsPlainKind(e.kind)) {
    e.edited = e.edited || richChanged;
    return richChanged;
  }
  switch (action) {
    case kUpper:
    case kLower: {
      // A text that has the case already is no edit: it keeps every form.
      const int textCase = action == kUpper ? 1 : 2;
      const bool changed = IsPlainKind(e.kind) ? Cased(e.text, textCase) != e.text
                                               : Cased(Signature(e), textCase) != Signature(e);
      e.textCase = textCase;
      if (IsPlainKind(e.kind)) e.text = Cased(e.text, textCase);
      e.edited = e.edited || changed;
      return changed;
    }
    case kTrim: {
      const size_t before = e.text.size();
      TrimBlanks(e.text, L" \t\r\n");
      e.edited = e.edited || e.text.size() != before;
      return e.text.size() != before;
    }
    case kJoin: {
      int count = ReplaceAll(e.text, L"\r\n", L" ");
      count += ReplaceAll(e.text, L"\n\r", L" ");
      if (count > 0) TrimBlanks(e.text, L" \t\n");
      e.edited = e.edited || count > 0;
      return count > 0;
    }
    default:
      return false;
  }
}

// Memory in the tray program for the list's item records, which carry
// pointers: the list reads and writes them in its own process.
class RemoteItem {
 public:
  explicit RemoteItem(HANDLE process) : m_process(process) {
    m_block = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT | MEM_RESERVE,
                       PAGE_READWRITE));
  }
  ~RemoteItem() {
    if (m_block) VirtualFreeEx(m_process, m_block, 0, MEM_RELEASE);
  }
  bool Ok() const { return m_block != nullptr; }
  LPARAM Put(LVITEMW item, const wchar_t* text = L"") {
    item.pszText = reinterpret_cast<wchar_t*>(m_block + sizeof(LVITEMW));
    item.cchTextMax = kChars;
    SIZE_T done = 0;
    WriteProcessMemory(m_process, m_block, &item, sizeof(item), &done);
    WriteProcessMemory(m_process, item.pszText, text, (wcslen(text) + 1) * sizeof(wchar_t), &done);
    return reinterpret_cast<LPARAM>(m_block);
  }
  std::wstring Text() const {
    wchar_t text[kChars] = {};
    SIZE_T done = 0;
    ReadProcessMemory(m_process, m_block + sizeof(LVITEMW), text, sizeof(text) - sizeof(wchar_t), &done);
    return text;
  }

 private:
  static constexpr int kChars = 512;
  HANDLE m_process;
  char* m_block = nullptr;
};

inline LRESULT Ask(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_NORMAL, 10000, &result)) return -1;
  return static_cast<LRESULT>(result);
}

// The rows' texts, asked by posted requests: the pane answers the list's
// questions only while no other process waits on a sent message.
inline std::vector<std::wstring> PaneRows(RemoteItem& remote, HWND list) {
  std::vector<std::wstring> rows;
  const LRESULT count = Ask(list, LVM_GETITEMCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    const LPARAM at = remote.Put(item, L"\x1\x1");
    if (!PostMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), at)) return {};
    std::wstring text;
    if (!qlrtest::WaitUntil([&] { return (text = remote.Text()) != L"\x1\x1"; }, 5000, 1)) return {};
    rows.push_back(text);
  }
  return rows;
}

// Row i names entry i: its number and words in their case; a bitmap's row
// has no text.
inline bool RowsMatch(const std::vector<std::wstring>& rows, const std::vector<Entry>& model, std::string* why) {
  if (rows.size() != model.size()) {
    *why = "the pane shows " + std::to_string(rows.size()) + " rows, the model holds " + std::to_string(model.size());
    return false;
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    const Entry& e = model[i];
    bool ok = HasText(e.kind) ? rows[i].find(Signature(e)) != std::wstring::npos : rows[i].empty();
    if (!ok) {
      char line[200];
      snprintf(line, sizeof(line), "row %zu shows \"%ls\", the model has copy %d (kind %d) \"%ls\"", i,
               rows[i].c_str(), e.id, e.kind, Signature(e).c_str());
      *why = line;
      return false;
    }
  }
  return true;
}

inline bool SetSelection(RemoteItem& remote, HWND list, int index) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  Ask(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), remote.Put(item));
  if (index < 0) return Ask(list, LVM_GETSELECTEDCOUNT, 0, 0) == 0;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  Ask(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), remote.Put(item));
  Ask(list, LVM_SETSELECTIONMARK, 0, index);
  return Ask(list, LVM_GETSELECTEDCOUNT, 0, 0) == 1 &&
         Ask(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == index;
}


// Every text form on the clipboard holds the entry's text now; a form the
// entry cannot keep after an edit is not there.
inline bool ClipboardSaysWhatTheEntrySays(const Entry& e, std::string* why) {
  if (!qlrtest::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000, 1)) {
    *why = "the clipboard could not be opened";
    return false;
  }
  const std::wstring sig = Signature(e);
  const std::string narrowSig = Narrow(sig);
  std::vector<std::string> problems;
  int texts = 0;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    HANDLE data = GetClipboardData(format);
    if (!data || format == CF_LOCALE || format == CF_BITMAP || format == CF_DIB || format == CF_DIBV5) continue;
    const void* bytes = GlobalLock(data);
    const size_t size = GlobalSize(data);
    if (!bytes) continue;
    ++texts;
    std::string problem;
    if (format == CF_UNICODETEXT) {
      std::wstring text(static_cast<const wchar_t*>(bytes), wcsnlen(static_cast<const wchar_t*>(bytes), size / 2));
      if (IsPlainKind(e.kind) ? text != e.text : text.find(sig) == std::wstring::npos) problem = Narrow(text);
    } else if (format == CF_TEXT || format == CF_OEMTEXT || format == RtfFormat() || format == HtmlFormat()) {
      std::string text(static_cast<const char*>(bytes), strnlen(static_cast<const char*>(bytes), size));
      if (format == HtmlFormat() && e.edited) problem = "an HTML form kept after the edit";
      else if ((format == CF_TEXT || format == CF_OEMTEXT) && IsPlainKind(e.kind) ? text != Narrow(e.text)
                                                                                   : text.find(narrowSig) == std::string::npos)
        problem = text.substr(0, 300);
    } else {
      --texts;  // a form that carries no text
    }
    GlobalUnlock(data);
    if (!problem.empty()) {
      wchar_t name[80] = {};
      GetClipboardFormatNameW(format, name, 80);
      problems.push_back("format " + std::to_string(format) + " " + Narrow(name) + ": " + problem);
    }
  }
  CloseClipboard();
  if (texts == 0) problems.push_back("no text form at all");
  for (const auto& p : problems) *why += p + "; ";
  return problems.empty();
}

}  // namespace soak
