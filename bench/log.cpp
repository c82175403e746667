// How long logging takes the caller, and how fast lines reach the file.
//   bench_log [lines]   (default 20000)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "foundation/logging/log.h"
#include "foundation/files/paths.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  return static_cast<double>(to.QuadPart - from.QuadPart) / freq.QuadPart;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int lines = argc > 1 ? _wtoi(argv[1]) : 20000;
  std::wstring path = GetTempFileNameWithExt(L"txt");
  if (path.empty() || !InitLog(path.c_str())) return 1;
  std::wstring text = L"Benchmark line with a typical length of some sixty characters";
  LARGE_INTEGER start, logged, written;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < lines; ++i) Log(text);
  QueryPerformanceCounter(&logged);
  bool all = WaitLogWritten(60000);
  QueryPerformanceCounter(&written);
  TermLog();
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
  DeleteFileW(path.c_str());
  double callerUs = Seconds(start, logged) * 1e6 / lines;
  double total = Seconds(start, written);
  printf("log: %d lines, caller %.2f us/line, all on disk after %.3f s (%.0f lines/s), %lu bytes%s\n",
         lines, callerUs, total, lines / total, data.nFileSizeLow, all ? "" : " (not all written)");
  return all ? 0 : 2;
}
