// One system-wide WinEvent hook shared by every part of the program that
// follows the focus or the foreground window of other programs.
#pragma once
#include <windows.h>

#include <set>
#include <vector>

// What a subscriber receives for one event.
struct WinEventRecord {
  DWORD event;
  HWND hwnd;
  DWORD threadId;
  LONG objectId;
  LONG childId;
  DWORD time;
};

class IWinEventSubscriber {
 public:
  virtual void OnWinEvent(const WinEventRecord& record, LONG_PTR userValue) = 0;

 protected:
  ~IWinEventSubscriber() = default;
};

class CWinEventHook {
 public:
  static CWinEventHook& GetInstance();
  virtual ~CWinEventHook() = default;

  // A known subscriber gets the event id added to its set (false when it is
  // there already; the user value stays). A new one is appended, and the
  // hook is installed when it is not.
  bool Subscribe(IWinEventSubscriber* subscriber, LONG_PTR userValue, DWORD eventId);
  // Removes the subscriber with all its ids; the hook goes with the last one.
  bool Unsubscribe(IWinEventSubscriber* subscriber);
  bool IsInstalled() const { return m_hook != nullptr; }

  // Hands one event to every subscriber whose set holds it, in the order
  // of subscribing. The hook procedure calls this.
  void Dispatch(DWORD event, HWND hwnd, LONG objectId, LONG childId, DWORD threadId, DWORD time);

 private:
  friend void SetWinEventRange(DWORD first, DWORD second);
  CWinEventHook() = default;
  bool Install();
  bool Remove();

  struct Subscription {
    IWinEventSubscriber* subscriber;
    LONG_PTR userValue;
    std::set<DWORD> events;
  };
  HWINEVENTHOOK m_hook = nullptr;
  std::vector<Subscription> m_subscriptions;
};

// The range of event ids the hook asks for (initially EVENT_MIN..EVENT_MAX);
// an installed hook is put in again so that the range applies.
void SetWinEventRange(DWORD first, DWORD second);
