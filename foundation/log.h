// The suite's diagnostic log: UTF-16 lines "NAME: [MM/DD/YY HH:MM:SS] text"
// appended to one file shared by all programs. Logging never blocks the
// caller; while the log is closed every call returns at once.
#pragma once
#include <windows.h>

#include <string>

std::wstring GetLogReportPath();
bool InitLog(const wchar_t* logPath);
bool TermLog();
bool IsLogOpen();
bool GetLogPath(wchar_t* buffer, int maxChars);
ATOM GetLogAtom();

bool Log(const wchar_t* text);
bool LogError(const wchar_t* text);                         // "ERROR: " + text
bool LogWithPrefix(const wchar_t* text, const wchar_t* prefix);  // prefix + ": " + text
bool LogWindow(const wchar_t* text, HWND hwnd);
bool LogWindowState(HWND hwnd, const wchar_t* tag);

inline bool Log(const std::wstring& text) { return Log(text.c_str()); }
inline bool LogError(const std::wstring& text) { return LogError(text.c_str()); }

void SetLogAgentName(const wchar_t* name);
void ResetLogAgentName();

bool LogDeferred(const wchar_t* text);
bool FlushDeferredLog();

bool WriteLogLine(const wchar_t* text, const wchar_t* loggerName);
bool WriteLogTextAsync(const wchar_t* text);
