#include "phrases/macros/macro_sources.h"

#include <mutex>

#include "foundation/files/program_names.h"
#include "phrases/macros/macro_table.h"

namespace {

std::mutex g_lock;
CMacroSources g_sources;
bool g_versionFilesSet = false;
CMacroVersionFiles g_versionFiles;

CMacroSources CopySources() {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_sources;
}

}  // namespace

void SetMacroSources(const CMacroSources& sources) {
  {
    std::lock_guard<std::mutex> hold(g_lock);
    g_sources = sources;
  }
  ResetMacroList();
}

void ResetMacroSources() { SetMacroSources(CMacroSources()); }

SYSTEMTIME GetMacroLocalTime() {
  CMacroSources sources = CopySources();
  if (sources.localTime) return sources.localTime();
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now;
}

LCID GetMacroUserLocale() {
  CMacroSources sources = CopySources();
  return sources.userLocale ? sources.userLocale() : GetUserDefaultLCID();
}

std::vector<HKL> GetMacroKeyboardLayouts() {
  CMacroSources sources = CopySources();
  if (sources.keyboardLayouts) return sources.keyboardLayouts();
  std::vector<HKL> layouts;
  int count = GetKeyboardLayoutList(0, nullptr);
  if (count <= 0) return layouts;
  layouts.resize(static_cast<size_t>(count));
  count = GetKeyboardLayoutList(count, layouts.data());
  layouts.resize(count > 0 ? static_cast<size_t>(count) : 0);
  return layouts;
}

void SetMacroVersionFiles(const CMacroVersionFiles& files) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_versionFiles = files;
  g_versionFilesSet = true;
}

void ResetMacroVersionFiles() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_versionFiles = CMacroVersionFiles();
  g_versionFilesSet = false;
}

CMacroVersionFiles GetMacroVersionFiles() {
  std::lock_guard<std::mutex> hold(g_lock);
  if (g_versionFilesSet) return g_versionFiles;
  CMacroVersionFiles files;
  files.editor = GetEditorExePath();
  return files;
}
