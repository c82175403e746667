#include "foundation/ui/subclass.h"

#include <map>

namespace {

typedef std::map<HWND, CWindowSubclassHandler*> Registry;

// Created with the first entry, destroyed with the last one.
Registry* volatile g_registry = nullptr;

Registry* GetRegistry() { return g_registry; }

void PublishRegistry(Registry* r) {
  ::InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&g_registry), r);
}

CWindowSubclassHandler* Find(HWND hWnd) {
  Registry* r = GetRegistry();
  if (!r) return nullptr;
  auto it = r->find(hWnd);
  return it == r->end() ? nullptr : it->second;
}

void Erase(HWND hWnd) {
  Registry* r = GetRegistry();
  if (!r) return;
  auto it = r->find(hWnd);
  if (it == r->end()) return;
  delete it->second;
  r->erase(it);
  if (r->empty()) {
    PublishRegistry(nullptr);
    delete r;
  }
}

LRESULT CALLBACK CommonWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Restores the previous procedure when ours is on top; otherwise the entry
// becomes a pass-through until the window ends.
void Detach(CWindowSubclassHandler* entry) {
  HWND h = entry->m_hWnd;
  WNDPROC installed = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(h, GWLP_WNDPROC));
  if (installed == CommonWindowProc) {
    ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry->m_previous));
    Erase(h);
  } else {
    entry->m_callback = nullptr;
  }
}

LRESULT CALLBACK CommonWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CWindowSubclassHandler* entry = Find(hWnd);
  if (!entry) return ::DefWindowProcW(hWnd, msg, wParam, lParam);
  // Copies: the callback may end the subclassing or destroy the window.
  WNDPROC previous = entry->m_previous;
  SubclassCallback callback = entry->m_callback;
  BOOL passOn = TRUE;
  LRESULT result = 0;
  if (callback) result = callback(hWnd, msg, wParam, lParam, entry->m_userValue, &passOn, previous);
  if (msg == WM_DESTROY || msg == WM_NCDESTROY) {
    entry = Find(hWnd);
    if (entry && msg == WM_DESTROY && entry->m_callback) Detach(entry);
    LRESULT r = ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY && Find(hWnd)) Erase(hWnd);  // a pass-through ends here
    return r;
  }
  if (!passOn) return result;
  return ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
}

}  // namespace

bool SubclassWindowProc(HWND hWnd, SubclassCallback callback, LONG_PTR userValue) {
  if (!hWnd || !::IsWindow(hWnd) || !callback) return false;
  CWindowSubclassHandler* existing = Find(hWnd);
  if (existing) {
    if (existing->m_callback) return false;
    // A pass-through left in the chain takes the new callback in place.
    existing->m_callback = callback;
    existing->m_userValue = userValue;
    return true;
  }
  Registry* r = GetRegistry();
  if (!r) {
    r = new Registry;
    PublishRegistry(r);
  }
  auto* entry = new CWindowSubclassHandler(hWnd, callback, userValue);
  entry->m_previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
  (*r)[hWnd] = entry;
  WNDPROC previous = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CommonWindowProc)));
  if (!previous) {
    Erase(hWnd);
    return false;
  }
  entry->m_previous = previous;
  return true;
}

bool UnsubclassWindowProc(HWND hWnd) {
  CWindowSubclassHandler* entry = Find(hWnd);
  if (!entry || !entry->m_callback) return false;
  Detach(entry);
  return true;
}

bool IsWindowSubclassed(HWND hWnd) {
  if (!hWnd || !::IsWindow(hWnd)) return false;
  CWindowSubclassHandler* entry = Find(hWnd);
  return entry && entry->m_callback;
}
