#include "foundation/system/listeners.h"

#include <vector>

// Both registries notify over a snapshot taken before the walk, so a listener
// may remove itself (or another) while it is being notified; one removed by an
// earlier listener of the same walk is not called any more.

void CAppEventListeners::Add(IAppEventListener* listener) {
  if (listener) m_listeners.insert(listener);
}

void CAppEventListeners::Remove(IAppEventListener* listener) { m_listeners.erase(listener); }

void CAppEventListeners::Notify(const void* sender, int code, int param) {
  std::vector<IAppEventListener*> snapshot(m_listeners.begin(), m_listeners.end());
  for (IAppEventListener* l : snapshot) {
    if (sender && static_cast<const void*>(l) == sender) continue;
    if (!m_listeners.count(l)) continue;
    l->OnAppEvent(code, param);
  }
}

bool CObserverList::Add(IObserver* observer) {
  if (!observer || m_observers.count(observer)) return false;
  m_observers.insert(observer);
  return m_observers.count(observer) != 0;
}

bool CObserverList::Remove(IObserver* observer) { return m_observers.erase(observer) != 0; }

int CObserverList::Notify(const void* sender, int a, int b) {
  std::vector<IObserver*> snapshot(m_observers.begin(), m_observers.end());
  int called = 0;
  for (IObserver* o : snapshot) {
    if (static_cast<const void*>(o) == sender) continue;
    if (!m_observers.count(o)) continue;
    o->OnObserverNotify(a, b);
    ++called;
  }
  return called;
}

CAppEventListeners& GetAppEventListeners() {
  static CAppEventListeners instance;
  return instance;
}

CObserverList& GetObserverList() {
  static CObserverList instance;
  return instance;
}

void AddAppEventListener(IAppEventListener* listener) { GetAppEventListeners().Add(listener); }
void RemoveAppEventListener(IAppEventListener* listener) {
  GetAppEventListeners().Remove(listener);
}
void NotifyAppEventListeners(const void* sender, int code, int param) {
  GetAppEventListeners().Notify(sender, code, param);
}

bool AddObserver(IObserver* observer) { return GetObserverList().Add(observer); }
bool RemoveObserver(IObserver* observer) { return GetObserverList().Remove(observer); }
int NotifyObservers(const void* sender, int a, int b) {
  return GetObserverList().Notify(sender, a, b);
}
