#include "editor/coop/program_paths.h"

#include "editor/editor_names.h"
#include "foundation/files/paths.h"
#include "foundation/logging/log.h"
#include "foundation/system/shell_open.h"

std::wstring GetMainExePath() { return GetAppFolderWithSlash() + editor_names::kMainExeName; }
std::wstring GetCoreDllPath() { return GetAppFolderWithSlash() + GetCoreDllName(); }

bool StartWelcome(HWND owner, bool autoSwitch) {
  std::wstring path = GetWelcomeExePath();
  INT_PTR rc = ShellOpen(owner, L"open", path.c_str(), autoSwitch ? L"/auto" : nullptr, nullptr, SW_SHOWNORMAL);
  if (rc <= 32) LogError(L"StartWelcome: " + path + L" failed " + std::to_wstring(rc));
  return rc > 32;
}
