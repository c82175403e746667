// The rows of the about dialog's report and their text form.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

enum AboutRowKind { kAboutPlain = 0, kAboutGroup = 1, kAboutFailure = 2, kAboutSuccess = 3 };

struct AboutRow {
  std::wstring caption;
  std::wstring value;
  int kind = kAboutPlain;
};

void AddAboutRow(std::vector<AboutRow>& rows, const std::wstring& caption, const std::wstring& value,
                 int kind = kAboutPlain);

// Caption and value are read up to this many characters each for the copied
// text, and up to kAboutTipChars for an info tip.
constexpr size_t kAboutTextChars = 200;
constexpr size_t kAboutTipChars = 1000;

// Rows in order as "caption value", a group header after an empty line, a
// row without caption as a line of "="; lines joined by CRLF and trimmed.
std::wstring BuildAboutReportText(const std::vector<AboutRow>& rows);

// The info tip of a row: caption and value (each up to kAboutTipChars);
// empty for a group header.
std::wstring BuildAboutTipText(const AboutRow& row);

// A menu text as a title: cut at its tab, trailing ellipsis gone, a single
// "&" removed and "&&" kept as one "&".
std::wstring MenuTextToTitle(const std::wstring& menuText);

// Control characters (line breaks, tabs, NULs from other processes' texts)
// become blanks, so a value stays one list row and one report line.
std::wstring CleanAboutValue(const std::wstring& text);

// The phrases-folder probes: a new temporary file of 12 bytes (or a folder
// with one) that is removed again; "Successfully" only when every byte was
// written.
bool ProbePhraseFileWrite(const std::wstring& folder);
bool ProbePhraseGroupWrite(const std::wstring& folder);
// Opens the folder for reading or writing (backup semantics, existing only).
bool ProbeFolderOpen(const std::wstring& folder, bool write);
