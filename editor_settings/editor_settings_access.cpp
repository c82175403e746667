// The editor's one settings object and its reload flag.
#include <windows.h>

#include <atomic>

#include "editor_settings/editor_settings.h"

namespace {

std::atomic<long> g_reload{0};
// Holds are taken and released on the main thread only.
int g_holds = 0;

struct EditorSettingsInstance {
  EditorSettingsInstance() : owner(GetCurrentThreadId()) {
    // The first load already sees whatever change was announced before it.
    g_reload.exchange(0);
    settings.Load();
  }
  CQLREditorSettings settings;
  DWORD owner;
};

}  // namespace

void MarkEditorSettingsChanged() { g_reload.store(1); }

EditorSettingsReloadHold::EditorSettingsReloadHold() { ++g_holds; }
EditorSettingsReloadHold::~EditorSettingsReloadHold() { --g_holds; }
bool IsEditorSettingsReloadHeld() { return g_holds > 0; }

CQLREditorSettings& GetEditorSettings() {
  static EditorSettingsInstance instance;
  // Paint and notification paths call this often: with no change announced
  // it costs one atomic load. The exchange makes one announcement one load
  // however many calls race for it.
  if (g_reload.load(std::memory_order_acquire) != 0 && GetCurrentThreadId() == instance.owner && g_holds == 0 &&
      g_reload.exchange(0) != 0)
    instance.settings.Load();
  return instance.settings;
}
