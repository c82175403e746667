// What callers of Gesture.dll see: the install record, the four exports and
// the name of the event the library sets when it recognises the gesture.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// Gesture kinds, the same values as the GestureType setting.
enum GestureMode : std::int32_t {
  kGestureMoveMiddle = 0,    // move of more than 150 px with the middle button held
  kGestureTripleRight = 1,   // three right-button releases, each within 500 ms
};

// The record the installer passes to Gesture_Install. The library reads only
// the mode and the module handle. The handle is pointer-sized: a DLL of a
// 64-bit process may load above 4 GB. The 32-bit layout is four 32-bit fields.
struct GestureInstallParams {
  std::uint32_t reserved1;
  std::uint32_t reserved2;
  std::int32_t mode;
  HMODULE module;  // the module holding the hook procedure (Gesture.dll)
};

#ifdef _WIN64
static_assert(offsetof(GestureInstallParams, mode) == 8 &&
                  offsetof(GestureInstallParams, module) == 16 &&
                  sizeof(GestureInstallParams) == 24,
              "64-bit install record layout");
#else
static_assert(offsetof(GestureInstallParams, mode) == 8 &&
                  offsetof(GestureInstallParams, module) == 12 &&
                  sizeof(GestureInstallParams) == 16,
              "32-bit install record layout");
#endif

// A point as the exports hand it over: two 32-bit signed screen coordinates.
struct GesturePoint {
  std::int32_t x;
  std::int32_t y;
};

// Created by the waiter; the library only opens and sets it.
constexpr const wchar_t kGestureEventName[] =
    L"Local\\Quillora_Gesture_8CA069C3-3A67-4578-82AD-E446ECC7E261";

// Exported by their plain names; every result is a truth value (1 or 0).
extern "C" {
typedef int(__stdcall* GestureInstallFn)(const GestureInstallParams* params);
typedef int(__stdcall* GestureNoArgFn)();
typedef int(__stdcall* GestureGetPointFn)(GesturePoint* point);
}
