// The suite's diagnostic log: UTF-16 lines "NAME: [MM/DD/YY HH:MM:SS] text"
// appended to one file shared by all programs. Logging never blocks the
// caller: lines are queued and written in call order by a writer thread,
// and the writers of all programs take turns through one named event.
// While the log is closed every call returns false at once.
#pragma once
#include <windows.h>

#include <string>

// Default logger names of the programs; each program sets its own at start.
constexpr wchar_t kLogTagAgent[] = L"EXE_Agent";
constexpr wchar_t kLogTagEditor[] = L"EXE_Editor";
constexpr wchar_t kLogTagWelcome[] = L"WELCOME";
// The program's logger name (kLogTagAgent until set).
void SetLogProgramTag(const wchar_t* tag);
std::wstring GetLogProgramTag();

// The log file: "LogReport.txt" beside the program when that place is on a
// removable or network drive or writable by the user, else
// "LogReport_Quillora.txt" in the user's application-data folder.
std::wstring GetLogReportPath();
std::wstring GetLogReportPathBesideProgram();
std::wstring GetLogReportPathOfUser();  // empty when the folder is unknown
bool InitLog(const wchar_t* logPath);
// Closes the log; lines queued before wait (a few seconds at most) to be
// written.
bool TermLog();
bool IsLogOpen();
bool GetLogPath(wchar_t* buffer, int maxChars);
std::wstring GetLogPath();
ATOM GetLogAtom();

bool Log(const wchar_t* text);
bool LogError(const wchar_t* text);                              // "ERROR: " + text
bool LogWithPrefix(const wchar_t* text, const wchar_t* prefix);  // prefix + ": " + text
bool LogWindow(const wchar_t* text, HWND hwnd);
bool LogWindowState(HWND hwnd, const wchar_t* tag);

inline bool Log(const std::wstring& text) { return Log(text.c_str()); }
inline bool LogError(const std::wstring& text) { return LogError(text.c_str()); }

// Overrides the logger name of later lines (first 199 characters).
void SetLogAgentName(const wchar_t* name);
void ResetLogAgentName();

// Keeps a time-stamped line to be written by the next flush; a flush that
// writes hands the kept lines over (a second flush finds none).
bool LogDeferred(const wchar_t* text);
bool FlushDeferredLog();

bool WriteLogLine(const wchar_t* text, const wchar_t* loggerName);
bool WriteLogTextAsync(const wchar_t* text);
// Waits up to timeoutMs until every queued line is written; true when so.
bool WaitLogWritten(DWORD timeoutMs);

// The local date as MM/DD/YY and time as HH:MM:SS, as log lines show them.
std::wstring FormatLogDate(const SYSTEMTIME& time);
std::wstring FormatLogTime(const SYSTEMTIME& time);
