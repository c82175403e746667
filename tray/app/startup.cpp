#include "tray/app/startup.h"

#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>

#include "foundation/files/file_version.h"
#include "foundation/files/program_names.h"
#include "foundation/localization/language_files.h"
#include "foundation/logging/log.h"
#include "foundation/system/os_version.h"
#include "foundation/system/security.h"
#include "foundation/system/shell_helpers.h"
#include "foundation/system/system_helpers.h"
#include "foundation/system/test_switches.h"
#include "online/update_events.h"
#include "phrases/macros/macro_dates.h"
#include "platform/atl/app_module.h"
#include "settings/event_watchers.h"
#include "settings/settings.h"
#include "tray/app/app_texts.h"
#include "tray/app/command_line.h"
#include "tray/app/instance.h"
#include "tray/window/tray_window.h"

namespace {

constexpr wchar_t kProductName[] = L"Quillora";
constexpr DWORD kAdminHandOverWaitMs = 10000;
constexpr wchar_t kBannerLoggerName[] = L"TEMP PREFIX TEXT";

std::wstring ProductVersion() {
  CFileVersionInfo info(static_cast<HMODULE>(nullptr));
  return info.Load() ? info.GetProductVersion() : std::wstring();
}

std::wstring OSDisplayName() { return COSVersionInfo().GetOSDisplayName(); }

// The log is written by a thread; lines still queued when the process ends
// would be lost.
int Finish(int code) {
  TermLog();
  return code;
}

// An "autoload" start waits before it sets itself up; any other start
// during that wait ends the wait and itself. True when this start must end.
bool ResolveAutomode(const CCommandLine& cmd, unsigned delaySeconds) {
  if (!cmd.IsAutoload()) {
    if (SignalAutomodeEvent()) {
      Log(L"Signal for automode. Exit");
      return true;
    }
    Log(L"Automode not found. Continue");
    return false;
  }
  if (delaySeconds == 0) return false;
  HANDLE automode = CreateAutomodeEvent();
  if (!automode) return false;
  Log(L"Starting waiting for automode...");
  DWORD wait = WaitForSingleObject(automode, delaySeconds * 1000);
  CloseHandle(automode);
  if (wait == WAIT_OBJECT_0)
    Log(L"INFO: automode disabled WAIT_OBJECT_0");
  else if (wait == WAIT_TIMEOUT)
    Log(L"INFO: automode expired WAIT_TIMEOUT");
  else
    Log(L"INFO: automode default " + std::to_wstring(static_cast<int>(wait)));
  return false;
}

// "edit" forwarded to a running instance, or the usage box shown.
bool HandleRequestsThatEndWithZero(const CCommandLine& cmd) {
  bool edited = cmd.IsEdit() && SignalEditEvent();
  bool usage = false;
  if (cmd.IsUsage()) {
    MessageBoxW(GetDesktopWindow(), GetCommandLineUsageText().c_str(), kProductName,
                MB_ICONINFORMATION);
    usage = true;
  }
  return edited || usage;
}

// The instance that restarted this one as administrator ends first, and
// hands over by its event at the very end of its run.
void WaitForAdminHandOver() {
  SignalExitEvent();
  DWORD error = 0;
  if (WaitAdminInstanceEvent(kAdminHandOverWaitMs, error)) return;
  LogError(L"Cannot wait event from first instance\n\nError Code: " + std::to_wstring(error) +
           L"\n" + FormatSystemMessage(error));
}

// Exactly one request goes to the running instance.
void HandOver(const CCommandLine& cmd) {
  if (cmd.IsShowMenu())
    SignalShowMenuEvent();
  else if (cmd.IsExit())
    SignalExitEvent();
  else if (cmd.IsCfu())
    SignalCheckForUpdates();
  else
    SignalAlreadyWorkEvent();
}

void LogStartBanner() {
  SetLogAgentName(kBannerLoggerName);
  LogTimeStamped(L"\n\n=============================\n===Start Quillora " + ProductVersion() +
                 L" on " + OSDisplayName() + L"===");
  ResetLogAgentName();
}

int RunFirstInstance(HINSTANCE instance, HANDLE instanceEvent, const CCommandLine& cmd) {
  SetHandleProtectFromClose(instanceEvent, true);
  SetInstanceEvent(instanceEvent);
  StartInstanceWatchers(instanceEvent);
  LogStartBanner();

  CoInitialize(nullptr);
  // Makes sure user32 has set up this thread's window state before the
  // first window of the program appears.
  DefWindowProcW(nullptr, 0, 0, 0);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  GetOptionsChangedEvent();
  CAppModule module;
  module.Init(nullptr, instance);
  OleInitialize(nullptr);

  int result = RunTrayWindow(instanceEvent, cmd.IsNoInstall(), cmd);

  ReleaseOptionsChangedEvent();
  // Every watcher thread of the program waits on this event.
  SetEvent(instanceEvent);
  SetHandleProtectFromClose(instanceEvent, false);
  SetInstanceEvent(nullptr);
  CloseHandle(instanceEvent);
  SignalAdminInstanceEvent();
  LogTimeStamped(L"===End Quillora===");
  module.Term();
  OleUninitialize();
  CoUninitialize();
  return result;
}

}  // namespace

bool LogTimeStamped(const std::wstring& text) {
  if (!IsLogOpen()) return false;
  SYSTEMTIME now;
  GetLocalTime(&now);
  return Log(text + L" " + FormatLogDate(now) + L" " + FormatLogTime(now));
}

int QuilloraMain(HINSTANCE instance, const wchar_t* commandLine) {
  SetLogProgramTag(kLogTagAgent);
  SetWatcherTrayWindowGetter(GetTrayHwnd);
  const std::wstring commandText = commandLine ? commandLine : L"";
  // The settings store names its default language file and stamps its saves
  // through these; both must be in place before its first use.
  SetLanguageFileFinder(FindLanguageFileByPrefix);
  SetSettingsTimeFormatter([](const SYSTEMTIME& local) { return FormatDateTimeFull(local); });

  CQLRTraySettings& settings = GetSettings();
  if (settings.GetWriteLog()) InitLog(GetLogReportPath().c_str());

  CCommandLine cmd(commandText);
  cmd.Parse();
  Log(L"Start Quillora " + ProductVersion() + L" with cmdline [" + commandText + L"] on " +
      OSDisplayName());
  // A marker file beside the program changes what it does: say so.
  for (const std::wstring& name : GetTestSwitchesOn()) Log(L"WARNING: test switch is on: " + name);

  if (cmd.IsUa()) SetAutoStartEntry(false);
  if (ResolveAutomode(cmd, settings.delayAutoLoadSeconds)) return Finish(kExitAutomodeCutShort);
  ApplyClientLanguageFile(settings.GetLanguageFilePath());
  if (HandleRequestsThatEndWithZero(cmd)) return Finish(0);
  if (cmd.IsAsAdmin()) WaitForAdminHandOver();

  if (IsFirstInstanceRunning()) {
    HandOver(cmd);
    return Finish(kExitHandedOver);
  }
  if (cmd.IsExit()) return Finish(kExitHandedOver);

  bool alreadyExisted = false;
  HANDLE instanceEvent = CreateInstanceEvent(&alreadyExisted);
  if (!instanceEvent) return Finish(kExitNoInstanceEvent);
  if (alreadyExisted) {
    // Another start created the event between our test and our creation:
    // that start is the running instance.
    CloseHandle(instanceEvent);
    HandOver(cmd);
    return Finish(kExitHandedOver);
  }
  return Finish(RunFirstInstance(instance, instanceEvent, cmd));
}
