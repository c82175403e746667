// The support archive: a report text, the settings file and one more file
// (the log) in one ZIP file, shown selected in Explorer.
#pragma once
#include <windows.h>

#include <string>

constexpr wchar_t kSupportInfoFileName[] = L"Quillora_Info.txt";

// Packs the report text (as "Quillora_Info.txt", UTF-8 without byte-order
// mark), Settings.ini and extraFile into the archive. Files that do not
// exist are left out and named in the report; only an archive that cannot
// be written fails (with showErrors: a box naming the archive and the
// files). With selectInExplorer a folder window shows the new archive.
bool CreateSupportZip(const std::wstring& extraFile, const std::wstring& archivePath,
                      bool showErrors, HWND owner, const std::wstring& reportText,
                      bool selectInExplorer);

// "<log name> Quillora version<version> <day>_<month>_<year>_" with blanks
// and ":" as "_", plus ".zip"; no folder.
std::wstring GetSupportZipName();
