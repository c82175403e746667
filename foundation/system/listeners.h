// Two process-wide registries through which windows of a program hear about
// events without knowing each other. Neither has a lock: registration,
// removal and notification all happen on the thread that owns the windows.
#pragma once
#include <set>

// Application events (session changes, reloaded settings).
class IAppEventListener {
 public:
  virtual ~IAppEventListener() = default;
  virtual void OnAppEvent(int code, int param) = 0;
};

// Notifications between the tray window, the clipboard handler and the pane.
class IObserver {
 public:
  virtual ~IObserver() = default;
  virtual void OnObserverNotify(int a, int b) = 0;
};

class CAppEventListeners {
 public:
  virtual ~CAppEventListeners() = default;
  void Add(IAppEventListener* listener);
  void Remove(IAppEventListener* listener);
  void Notify(const void* sender, int code, int param);
  bool Contains(IAppEventListener* listener) const { return m_listeners.count(listener) != 0; }

 private:
  std::set<IAppEventListener*> m_listeners;  // ordered by address
};

class CObserverList {
 public:
  virtual ~CObserverList() = default;
  bool Add(IObserver* observer);
  bool Remove(IObserver* observer);
  int Notify(const void* sender, int a, int b);

 private:
  std::set<IObserver*> m_observers;  // ordered by address
};

CAppEventListeners& GetAppEventListeners();
CObserverList& GetObserverList();

void AddAppEventListener(IAppEventListener* listener);
void RemoveAppEventListener(IAppEventListener* listener);
// The sender is skipped; a null sender skips nobody.
void NotifyAppEventListeners(const void* sender, int code, int param);

bool AddObserver(IObserver* observer);
bool RemoveObserver(IObserver* observer);
// Returns how many observers were called.
int NotifyObservers(const void* sender, int a, int b);
