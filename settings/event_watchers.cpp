#include "settings/event_watchers.h"

#include <atomic>
#include <memory>

#include "foundation/files/program_names.h"
#include "foundation/system/handles.h"
#include "foundation/system/security.h"
#include "settings/settings_names.h"

namespace sn = settings_names;

namespace {

constexpr WPARAM kCmdStartEditor = 32772;
constexpr WPARAM kCmdCheckForUpdates = 32791;

std::atomic<TrayWindowGetter> g_trayWindowGetter{nullptr};
std::atomic<long> g_running{0};

struct WatcherRecord {
  HANDLE stopEvent;
  UniqueHandle watched;
  HWND window;
  UINT message;
  WPARAM wParam;
  WatcherDelivery delivery;
};

HWND TargetWindow(const WatcherRecord& r) {
  if (r.window) return r.window;
  TrayWindowGetter getter = g_trayWindowGetter.load();
  return getter ? getter() : nullptr;
}

void Deliver(const WatcherRecord& r) {
  switch (r.delivery) {
    case WatcherDelivery::kResetThenSend:
      ResetEvent(r.watched.Get());
      SendMessageW(TargetWindow(r), r.message, r.wParam, 0);
      break;
    case WatcherDelivery::kPostThenReset:
      PostMessageW(TargetWindow(r), r.message, r.wParam, 0);
      ResetEvent(r.watched.Get());
      break;
    case WatcherDelivery::kSendThenReset:
      SendMessageW(TargetWindow(r), r.message, r.wParam, 0);
      ResetEvent(r.watched.Get());
      break;
    case WatcherDelivery::kPost:
      PostMessageW(TargetWindow(r), r.message, r.wParam, 0);
      break;
  }
}

DWORD WINAPI WatcherThread(void* param) {
  std::unique_ptr<WatcherRecord> record(static_cast<WatcherRecord*>(param));
  HANDLE handles[2] = {record->stopEvent, record->watched.Get()};
  while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) Deliver(*record);
  record.reset();
  --g_running;
  return 0;
}

HANDLE CreateWatchedEvent(const std::wstring& name, bool manualReset) {
  EveryoneSecurity everyone;
  HANDLE event = CreateEventW(everyone.Get(), manualReset, FALSE, name.c_str());
  // An object created by a peer with other rights may refuse these
  // attributes; default security still opens it.
  if (!event && everyone.Get()) event = CreateEventW(nullptr, manualReset, FALSE, name.c_str());
  return event;
}

}  // namespace

void SetWatcherTrayWindowGetter(TrayWindowGetter getter) { g_trayWindowGetter = getter; }

UINT GetInstanceMessage() {
  static const UINT message = RegisterWindowMessageW(sn::kInstanceMessage);
  return message;
}

long GetRunningWatcherCount() { return g_running.load(); }

bool StartEventWatcher(HANDLE stopEvent, const WatcherSpec& spec) {
  HANDLE event = CreateWatchedEvent(spec.eventName, spec.manualReset);
  if (!event) return false;
  auto* record = new WatcherRecord{stopEvent, UniqueHandle(event), spec.window, spec.message,
                                   spec.wParam, spec.delivery};
  ++g_running;
  HANDLE thread = CreateThread(nullptr, 0, WatcherThread, record, 0, nullptr);
  if (!thread) {
    --g_running;
    delete record;  // closes the event
    return false;
  }
  CloseHandle(thread);
  return true;
}

bool StartInstanceWatchers(HANDLE stopEvent) {
  UINT message = GetInstanceMessage();
  bool exitStarted = StartEventWatcher(
      stopEvent, {sn::kExitEvent, true, nullptr, message, 1, WatcherDelivery::kResetThenSend});
  bool workStarted = StartEventWatcher(
      stopEvent, {sn::kAlreadyWorkEvent, true, nullptr, message, 0, WatcherDelivery::kResetThenSend});
  return exitStarted || workStarted;
}

bool StartEditEventWatcher(HANDLE stopEvent) {
  return StartEventWatcher(stopEvent, {sn::kEditEvent, true, nullptr, WM_COMMAND, kCmdStartEditor,
                                       WatcherDelivery::kResetThenSend});
}

bool StartShowMenuEventWatcher(HANDLE stopEvent, HWND window, UINT message) {
  return StartEventWatcher(stopEvent, {sn::kShowMenuEvent, false, window, message, 0,
                                       WatcherDelivery::kPostThenReset});
}

bool StartLangUIChangedWatcher(HANDLE stopEvent, HWND window, UINT message) {
  return StartEventWatcher(stopEvent, {GetLangUIChangedEventName(), false, window, message, 0,
                                       WatcherDelivery::kSendThenReset});
}

bool StartCheckForUpdatesWatcher(HANDLE stopEvent, HWND window) {
  return StartEventWatcher(stopEvent, {GetCheckForUpdatesEventName(), false, window, WM_COMMAND,
                                       kCmdCheckForUpdates, WatcherDelivery::kSendThenReset});
}

bool StartLanguageAndUpdateWatchers(HANDLE stopEvent, HWND window, UINT message) {
  bool language = StartLangUIChangedWatcher(stopEvent, window, message);
  bool updates = StartCheckForUpdatesWatcher(stopEvent, window);
  return language && updates;
}

std::wstring GetAgentCoopEndedEventName() {
  return std::wstring(sn::kAgentCoopEventBase) + sn::kAgentCoopEndedSuffix;
}

bool StartEditorCoopEndedWatcher(const EditorCoopRecord& record) {
  return StartEventWatcher(record.stopEvent,
                           {GetAgentCoopEndedEventName(), false, record.window, record.message, 0,
                            WatcherDelivery::kPost});
}
