// Localised string and menu loads against a bound language file, beside the
// bare Win32 work they stand on: the string table load, and reading and
// setting the text of each menu item. Prints microseconds per operation.
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
  QueryPerformanceCounter(&a);
  for (int i = 0; i < kLoads; ++i) {
    wchar_t text[256];
    LoadStringW(nullptr, 10000 + i % kKeys, text, 256);
  }
  QueryPerformanceCounter(&b);
  printf("  bare LoadStringW: %.1f us per load\n", Micros(a, b, kLoads));

  HMENU menu = CreatePopupMenu();
  for (int i = 0; i < 40; ++i)
    AppendMenuW(menu, MF_STRING, 100 + i, (L"Command number " + std::to_wstring(i)).c_str());
  CMenuLocalizerEx localizer(lng, L"_Client");
  // The first opening writes the 40 keys the file lacks.
  QueryPerformanceCounter(&a);
  localizer.LocalizeMenu(menu);
  QueryPerformanceCounter(&b);
  printf("CMenuLocalizer::LocalizeMenu, first opening, 40 keys written: %.1f us\n", Micros(a, b, 1));
  // The same keys written the plain way, one profile write each, into a
  // copy of the file as it was.
  const std::wstring plain = folder + L"\\Plain.lng";
  WriteLangFileHeader(plain);
  QueryPerformanceCounter(&a);
  for (int i = 0; i < 40; ++i) {
    const std::wstring key = L"Command_number_" + std::to_wstring(i);
    WritePrivateProfileStringW(L"Menu_Client", key.c_str(), (L"Command number " + std::to_wstring(i)).c_str(),
                               plain.c_str());
  }
  QueryPerformanceCounter(&b);
  printf("  bare profile writes of the same 40 keys: %.1f us\n", Micros(a, b, 1));
  DeleteFileW(plain.c_str());
  const int kMenus = 50;
  QueryPerformanceCounter(&a);
  for (int i = 0; i < kMenus; ++i) localizer.LocalizeMenu(menu);
  QueryPerformanceCounter(&b);
  printf("CMenuLocalizer::LocalizeMenu, 40 items: %.1f us per menu (goal: at most 2000)\n",
         Micros(a, b, kMenus));
  // The menu calls the localiser makes for each item, without the file.
  QueryPerformanceCounter(&a);
  for (int i = 0; i < kMenus; ++i) {
    for (int pos = 0; pos < 40; ++pos) {
      MENUITEMINFOW mii = {};
      mii.cbSize = sizeof(mii);
      mii.fMask = MIIM_ID | MIIM_SUBMENU;
      GetMenuItemInfoW(menu, pos, TRUE, &mii);
      wchar_t text[261];
      GetMenuStringW(menu, pos, text, 261, MF_BYPOSITION);
      mii.fMask = MIIM_STRING;
      mii.dwTypeData = text;
      SetMenuItemInfoW(menu, pos, TRUE, &mii);
    }
  }
  QueryPerformanceCounter(&b);
  printf("  bare menu calls, 40 items: %.1f us per menu\n", Micros(a, b, kMenus));
  DestroyMenu(menu);

  SetCurrentLanguage(L"");
  DeleteFileW(lng.c_str());
  DeleteFileW(GetLocalizeExamplePath(lng).c_str());
  RemoveDirectoryW(folder.c_str());
  return 0;
}
