#include "online/internet_state.h"

#include <windows.h>

#include "online/online_test_seams.h"

namespace {

using InternetGetConnectedStateFn = BOOL(WINAPI*)(DWORD* flags, DWORD reserved);

}  // namespace

int IsInternetConnectedWith(const wchar_t* library) {
  HMODULE module = LoadLibraryW(library);
  if (!module) return kInternetUnknown;
  auto ask = reinterpret_cast<InternetGetConnectedStateFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "InternetGetConnectedState")));
  int state = kInternetUnknown;
  if (ask) {
    DWORD flags = 0;
    state = ask(&flags, 0) ? kInternetConnected : kInternetOffline;
  }
  FreeLibrary(module);
  return state;
}

int IsInternetConnected() {
  int state = kInternetUnknown;
  if (GetInternetStateOverride(state)) return state;
  return IsInternetConnectedWith(L"WinInet.DLL");
}
