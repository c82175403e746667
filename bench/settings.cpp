// Time of one load and one save of a full Settings.ini (the shared keys alone
// and with the editor's), of the editor's settings accessor with no change
// announced, and of one write of the shared settings area. Prints
// milliseconds per operation.
#include <windows.h>

#include <cstdio>
#include <string>

#include "editor_settings/editor_settings.h"
#include "settings/settings.h"
#include "settings/settings_area.h"
#include "settings/settings_files.h"

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
  CQLREditorSettings editor;
  editor.Load();
  for (int i = 0; i < 8; ++i) editor.AddPrevFolder(L"C:\\Phrases\\Folder" + std::to_wstring(i));
  editor.Save();
  printf("editor settings load: %.3f ms\n", MillisecondsPerCall(calls, [&] { editor.Load(); }));
  printf("editor settings save (copy and replace): %.3f ms\n",
         MillisecondsPerCall(calls, [&] { editor.Save(); }));
  GetEditorSettings();
  volatile int sink = 0;
  printf("editor settings accessor, nothing changed: %.6f ms\n",
         MillisecondsPerCall(calls * 10000, [&] { sink = sink + GetEditorSettings().Preview; }));
  printf("settings area write: %.4f ms\n",
         MillisecondsPerCall(calls * 10, [] { WriteSettingsArea(13, 3, false, L"selected text"); }));

  DeleteFileW((program + L"\\Settings.ini").c_str());
  RemoveDirectoryW(profile.c_str());
  RemoveDirectoryW(program.c_str());
  return 0;
}
