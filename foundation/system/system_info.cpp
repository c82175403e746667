#include "foundation/system/system_info.h"

#include <windows.h>
#include <psapi.h>

#include <cwchar>

#include "foundation/system/handles.h"

namespace {

constexpr wchar_t kCannotDetect[] = L"Cannot detect";

bool QueryMemoryStatusEx(MEMORYSTATUSEX& status) {
  DynamicFunction<BOOL(WINAPI*)(MEMORYSTATUSEX*)> query(L"kernel32.dll", "GlobalMemoryStatusEx");
  if (!query) return false;
  status = MEMORYSTATUSEX{};
  status.dwLength = sizeof(status);
  return query.Get()(&status) != FALSE;
}

std::wstring GigabytesText(unsigned long long megabytes) {
  wchar_t text[64];
  swprintf(text, 64, L"%.2f GB", static_cast<double>(megabytes) * (1.0 / 1024.0));
  return text;
}

}  // namespace

std::wstring FormatByteSize(unsigned long long bytes) {
  DynamicFunction<PWSTR(WINAPI*)(LONGLONG, PWSTR, UINT)> format(L"shlwapi.dll",
                                                               "StrFormatByteSizeW");
  if (!format) return std::wstring();
  wchar_t buffer[MAX_PATH] = {};
  if (!format.Get()(static_cast<LONGLONG>(bytes), buffer, MAX_PATH)) return std::wstring();
  buffer[MAX_PATH - 1] = L'\0';
  return buffer;
}

std::wstring GetCommitLimitText() {
  MEMORYSTATUS status = {};
  status.dwLength = sizeof(status);
  GlobalMemoryStatus(&status);
  std::wstring text = FormatByteSize(status.dwTotalPageFile);
  std::wstring result;
  for (wchar_t ch : text) {
    if (ch != L' ') result += ch;
  }
  return result;
}

std::wstring GetTotalPhysicalMemoryText() {
  MEMORYSTATUSEX status;
  if (!QueryMemoryStatusEx(status)) return kCannotDetect;
  return GigabytesText(status.ullTotalPhys >> 20);
}

std::wstring GetAvailablePhysicalMemoryText() {
  DynamicFunction<BOOL(WINAPI*)(PERFORMANCE_INFORMATION*, DWORD)> query(L"Psapi.dll",
                                                                        "GetPerformanceInfo");
  if (!query) return kCannotDetect;
  // The record's size differs between 32-bit (56) and 64-bit (104) builds.
  PERFORMANCE_INFORMATION info = {};
  info.cb = sizeof(info);
  if (!query.Get()(&info, sizeof(info))) return kCannotDetect;
  unsigned long long pageKb = info.PageSize / 1024;
  unsigned long long megabytes = pageKb * info.PhysicalAvailable / 1024;
  return GigabytesText(megabytes);
}

std::wstring GetMemoryLoadText() {
  MEMORYSTATUSEX status;
  if (!QueryMemoryStatusEx(status)) return kCannotDetect;
  wchar_t text[16];
  swprintf(text, 16, L"%d%%", static_cast<int>(status.dwMemoryLoad));
  return text;
}
