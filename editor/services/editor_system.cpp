#include "editor/services/editor_system.h"

#include "foundation/localization/localized_strings.h"
#include "foundation/logging/system_error.h"
#include "foundation/system/handles.h"
#include "foundation/system/security.h"
#include "foundation/ui/rich_edit_convert.h"

bool IsAutoStartSet(const wchar_t* valueName, const std::wstring& programPath) {
  // An empty stored value would match an empty path; neither starts anything.
  if (programPath.empty()) return false;
  return IsRunValueThisProgram(true, valueName, programPath);
}

std::wstring FirstLineOf(const std::wstring& text) {
  size_t lf = text.find(L'\n');
  if (lf == std::wstring::npos || lf == 0) return text;
  return text.substr(0, lf);
}

std::wstring PartOf(const std::wstring& text, bool first) {
  size_t lf = text.find(L'\n');
  if (lf == std::wstring::npos) return text;
  return first ? text.substr(0, lf) : text.substr(lf + 1);
}

std::wstring GetLocalizedText(UINT id) {
  CLngString text;
  text.LoadString(id);
  return text.Text();
}

std::wstring FolderNotFoundText(const std::wstring& folder) {
  constexpr UINT kIdsNotFound = 238;
  return folder + L" (" + GetLocalizedText(kIdsNotFound) + L")";
}

std::wstring GetLocalizedFirstLine(UINT id) { return FirstLineOf(GetLocalizedText(id)); }
std::wstring GetLocalizedPart(UINT id, bool first) { return PartOf(GetLocalizedText(id), first); }

WORD GetCurrentKeyboardLayout() {
  return LOWORD(reinterpret_cast<ULONG_PTR>(GetKeyboardLayout(0)));
}

WORD GetWindowKeyboardLayout(HWND window) {
  DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (!thread) return 0;
  return LOWORD(reinterpret_cast<ULONG_PTR>(GetKeyboardLayout(thread)));
}

std::wstring FormatSystemErrorText(DWORD code) { return GetSystemErrorText(code); }

std::wstring HotkeyToDisplayText(const HotkeyRecord& hotkey) {
  std::wstring text = GetHotkeyDisplayName(hotkey.key, hotkey.modifiers);
  if (hotkey.IsDouble()) text += L" - x 2";
  return text;
}

bool IsClipboardListenerSupported() {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  UniqueModule loaded;
  if (!user32) {
    loaded.Reset(LoadLibraryW(L"user32.dll"));
    user32 = loaded.Get();
  }
  return user32 && GetProcAddress(user32, "AddClipboardFormatListener") != nullptr;
}

bool IsRunAsAdmin() { return IsRunningAsAdmin(); }

std::wstring RtfBytesToText(const std::wstring& rtf) {
  if (rtf.empty()) return std::wstring();
  return RtfToPlainText(rtf);
}

std::wstring GetModuleSuffix() { return kLngSuffixEditor; }
