#include "editor/app/command_line.h"

#include "editor/editor_names.h"

namespace en = editor_names;

void CQLRCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) {
  CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
  if (!bFlag || !pszParam) return;
  struct Switch {
    const wchar_t* name;
    BOOL CQLRCommandLineInfo::*field;
  };
  static const Switch kSwitches[] = {
      {en::kSwitchAddFromCB, &CQLRCommandLineInfo::addfromcb},
      {en::kSwitchFirstRun, &CQLRCommandLineInfo::firstrun},
      {en::kSwitchAddSelText, &CQLRCommandLineInfo::addseltext},
      {en::kSwitchHideSettings, &CQLRCommandLineInfo::hidesettings},
  };
  for (const Switch& s : kSwitches)
    if (lstrcmpiW(pszParam, s.name) == 0) this->*s.field = TRUE;
}

DWORD CQLRCommandLineInfo::GetStartFlags() const {
  DWORD flags = 0;
  if (addfromcb) flags |= en::kStartAddFromCB;
  if (firstrun) flags |= en::kStartFirstRun;
  if (addseltext) flags |= en::kStartAddSelText;
  return flags;
}

std::wstring CommandLineArguments(const wchar_t* commandLine) {
  if (!commandLine) return std::wstring();
  const wchar_t* p = commandLine;
  while (*p == L' ' || *p == L'\t') ++p;
  // The program's name ends at its closing quote, or at the first blank.
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"') ++p;
    if (*p == L'"') ++p;
  }
  while (*p && *p != L' ' && *p != L'\t') ++p;
  while (*p == L' ' || *p == L'\t') ++p;
  return p;
}

bool CommandLineHasAddFromCB(const wchar_t* commandLine) {
  return CommandLineArguments(commandLine).find(en::kSwitchAddFromCB) != std::wstring::npos;
}

bool CommandLineHasAddFromCB() { return CommandLineHasAddFromCB(GetCommandLineW()); }
