// Threads that turn named events, set by other programs of the suite or by a
// second start of the tray program, into messages to a window. Each watcher
// waits on {stop event, its event}; the stop event (the program's instance
// event) ends it, and it then closes its event and frees its record.
#pragma once
#include <windows.h>

#include <string>

// How a watcher delivers its message; the order against ResetEvent matters
// to the peers that set the event.
enum class WatcherDelivery { kResetThenSend, kPostThenReset, kSendThenReset, kPost };

struct WatcherSpec {
  std::wstring eventName;
  bool manualReset = false;
  HWND window = nullptr;  // null: the tray window at the time of sending
  UINT message = 0;
  WPARAM wParam = 0;
  WatcherDelivery delivery = WatcherDelivery::kSendThenReset;
};

// Creates the named event (not signalled) and starts its watcher thread.
bool StartEventWatcher(HANDLE stopEvent, const WatcherSpec& spec);

// Where watchers without a window of their own send: the tray program hands
// in its tray-window getter at start.
using TrayWindowGetter = HWND (*)();
void SetWatcherTrayWindowGetter(TrayWindowGetter getter);

// The registered message of the exit and already-working events.
UINT GetInstanceMessage();

bool StartInstanceWatchers(HANDLE stopEvent);
bool StartEditEventWatcher(HANDLE stopEvent);
bool StartShowMenuEventWatcher(HANDLE stopEvent, HWND window, UINT message);
bool StartLangUIChangedWatcher(HANDLE stopEvent, HWND window, UINT message);
bool StartCheckForUpdatesWatcher(HANDLE stopEvent, HWND window);
bool StartLanguageAndUpdateWatchers(HANDLE stopEvent, HWND window, UINT message);

struct EditorCoopRecord {
  HANDLE stopEvent = nullptr;
  HWND window = nullptr;
  UINT message = 0;
};
bool StartEditorCoopEndedWatcher(const EditorCoopRecord& record);
std::wstring GetAgentCoopEndedEventName();

// Watcher threads still running (for diagnostics and tests).
long GetRunningWatcherCount();
