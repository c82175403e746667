// The editor's side of an options change, as a process of its own:
//   helper_editor_settings_probe <program-folder> <profile-folder> <report-file> <stop-event>
// Holds the editor's settings store with the settings files in the given
// folders. A watcher thread waits on the tray program's options-changed event
// as the editor's does: it marks the settings changed and sends the main
// window its message, whose handler asks for the settings twice. After the
// first load and after each change the report file is rewritten with one
// line: "wakes=N loads=N show=N preview=N folders=N last=TEXT" (UTF-16).
// Ends with 0 when the stop event is set; 4 when the options event does not
// exist (the tray program is not running), 3 on other failures.
#include <windows.h>

#include <cwchar>
#include <string>

#include "editor_settings/editor_settings.h"
#include "editor_settings/editor_settings_names.h"
#include "foundation/system/handles.h"
#include "settings/settings_files.h"

namespace {

constexpr UINT kOptionsChangedMessage = WM_APP + 1;

std::wstring g_reportPath;
LONG g_wakes = 0;

bool WriteReport() {
  CQLREditorSettings& settings = GetEditorSettings();
  wchar_t line[600];
  swprintf(line, 600, L"wakes=%ld loads=%d show=%d preview=%d folders=%d last=%ls\n", g_wakes,
           settings.GetLoadCount(), settings.ShowUncheckedPhrases, settings.Preview,
           settings.GetPrevFoldersCount(), settings.lastFile.c_str());
  // Written whole and moved into place, so the test never reads half a line.
  std::wstring temp = g_reportPath + L".part";
  UniqueHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  DWORD written = 0;
  DWORD bytes = static_cast<DWORD>(wcslen(line) * sizeof(wchar_t));
  if (!WriteFile(file.Get(), line, bytes, &written, nullptr) || written != bytes) return false;
  file.Reset();
  return MoveFileExW(temp.c_str(), g_reportPath.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

LRESULT CALLBACK ProbeWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kOptionsChangedMessage) {
    // Two callers on the road of one notice, as the frame and a view are.
    GetEditorSettings();
    GetEditorSettings();
    WriteReport();
    return 1;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

struct Watch {
  HANDLE options;
  HANDLE stop;
  HWND window;
  DWORD mainThread;
};

DWORD WINAPI WatcherThread(void* param) {
  const Watch* watch = static_cast<const Watch*>(param);
  HANDLE handles[2] = {watch->stop, watch->options};
  for (;;) {
    DWORD result = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (result != WAIT_OBJECT_0 + 1) break;
    InterlockedIncrement(&g_wakes);
    MarkEditorSettingsChanged();
    SendMessageW(watch->window, kOptionsChangedMessage, 0, 0);
  }
  PostThreadMessageW(watch->mainThread, WM_QUIT, 0, 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) return 3;
  SetSettingsFolders(argv[1], argv[2]);
  g_reportPath = argv[3];
  UniqueHandle stop(CreateEventW(nullptr, TRUE, FALSE, argv[4]));
  UniqueHandle options(OpenEventW(SYNCHRONIZE, FALSE, editor_settings_names::kOptionsChangedEvent));
  if (!stop) return 3;
  if (!options) return 4;

  WNDCLASSW wc = {};
  wc.lpfnWndProc = ProbeWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QuilloraEditorSettingsProbe";
  if (!RegisterClassW(&wc)) return 3;
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
  if (!window) return 3;

  // The main thread makes the first call, as the editor's start-up does.
  GetEditorSettings();
  if (!WriteReport()) return 3;
  Watch watch = {options.Get(), stop.Get(), window, GetCurrentThreadId()};
  UniqueHandle watcher(CreateThread(nullptr, 0, WatcherThread, &watch, 0, nullptr));
  if (!watcher) return 3;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  WaitForSingleObject(watcher.Get(), 10000);
  DestroyWindow(window);
  return 0;
}
