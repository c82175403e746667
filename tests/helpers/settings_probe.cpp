// Runs the settings store from wherever this program was copied to:
//   settings_probe <out-file>
// loads and saves the settings and writes the file in use and the
// new-version flag, one per line, into out-file (UTF-16).
#include <windows.h>

#include <string>

#include "settings/settings.h"
#include "settings/settings_files.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 3;
  CQLRTraySettings& settings = GetSettings();
  settings.Save();
  std::wstring text = GetSettingsIniPath() + L"\n" + (settings.IsNewVersion() ? L"1" : L"0") + L"\n";
  HANDLE out = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  BOOL ok = WriteFile(out, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(out);
  return ok ? 0 : 3;
}
