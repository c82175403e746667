#include "tray/icon/event_sounds.h"

#include <atomic>
#include <climits>
#include <memory>
#include <vector>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/system/security.h"
#include "foundation/system/sounds.h"
#include "settings/settings.h"

namespace {

constexpr const wchar_t* kSoundFiles[kEventSoundCount] = {
    L"kbd.wav",  L"launch.wav",         L"paper.wav",        L"menu.wav",
    L"start.wav", L"start_as_admin.wav", L"already_work.wav",
};
constexpr DWORD kResetRetryMs = 500;
// No request pending; distinct from every index a caller may pass, so that
// an empty wake-up is never taken for an invalid request.
constexpr LONG kNoRequest = LONG_MIN;

std::atomic<LONG> g_requested{kNoRequest};
std::atomic<HANDLE> g_requestEvent{nullptr};
std::wstring g_folder;
std::atomic<EventSoundPlayer> g_player{nullptr};

struct SoundThreadRecord {
  HANDLE stopEvent;
  HANDLE requestEvent;
};

bool PlayFileOnce(const wchar_t* path) {
  if (EventSoundPlayer player = g_player.load()) return player(path);
  return PlaySoundFile(path, 1, true);
}

bool IsSoundOn() { return GetSettings().soundOnEvents != 0; }

// A failed reset would make the thread spin on a set event: retry until it
// works or the program ends.
void ResetRequest(const SoundThreadRecord& record) {
  while (!ResetEvent(record.requestEvent)) {
    if (WaitForSingleObject(record.stopEvent, kResetRetryMs) != WAIT_TIMEOUT) return;
  }
}

void PlayIndex(const std::vector<std::wstring>& table, LONG index) {
  if (index < 0 || index >= kEventSoundCount) {
    LogError(L"Invalid sound type");
    return;
  }
  const std::wstring& path = table[index];
  // An asynchronous play reports success before it opened the file, and
  // plays the system's default sound for a missing one: look first.
  if (!IsFileExist(path)) {
    LogError(L"Sound file not found: " + path);
    return;
  }
  PlayFileOnce(path.c_str());
}

DWORD WINAPI SoundThread(void* param) {
  std::unique_ptr<SoundThreadRecord> record(static_cast<SoundThreadRecord*>(param));
  std::wstring folder = g_folder.empty() ? GetAppFolderWithSlash() : g_folder;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> table;
  for (const wchar_t* name : kSoundFiles) table.push_back(folder + name);

  HANDLE handles[2] = {record->stopEvent, record->requestEvent};
  for (;;) {
    DWORD r = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED_0) break;
    if (r == WAIT_OBJECT_0 + 1) {
      // Read, play, then reset. A request that comes in meanwhile leaves its
      // index behind, which is taken before the thread waits again; one whose
      // index was already taken only wakes the thread with nothing to do.
      do {
        LONG index = g_requested.exchange(kNoRequest);
        if (index != kNoRequest && IsSoundOn()) PlayIndex(table, index);
        ResetRequest(*record);
      } while (g_requested.load() != kNoRequest);
    } else {
      LogError(L"default on switch");
      ResetRequest(*record);
      // A wait that fails at once would otherwise spin.
      if (WaitForSingleObject(record->stopEvent, kResetRetryMs) != WAIT_TIMEOUT) break;
    }
  }
  return 0;
}

}  // namespace

std::wstring GetEventSoundFileName(int index) {
  return index >= 0 && index < kEventSoundCount ? kSoundFiles[index] : L"";
}

bool StartSoundThread(HANDLE stopEvent) {
  if (!g_requestEvent.load()) {
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!created) return false;
    HANDLE expected = nullptr;
    // The request event lives as long as the process.
    if (!g_requestEvent.compare_exchange_strong(expected, created)) CloseHandle(created);
  }
  auto* record = new SoundThreadRecord{stopEvent, g_requestEvent.load()};
  HANDLE thread = CreateThread(nullptr, 0, SoundThread, record, CREATE_SUSPENDED, nullptr);
  if (!thread) {
    delete record;
    return false;
  }
  SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
  ResumeThread(thread);
  CloseHandle(thread);
  return true;
}

bool RequestSound(int index) {
  g_requested.exchange(index);
  if (HANDLE event = g_requestEvent.load()) SetEvent(event);
  return true;
}

bool PlayKbdSound() { return RequestSound(kSoundKbd); }
bool PlayLaunchSound() { return RequestSound(kSoundLaunch); }
bool PlayPaperSound() { return RequestSound(kSoundPaper); }
bool PlayMenuSound() { return RequestSound(kSoundMenu); }
bool PlayAlreadyWorkSound() { return RequestSound(kSoundAlreadyWork); }

bool PlayStartSound() {
  bool member = false;
  bool admin = IsCurrentUserAdmin(member) && member;
  return RequestSound(admin ? kSoundStartAsAdmin : kSoundStart);
}

bool PlayNotificationIfSoundOn() {
  if (!IsSoundOn()) return false;
  return PlayNotificationSound(true);
}

bool BeepIfSoundOn() {
  if (!IsSoundOn()) return false;
  StopSound();
  MessageBeep(0xFFFFFFFF);
  return true;
}

void SetEventSoundFolder(const std::wstring& folder) { g_folder = folder; }
void SetEventSoundPlayer(EventSoundPlayer player) { g_player = player; }
