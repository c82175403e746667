// Stands in for the editor: writes the command line it was given to
// editor_cmdline.txt beside itself (UTF-16, no BOM), adds one line per start
// to editor_starts.txt, and ends with 0.
#include <windows.h>

#include <string>

int wmain() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring file = path;
  file = file.substr(0, file.rfind(L'\\') + 1) + L"editor_cmdline.txt";
  const wchar_t* line = GetCommandLineW();
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(h, line, static_cast<DWORD>(wcslen(line) * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(h);
  std::wstring starts = file.substr(0, file.rfind(L'\\') + 1) + L"editor_starts.txt";
  h = CreateFileW(starts.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 1;
  WriteFile(h, L"start\n", 6 * sizeof(wchar_t), &written, nullptr);
  CloseHandle(h);
  return 0;
}
