// The log file and archives of it with the settings, for support requests.
#pragma once
#include <windows.h>

#include <string>

// "LogReport.txt" beside the program when the user may write there (or the
// program lies on a removable drive), else "LogReport_Quillora.txt" in the
// user's application-data folder.
std::wstring GetLogFilePath();
// The default archive name of the log: the log's name, the program name
// with its version and today's date, blanks and ":" made "_", ".zip".
std::wstring MakeLogZipName();
// Archives Settings.ini and the log (and, when infoText is given, an
// information file written from it) into zipPath. On failure with
// showErrors the files are listed in a warning box; on success with
// selectInExplorer Explorer shows the archive.
bool ZipLogFiles(const std::wstring& logPath, const std::wstring& zipPath, bool showErrors, HWND owner,
                 const std::wstring& infoText, bool selectInExplorer);
