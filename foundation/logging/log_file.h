// The file side of the log, run on the writer thread: appending UTF-16
// lines under the cross-process lock that all programs of the suite share.
#pragma once
#include <windows.h>

#include <string>

// The named manual-reset event that serialises writers of all programs:
// signalled means free. The name ends in "SyncEven" in every program.
constexpr wchar_t kLogSyncEventName[] = L"Local\\QuilloraLogger_SyncEven";
constexpr DWORD kLogLockWaitMs = 5000;

// Opens the log for appending (write access, read sharing only, so writers
// exclude each other); a missing file is created with the byte-order mark.
// A file that another writer holds is retried for a short while.
HANDLE OpenLogFileForAppend(const wchar_t* path);
// Appends text and, unless it already ends so, CR LF. True when the text
// was written in full.
bool AppendToLogFile(const std::wstring& path, const std::wstring& text);
// Takes the cross-process lock (waits at most kLogLockWaitMs; a holder that
// vanished without setting the event is treated as gone), appends, and
// frees the lock.
bool AppendToLogFileLocked(const std::wstring& path, const std::wstring& text);
