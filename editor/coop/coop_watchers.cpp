#include "editor/coop/coop_watchers.h"

#include <atomic>
#include <memory>

#include "editor/editor_names.h"
#include "editor_settings/editor_settings.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/system/security.h"

namespace en = editor_names;

namespace {

std::atomic<long> g_running{0};

struct WatcherContext {
  UniqueHandle stop;   // a duplicate: the owner may close its handle first
  UniqueHandle event;
  HWND window = nullptr;
  UINT message = 0;
  bool send = false;   // sent (the watcher waits for the frame) or posted
  void (*announce)() = nullptr;  // called on the watcher's thread before the message
};

DWORD WINAPI WatcherThread(void* param) {
  std::unique_ptr<WatcherContext> context(static_cast<WatcherContext*>(param));
  HANDLE handles[2] = {context->stop.Get(), context->event.Get()};
  for (;;) {
    DWORD result = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (result != WAIT_OBJECT_0 + 1) break;
    if (context->announce) context->announce();
    if (context->send)
      SendMessageW(context->window, context->message, 0, 0);
    else
      PostMessageW(context->window, context->message, 0, 0);
  }
  --g_running;
  return 0;
}

bool StartWatcher(std::unique_ptr<WatcherContext> context, HANDLE stopEvent) {
  HANDLE stop = nullptr;
  if (!stopEvent || !DuplicateHandle(GetCurrentProcess(), stopEvent, GetCurrentProcess(), &stop,
                                     SYNCHRONIZE, FALSE, 0)) {
    LogError(L"Coop watcher: DuplicateHandle failed " + std::to_wstring(GetLastError()));
    return false;
  }
  context->stop.Reset(stop);
  ++g_running;
  HANDLE thread = CreateThread(nullptr, 0, WatcherThread, context.get(), 0, nullptr);
  if (!thread) {
    --g_running;
    LogError(L"Coop watcher: CreateThread failed " + std::to_wstring(GetLastError()));
    return false;
  }
  context.release();  // the thread owns it now
  CloseHandle(thread);
  return true;
}

}  // namespace

bool StartOptionsWatcher(HWND window, UINT message, HANDLE stopEvent) {
  auto context = std::make_unique<WatcherContext>();
  context->event.Reset(OpenEventW(SYNCHRONIZE, FALSE, en::kOptionsChangedEvent));
  if (!context->event) return false;  // the tray program does not run
  context->window = window;
  context->message = message;
  context->send = true;
  // The settings' reload flag: the next use on the main thread loads them.
  context->announce = MarkEditorSettingsChanged;
  return StartWatcher(std::move(context), stopEvent);
}

bool StartAddFromClipboardWatcher(HWND window, UINT message, HANDLE stopEvent) {
  auto context = std::make_unique<WatcherContext>();
  EveryoneSecurity everyone;
  context->event.Reset(CreateEventW(everyone.Get(), FALSE, FALSE, en::kAddPhraseFromCBEvent));
  if (!context->event) {
    LogError(L"StartAddFromClipboardWatcher: CreateEvent failed " + std::to_wstring(GetLastError()));
    return false;
  }
  context->window = window;
  context->message = message;
  return StartWatcher(std::move(context), stopEvent);
}

long GetRunningCoopWatcherCount() { return g_running.load(); }
