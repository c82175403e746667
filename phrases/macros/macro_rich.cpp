#include "phrases/macros/macro_rich.h"

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "foundation/ui/rich_edit.h"
#include "foundation/ui/rich_edit_convert.h"
#include "phrases/macros/macro_table.h"
#include "phrases/store/phrase_node.h"

namespace {

// Replaces macro names in a loaded rich edit control. The ranges where
// values were put in are kept, so that no search ever matches inside one and
// each search goes on behind the value it just put in (a value holding its
// own name would otherwise be found again and again).
class CRichExpansion {
 public:
  explicit CRichExpansion(HWND edit) : m_edit(edit), m_plain(RichEditGetText(edit)) {}

  // Replaces every occurrence outside the values; the value is computed
  // only when the name occurs.
  int ReplaceAll(const std::wstring& name, const std::function<std::wstring()>& makeValue) {
    if (m_plain.find(name) == std::wstring::npos) return 0;
    bool haveValue = false;
    std::wstring value;
    int count = 0;
    CHARRANGE found;
    for (LONG from = 0; Find(name, from, found);) {
      if (!haveValue) {
        value = makeValue();
        haveValue = true;
      }
      from = ReplaceKeepingColour(found, value);
      ++count;
    }
    return count;
  }

  // The start of the first occurrence outside the values, or -1.
  LONG FindFirst(const std::wstring& name) {
    CHARRANGE found;
    if (m_plain.find(name) == std::wstring::npos || !Find(name, 0, found)) return -1;
    return found.cpMin;
  }

 private:
  bool Find(const std::wstring& name, LONG from, CHARRANGE& found) {
    for (;;) {
      FINDTEXTEXW ft = {};
      ft.chrg.cpMin = from;
      ft.chrg.cpMax = -1;
      ft.lpstrText = name.c_str();
      if (SendMessageW(m_edit, EM_FINDTEXTEXW, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&ft)) < 0)
        return false;
      if (ft.chrgText.cpMax <= ft.chrgText.cpMin) return false;
      if (!OverlapsValue(ft.chrgText)) {
        found = ft.chrgText;
        return true;
      }
      from = ft.chrgText.cpMin + 1;
    }
  }

  bool OverlapsValue(const CHARRANGE& range) const {
    return std::any_of(m_values.begin(), m_values.end(), [&](const CHARRANGE& v) {
      return range.cpMin < v.cpMax && v.cpMin < range.cpMax;
    });
  }

  void Select(LONG from, LONG to) {
    CHARRANGE range = {from, to};
    SendMessageW(m_edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  }

  // Puts the value in place of the range in the colour of the character
  // before it (when that colour is uniform); returns the end of the value.
  LONG ReplaceKeepingColour(const CHARRANGE& range, const std::wstring& value) {
    CHARFORMAT2W colour = {};
    colour.cbSize = sizeof colour;
    bool haveColour = false;
    if (range.cpMin > 0) {
      Select(range.cpMin - 1, range.cpMin);
      SendMessageW(m_edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&colour));
      haveColour = (colour.dwMask & CFM_COLOR) != 0;
    }
    Select(range.cpMin, range.cpMax);
    if (haveColour) {
      colour.dwMask = CFM_COLOR;
      colour.dwEffects &= CFE_AUTOCOLOR;
      SendMessageW(m_edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&colour));
    }
    SendMessageW(m_edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(value.c_str()));
    CHARRANGE caret = {0, 0};
    SendMessageW(m_edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    LONG end = caret.cpMax;
    LONG shift = end - range.cpMax;
    for (CHARRANGE& v : m_values) {
      if (v.cpMin >= range.cpMax) {
        v.cpMin += shift;
        v.cpMax += shift;
      }
    }
    if (end > range.cpMin) m_values.push_back({range.cpMin, end});
    return end;
  }

  HWND m_edit;
  std::wstring m_plain;  // the loaded text: a name it lacks is never searched for
  std::vector<CHARRANGE> m_values;
};

bool LoadRichText(HWND edit, const std::wstring& text) {
  if (!edit) return false;
  SetWindowTextW(edit, L"");
  return RichEditSetText(edit, text);
}

bool HasChangingMacro(const std::wstring& text) {
  auto list = GetMacroList();
  return std::any_of(list->begin(), list->end(), [&](const CMacroEntry& e) {
    return !IsFixedValueMacro(e.id) && text.find(e.name) != std::wstring::npos;
  });
}

}  // namespace

int ExpandMacrosInRichEdit(std::wstring& text, const std::wstring& selectedText, const std::wstring& clipboardText,
                           int* caretFromEnd, HKL* layout, LCID locale, HWND edit, CMacroRequestCache* cache) {
  if (caretFromEnd) *caretFromEnd = 0;
  if (layout) *layout = nullptr;
  if (!LoadRichText(edit, text)) return 0;

  CRichExpansion expansion(edit);
  int count = 0;
  for (const CLayoutMacro& macro : GetLayoutMacros()) {
    int n = expansion.ReplaceAll(macro.name, [] { return std::wstring(); });
    if (n > 0 && layout) *layout = macro.layout;
    count += n;
  }

  CMacroValues values(selectedText, clipboardText, locale, cache);
  auto list = GetMacroList();
  for (const CMacroEntry& entry : *list) {
    if (entry.id == kMacroCursorPos) continue;
    count += expansion.ReplaceAll(entry.name, [&] { return values.Get(entry.id); });
  }

  const std::wstring mark = MacroName(kMacroCursorPos);
  LONG first = expansion.FindFirst(mark);
  if (first >= 0) {
    count += expansion.ReplaceAll(mark, [] { return std::wstring(); });
    if (caretFromEnd) *caretFromEnd = std::max(0, RichEditCharCount(edit) - static_cast<int>(first));
  }
  if (count > 0) text = RichEditGetRtf(edit);
  return count;
}

HKL TakeKeyboardLayoutMacroRich(const std::wstring& text) {
  HWND edit = GetHiddenRichEdit();
  if (!LoadRichText(edit, text)) return nullptr;
  std::wstring plain = RichEditGetText(edit);
  HKL found = nullptr;
  for (const CLayoutMacro& macro : GetLayoutMacros())
    if (plain.find(macro.name) != std::wstring::npos) found = macro.layout;
  return found;
}

bool PhraseHasChangingMacros(const CPhraseNode& phrase) {
  if (phrase.macroState == 1) return true;
  if (phrase.macroState == 2) return false;
  if (phrase.DataType != kDataTypeRtf) return HasChangingMacro(phrase.data);
  HWND edit = GetHiddenRichEdit();
  if (!LoadRichText(edit, phrase.data)) return true;
  return HasChangingMacro(RichEditGetText(edit));
}
