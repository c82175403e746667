#include "tray/app/app_texts.h"

#include <windows.h>

#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/localization/menu_localizer.h"
#include "foundation/system/system_helpers.h"
#include "history/actions/version_text.h"
#include "phrases/menu/menu_item_text.h"
#include "phrases/menu/menu_tracker.h"
#include "settings/settings.h"
#include "tray/program/resource.h"

namespace {

constexpr int kMaxLayouts = 40;
constexpr size_t kMaxMappedText = 1000;

std::wstring CharUpper(std::wstring text) {
  if (!text.empty()) CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

}  // namespace

std::wstring GetClientString(UINT id) {
  CLngString text;
  text.LoadString(id);
  return text.Text();
}

void ApplyClientLanguageFile(const std::wstring& path) {
  // Built first: its construction makes the settings' file current, which
  // the binding below may replace.
  CMenuLocalizerEx& menus = GetLangFile();
  if (path.empty())
    SetCurrentLanguage(std::wstring());
  else
    SetLngStringFile(path, kLngSuffixClient);
  // The localiser reads the current language whenever it runs, so one
  // object follows every change.
  CMenuTracker::SetMenuLocalizer(&menus);
}

CMenuLocalizerEx& GetLangFile() {
  static CMenuLocalizerEx* localizer =
      new CMenuLocalizerEx(GetSettings().GetLanguageFilePath(), kLngSuffixClient);
  return *localizer;
}

std::wstring UpperCaseForKeyboard(const std::wstring& text) {
  HKL layouts[kMaxLayouts] = {};
  int count = GetKeyboardLayoutList(kMaxLayouts, layouts);
  if (count <= 0 || text.empty() || text.size() >= kMaxMappedText) return CharUpper(text);
  LCID locale = MAKELCID(LOWORD(reinterpret_cast<UINT_PTR>(layouts[0])), SORT_DEFAULT);
  std::wstring upper(text.size() + 1, L'\0');
  int n = LCMapStringW(locale, LCMAP_UPPERCASE, text.c_str(), static_cast<int>(text.size()),
                       &upper[0], static_cast<int>(upper.size()));
  if (n <= 0) return CharUpper(text);
  upper.resize(n);
  return upper;
}

std::wstring GetTurnOnText() { return GetClientString(IDS_TURN_ON); }
std::wstring GetTurnOffText() { return UpperCaseForKeyboard(GetClientString(IDS_TURN_OFF)); }
std::wstring GetOnText() { return GetClientString(IDS_ON); }
std::wstring GetOffText() { return UpperCaseForKeyboard(GetClientString(IDS_OFF)); }

std::wstring GetHotkeyText() {
  const CQLRTraySettings& settings = GetSettings();
  std::wstring text = CharUpper(GetHotkeyDisplayName(settings.hotkey.key, settings.hotkey.modifiers));
  if (settings.hotkeyDoubled) text += L" [x2]";
  return text;
}


std::wstring FormatCharsCount(int n) {
  return GetClientString(kIdsChars) + L": " + std::to_wstring(n);
}

std::wstring GetDefaultFolderMacro() { return L"%DEFAULT_FOLDER%"; }

std::wstring GetPhrasesDirectoryOrMacro() {
  const CQLRTraySettings& settings = GetSettings();
  return settings.IsPhrasesDirectoryDefault() ? GetDefaultFolderMacro() : settings.GetPhrasesDirectory();
}

std::wstring GetProgramVersionTextFull() { return BuildProgramVersionText(true, true, L"build", true); }
std::wstring GetProgramVersionText(bool withBuild, bool blankBeforeBuild) {
  return BuildProgramVersionText(true, withBuild, L"build", blankBeforeBuild);
}
