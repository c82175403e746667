// Fetching a file over HTTP: through WinINet, through urlmon as the
// fallback, and the update answer with both.
#pragma once
#include <windows.h>

#include <string>

// Answers and feeds are small; anything larger is no answer of ours.
constexpr unsigned long kMaxDownloadBytes = 1024UL * 1024UL;

// Progress: (bytes so far, total or -1, context); 0 cancels the transfer.
using DownloadProgressFn = int (*)(unsigned long done, long total, void* context);

// Downloads url into path. False when the URL cannot be opened, the server
// answers with a status of 400 or more, a read fails, the body ends before
// its announced length, or it grows past kMaxDownloadBytes. A cancelled
// transfer is false with cancelIsFailure, else true.
bool DownloadFileWinInet(const std::wstring& url, const std::wstring& path,
                         DownloadProgressFn progress, void* context, const wchar_t* agent,
                         bool cancelIsFailure);
// URLDownloadToFileW, looked up at run time; true only for S_OK and a file
// of at most kMaxDownloadBytes. The caller's last error is kept.
bool DownloadFileUrlmon(const std::wstring& url, const std::wstring& path);

// The update answer in a new temporary ".xml" file, marked temporary; empty
// when both ways failed (no file is left behind then).
std::wstring DownloadUpdateInfoFile(const std::wstring& url);
