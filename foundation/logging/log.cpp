#include "foundation/logging/log.h"

#include <shlobj.h>

#include <cstdarg>
#include <cwchar>
#include <vector>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/logging/log_file.h"
#include "foundation/logging/log_source.h"
#include "foundation/logging/log_writer.h"
#include "foundation/system/handles.h"
#include "foundation/system/security.h"

namespace {

constexpr size_t kMaxPathChars = MAX_PATH;
constexpr size_t kMaxAgentNameChars = 199;
// A decorated line must stay below this many characters; a longer text is
// written alone.
constexpr size_t kMaxLineChars = 102399;
constexpr DWORD kTermWaitMs = kLogLockWaitMs + 1000;

// Process-wide state. The log is opened, closed and renamed from the main
// thread, but lines come from every thread, so reads take the lock too.
struct LogState {
  SRWLOCK lock = SRWLOCK_INIT;
  std::wstring path;  // empty: closed
  ATOM atom = 0;
  HANDLE syncEvent = nullptr;
  std::wstring agentName;
  std::wstring programTag = kLogTagAgent;
  std::vector<std::wstring> deferred;
  const LogSource* source = nullptr;  // another program's log instead of our own
};

LogState& State() {
  static LogState* state = new LogState;  // lives as long as any writer
  return *state;
}

// The file that a line logged now goes to; empty while the log is closed.
std::wstring CurrentLogPath() {
  LogState& s = State();
  const LogSource* source;
  {
    SrwSharedLock lock(s.lock);
    if (!s.source) return s.path;
    source = s.source;
  }
  return source->CurrentPath();
}

std::wstring LoggerName() {
  LogState& s = State();
  SrwSharedLock lock(s.lock);
  return s.agentName.empty() ? s.programTag : s.agentName;
}

std::wstring ClassNameOf(HWND hwnd) {
  wchar_t name[1025] = {};
  int n = GetClassNameW(hwnd, name, 1025);
  return std::wstring(name, n > 0 ? n : 0);
}

std::wstring FormatText(const wchar_t* format, ...) {
  std::vector<wchar_t> buf(256);
  for (;;) {
    va_list args;
    va_start(args, format);
    int n = vswprintf(buf.data(), buf.size(), format, args);
    va_end(args);
    if (n >= 0 && static_cast<size_t>(n) < buf.size()) return std::wstring(buf.data(), n);
    buf.resize(buf.size() * 4);
  }
}

}  // namespace

void SetLogProgramTag(const wchar_t* tag) {
  LogState& s = State();
  SrwExclusiveLock lock(s.lock);
  s.programTag = tag ? tag : L"";
}

std::wstring GetLogProgramTag() {
  LogState& s = State();
  SrwSharedLock lock(s.lock);
  return s.programTag;
}

void SetLogSource(const LogSource* source) {
  LogState& s = State();
  SrwExclusiveLock lock(s.lock);
  s.source = source;
}

std::wstring FormatLogDate(const SYSTEMTIME& t) {
  return FormatText(L"%02u/%02u/%02u", t.wMonth, t.wDay, t.wYear % 100);
}

std::wstring FormatLogTime(const SYSTEMTIME& t) {
  return FormatText(L"%02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
}

std::wstring GetLogReportPathBesideProgram() { return GetAppFolderWithSlash() + L"LogReport.txt"; }

std::wstring GetLogReportPathOfUser() {
  wchar_t appData[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE)) return std::wstring();
  std::wstring path = appData;
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path + L"LogReport_Quillora.txt";
}

std::wstring GetLogReportPath() {
  std::wstring candidate = GetLogReportPathBesideProgram();
  if (IsOnRemovableDrive(GetModulePath())) return candidate;
  if (IsFileExist(candidate)) {
    if (CanWriteFile(candidate)) return candidate;
  } else if (CanWriteFile(GetAppFolder())) {
    return candidate;
  }
  std::wstring user = GetLogReportPathOfUser();
  return user.empty() ? candidate : user;
}

bool InitLog(const wchar_t* logPath) {
  LogState& s = State();
  SrwExclusiveLock lock(s.lock);
  if (!s.path.empty() || !logPath || !*logPath || wcslen(logPath) >= kMaxPathChars) return false;
  // Other code (the core hook library) finds the path by this atom; atom
  // names hold at most 255 characters, so longer paths cannot be opened.
  ATOM atom = GlobalAddAtomW(logPath);
  if (!atom) return false;
  EveryoneSecurity security;
  HANDLE event = CreateEventW(security.Get(), TRUE, TRUE, kLogSyncEventName);
  if (!event) {
    GlobalDeleteAtom(atom);
    return false;
  }
  s.path = logPath;
  s.atom = atom;
  s.syncEvent = event;
  return true;
}

bool TermLog() {
  LogState& s = State();
  {
    SrwExclusiveLock lock(s.lock);
    if (s.path.empty()) return false;
    GlobalDeleteAtom(s.atom);
    CloseHandle(s.syncEvent);
    s.syncEvent = nullptr;
    s.atom = 0;
    s.path.clear();
  }
  // Lines logged before the close keep their file and are written now.
  WaitLogQueueEmpty(kTermWaitMs);
  return true;
}

bool IsLogOpen() { return !CurrentLogPath().empty(); }

bool GetLogPath(wchar_t* buffer, int maxChars) {
  if (!buffer || maxChars <= 0) return true;
  std::wstring path = CurrentLogPath();
  size_t n = path.size() < static_cast<size_t>(maxChars) ? path.size() : maxChars - 1;
  wmemcpy(buffer, path.data(), n);
  buffer[n] = L'\0';
  return true;
}

std::wstring GetLogPath() { return CurrentLogPath(); }

ATOM GetLogAtom() {
  LogState& s = State();
  SrwSharedLock lock(s.lock);
  return s.atom;
}

bool WriteLogTextAsync(const wchar_t* text) {
  if (!text || !*text) return false;
  std::wstring path = CurrentLogPath();
  if (path.empty()) return false;
  return QueueLogText(path, text);
}

bool WaitLogWritten(DWORD timeoutMs) { return WaitLogQueueEmpty(timeoutMs); }

bool WriteLogLine(const wchar_t* text, const wchar_t* loggerName) {
  if (!text || !*text) return false;
  if (!IsLogOpen()) return false;
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::wstring date = FormatLogDate(now), time = FormatLogTime(now);
  size_t textLen = wcslen(text);
  size_t nameLen = loggerName ? wcslen(loggerName) : 0;
  if (nameLen + textLen + date.size() + time.size() + 11 >= kMaxLineChars)
    return WriteLogTextAsync(text);
  std::wstring line;
  line.reserve(nameLen + textLen + date.size() + time.size() + 8);
  if (loggerName) line.append(loggerName).append(L": ");
  line.append(L"[").append(date).append(L" ").append(time).append(L"] ").append(text);
  return WriteLogTextAsync(line.c_str());
}

bool Log(const wchar_t* text) {
  if (!text) return false;
  return WriteLogLine(text, LoggerName().c_str());
}

bool LogError(const wchar_t* text) {
  if (!text) return false;
  return Log((std::wstring(L"ERROR: ") + text).c_str());
}

bool LogWithPrefix(const wchar_t* text, const wchar_t* prefix) {
  if (!text || !prefix) return false;
  return Log((std::wstring(prefix) + L": " + text).c_str());
}

bool LogWindow(const wchar_t* text, HWND hwnd) {
  std::wstring line;
  if (text && *text) line.append(text).append(L": ");
  // A handle that names no window has no class to ask the system for.
  const bool exists = hwnd && IsWindow(hwnd);
  line += FormatText(L"IsWindow HWND=%d ? %d; ", static_cast<int>(reinterpret_cast<INT_PTR>(hwnd)), exists ? 1 : 0);
  line += L"CLASSNAME: [" + (exists ? ClassNameOf(hwnd) : std::wstring()) + L"]";
  return WriteLogTextAsync(line.c_str());
}

bool LogWindowState(HWND hwnd, const wchar_t* tag) {
  SetLogAgentName(tag);
  const bool exists = hwnd && IsWindow(hwnd);
  LogWithPrefix(FormatText(L"IsWindow=%d", exists ? 1 : 0).c_str(), tag ? tag : L"");
  LogWithPrefix((L"classname=[" + (exists ? ClassNameOf(hwnd) : std::wstring()) + L"]").c_str(), tag ? tag : L"");
  ResetLogAgentName();
  return true;
}

void SetLogAgentName(const wchar_t* name) {
  LogState& s = State();
  SrwExclusiveLock lock(s.lock);
  s.agentName = name ? std::wstring(name).substr(0, kMaxAgentNameChars) : std::wstring();
}

void ResetLogAgentName() { SetLogAgentName(nullptr); }

bool LogDeferred(const wchar_t* text) {
  if (!text) return false;
  SYSTEMTIME now;
  GetLocalTime(&now);
  LogState& s = State();
  SrwExclusiveLock lock(s.lock);
  s.deferred.push_back(s.programTag + L" [" + FormatLogDate(now) + L" " + FormatLogTime(now) +
                       L"] " + text);
  return true;
}

bool FlushDeferredLog() {
  LogState& s = State();
  std::vector<std::wstring> lines;
  {
    SrwExclusiveLock lock(s.lock);
    if (s.deferred.empty()) return false;
    lines.swap(s.deferred);
  }
  std::wstring joined;
  for (const std::wstring& line : lines) {
    if (!joined.empty()) joined += L'\n';
    joined += line;
  }
  if (WriteLogTextAsync(joined.c_str())) return true;
  // While the log is closed the lines stay, ahead of any kept meanwhile.
  SrwExclusiveLock lock(s.lock);
  s.deferred.insert(s.deferred.begin(), lines.begin(), lines.end());
  return false;
}
