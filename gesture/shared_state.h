// The block of data every process that loads Gesture.dll shares (the DLL
// places it in a shared section). Other processes write it too, so readers
// check what they use.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "gesture/gesture_api.h"

struct GestureSharedState {
  HHOOK hook;            // the installed low-level mouse hook; null when none anywhere
  std::int32_t mode;     // GestureMode of the installed hook
  GesturePoint start;    // where the current gesture began
  GesturePoint gesture;  // where the last recognised gesture began
  // Who installed the hook: an installer that ended without uninstalling
  // leaves its handle behind, and the identity tells such a handle apart.
  std::uint32_t installerPid;
  std::uint32_t installerStartLow;  // the installer's creation time (FILETIME)
  std::uint32_t installerStartHigh;
};

#ifdef _WIN64
static_assert(offsetof(GestureSharedState, mode) == 8 && offsetof(GestureSharedState, start) == 12 &&
                  offsetof(GestureSharedState, gesture) == 20 &&
                  offsetof(GestureSharedState, installerPid) == 28 &&
                  sizeof(GestureSharedState) == 40,
              "64-bit shared layout");
#else
static_assert(offsetof(GestureSharedState, mode) == 4 && offsetof(GestureSharedState, start) == 8 &&
                  offsetof(GestureSharedState, gesture) == 16 &&
                  offsetof(GestureSharedState, installerPid) == 24 &&
                  sizeof(GestureSharedState) == 36,
              "32-bit shared layout");
#endif

// A point is set when either coordinate is positive; (0, 0) and any point
// with both coordinates at or below 0 count as empty.
inline bool IsPointSet(const GesturePoint& p) { return p.x > 0 || p.y > 0; }
inline void ClearPoint(GesturePoint* p) { p->x = p->y = 0; }
