#include "platform/mfc/window/handle_map.h"

#include <mutex>
#include <unordered_map>

namespace {

std::mutex& MapLock() {
  static std::mutex lock;
  return lock;
}

std::unordered_map<HWND, CWnd*>& Map() {
  static std::unordered_map<HWND, CWnd*> map;
  return map;
}

}  // namespace

CWnd* AfxLookupPermanent(HWND hWnd) {
  if (!hWnd) return nullptr;
  std::lock_guard<std::mutex> guard(MapLock());
  auto it = Map().find(hWnd);
  return it == Map().end() ? nullptr : it->second;
}

bool AfxAddPermanent(HWND hWnd, CWnd* pWnd) {
  std::lock_guard<std::mutex> guard(MapLock());
  return Map().emplace(hWnd, pWnd).second;
}

void AfxRemovePermanent(HWND hWnd, CWnd* pWnd) {
  std::lock_guard<std::mutex> guard(MapLock());
  auto it = Map().find(hWnd);
  if (it != Map().end() && it->second == pWnd) Map().erase(it);
}
