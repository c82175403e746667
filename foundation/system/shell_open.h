// The one door through which the programs hand a file, program or address to
// the shell. With the marker file kShellOpenTestSwitch beside the program,
// requests are written as lines to kShellOpenTestLog there instead of being
// run, so black-box tests never open a browser or another program.
#pragma once
#include <windows.h>

#include <string>

#include "foundation/system/test_switches.h"

constexpr const wchar_t* kShellOpenTestLog = L"ShellOpen_Test.log";
// What a recorded request answers: a success of ShellExecuteW.
constexpr INT_PTR kShellOpenRecordedResult = 42;

// ShellExecuteW's result as a number (> 32 is success). Null texts count as
// empty; a null verb is the default verb.
INT_PTR ShellOpen(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                  const wchar_t* folder, int show);

// Explorer opened on the folder that holds path, with path selected
// ("/select, " and the path in quotation marks); ShellOpen's result.
INT_PTR SelectInExplorer(HWND owner, const std::wstring& path);

// One line of the request log: verb, file and parameters, tab-separated, with
// tabs and line breaks inside them written as blanks.
std::wstring FormatShellOpenRequest(const wchar_t* verb, const wchar_t* file,
                                    const wchar_t* parameters);

// In-process seam: receives every request instead of the shell (null: the
// shell, or the request log when the marker file is present).
using ShellOpenHook = INT_PTR (*)(HWND owner, const wchar_t* verb, const wchar_t* file,
                                  const wchar_t* parameters, const wchar_t* folder, int show);
void SetShellOpenHookForTests(ShellOpenHook hook);
