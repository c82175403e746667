#include "platform/atl/message_loop.h"

#include <algorithm>

template <class T>
BOOL CMessageLoop::List<T>::Add(T* p) {
  items.push_back(p);
  return TRUE;
}

template <class T>
BOOL CMessageLoop::List<T>::Remove(T* p) {
  auto it = std::find(items.begin(), items.end(), p);
  if (it == items.end() || p == nullptr) return FALSE;
  if (walking) {
    *it = nullptr;
  } else {
    items.erase(it);
  }
  return TRUE;
}

template <class T>
void CMessageLoop::List<T>::Compact() {
  if (walking) return;
  items.erase(std::remove(items.begin(), items.end(), nullptr), items.end());
}

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* filter) { return m_filters.Add(filter); }
BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) { return m_filters.Remove(filter); }
BOOL CMessageLoop::AddIdleHandler(CIdleHandler* handler) { return m_idle.Add(handler); }
BOOL CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) { return m_idle.Remove(handler); }

BOOL CMessageLoop::IsIdleMessage(const MSG* pMsg) {
  switch (pMsg->message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case 0x0118:  // WM_SYSTIMER: the caret blink
      return FALSE;
  }
  return TRUE;
}

BOOL CMessageLoop::PreTranslateMessage(MSG* pMsg) {
  BOOL eaten = FALSE;
  ++m_filters.walking;
  // Newest first: a window registered later (a dialog over the main
  // window) sees its keys before the older ones.
  for (size_t i = m_filters.items.size(); i-- > 0 && !eaten;) {
    CMessageFilter* f = m_filters.items[i];
    if (f && f->PreTranslateMessage(pMsg)) eaten = TRUE;
  }
  --m_filters.walking;
  m_filters.Compact();
  return eaten;
}

BOOL CMessageLoop::OnIdle(int) {
  ++m_idle.walking;
  for (size_t i = 0; i < m_idle.items.size(); ++i) {
    CIdleHandler* h = m_idle.items[i];
    if (h) h->OnIdle();
  }
  --m_idle.walking;
  m_idle.Compact();
  return FALSE;
}

int CMessageLoop::Run() {
  BOOL doIdle = TRUE;
  int idleCount = 0;
  for (;;) {
    while (doIdle && !::PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) doIdle = FALSE;
    }
    BOOL ret = ::GetMessageW(&m_msg, nullptr, 0, 0);
    if (ret == -1) continue;
    if (!ret) break;
    if (!PreTranslateMessage(&m_msg)) {
      ::TranslateMessage(&m_msg);
      ::DispatchMessageW(&m_msg);
    }
    if (IsIdleMessage(&m_msg)) {
      doIdle = TRUE;
      idleCount = 0;
    }
  }
  return static_cast<int>(m_msg.wParam);
}
