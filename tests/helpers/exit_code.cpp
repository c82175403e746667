// Ends with the exit code given as its first argument (default 0); with a
// second argument, first writes its command line into that file (UTF-16).
#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <string>

int wmain(int argc, wchar_t** argv) {
  int code = argc > 1 ? static_cast<int>(wcstol(argv[1], nullptr, 10)) : 0;
  if (argc > 2) {
    HANDLE h = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      const wchar_t* cmd = GetCommandLineW();
      DWORD written = 0;
      WriteFile(h, "\xFF\xFE", 2, &written, nullptr);
      WriteFile(h, cmd, static_cast<DWORD>(wcslen(cmd) * sizeof(wchar_t)), &written, nullptr);
      CloseHandle(h);
    }
  }
  return code;
}
