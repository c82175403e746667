// The one place of the program that learns that the clipboard changed: a
// hidden child window that joins the system's clipboard notification (the
// format listener, or the older viewer chain), checks once a second that
// notifications still arrive and joins again when they do not, and tells
// its observers about each change on the UI thread.
#pragma once
#include <windows.h>

#include <cstdint>
#include <map>

#include "foundation/system/win_event_hook.h"
#include "platform/atl/message_loop.h"

// What an observer learns about one change.
struct ClipboardChangeInfo {
  HWND owner;  // GetClipboardOwner at the time of delivery
};

class IClipboardSpyObserver {
 public:
  virtual void OnClipboardChanged(const ClipboardChangeInfo& info, std::uint32_t cookie) = 0;
  // The watcher ended up not installed after a repair.
  virtual void _OnClipboardSpyStateChanged(std::uint32_t cookie) = 0;

 protected:
  ~IClipboardSpyObserver() = default;
};

// Methods of joining; -1 (as a state) means not installed.
constexpr int kSpyMethodNone = -1;
constexpr int kSpyMethodViewerChain = 0;
constexpr int kSpyMethodListener = 1;

class CClipboardSpy : public IWinEventSubscriber, public CIdleHandler {
 public:
  static CClipboardSpy& GetInstance();
  static bool Exists();
  virtual ~CClipboardSpy() = default;

  // False when already installed; else whether a method is in use after.
  bool Install(int method, HINSTANCE instance, HWND parent);
  bool Uninstall();
  bool IsInstalled() const { return m_method != kSpyMethodNone; }
  int GetMethod() const { return m_method; }
  bool IsViewerChain() const { return m_method == kSpyMethodViewerChain; }
  HWND GetWindow() const { return m_hWnd; }
  HWND GetNextViewer() const { return m_nextViewer; }

  void AddObserver(IClipboardSpyObserver* observer, std::uint32_t cookie);
  void ClearObservers() { m_observers.clear(); }

  BOOL OnIdle() override { return FALSE; }
  void OnWinEvent(const WinEventRecord& record, LONG_PTR userValue) override;

  // The watchdog's check, which timer 101 runs every second.
  void OnWatchdog();

  // Test seams: the next count notifications from the system are dropped
  // as if lost; while failJoins is set every join fails.
  struct TestSeams {
    int dropNotifications = 0;
    bool failJoins = false;
  };
  static TestSeams& GetTestSeams();

 private:
  CClipboardSpy();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);
  bool Join();
  void Leave();
  void Deliver(WPARAM what);
  void PostNotify(WPARAM what);
  bool TakeDroppedNotification();

  DWORD m_lastSequence = 0;
  bool m_reinstalling = false;
  HWND m_nextViewer = nullptr;
  bool m_useListener = false;
  HWND m_hWnd = nullptr;
  std::map<IClipboardSpyObserver*, std::uint32_t> m_observers;
  int m_method = kSpyMethodNone;
  UINT m_notifyMessage = 0;
};

// The watcher's idle handler, or null when there is no watcher.
CIdleHandler* GetClipboardSpyIdleHandler();
// The window of the last focus or foreground event the watcher saw.
HWND GetClipboardSpyLastFocus();
UINT GetClipboardSpyTimerInterval();
