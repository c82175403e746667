#include "foundation/system/sounds.h"

#include <windows.h>
#include <mmsystem.h>

namespace {

volatile bool g_stopBeforePlay = false;
SoundAliasObserver volatile g_aliasObserver = nullptr;

}  // namespace

void SetStopSoundBeforePlay(bool stop) { g_stopBeforePlay = stop; }
bool GetStopSoundBeforePlay() { return g_stopBeforePlay; }
void SetSoundAliasObserver(SoundAliasObserver observer) { g_aliasObserver = observer; }

bool StopSound() { return ::PlaySoundW(nullptr, nullptr, 0) != FALSE; }

void StopSoundIfRequested() {
  if (g_stopBeforePlay) StopSound();
}

bool PlaySoundAlias(const wchar_t* alias, bool async) {
  if (SoundAliasObserver observer = g_aliasObserver) observer(alias);
  StopSoundIfRequested();
  return ::PlaySoundW(alias, nullptr, SND_ALIAS | (async ? SND_ASYNC : 0)) != FALSE;
}

bool PlayNotificationSound(bool async) { return PlaySoundAlias(L"SystemNotification", async); }

bool PlayExclamationSound(bool async) { return PlaySoundAlias(L"SystemExclamation", async); }

bool PlaySoundFile(const wchar_t* path, int count, bool async) {
  bool any = false;
  for (int i = 0; i < count; ++i) {
    StopSoundIfRequested();
    if (::PlaySoundW(path, nullptr, SND_FILENAME | (async ? SND_ASYNC : 0))) any = true;
  }
  return any;
}
