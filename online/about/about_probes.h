// What the about dialog finds out about this machine and this installation.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "online/about/about_report.h"

// The file block: header "<caption> [<name>]", "Full Path", existence and
// the access rows.
void AddFileBlock(std::vector<AboutRow>& rows, const std::wstring& caption, const std::wstring& path);
// The phrases-folder tests as rows.
void AddPhraseFolderTests(std::vector<AboutRow>& rows, const std::wstring& folder);

// The program that opens a probe page "test_qlr.htm" in tempFolder (the
// probe is removed again); empty when none does.
std::wstring FindDefaultBrowser(const std::wstring& tempFolder);
// The user's location: friendly name, official name and ISO code joined by
// ", " (the missing ones left out).
std::wstring GetCountryText();

// The save dialog for the archive; empty when cancelled.
std::wstring AskArchivePath(HWND owner);
// The report, the log file and the settings file into the archive.
bool SaveAboutArchive(const std::wstring& path, const std::wstring& report, HWND owner);
