#include "editor/services/macro_menus.h"

#include <map>

#include "editor_settings/helpers/menu_ranges.h"
#include "foundation/localization/localized_strings.h"
#include "phrases/macros/macro_expand.h"
#include "phrases/macros/macro_sources.h"
#include "phrases/macros/macro_table.h"
#include "phrases/macros/macro_values.h"

namespace {

struct MacroDescriptionRow {
  const wchar_t* macro;
  UINT stringId;
};

// Macro -> string id of its description (the English texts live in the
// editor's string table).
const MacroDescriptionRow kMacroDescriptions[] = {
    {L"%CLIPBOARD_TEXT%", 133},
    {L"%SELECTED_TEXT%", 132},
    {L"%CURSOR_POS%", 142},
    {L"%DATETIME%", 147},
    {L"%DATE%", 148},
    {L"%TIME%", 149},
    {L"%DATE_EX_WD%", 150},
    {L"%DATETIME_EX_WD%", 151},
    {L"%WINDOWS_USERNAME%", 152},
    {L"%QLR_VERSION%", 153},
    {L"%QLR_VERSION_DLL%", 155},
    {L"%QLR_VERSION_EDITOR%", 154},
    {L"%DAY%", 157},
    {L"%DAY2%", 226},
    {L"%MONTHNUMBER%", 158},
    {L"%MONTHNUMBER2%", 227},
    {L"%MONTHNAME%", 159},
    {L"%MONTHNAME_ABBR%", 160},
    {L"%YEAR%", 156},
    {L"%YEAR2%", 225},
    {L"%TRIM_LEFT_ALLPROTS_FROM_SELTEXT%", 228},
    {L"%WEEKDAYNAME_ABBR%", 165},
    {L"%WEEKDAYNAME%", 164},
    {L"%KEYPRESS_TAB%", 205},
    {L"%KEYPRESS_ENTER%", 206},
    {L"%URL_FROM_SELECTED_TEXT%", 61191},
    {L"%TEXT_AFTER_URL%", 61192},
    {L"%URL_FROM_CLIPBOARD%", 210},
    {L"%PROMPT_TEXT={}%", 219},
    {L"%WINDOWS_VERSION%", 195},
    {L"%NUMBERCHARS_SELTEXT%", 232},
    {L"%NUMBERCHARS_CLIPBOARD%", 233},
    {L"%UPPER_SELTEXT%", 234},
    {L"%LOWER_SELTEXT%", 235},
};

const std::map<std::wstring, UINT>& MacroDescriptions() {
  static const std::map<std::wstring, UINT> table = [] {
    std::map<std::wstring, UINT> t;
    for (const MacroDescriptionRow& row : kMacroDescriptions) t[row.macro] = row.stringId;
    return t;
  }();
  return table;
}

constexpr size_t kMacroMenuCapacity = kMacroItemLast - kMacroItemFirst + 1;

}  // namespace

std::vector<std::wstring> GetMenuMacroNames() {
  std::shared_ptr<const CMacroList> list = GetMacroList();
  std::vector<std::wstring> names;
  // Ids past the range would land on the recent folders' commands, so the
  // list stops at the range's end; the fixed macros never fall off it.
  for (bool layouts : {false, true})
    for (const CMacroEntry& entry : *list) {
      if ((entry.id == kMacroKeyboardLayout) != layouts) continue;
      if (names.size() == kMacroMenuCapacity) return names;
      names.push_back(entry.name);
    }
  return names;
}

std::wstring GetMenuMacroName(UINT id) {
  if (!IsInRange(id, kMacroItemFirst, kMacroItemLast)) return std::wstring();
  std::vector<std::wstring> names = GetMenuMacroNames();
  size_t index = id - kMacroItemFirst;
  return index < names.size() ? names[index] : std::wstring();
}

int FillMacroMenu(HMENU menu) {
  if (!menu) return 0;
  int added = 0;
  for (const std::wstring& name : GetMenuMacroNames()) {
    if (!AppendMenuW(menu, MF_STRING, kMacroItemFirst + added, name.c_str())) break;
    ++added;
  }
  return added;
}

std::wstring ExpandForPreview(const std::wstring& text) {
  std::wstring result = text;
  int caretFromEnd = 0;
  HKL layout = nullptr;
  ExpandPhraseMacros(result, std::wstring(), std::wstring(), &caretFromEnd, &layout, GetMacroUserLocale());
  return result;
}

UINT GetMacroDescriptionId(const std::wstring& macro) {
  auto it = MacroDescriptions().find(macro);
  return it == MacroDescriptions().end() ? 0 : it->second;
}

std::wstring CutForTip(const std::wstring& text) {
  return text.size() > kTipValueChars ? text.substr(0, kTipValueChars) : text;
}

std::wstring GetMacroDescription(const std::wstring& macro) {
  std::wstring own = GetMacroTableDescription(macro);
  if (!own.empty()) return own;
  UINT id = GetMacroDescriptionId(macro);
  if (!id) return std::wstring();
  CLngString description;
  description.LoadString(id);
  std::wstring text = description.Text();
  std::wstring value = GetMacroValue(macro, GetForegroundWindow());
  if (!value.empty()) text += L"\r\r  [" + CutForTip(value) + L"]";
  return text;
}
