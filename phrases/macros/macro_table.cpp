#include "phrases/macros/macro_table.h"

#include <algorithm>
#include <mutex>

#include "phrases/macros/macro_sources.h"

namespace {

// In MacroId order.
const wchar_t* const kFixedNames[kFixedMacroCount] = {
    L"%CLIPBOARD_TEXT%",
    L"%SELECTED_TEXT%",
    L"%CURSOR_POS%",
    L"%DATETIME%",
    L"%DATE%",
    L"%TIME%",
    L"%DATE_EX_WD%",
    L"%DATETIME_EX_WD%",
    L"%WINDOWS_USERNAME%",
    L"%QLR_VERSION%",
    L"%QLR_VERSION_EDITOR%",
    L"%QLR_VERSION_DLL%",
    L"%DAY%",
    L"%DAY2%",
    L"%MONTHNAME%",
    L"%MONTHNUMBER%",
    L"%MONTHNUMBER2%",
    L"%MONTHNAME_ABBR%",
    L"%YEAR%",
    L"%YEAR2%",
    L"%WEEKDAYNAME%",
    L"%WEEKDAYNAME_ABBR%",
    L"%KEYPRESS_TAB%",
    L"%KEYPRESS_ENTER%",
    L"%URL_FROM_SELECTED_TEXT%",
    L"%TEXT_AFTER_URL%",
    L"%URL_FROM_CLIPBOARD%",
    L"%PROMPT_TEXT={}%",
    L"%TRIM_LEFT_ALLPROTS_FROM_SELTEXT%",
    L"%WINDOWS_VERSION%",
    L"%NUMBERCHARS_SELTEXT%",
    L"%NUMBERCHARS_CLIPBOARD%",
    L"%UPPER_SELTEXT%",
    L"%LOWER_SELTEXT%",
};

const CArgMacroEntry kArgMacros[] = {
    {L"%PROMPT_TEXT={", L"}%", L"%PROMPT_TEXT={}%"},
};

// ISO 639 names are two or three letters; the locale tables allow nine.
constexpr int kIsoNameChars = 9;

std::mutex g_listLock;
std::shared_ptr<const CMacroList> g_list;

std::shared_ptr<const CMacroList> BuildMacroList() {
  auto list = std::make_shared<CMacroList>();
  for (int id = 0; id < kFixedMacroCount; ++id) list->push_back({kFixedNames[id], id});
  for (const CLayoutMacro& macro : GetLayoutMacros()) list->push_back({macro.name, kMacroKeyboardLayout});
  std::sort(list->begin(), list->end(),
            [](const CMacroEntry& a, const CMacroEntry& b) { return a.name < b.name; });
  return list;
}

}  // namespace

const wchar_t* MacroName(int id) { return id >= 0 && id < kFixedMacroCount ? kFixedNames[id] : L""; }

int FindMacroId(const std::wstring& name) {
  for (int id = 0; id < kFixedMacroCount; ++id)
    if (name == kFixedNames[id]) return id;
  return kMacroUnknown;
}

bool IsFixedValueMacro(int id) {
  switch (id) {
    case kMacroCursorPos:
    case kMacroUserName:
    case kMacroVersion:
    case kMacroVersionEditor:
    case kMacroVersionDll:
    case kMacroKeyboardLayout:
      return true;
    default:
      return false;
  }
}

std::shared_ptr<const CMacroList> GetMacroList() {
  std::lock_guard<std::mutex> hold(g_listLock);
  if (!g_list) g_list = BuildMacroList();
  return g_list;
}

void ResetMacroList() {
  std::lock_guard<std::mutex> hold(g_listLock);
  g_list.reset();
}

std::wstring GetMacroTableDescription(const std::wstring&) { return std::wstring(); }

int GetMacroCount() { return static_cast<int>(GetMacroList()->size()); }

std::wstring GetMacroName(int index) {
  auto list = GetMacroList();
  if (index < 0 || static_cast<size_t>(index) >= list->size()) return std::wstring();
  return (*list)[static_cast<size_t>(index)].name;
}

std::wstring LayoutMacroName(HKL layout) {
  LCID locale = MAKELCID(LOWORD(reinterpret_cast<UINT_PTR>(layout)), SORT_DEFAULT);
  wchar_t iso[kIsoNameChars + 1] = {};
  if (GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, iso, kIsoNameChars + 1) <= 0 || !iso[0])
    return std::wstring();
  CharUpperW(iso);
  return std::wstring(kLayoutMacroPrefix) + iso + L"%";
}

std::vector<CLayoutMacro> GetLayoutMacros() {
  std::vector<CLayoutMacro> macros;
  for (HKL layout : GetMacroKeyboardLayouts()) {
    std::wstring name = LayoutMacroName(layout);
    if (name.empty()) continue;
    auto same = std::find_if(macros.begin(), macros.end(),
                             [&](const CLayoutMacro& m) { return m.name == name; });
    if (same != macros.end())
      same->layout = layout;
    else
      macros.push_back({name, layout});
  }
  std::sort(macros.begin(), macros.end(),
            [](const CLayoutMacro& a, const CLayoutMacro& b) { return a.name < b.name; });
  return macros;
}

int GetArgMacroCount() { return static_cast<int>(sizeof kArgMacros / sizeof kArgMacros[0]); }

CArgMacroEntry GetArgMacroEntry(int index) {
  if (index < 0 || index >= GetArgMacroCount()) return CArgMacroEntry();
  return kArgMacros[index];
}
