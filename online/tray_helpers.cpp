#include "online/tray_helpers.h"

#include <shellapi.h>

#include <atomic>

#include "foundation/files/paths.h"
#include "foundation/files/program_names.h"
#include "foundation/logging/log.h"
#include "foundation/logging/system_error.h"
#include "foundation/system/handles.h"
#include "foundation/system/security.h"
#include "foundation/system/shell_open.h"
#include "foundation/system/system_helpers.h"
#include "settings/event_watchers.h"
#include "settings/settings_files.h"

namespace {

using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);

class LastErrorKeeper {
 public:
  LastErrorKeeper() : m_error(GetLastError()) {}
  ~LastErrorKeeper() { SetLastError(m_error); }
  LastErrorKeeper(const LastErrorKeeper&) = delete;
  LastErrorKeeper& operator=(const LastErrorKeeper&) = delete;

 private:
  DWORD m_error;
};

}  // namespace

std::wstring GetEditorPath() { return GetEditorExePath(); }
std::wstring GetModuleFilePath() { return GetModulePath(); }
std::wstring GetCoreDllPath() { return GetAppFolderWithSlash() + L"Quillora.dll"; }
std::wstring GetLogFilePath() { return GetLogReportPath(); }
std::wstring FormatIntToString(int n) { return std::to_wstring(n); }

bool CheckUserIsAdmin(bool& member) { return IsCurrentUserAdmin(member); }

bool IsUserAdmin() {
  bool member = false;
  return CheckUserIsAdmin(member) && member;
}

bool IsDwmCompositionEnabled() {
  // Loaded once and kept: the answer is asked often while windows draw.
  static DynamicFunction<DwmIsCompositionEnabledFn> isEnabled(L"dwmapi.dll",
                                                             "DwmIsCompositionEnabled");
  if (!isEnabled) return false;
  BOOL enabled = FALSE;
  return SUCCEEDED(isEnabled.Get()(&enabled)) && enabled;
}

bool OpenSettingsFile(HWND window) {
  LastErrorKeeper keep;
  if (ShellOpen(window, L"open", GetSettingsIniPath().c_str(), nullptr, nullptr, SW_SHOW) > 32)
    return true;
  DWORD error = GetLastError();
  LogError(L"Cannot open the settings file, error " + std::to_wstring(error));
  MessageBoxW(window, GetSystemErrorText(error).c_str(), L"Quillora", MB_ICONHAND);
  return false;
}

bool StartEditorFinishedWatcher(const EditorFinishedRecord& record) {
  return StartEditorCoopEndedWatcher({record.stopEvent, record.window, record.message});
}

bool GetMfcRuntimePath(std::wstring& path) {
  path = L"Not found";
  HMODULE module = LoadLibraryW(L"Mfc42.DLL");
  if (!module) return true;
  wchar_t buffer[MAX_PATH] = {};
  if (GetModuleFileNameW(module, buffer, MAX_PATH)) path = buffer;
  FreeLibrary(module);
  return true;
}
