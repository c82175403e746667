// Writing phrase files. The new content goes to a temporary file in the same
// folder, which replaces the old file only once it is complete and flushed,
// so a failed write never loses a phrase. Writes to one path never overlap,
// and the bytes handed over last are the bytes that end up in the file.
#pragma once
#include <windows.h>

#include <string>

// Writes now (after any write of the same path still running). False with
// the system error code when the file could not be replaced; the failure
// is logged.
bool WritePhraseBytes(const std::wstring& path, const std::string& bytes, DWORD* error);

// Writes on a worker thread and returns at once; bytes queued for a path
// whose write is still running replace any not yet written. When no thread
// can be started the bytes are written here; false only when that fails.
bool QueuePhraseBytes(const std::wstring& path, std::string bytes);

// Called on the writing thread when a queued write failed and no caller
// waits for its result (the old file is still whole). Null: none.
using PhraseWriteFailureHandler = void (*)(const std::wstring& path, DWORD error);
void SetPhraseWriteFailureHandler(PhraseWriteFailureHandler handler);

// Waits until every queued write is done; false after the time-out.
bool WaitForPhraseWrites(DWORD timeoutMs);

// "ERROR: code %d, <system text>", the text of a failed write.
std::wstring PhraseWriteErrorText(DWORD error);

// Creates the new file that will replace a phrase file: write access, read
// sharing, open to every user of the machine (default security when that
// descriptor cannot be built). Fails when the path exists.
HANDLE CreateFileForOverwrite(const std::wstring& path);

// Tests only: every later write stops after maxBytes bytes, as on a full
// disk; -1 writes normally again.
void SetPhraseWriteLimitForTest(long long maxBytes);
