// A module whose entry point leaves a marker file beside it: whoever loads it
// as a program module runs this code, whoever maps it as data does not.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t path[MAX_PATH + 8] = {};
    DWORD len = GetModuleFileNameW(instance, path, MAX_PATH);
    if (len > 0 && len < MAX_PATH) {
      lstrcatW(path, L".ran");
      HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
  }
  return TRUE;
}
