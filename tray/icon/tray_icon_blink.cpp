#include "tray/icon/tray_icon_blink.h"

#include <memory>
#include <new>

#include "foundation/system/handles.h"
#include "foundation/ui/icons.h"
#include "tray/icon/event_sounds.h"
#include "tray/icon/tray_icon.h"

namespace {

// Waits on the stop event; true when the blink may go on.
bool Pause(HANDLE stopEvent, DWORD ms) {
  if (!stopEvent) {
    Sleep(ms);
    return true;
  }
  return WaitForSingleObject(stopEvent, ms) == WAIT_TIMEOUT;
}

DWORD WINAPI BlinkThread(void* param) {
  std::unique_ptr<TrayIconBlinkRecord> record(static_cast<TrayIconBlinkRecord*>(param));
  return RunTrayIconBlink(*record) ? 0 : 1;
}

}  // namespace

bool RunTrayIconBlink(const TrayIconBlinkRecord& record) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  UniqueIcon blink(LoadSmallIcon(module, record.blinkIconId));
  UniqueIcon normal(LoadSmallIcon(module, record.normalIconId));
  // A null picture would take the icon's image away altogether.
  if (!blink || !normal) return false;
  if (record.sound) PlayNotificationIfSoundOn();
  for (int round = 0; round < record.rounds; ++round) {
    SetTrayIconImage(record.window, blink.Get());
    bool goOn = Pause(record.stopEvent, record.halfRoundMs);
    SetTrayIconImage(record.window, normal.Get());
    if (!goOn) return true;
    if (round + 1 < record.rounds && !Pause(record.stopEvent, record.halfRoundMs)) return true;
  }
  return true;
}

bool StartTrayIconBlink(const TrayIconBlinkRecord& record) {
  TrayIconBlinkRecord* copy = new (std::nothrow) TrayIconBlinkRecord(record);
  if (!copy) return false;
  HANDLE thread = CreateThread(nullptr, 0, BlinkThread, copy, 0, nullptr);
  if (!thread) {
    delete copy;
    return false;
  }
  CloseHandle(thread);
  return true;
}
