// The bare Win32 walk the folder benchmarks print beside their own times:
// every file below a folder counted, and with read each one opened and read
// whole.
#pragma once
#include <windows.h>

#include <string>

struct BareWalkCount {
  int files = 0;
  unsigned long long bytes = 0;
};

inline void BareWalkInto(const std::wstring& folder, bool read, BareWalkCount& count) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  char buffer[4096];
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      BareWalkInto(path, read, count);
      continue;
    }
    ++count.files;
    if (!read) continue;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &n, nullptr) && n > 0) count.bytes += n;
    CloseHandle(file);
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

inline BareWalkCount BareWalk(const std::wstring& folder, bool read) {
  BareWalkCount count;
  BareWalkInto(folder, read, count);
  return count;
}
