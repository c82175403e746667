// Where macro values come from outside the phrase text: the clock, the
// user's default locale, the installed keyboard layouts and the program
// files whose versions the version macros give. Each source can be replaced
// (tests give a fixed clock, locale and layout list).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct CMacroSources {
  // An empty function means the system's own source.
  std::function<SYSTEMTIME()> localTime;             // GetLocalTime
  std::function<LCID()> userLocale;                  // GetUserDefaultLCID
  std::function<std::vector<HKL>()> keyboardLayouts;  // GetKeyboardLayoutList
};

// Replaces the sources; the macro list is built again on its next use, so
// that new layouts get their macros.
void SetMacroSources(const CMacroSources& sources);
void ResetMacroSources();

SYSTEMTIME GetMacroLocalTime();
LCID GetMacroUserLocale();
std::vector<HKL> GetMacroKeyboardLayouts();

// The files whose product versions "%QLR_VERSION%", "%QLR_VERSION_EDITOR%"
// and "%QLR_VERSION_DLL%" give. An empty program path means the running
// program's own module. The editor is found beside the program; the core
// hook library's path is set by the program that loads it and stays empty
// (an empty version) until then.
struct CMacroVersionFiles {
  std::wstring program;
  std::wstring editor;
  std::wstring coreDll;
};
void SetMacroVersionFiles(const CMacroVersionFiles& files);
void ResetMacroVersionFiles();  // back to the program and its editor
CMacroVersionFiles GetMacroVersionFiles();
