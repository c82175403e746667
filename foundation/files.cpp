#include "foundation/files.h"

#include <windows.h>

int PathFileExistsDyn(const wchar_t* path) {
  HMODULE lib = LoadLibraryW(L"shlwapi.dll");
  if (!lib) return 0;
  using Fn = BOOL(WINAPI*)(LPCWSTR);
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(lib, "PathFileExistsW")));
  int result = 0;
  if (fn) result = fn(path) ? 2 : 1;
  FreeLibrary(lib);
  return result;
}

bool IsFileExist(const std::wstring& path) {
  // No "insert a disk" boxes for empty removable drives.
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  bool exists = false;
  if (PathFileExistsDyn(path.c_str()) != 1) {
    DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES)
      exists = (attrs & FILE_ATTRIBUTE_DIRECTORY) == 0;
    else
      exists = GetLastError() == ERROR_ACCESS_DENIED;
  }
  SetErrorMode(oldMode);
  return exists;
}
