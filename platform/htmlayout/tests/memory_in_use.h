// How much memory the test process holds, for the bounds of the fuzz tests.
#pragma once
#include <windows.h>

#include <cstddef>

namespace hltest {

// The address space in use: Wine reports no private bytes, but it keeps the
// process's virtual memory figures.
inline size_t MemoryInUse() {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof(status);
  GlobalMemoryStatusEx(&status);
  return static_cast<size_t>(status.ullTotalVirtual - status.ullAvailVirtual);
}

}  // namespace hltest
