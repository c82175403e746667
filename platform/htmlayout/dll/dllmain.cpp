// Entry point of HTMLayout.dll; the exports live in the htmlayout library.
#include <windows.h>

#include "platform/htmlayout/view.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  // Unloaded by FreeLibrary: a class left behind would point into freed code.
  // (It fails, harmlessly, while a view window still exists.)
  if (reason == DLL_PROCESS_DETACH && !reserved) hl::UnregisterViewClass();
  return TRUE;
}
