// Localised string and menu loads against a bound language file: every load
// reads the file (and may write the example file), nothing is cached.
// Prints microseconds per operation.
#include <windows.h>

#include <cstdio>
#include <string>

#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/localization/menu_localizer.h"

namespace {

double Micros(LARGE_INTEGER from, LARGE_INTEGER to, int count) {
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  return (to.QuadPart - from.QuadPart) * 1e6 / freq.QuadPart / count;
}

}  // namespace

int wmain() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"lng_bench_" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring lng = folder + L"\\De.lng";
  WriteLangFileHeader(lng);
  const int kKeys = 500;
  for (int i = 0; i < kKeys; ++i)
    WriteLngValue(lng, L"Strings_Client", std::to_wstring(10000 + i),
                  L"Übersetzter Text Nummer " + std::to_wstring(i));
  SetLngStringFile(lng, L"_Client");

  const int kLoads = 2000;
  LARGE_INTEGER a, b;
  QueryPerformanceCounter(&a);
  for (int i = 0; i < kLoads; ++i) {
    CLngString s;
    s.LoadString(10000 + i % kKeys);
  }
  QueryPerformanceCounter(&b);
  printf("CLngString::LoadString, %d keys in the section: %.1f us per load\n", kKeys,
         Micros(a, b, kLoads));

  HMENU menu = CreatePopupMenu();
  for (int i = 0; i < 40; ++i)
    AppendMenuW(menu, MF_STRING, 100 + i, (L"Command number " + std::to_wstring(i)).c_str());
  CMenuLocalizerEx localizer(lng, L"_Client");
  const int kMenus = 50;
  QueryPerformanceCounter(&a);
  for (int i = 0; i < kMenus; ++i) localizer.LocalizeMenu(menu);
  QueryPerformanceCounter(&b);
  printf("CMenuLocalizer::LocalizeMenu, 40 items: %.1f us per menu\n", Micros(a, b, kMenus));
  DestroyMenu(menu);

  SetCurrentLanguage(L"");
  DeleteFileW(lng.c_str());
  DeleteFileW(GetLocalizeExamplePath(lng).c_str());
  RemoveDirectoryW(folder.c_str());
  return 0;
}
