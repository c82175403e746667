#include "phrases/store/phrase_writer.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>

#include "foundation/logging/log.h"
#include "foundation/logging/system_error.h"
#include "foundation/system/handles.h"
#include "foundation/system/security.h"

namespace {

std::atomic<long long> g_writeLimit(-1);
std::atomic<unsigned long> g_tempCounter(0);
std::atomic<PhraseWriteFailureHandler> g_failureHandler(nullptr);

// What is known about one path while writes to it are pending or running.
struct PathState {
  std::wstring path;
  std::string pending;
  bool hasPending = false;
  bool busy = false;              // a drainer owns the path
  unsigned long long queued = 0;  // generation of the newest bytes handed over
  unsigned long long written = 0; // generation of the newest bytes tried
  DWORD lastError = 0;            // result of that try
  int waiters = 0;                // callers that still read the result
};

struct WriterState {
  std::mutex lock;
  std::condition_variable changed;
  std::map<std::wstring, PathState> paths;  // key: the path in upper case
  int busyCount = 0;
};

// Never destroyed: a worker may still be writing while the process exits.
WriterState& Writer() {
  static WriterState* state = new WriterState;
  return *state;
}

// File names do not differ by case alone.
std::wstring PathKey(const std::wstring& path) {
  std::wstring key = path;
  if (!key.empty()) CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
  return key;
}

std::wstring TempPathFor(const std::wstring& path) {
  wchar_t suffix[64];
  swprintf(suffix, 64, L".%lx-%lx.tmp", GetCurrentProcessId(), ++g_tempCounter);
  return path + suffix;
}

// Renames the complete new file over the old one. A file that is open
// cannot be replaced: a reader (a virus scanner, an indexer, the editor) may
// hold it for a moment, and Wine still counts a handle closed a moment ago,
// so a refused rename is tried again for up to about a second.
DWORD MoveOverOldFile(const std::wstring& temp, const std::wstring& path) {
  constexpr int kTries = 60;
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return 0;
    DWORD error = GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == kTries)
      return error;
    Sleep(attempt < 5 ? 0 : 20);
  }
}

// 0 on success, else the system error code. The old file stays untouched
// until the new content is complete on disk.
DWORD ReplaceFileContent(const std::wstring& path, const std::string& bytes) {
  std::wstring temp = TempPathFor(path);
  UniqueHandle file(CreateFileForOverwrite(temp));
  if (!file) return GetLastError();

  DWORD error = 0;
  DWORD toWrite = static_cast<DWORD>(bytes.size());
  long long limit = g_writeLimit.load();
  if (limit >= 0 && limit < toWrite) toWrite = static_cast<DWORD>(limit);
  DWORD written = 0;
  if (!WriteFile(file.Get(), bytes.data(), toWrite, &written, nullptr))
    error = GetLastError();
  else if (written != bytes.size())
    error = ERROR_HANDLE_DISK_FULL;
  else if (!FlushFileBuffers(file.Get()))
    error = GetLastError();
  if (!CloseHandle(file.Release()) && error == 0) error = GetLastError();

  // The old file may be read-only; it is replaced all the same.
  DWORD attrs = GetFileAttributesW(path.c_str());
  bool clearedReadOnly = false;
  if (error == 0 && attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) {
    clearedReadOnly = SetFileAttributesW(path.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY) != FALSE;
  }
  if (error == 0) error = MoveOverOldFile(temp, path);
  if (error != 0) {
    DeleteFileW(temp.c_str());
    if (clearedReadOnly) SetFileAttributesW(path.c_str(), attrs);
  }
  return error;
}

// Writes the newest bytes of the path until none are left; the caller has
// made itself the path's drainer (busy).
void Drain(const std::wstring& key) {
  WriterState& w = Writer();
  std::unique_lock<std::mutex> guard(w.lock);
  PathState& state = w.paths[key];  // stays in the map while busy
  while (state.hasPending) {
    std::string bytes = std::move(state.pending);
    state.pending.clear();
    state.hasPending = false;
    unsigned long long generation = state.queued;
    std::wstring path = state.path;
    guard.unlock();
    DWORD error = ReplaceFileContent(path, bytes);
    if (error != 0) Log(PhraseWriteErrorText(error));
    guard.lock();
    state.written = generation;
    state.lastError = error;
    if (error != 0 && state.waiters == 0) {
      if (PhraseWriteFailureHandler handler = g_failureHandler.load()) {
        guard.unlock();
        handler(path, error);
        guard.lock();
      }
    }
    w.changed.notify_all();
  }
  state.busy = false;
  --w.busyCount;
  if (state.waiters == 0) w.paths.erase(key);
  w.changed.notify_all();
}

DWORD WINAPI DrainThread(void* param) {
  std::unique_ptr<std::wstring> key(static_cast<std::wstring*>(param));
  Drain(*key);
  return 0;
}

}  // namespace

void SetPhraseWriteFailureHandler(PhraseWriteFailureHandler handler) { g_failureHandler.store(handler); }

namespace {

bool StartDrainThread(const std::wstring& key) {
  auto* param = new std::wstring(key);
  HANDLE thread = CreateThread(nullptr, 0, DrainThread, param, 0, nullptr);
  if (!thread) {
    LogError(L"cannot start the phrase save thread, code " + std::to_wstring(GetLastError()));
    delete param;
    return false;
  }
  CloseHandle(thread);
  return true;
}

// Hands the bytes over; with wait, returns the result of a write that
// covers them.
bool Submit(const std::wstring& path, std::string bytes, bool wait, DWORD* error) {
  WriterState& w = Writer();
  const std::wstring key = PathKey(path);
  unsigned long long generation;
  bool drainHere = false;
  {
    std::lock_guard<std::mutex> guard(w.lock);
    PathState& state = w.paths[key];
    state.path = path;
    state.pending = std::move(bytes);
    state.hasPending = true;
    generation = ++state.queued;
    ++state.waiters;
    if (!state.busy) {
      state.busy = true;
      ++w.busyCount;
      drainHere = true;
    }
  }
  if (drainHere) {
    if (wait || !StartDrainThread(key)) {
      Drain(key);
      wait = true;
    }
  }
  std::unique_lock<std::mutex> guard(w.lock);
  PathState& state = w.paths[key];  // kept while we are a waiter
  DWORD result = 0;
  if (wait) {
    w.changed.wait(guard, [&] { return state.written >= generation; });
    result = state.lastError;
  }
  --state.waiters;
  if (!state.busy && state.waiters == 0 && !state.hasPending) w.paths.erase(key);
  if (error) *error = result;
  return result == 0;
}

}  // namespace

bool WritePhraseBytes(const std::wstring& path, const std::string& bytes, DWORD* error) {
  return Submit(path, bytes, true, error);
}

bool QueuePhraseBytes(const std::wstring& path, std::string bytes) {
  return Submit(path, std::move(bytes), false, nullptr);
}

bool WaitForPhraseWrites(DWORD timeoutMs) {
  WriterState& w = Writer();
  std::unique_lock<std::mutex> guard(w.lock);
  return w.changed.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                            [&] { return w.busyCount == 0; });
}

std::wstring PhraseWriteErrorText(DWORD error) {
  return L"ERROR: code " + std::to_wstring(static_cast<int>(error)) + L", " + GetSystemErrorText(error);
}

HANDLE CreateFileForOverwrite(const std::wstring& path) {
  EveryoneSecurity everyone;
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, everyone.Get(), CREATE_NEW,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

void SetPhraseWriteLimitForTest(long long maxBytes) { g_writeLimit = maxBytes; }
