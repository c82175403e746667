#include "phrases/macros/macro_expand.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <vector>

#include "foundation/logging/log.h"
#include "foundation/text/text_basics.h"
#include "phrases/insertion/clipboard_ops.h"
#include "phrases/macros/macro_sources.h"
#include "phrases/macros/macro_table.h"

namespace {

const wchar_t* const kSelectionProtocols[] = {L"http://", L"https://", L"file://", L"ftp://"};

// The text as runs of the phrase's own characters and of inserted values;
// only the phrase's own runs are searched.
class CExpansionText {
 public:
  explicit CExpansionText(const std::wstring& text) { m_pieces.push_back({text, false}); }

  bool Contains(const std::wstring& name) const {
    return std::any_of(m_pieces.begin(), m_pieces.end(),
                       [&](const Piece& p) { return !p.value && p.text.find(name) != std::wstring::npos; });
  }

  // Replaces every occurrence in the phrase's own runs; the value is
  // computed only when the name occurs.
  int Replace(const std::wstring& name, const std::function<std::wstring()>& makeValue) {
    if (!Contains(name)) return 0;
    const std::wstring value = makeValue();
    int count = 0;
    std::vector<Piece> result;
    result.reserve(m_pieces.size() + 2);
    for (Piece& piece : m_pieces) {
      if (piece.value) {
        result.push_back(std::move(piece));
        continue;
      }
      size_t from = 0;
      for (size_t at; (at = piece.text.find(name, from)) != std::wstring::npos; from = at + name.size()) {
        if (at > from) result.push_back({piece.text.substr(from, at - from), false});
        result.push_back({value, true});
        ++count;
      }
      if (from < piece.text.size() || from == 0) result.push_back({piece.text.substr(from), false});
    }
    m_pieces = std::move(result);
    return count;
  }

  // Removes every occurrence from the phrase's own runs; the position in
  // the result where the first one was, or npos.
  size_t RemoveAll(const std::wstring& name) {
    size_t first = std::wstring::npos;
    size_t before = 0;
    for (Piece& piece : m_pieces) {
      if (!piece.value) {
        size_t at = piece.text.find(name);
        if (at != std::wstring::npos && first == std::wstring::npos) first = before + at;
        ReplaceText(piece.text, name, L"");
      }
      before += piece.text.size();
    }
    return first;
  }

  std::wstring Join() const {
    std::wstring text;
    for (const Piece& piece : m_pieces) text += piece.text;
    return text;
  }

 private:
  struct Piece {
    std::wstring text;
    bool value;
  };
  std::vector<Piece> m_pieces;
};

void TrimProtocols(std::wstring& selected) {
  for (const wchar_t* protocol : kSelectionProtocols) {
    std::wstring prefix = protocol;
    while (selected.size() >= prefix.size() && EqualNoCase(selected.substr(0, prefix.size()), prefix))
      selected.erase(0, prefix.size());
  }
}

// Every run from one percent sign to the next, sorted. A macro name holds
// percent signs only at its ends, so it can occur in the text only as one of
// these runs: the names worth searching for are found in one pass.
std::vector<std::wstring_view> PercentRuns(const std::wstring& text) {
  std::vector<std::wstring_view> runs;
  size_t at = text.find(L'%');
  while (at != std::wstring::npos) {
    size_t next = text.find(L'%', at + 1);
    if (next == std::wstring::npos) break;
    runs.emplace_back(text.data() + at, next - at + 1);
    at = next;
  }
  std::sort(runs.begin(), runs.end());
  return runs;
}

// The layout macro (in name order) that occurs last in the text.
const CLayoutMacro* LastLayoutMacroIn(const std::wstring& text, const std::vector<CLayoutMacro>& macros) {
  const CLayoutMacro* last = nullptr;
  for (const CLayoutMacro& macro : macros)
    if (text.find(macro.name) != std::wstring::npos) last = &macro;
  return last;
}

}  // namespace

int ExpandPhraseMacros(std::wstring& text, const std::wstring& selectedText, const std::wstring& clipboardText,
                       int* caretFromEnd, HKL* layout, LCID locale, CMacroRequestCache* cache) {
  if (caretFromEnd) *caretFromEnd = 0;
  if (layout) *layout = nullptr;
  // Every macro begins with a percent sign.
  if (text.find(L'%') == std::wstring::npos) return 0;

  std::wstring selected = selectedText;
  if (ReplaceText(text, MacroName(kMacroTrimProtocols), L"") > 0 && !selected.empty()) {
    TrimProtocols(selected);
    ReplaceText(selected, MacroName(kMacroTrimProtocols), L"");
  }
  HKL found = TakeKeyboardLayoutMacro(text);
  if (layout) *layout = found;

  CMacroValues values(selected, clipboardText, locale, cache);
  CExpansionText expansion(text);
  const std::vector<std::wstring_view> runs = PercentRuns(text);
  int count = 0;
  auto list = GetMacroList();
  for (const CMacroEntry& entry : *list) {
    if (entry.id == kMacroCursorPos || entry.id == kMacroTrimProtocols) continue;
    if (!std::binary_search(runs.begin(), runs.end(), std::wstring_view(entry.name))) continue;
    std::wstring command;
    if (entry.id == kMacroUrlFromClipboard && expansion.Contains(entry.name)) command = expansion.Join();
    std::wstring value;
    int n = expansion.Replace(entry.name, [&] { return value = values.Get(entry.id); });
    if (n > 0 && entry.id == kMacroUrlFromClipboard)
      Log(L"PreReplaced MC_URL_FROMCLIPBOARD command=[" + command + L"] result=[" + value + L"]");
    count += n;
  }

  size_t mark = expansion.RemoveAll(MacroName(kMacroCursorPos));
  text = expansion.Join();
  if (mark != std::wstring::npos && caretFromEnd) {
    size_t lineFeeds = static_cast<size_t>(std::count(text.begin() + mark, text.end(), L'\n'));
    *caretFromEnd = static_cast<int>(text.size() - mark - lineFeeds);
  }
  return count;
}

HKL TakeKeyboardLayoutMacro(std::wstring& text) {
  if (text.find(kLayoutMacroPrefix) == std::wstring::npos) return nullptr;
  HKL found = nullptr;
  for (const CLayoutMacro& macro : GetLayoutMacros())
    if (ReplaceText(text, macro.name, L"") > 0) found = macro.layout;
  return found;
}

std::wstring GetLayoutMacroLanguageAbbrev(const std::wstring& text) {
  if (text.find(kLayoutMacroPrefix) == std::wstring::npos) return std::wstring();
  std::vector<CLayoutMacro> macros = GetLayoutMacros();
  const CLayoutMacro* last = LastLayoutMacroIn(text, macros);
  if (!last) return std::wstring();
  LCID locale = MAKELCID(LOWORD(reinterpret_cast<UINT_PTR>(last->layout)), SORT_DEFAULT);
  wchar_t name[16] = {};
  if (GetLocaleInfoW(locale, LOCALE_SABBREVLANGNAME, name, 16) <= 0) return std::wstring();
  return std::wstring(name).substr(0, 2);
}

std::wstring ExpandMacrosInText(const std::wstring& text) {
  std::wstring expanded = text;
  ExpandPhraseMacros(expanded, std::wstring(), std::wstring(), nullptr, nullptr, GetMacroUserLocale());
  return expanded;
}

std::wstring ExpandTextForWindow(HWND target, const std::wstring& text, const std::wstring& selectedText,
                                 const std::wstring& clipboardText) {
  std::wstring selected = selectedText;
  ReplaceText(selected, L"\r\n", L" ");
  std::wstring expanded = text;
  ExpandPhraseMacros(expanded, selected, clipboardText, nullptr, nullptr, GetWindowLayoutLocale(target));
  return expanded;
}

void CTwoStringRecord::SetTexts(const std::wstring& selected) {
  selectedText = selected;
  clipboardText.clear();
  if (wchar_t* copy = GetClipboardTextCopy()) {
    clipboardText = copy;
    FreeClipboardTextCopy(copy);
  }
  m_cache.Clear();
}

int CTwoStringRecord::ExpandWith(std::wstring& text, int* caretFromEnd, HKL* layout, LCID locale) {
  return ExpandPhraseMacros(text, selectedText, clipboardText, caretFromEnd, layout, locale, &m_cache);
}
