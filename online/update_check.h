// The update check's thread: an optional wait (scheduled checks), then the
// request, the answer and the news, handed to the owner window by a sent
// message, and a done callback.
#pragma once
#include <windows.h>

#include <string>

#include "online/update_info.h"

struct UpdateCallbackRecord {
  HANDLE stopEvent;
  HWND owner;
  UINT message;
};
// Runs on the worker thread after a check (not after a wait cut short).
using UpdateDoneCallback = void (*)(const UpdateCallbackRecord& record, int callbackArg);

// Allocated by the starter, freed by the thread.
struct UpdateCheckThreadRecord {
  HWND owner;
  UINT message;
  DWORD waitMs;
  HANDLE stopEvent;
  int silent;  // 1: report only a newer version
  UpdateDoneCallback doneCallback;
  int callbackArg;  // 1: the callback schedules the next check
  int autoMode;
  HANDLE cancelEvent;  // owned by the thread; set when a newer schedule replaces this one (may be null)
};

// A check now: no wait, not silent.
bool StartCheckForUpdates(HWND owner, UINT message, HANDLE stopEvent, UpdateDoneCallback doneCallback,
                          int callbackArg);
// A silent check days after lastCheckUtc (10 minutes from now when that is
// past, at most days from now when it lies in the future). Only one
// scheduled check waits at a time: a new one ends the wait of the one before.
bool ScheduleNextUpdateCheck(HWND owner, UINT message, HANDLE stopEvent, const SYSTEMTIME& lastCheckUtc,
                             UpdateDoneCallback doneCallback, int days, int callbackArg);
// Ends the wait of the scheduled check, if one waits (no check, no callback).
void CancelScheduledUpdateCheck();
bool StartUpdateCheckThread(HWND owner, UINT message, DWORD waitMs, HANDLE stopEvent, int silent,
                            UpdateDoneCallback doneCallback, int callbackArg, int autoMode);

// The wait of a scheduled check and the log line that tells it.
DWORD ComputeUpdateWaitMs(const SYSTEMTIME& lastCheckUtc, int days, const SYSTEMTIME& nowUtc,
                          std::wstring* logLine);
enum class UpdateWaitEnd { kReady, kStopped, kGaveUp };
// Waits waitMs, and while the connection is missing in steps that double
// from 5 s up to one hour. kStopped when stopEvent or cancelEvent (may be
// null) ended the wait; kGaveUp once the time spent offline reached
// offlineLimitMs (INFINITE: no limit).
UpdateWaitEnd WaitBeforeUpdateCheck(HANDLE stopEvent, HANDLE cancelEvent, DWORD waitMs, DWORD offlineLimitMs);
constexpr DWORD kFirstOfflineStepMs = 5000;
constexpr DWORD kMaxOfflineStepMs = 3600000;
// A check the user asked for waits no longer than this for a connection: the
// tray icon spins meanwhile, and the user is told when it gives up.
constexpr DWORD kOnRequestOfflineLimitMs = 600000;
void CheckForUpdatesWorker(UpdateCheckThreadRecord& record, int autoMode);

// Whether a record handed over by the message is one a worker of this
// process is sending now (the message id is open to other programs).
bool IsLiveUpdateInfo(const CUpdateInfo* record);

// Test seams: the clock of the schedule (UTC) and the wait of the thread.
using UpdateClockFn = void (*)(SYSTEMTIME& nowUtc);
using UpdateWaitFn = DWORD (*)(HANDLE stopEvent, HANDLE cancelEvent, DWORD ms);
void SetUpdateClockForTests(UpdateClockFn clock);
void SetUpdateWaitForTests(UpdateWaitFn wait);
