#include "online/update_events.h"

#include "foundation/system/shell_open.h"

#include <oleauto.h>
#include <shellapi.h>

#include <cmath>

#include "foundation/files/program_names.h"
#include "foundation/system/handles.h"
#include "foundation/system/security.h"
#include "foundation/system/system_helpers.h"
#include "settings/event_watchers.h"

namespace {

constexpr wchar_t kOptionsChangedEvent[] = L"Local\\Quillora_OptionsChanged";
constexpr wchar_t kCommandCheckForUpdatesEvent[] = L"Local\\Quillora_CommandCheckForUpdates";
constexpr double kMillisecondsPerDay = 86400000.0;

SRWLOCK g_optionsEventLock = SRWLOCK_INIT;
HANDLE g_optionsChangedEvent = nullptr;

DWORD WINAPI PulseThread(void*) {
  Sleep(1);
  PulseOptionsChangedNow();
  return 0;
}

bool ToVariantWithMs(const SYSTEMTIME& time, double& date) {
  SYSTEMTIME whole = time;
  whole.wMilliseconds = 0;
  if (!SystemTimeToVariantTime(&whole, &date)) return false;
  date += time.wMilliseconds / kMillisecondsPerDay;
  return true;
}

// The plain conversion rounds to the nearest second: convert half a second
// earlier to get the whole seconds, then put the milliseconds back.
bool FromVariantWithMs(double date, SYSTEMTIME& time) {
  SYSTEMTIME whole = {};
  double wholeDate = 0;
  if (VariantTimeToSystemTime(date - 500.0 / kMillisecondsPerDay, &whole) &&
      SystemTimeToVariantTime(&whole, &wholeDate)) {
    double ms = std::round((date - wholeDate) * kMillisecondsPerDay);
    if (ms >= 0 && ms < 1000) {
      whole.wMilliseconds = static_cast<WORD>(ms);
      // Some systems take the weekday from the day before the rounding.
      whole.wDayOfWeek = static_cast<WORD>(GetDayOfWeek(whole.wDay, whole.wMonth, whole.wYear));
      time = whole;
      return true;
    }
  }
  return VariantTimeToSystemTime(date, &time) != FALSE;
}

}  // namespace

HANDLE GetOptionsChangedEvent() {
  SrwExclusiveLock lock(g_optionsEventLock);
  if (!g_optionsChangedEvent) {
    EveryoneSecurity everyone;
    g_optionsChangedEvent = CreateEventW(everyone.Get(), FALSE, FALSE, kOptionsChangedEvent);
    if (!g_optionsChangedEvent && everyone.Get())
      g_optionsChangedEvent = CreateEventW(nullptr, FALSE, FALSE, kOptionsChangedEvent);
  }
  return g_optionsChangedEvent;
}

void PulseOptionsChangedNow() {
  HANDLE event = GetOptionsChangedEvent();
  if (event) {
    SetEvent(event);
    ResetEvent(event);
  }
}

void ReleaseOptionsChangedEvent() {
  SrwExclusiveLock lock(g_optionsEventLock);
  if (g_optionsChangedEvent) CloseHandle(g_optionsChangedEvent);
  g_optionsChangedEvent = nullptr;
}

bool PulseOptionsChanged() {
  HANDLE thread = CreateThread(nullptr, 0, PulseThread, nullptr, 0, nullptr);
  if (!thread) return false;
  CloseHandle(thread);
  return true;
}

const wchar_t* GetCommandCheckForUpdatesEventName() { return kCommandCheckForUpdatesEvent; }

bool StartCommandCheckForUpdatesWatcher(HWND owner, UINT commandId, HANDLE stopEvent) {
  // Reset before the command is sent, so that a request made while the
  // command runs is not lost. The editor opens the event by name, so it
  // gets the suite's everyone-access security like every shared object.
  return StartEventWatcher(stopEvent, {kCommandCheckForUpdatesEvent, true, owner, WM_COMMAND,
                                       commandId, WatcherDelivery::kResetThenSend});
}

bool RunWelcomeProgram(HWND parent, bool autoStart) {
  INT_PTR result = ShellOpen(parent, L"open", GetWelcomeExePath().c_str(), autoStart ? L"/auto" : nullptr,
                             nullptr, SW_SHOW);
  // Values up to 32 are the shell's error codes.
  return result > 32;
}

bool AddDaysToSystemTime(SYSTEMTIME& time, double days) {
  double date = 0;
  if (!ToVariantWithMs(time, date)) return false;
  SYSTEMTIME result = {};
  if (!FromVariantWithMs(date + days, result)) return false;
  time = result;
  return true;
}

bool SystemTimeToLocalSystemTime(const SYSTEMTIME& utc, SYSTEMTIME& local) {
  FILETIME utcFile = {}, localFile = {};
  return SystemTimeToFileTime(&utc, &utcFile) && FileTimeToLocalFileTime(&utcFile, &localFile) &&
         FileTimeToSystemTime(&localFile, &local);
}
