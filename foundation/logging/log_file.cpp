#include "foundation/logging/log_file.h"

#include "foundation/system/handles.h"
#include "foundation/system/security.h"

namespace {

constexpr DWORD kOpenRetryMs = 3000;
constexpr DWORD kOpenRetryStepMs = 5;

bool EndsWithCrLf(const std::wstring& text) {
  return text.size() >= 2 && text[text.size() - 2] == L'\r' && text.back() == L'\n';
}

bool WriteAll(HANDLE file, const void* data, size_t bytes) {
  const char* p = static_cast<const char*>(data);
  while (bytes > 0) {
    DWORD chunk = bytes > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes);
    DWORD written = 0;
    if (!WriteFile(file, p, chunk, &written, nullptr) || written == 0) return false;
    p += written;
    bytes -= written;
  }
  return true;
}

}  // namespace

HANDLE OpenLogFileForAppend(const wchar_t* path) {
  ULONGLONG giveUp = GetTickCount64() + kOpenRetryMs;
  for (;;) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) {
      EveryoneSecurity security;
      file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, security.Get(), CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        static const unsigned char kBom[] = {0xFF, 0xFE};
        if (WriteAll(file, kBom, sizeof(kBom))) return file;
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
      }
      error = GetLastError();
    }
    // Another writer holds the file, or created it a moment ago.
    bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    if (!busy || GetTickCount64() >= giveUp) return INVALID_HANDLE_VALUE;
    Sleep(kOpenRetryStepMs);
  }
}

bool AppendToLogFile(const std::wstring& path, const std::wstring& text) {
  if (path.empty()) return false;
  UniqueHandle file(OpenLogFileForAppend(path.c_str()));
  if (!file) return false;
  LARGE_INTEGER zero = {};
  if (!SetFilePointerEx(file.Get(), zero, nullptr, FILE_END)) return false;
  if (!WriteAll(file.Get(), text.data(), text.size() * sizeof(wchar_t))) return false;
  if (!EndsWithCrLf(text)) WriteAll(file.Get(), L"\r\n", 2 * sizeof(wchar_t));
  return true;
}

bool AppendToLogFileLocked(const std::wstring& path, const std::wstring& text) {
  EveryoneSecurity security;
  // Opens the event of the running programs, or makes one (free) when the
  // log's owner has closed it meanwhile.
  UniqueHandle lock(CreateEventW(security.Get(), TRUE, TRUE, kLogSyncEventName));
  if (lock) {
    // After a time-out the holder is taken to have vanished: the line is
    // still written, and the event set again below frees later writers.
    WaitForSingleObject(lock.Get(), kLogLockWaitMs);
    ResetEvent(lock.Get());
  }
  bool written = AppendToLogFile(path, text);
  if (lock) SetEvent(lock.Get());
  return written;
}
