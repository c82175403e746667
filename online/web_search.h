// Handing a text to the shell: running a command line or address, and
// searching a text with one of the web search engines the user picks.
#pragma once
#include <windows.h>

#include <string>

// Web search engines by their fixed ids.
constexpr int kSearchEngineGoogle = 4;
constexpr int kSearchEngineYandex = 5;
constexpr int kSearchEngineMsdn = 6;
constexpr int kSearchEngineWikipedia = 7;

// The search address of the text for the engine; empty for any other id.
// Line breaks become blanks; the text itself goes in unescaped, as the
// engines' search boxes would take it.
std::wstring BuildWebSearchAddress(const std::wstring& text, int engine);

// Opens the command (a file, program or address) through the shell; on a
// failure with reportErrors a box tells the user the reason and the command.
bool RunCommand(const std::wstring& command, bool reportErrors, HWND owner);

// Opens the search address of the text in the user's browser; false (and
// nothing opened) for an unknown engine.
bool SearchTextOnWeb(const std::wstring& text, int engine, HWND owner);

// Test seam: runs the commands RunCommand would hand to the shell (null:
// the shell).
using CommandRunner = bool (*)(const std::wstring& command, bool reportErrors, HWND owner);
void SetCommandRunnerForTests(CommandRunner runner);
