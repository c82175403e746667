#include "history/capture/own_copy.h"

#include <windows.h>

#include <string>

#include "foundation/logging/log.h"

namespace {

volatile LONG g_blocks = 0;
volatile LONG g_copyEvent = 0;

void LogValue(LONG value) { Log(L"PULSEMY_COPY=" + std::to_wstring(value)); }

}  // namespace

void RaiseOwnCopyBlock() { LogValue(InterlockedIncrement(&g_blocks)); }

bool LowerOwnCopyBlock() {
  for (;;) {
    LONG current = g_blocks;
    if (current <= 0) return false;
    if (InterlockedCompareExchange(&g_blocks, current - 1, current) == current) {
      LogValue(current - 1);
      return true;
    }
  }
}

void SetOwnCopyFromEvent(int value) {
  InterlockedExchange(&g_copyEvent, value ? 1 : 0);
  LogValue(g_blocks + (value ? 1 : 0));
}

bool IsOwnCopyBlocked() { return g_blocks > 0 || g_copyEvent != 0; }

int GetOwnCopyBlockCount() { return g_blocks; }

void ResetOwnCopy() {
  InterlockedExchange(&g_blocks, 0);
  InterlockedExchange(&g_copyEvent, 0);
}
