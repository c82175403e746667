// The rows of the about dialog's report, collected in the order shown.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "online/about/about_dlg.h"

// A text of the string table in the current language; empty when missing.
std::wstring AboutText(UINT id);

// Every report row, in order.
std::vector<AboutRow> CollectAboutRows(const AboutDialogInput& input);

// The statistics group of a phrase tree's figures.
struct PhraseTreeStatistics;
void AddStatisticRows(std::vector<AboutRow>& rows, const PhraseTreeStatistics& stats);
// The group "Processes": a row per program path, captioned with the
// program's file name.
void AddProcessRows(std::vector<AboutRow>& rows, const std::vector<std::wstring>& paths);
// "1 h 2 min 3 sec" style text of a count of seconds.
std::wstring FormatDurationText(long long seconds);
