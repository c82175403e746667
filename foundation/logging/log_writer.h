// The process's log writer: a queue of finished lines drained in call order
// by one thread of its own, so the caller never waits for the disk and two
// lines of one process never race for the file.
#pragma once
#include <windows.h>

#include <string>

// Queues text for the file at path; false when no writer could be started.
bool QueueLogText(const std::wstring& path, const std::wstring& text);
// True once every queued line has been handled (or at once when none is
// queued); false after timeoutMs or when the writer vanished.
bool WaitLogQueueEmpty(DWORD timeoutMs);
