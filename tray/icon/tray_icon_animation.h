// Turning tray icon: a worker thread replaces the notification-area icon
// every interval by the next of four frames, each the previous one turned
// by 90 degrees, until stopped. CTrayWindowIconAnimation also gives every
// frame to a window as its big and small icon.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <atomic>

#include "foundation/system/handles.h"

struct TrayIconAnimationRecord {
  HWND window = nullptr;  // owner of the tray icon
  UINT iconId = 0;
  DWORD intervalMs = 250;
  HICON baseIcon = nullptr;  // not owned; copied into the frames at start
  LPARAM param = 0;          // handed to OnFrame
};

class CTrayIconAnimation {
 public:
  CTrayIconAnimation();
  virtual ~CTrayIconAnimation();
  CTrayIconAnimation(const CTrayIconAnimation&) = delete;
  CTrayIconAnimation& operator=(const CTrayIconAnimation&) = delete;

  // False when already running, or when the frames or the thread cannot be
  // made.
  bool Start(const TrayIconAnimationRecord& record);
  // False when not running. Puts the window's saved icons back.
  bool Stop();
  bool IsRunning() const { return m_frames.load() != nullptr; }

  int GetFrameCount() const { return m_frameCount; }

 protected:
  // Called on the worker thread with each frame the shell accepted. The
  // icon stays valid until the frame after next has been shown.
  virtual void OnFrame(HICON icon, LPARAM param) {
    (void)icon;
    (void)param;
  }

 private:
  static DWORD WINAPI ThreadProc(void* self);
  void Run(HIMAGELIST frames);
  // One frame; false once the animation no longer runs on these frames.
  bool Step(HIMAGELIST frames, HICON* previous, HICON* current);
  void WaitForWorker();

  int m_frameCount = 0;
  HICON m_savedSmall = nullptr;
  HICON m_savedBig = nullptr;
  int m_frameIndex = 0;
  // The running animation's frames; null while stopped. The worker owns
  // the list it was started with and frees it when it ends.
  std::atomic<HIMAGELIST> m_frames{nullptr};
  HIMAGELIST m_workerFrames = nullptr;  // the list the worker was started with
  TrayIconAnimationRecord m_record;
  UniqueHandle m_wakeEvent;
  UniqueHandle m_thread;
};

class CTrayWindowIconAnimation : public CTrayIconAnimation {
 protected:
  // param is the window that gets each frame as its big and small icon.
  void OnFrame(HICON icon, LPARAM param) override;
};
