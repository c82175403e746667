#include "online/update_check.h"

#include <oleauto.h>

#include <atomic>
#include <memory>
#include <set>

#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "online/downloads.h"
#include "online/internet_state.h"
#include "online/news_feed.h"
#include "online/online_test_seams.h"
#include "online/temp_file_guard.h"
#include "online/update_answer.h"
#include "online/update_events.h"
#include "online/update_request.h"
#include "settings/settings_files.h"

namespace {

constexpr DWORD kOverdueWaitMs = 600000;
constexpr double kSecondsPerDay = 86400.0;
constexpr int kMaxNewsItems = 6;

std::atomic<UpdateClockFn> g_clock{nullptr};
std::atomic<UpdateWaitFn> g_wait{nullptr};
SRWLOCK g_liveLock = SRWLOCK_INIT;
std::set<const CUpdateInfo*> g_live;

void NowUtc(SYSTEMTIME& now) {
  UpdateClockFn clock = g_clock.load();
  if (clock)
    clock(now);
  else
    GetSystemTime(&now);
}

DWORD WaitForStop(HANDLE stopEvent, HANDLE cancelEvent, DWORD ms) {
  UpdateWaitFn wait = g_wait.load();
  if (wait) return wait(stopEvent, cancelEvent, ms);
  if (!cancelEvent) return WaitForSingleObject(stopEvent, ms);
  HANDLE both[2] = {stopEvent, cancelEvent};
  return WaitForMultipleObjects(2, both, FALSE, ms);
}

// Our own handle on the cancel event of the scheduled check in force.
SRWLOCK g_scheduleLock = SRWLOCK_INIT;
HANDLE g_scheduledCancel = nullptr;

// Makes next (may be null) the scheduled check in force and ends the wait
// of the one before.
void ReplaceScheduledCheck(HANDLE next) {
  HANDLE previous;
  {
    SrwExclusiveLock lock(g_scheduleLock);
    previous = g_scheduledCancel;
    g_scheduledCancel = next;
  }
  if (previous) {
    SetEvent(previous);
    CloseHandle(previous);
  }
}

bool IsOffline() { return IsInternetConnected() != kInternetConnected; }

// The record is the owner's to read while the message is being sent.
void SendRecord(const UpdateCheckThreadRecord& thread, CUpdateInfo& info) {
  {
    SrwExclusiveLock lock(g_liveLock);
    g_live.insert(&info);
  }
  SendMessageW(thread.owner, thread.message, 0, reinterpret_cast<LPARAM>(&info));
  SrwExclusiveLock lock(g_liveLock);
  g_live.erase(&info);
}

// A check the user asked for and that gave up waiting for a connection:
// the owner stops its animation and shows why nothing came.
void ReportGaveUp(const UpdateCheckThreadRecord& record) {
  Log(L"Check for updates given up: no connection");
  CUpdateInfo info;
  info.scheduled = record.callbackArg;
  info.autoMode = record.autoMode;
  info.errorText = kUpdateErrorNoConnection;
  SendRecord(record, info);
}

DWORD WINAPI UpdateThread(void* parameter) {
  std::unique_ptr<UpdateCheckThreadRecord> record(static_cast<UpdateCheckThreadRecord*>(parameter));
  UniqueHandle cancel(record->cancelEvent);
  // A scheduled check has no one watching: it waits for a connection as long
  // as it takes.
  DWORD offlineLimit = record->silent ? INFINITE : kOnRequestOfflineLimitMs;
  UpdateWaitEnd end = WaitBeforeUpdateCheck(record->stopEvent, cancel.Get(), record->waitMs, offlineLimit);
  if (end == UpdateWaitEnd::kGaveUp && !record->silent) ReportGaveUp(*record);
  if (end != UpdateWaitEnd::kReady) return 1;
  // The user may have turned scheduled checks off while this one waited.
  if (record->silent && !ReadSettingsInt(settings_names::kAutoCheckForUpdates, 1)) {
    Log(L"Scheduled check for updates skipped: automatic checks are off");
    return 1;
  }
  CheckForUpdatesWorker(*record, record->autoMode);
  return 0;
}

}  // namespace

void SetUpdateClockForTests(UpdateClockFn clock) { g_clock = clock; }
void SetUpdateWaitForTests(UpdateWaitFn wait) { g_wait = wait; }

bool IsLiveUpdateInfo(const CUpdateInfo* record) {
  SrwSharedLock lock(g_liveLock);
  return record && g_live.count(record) != 0;
}

namespace {

// The thread takes the record and its cancel event; both are freed here
// when it cannot start.
bool StartThread(const UpdateCheckThreadRecord& values) {
  auto* record = new (std::nothrow) UpdateCheckThreadRecord(values);
  if (!record) {
    if (values.cancelEvent) CloseHandle(values.cancelEvent);
    return false;
  }
  HANDLE thread = CreateThread(nullptr, 0, UpdateThread, record, 0, nullptr);
  if (!thread) {
    if (record->cancelEvent) CloseHandle(record->cancelEvent);
    delete record;
    return false;
  }
  CloseHandle(thread);
  return true;
}

}  // namespace

bool StartUpdateCheckThread(HWND owner, UINT message, DWORD waitMs, HANDLE stopEvent, int silent,
                            UpdateDoneCallback doneCallback, int callbackArg, int autoMode) {
  return StartThread(
      {owner, message, waitMs, stopEvent, silent, doneCallback, callbackArg, autoMode, nullptr});
}

bool StartCheckForUpdates(HWND owner, UINT message, HANDLE stopEvent, UpdateDoneCallback doneCallback,
                          int callbackArg) {
  return StartUpdateCheckThread(owner, message, 0, stopEvent, 0, doneCallback, callbackArg, 0);
}

DWORD ComputeUpdateWaitMs(const SYSTEMTIME& lastCheckUtc, int days, const SYSTEMTIME& nowUtc,
                          std::wstring* logLine) {
  SYSTEMTIME next = lastCheckUtc;
  double nextDate = 0, nowDate = 0;
  bool known = AddDaysToSystemTime(next, days) && SystemTimeToVariantTime(&next, &nextDate) &&
               SystemTimeToVariantTime(const_cast<SYSTEMTIME*>(&nowUtc), &nowDate);
  // 64 bits: a wait of 25 days and more does not fit a signed 32-bit count
  // of milliseconds. A stored time in the future (or garbage) waits no
  // longer than the days from now.
  unsigned long long ms = kOverdueWaitMs;
  if (known && nextDate >= nowDate) {
    double seconds = (nextDate - nowDate) * kSecondsPerDay;
    double most = days * kSecondsPerDay;
    if (seconds > most) seconds = most;
    // Dates are day fractions: round to whole seconds, or the error of the
    // fractions takes a second off most waits.
    ms = static_cast<unsigned long long>(seconds + 0.5) * 1000ULL;
  }
  if (ms > 0xFFFFFFFEULL) ms = 0xFFFFFFFEULL;  // INFINITE is no wait of ours
  if (logLine) {
    unsigned long long sec = ms / 1000, minutes = sec / 60, hours = minutes / 60, wholeDays = hours / 24;
    wchar_t text[300];
    swprintf(text, 300, L"wait for checkupdates ms=%llu sec=%llu minutes=%llu hour=%llu days=%llu", ms,
             sec, minutes, hours, wholeDays);
    std::wstring line = text;
    line += L", ";
    SYSTEMTIME shown = {};
    if (known && VariantTimeToSystemTime(nextDate, &shown)) {
      swprintf(text, 300, L"Next update date: %.2d-%.2d-%.4d %.2d:%.2d:%.2d", shown.wDay, shown.wMonth,
               shown.wYear, shown.wHour, shown.wMinute, shown.wSecond);
      line += text;
    } else {
      line += L"Next update date: Cannot convert variant_time to system_time";
    }
    *logLine = line;
  }
  return static_cast<DWORD>(ms);
}

bool ScheduleNextUpdateCheck(HWND owner, UINT message, HANDLE stopEvent, const SYSTEMTIME& lastCheckUtc,
                             UpdateDoneCallback doneCallback, int days, int callbackArg) {
  SYSTEMTIME now = {};
  NowUtc(now);
  std::wstring line;
  DWORD waitMs = ComputeUpdateWaitMs(lastCheckUtc, days, now, &line);
  Log(line);
  unsigned long testWaitMs = 0;
  if (GetScheduledWaitOverride(testWaitMs)) waitMs = testWaitMs;
  // The thread waits on its own handle of the cancel event; we keep another
  // to end that wait when a newer schedule takes its place.
  HANDLE cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE ours = nullptr;
  if (cancel && !DuplicateHandle(GetCurrentProcess(), cancel, GetCurrentProcess(), &ours, 0, FALSE,
                                 DUPLICATE_SAME_ACCESS))
    ours = nullptr;
  ReplaceScheduledCheck(ours);
  return StartThread({owner, message, waitMs, stopEvent, 1, doneCallback, callbackArg, 1, cancel});
}

void CancelScheduledUpdateCheck() { ReplaceScheduledCheck(nullptr); }

UpdateWaitEnd WaitBeforeUpdateCheck(HANDLE stopEvent, HANDLE cancelEvent, DWORD waitMs, DWORD offlineLimitMs) {
  DWORD remaining = waitMs;
  DWORD offlineMs = 0;
  for (;;) {
    DWORD step = kFirstOfflineStepMs;
    while (IsOffline()) {
      if (offlineLimitMs != INFINITE) {
        if (offlineMs >= offlineLimitMs) return UpdateWaitEnd::kGaveUp;
        if (step > offlineLimitMs - offlineMs) step = offlineLimitMs - offlineMs;
      }
      if (WaitForStop(stopEvent, cancelEvent, step) != WAIT_TIMEOUT) return UpdateWaitEnd::kStopped;
      // Time spent offline counts against the wait; the step stops growing
      // at an hour, so it never overflows into a busy loop.
      remaining = remaining > step ? remaining - step : 0;
      offlineMs = offlineMs > 0xFFFFFFFFUL - step ? 0xFFFFFFFFUL : offlineMs + step;
      step = step >= kMaxOfflineStepMs / 2 ? kMaxOfflineStepMs : step * 2;
    }
    if (WaitForStop(stopEvent, cancelEvent, remaining) != WAIT_TIMEOUT) return UpdateWaitEnd::kStopped;
    if (!IsOffline()) return UpdateWaitEnd::kReady;
    remaining = 0;
  }
}

void CheckForUpdatesWorker(UpdateCheckThreadRecord& record, int autoMode) {
  std::wstring url = BuildUpdateRequestUrl();
  std::wstring file = DownloadUpdateInfoFile(url);
  if (file.empty()) {
    if (!record.silent) {
      CUpdateInfo info;
      info.scheduled = record.callbackArg;
      info.autoMode = autoMode;
      info.errorText = kUpdateErrorCannotLoad;
      SendRecord(record, info);
    }
  } else {
    CTempFileGuard guard(file);
    CUpdateInfo info;
    info.scheduled = record.callbackArg;
    info.autoMode = autoMode;
    int result = LoadUpdateInfoFile(file, info);
    DownloadNewsFeed(info.news, kMaxNewsItems);
    if (result == kAnswerInvalid) info.errorText = kUpdateErrorCannotParse;
    if (result == kAnswerNewerVersion || !record.silent) SendRecord(record, info);
  }
  if (record.doneCallback)
    record.doneCallback({record.stopEvent, record.owner, record.message}, record.callbackArg);
}
