#include "foundation/system/win_event_hook.h"

#include <algorithm>

namespace {

DWORD g_rangeFirst = EVENT_MIN;
DWORD g_rangeSecond = EVENT_MAX;

void CALLBACK CommonEventProc(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG objectId, LONG childId,
                              DWORD threadId, DWORD time) {
  CWinEventHook::GetInstance().Dispatch(event, hwnd, objectId, childId, threadId, time);
}

}  // namespace

CWinEventHook& CWinEventHook::GetInstance() {
  // Never destroyed: a late callback must still find it.
  static CWinEventHook* instance = new CWinEventHook;
  return *instance;
}

bool CWinEventHook::Subscribe(IWinEventSubscriber* subscriber, LONG_PTR userValue, DWORD eventId) {
  for (Subscription& s : m_subscriptions) {
    if (s.subscriber == subscriber) return s.events.insert(eventId).second;
  }
  m_subscriptions.push_back({subscriber, userValue, {eventId}});
  if (!m_hook) Install();
  return true;
}

bool CWinEventHook::Unsubscribe(IWinEventSubscriber* subscriber) {
  auto it = std::find_if(m_subscriptions.begin(), m_subscriptions.end(),
                         [&](const Subscription& s) { return s.subscriber == subscriber; });
  if (it == m_subscriptions.end()) return false;
  m_subscriptions.erase(it);
  if (m_subscriptions.empty() && m_hook) Remove();
  return true;
}

void CWinEventHook::Dispatch(DWORD event, HWND hwnd, LONG objectId, LONG childId, DWORD threadId,
                             DWORD time) {
  WinEventRecord record = {event, hwnd, threadId, objectId, childId, time};
  // By index over a copy of the targets: a subscriber may unsubscribe
  // itself or another one while it is called.
  std::vector<std::pair<IWinEventSubscriber*, LONG_PTR>> targets;
  for (const Subscription& s : m_subscriptions) {
    if (s.events.count(event)) targets.emplace_back(s.subscriber, s.userValue);
  }
  for (const auto& t : targets) {
    bool still = std::any_of(m_subscriptions.begin(), m_subscriptions.end(),
                             [&](const Subscription& s) { return s.subscriber == t.first; });
    if (still) t.first->OnWinEvent(record, t.second);
  }
}

bool CWinEventHook::Install() {
  if (m_hook) return false;
  m_hook = ::SetWinEventHook(std::min(g_rangeFirst, g_rangeSecond),
                             std::max(g_rangeFirst, g_rangeSecond), nullptr, CommonEventProc, 0, 0,
                             WINEVENT_OUTOFCONTEXT);
  return m_hook != nullptr;
}

bool CWinEventHook::Remove() {
  if (!m_hook) return false;
  if (!::UnhookWinEvent(m_hook)) return false;
  m_hook = nullptr;
  return true;
}

void SetWinEventRange(DWORD first, DWORD second) {
  g_rangeFirst = first;
  g_rangeSecond = second;
  CWinEventHook& hook = CWinEventHook::GetInstance();
  if (hook.IsInstalled()) {
    hook.Remove();
    hook.Install();
  }
}
