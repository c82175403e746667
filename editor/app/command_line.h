// The editor's command line: its own switches beside the framework's.
#pragma once
#include <windows.h>

#include <string>

#include "platform/mfc/app/command_line_info.h"

class CQLRCommandLineInfo : public CCommandLineInfo {
 public:
  CQLRCommandLineInfo() = default;
  // The framework's parse, then the editor's switches (flags only, letter
  // case ignored).
  void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) override;

  BOOL GetAddFromCB() const { return addfromcb; }
  BOOL GetFirstRun() const { return firstrun; }
  BOOL GetAddSelText() const { return addseltext; }
  BOOL GetHideSettings() const { return hidesettings; }
  // 1 add from clipboard, 2 first run, 4 add from selected text.
  DWORD GetStartFlags() const;

  BOOL addfromcb = FALSE;
  BOOL firstrun = FALSE;
  BOOL addseltext = FALSE;
  BOOL hidesettings = FALSE;
};

// The arguments of a raw command line: what follows the program's name
// (quoted or not) and the blanks after it.
std::wstring CommandLineArguments(const wchar_t* commandLine);
// True when "addfromcb" (letter case kept) stands in the arguments of the
// command line; the program's own path is not searched, so a folder named
// so does not count.
bool CommandLineHasAddFromCB(const wchar_t* commandLine);
bool CommandLineHasAddFromCB();  // of this process
