// Writes its command line (UTF-16 with BOM) into the file named by the
// environment variable QLR_MARKER_FILE, so a test can tell that the shell
// started it, then ends with 0. The file is written under another name and
// moved into place, so a test that sees it also sees its whole content.
#include <windows.h>

#include <cwchar>
#include <string>

int wmain() {
  wchar_t path[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"QLR_MARKER_FILE", path, MAX_PATH)) return 1;
  const std::wstring partial = std::wstring(path) + L".partial";
  HANDLE h = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 2;
  const wchar_t* cmd = GetCommandLineW();
  DWORD written = 0;
  WriteFile(h, "\xFF\xFE", 2, &written, nullptr);
  WriteFile(h, cmd, static_cast<DWORD>(wcslen(cmd) * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(h);
  if (!MoveFileExW(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING)) return 3;
  return 0;
}
