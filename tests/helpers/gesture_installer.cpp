// A process that installs Gesture.dll (from its own folder) the way the core
// hook library does, for tests of the guard between processes:
//   gesture_installer <mode> <tag> [keep]
// The test creates the events "<tag>_installed" and "<tag>_stop". When the
// install fails: exit 20 + Gesture_IsInstalled(). When it succeeds: sets
// <tag>_installed, runs a message loop (the hook is called on this thread)
// until <tag>_stop is set, uninstalls, and exits 0 when that worked, else 30.
// With "keep" it ends without uninstalling and exits 0.
// Exit 2 when the library or an event is missing, 3 on bad arguments.
#include <windows.h>

#include <cwchar>
#include <string>

#include "foundation/files/paths.h"
#include "foundation/system/handles.h"
#include "gesture/gesture_api.h"

namespace {

void PumpUntilSet(HANDLE stop) {
  for (;;) {
    DWORD rc = MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT);
    if (rc != WAIT_OBJECT_0 + 1) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 && !(argc == 4 && wcscmp(argv[3], L"keep") == 0)) return 3;
  wchar_t* end = nullptr;
  long mode = wcstol(argv[1], &end, 10);
  if (!end || *end) return 3;
  std::wstring tag = argv[2];

  UniqueModule library(LoadLibraryW((GetAppFolderWithSlash() + L"Gesture.dll").c_str()));
  if (!library) return 2;
  auto install = reinterpret_cast<GestureInstallFn>(GetProcAddress(library.Get(), "Gesture_Install"));
  auto uninstall = reinterpret_cast<GestureNoArgFn>(GetProcAddress(library.Get(), "Gesture_Uninstall"));
  auto isInstalled =
      reinterpret_cast<GestureNoArgFn>(GetProcAddress(library.Get(), "Gesture_IsInstalled"));
  if (!install || !uninstall || !isInstalled) return 2;
  UniqueHandle installed(OpenEventW(EVENT_MODIFY_STATE, FALSE, (tag + L"_installed").c_str()));
  UniqueHandle stop(OpenEventW(SYNCHRONIZE, FALSE, (tag + L"_stop").c_str()));
  if (!installed || !stop) return 2;

  GestureInstallParams params = {0, 0, static_cast<std::int32_t>(mode), library.Get()};
  if (!install(&params)) return 20 + isInstalled();
  SetEvent(installed.Get());
  PumpUntilSet(stop.Get());
  if (argc == 4) return 0;
  return uninstall() == 1 && isInstalled() == 0 ? 0 : 30;
}
