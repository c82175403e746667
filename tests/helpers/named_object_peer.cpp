// A peer process for tests of named kernel objects:
//   wait <event> <ms>      exit 0 when the event was signalled, 1 on time-out
//   set <event>            sets an existing event
//   dump <mapping> <file>  writes the mapping's text and its NUL to file
// Exit 2 when the object does not exist, 3 on bad arguments or I/O failure.
#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

int Wait(const wchar_t* name, DWORD ms) {
  HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, name);
  if (!event) return 2;
  DWORD rc = WaitForSingleObject(event, ms);
  CloseHandle(event);
  return rc == WAIT_OBJECT_0 ? 0 : 1;
}

int Set(const wchar_t* name) {
  HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
  if (!event) return 2;
  BOOL ok = SetEvent(event);
  CloseHandle(event);
  return ok ? 0 : 3;
}

int Dump(const wchar_t* name, const wchar_t* file) {
  HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, name);
  if (!mapping) return 2;
  int rc = 3;
  if (const char* view = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0))) {
    MEMORY_BASIC_INFORMATION info = {};
    VirtualQuery(view, &info, sizeof(info));
    const void* nul = memchr(view, '\0', info.RegionSize);
    DWORD size = nul ? static_cast<DWORD>(static_cast<const char*>(nul) - view + 1) : 0;
    HANDLE out = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (out != INVALID_HANDLE_VALUE && nul && WriteFile(out, view, size, &written, nullptr)) rc = 0;
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return rc;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && wcscmp(argv[1], L"wait") == 0) return Wait(argv[2], wcstoul(argv[3], nullptr, 10));
  if (argc == 3 && wcscmp(argv[1], L"set") == 0) return Set(argv[2]);
  if (argc == 4 && wcscmp(argv[1], L"dump") == 0) return Dump(argv[2], argv[3]);
  return 3;
}
