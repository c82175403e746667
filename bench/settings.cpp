// Time of one load and one save of a full Settings.ini, and of one write of
// the shared settings area. Prints milliseconds per operation.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tray/settings/settings.h"
#include "tray/settings/settings_area.h"
#include "tray/settings/settings_files.h"

namespace {

template <typename Fn>
double MillisecondsPerCall(int calls, Fn fn) {
  LARGE_INTEGER freq, start, end;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < calls; ++i) fn();
  QueryPerformanceCounter(&end);
  return (end.QuadPart - start.QuadPart) * 1000.0 / freq.QuadPart / calls;
}

}  // namespace

int wmain() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring program = std::wstring(temp) + L"qlr_bench_settings";
  const std::wstring profile = program + L"\\profile";
  CreateDirectoryW(program.c_str(), nullptr);
  CreateDirectoryW(profile.c_str(), nullptr);
  SetSettingsFolders(program, profile);

  CQLRSettings settings;
  settings.Save();
  const int calls = 200;
  printf("settings load: %.3f ms\n", MillisecondsPerCall(calls, [&] { settings.Load(); }));
  printf("settings save: %.3f ms\n", MillisecondsPerCall(calls, [&] { settings.Save(); }));
  printf("settings area write: %.4f ms\n",
         MillisecondsPerCall(calls * 10, [] { WriteSettingsArea(13, 3, false, L"selected text"); }));

  DeleteFileW((program + L"\\Settings.ini").c_str());
  RemoveDirectoryW(profile.c_str());
  RemoveDirectoryW(program.c_str());
  return 0;
}
