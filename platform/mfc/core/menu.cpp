#include "platform/mfc/core/menu.h"

#include <memory>
#include <unordered_map>

#include "foundation/log.h"

class CMenuTempMap {
 public:
  static std::unordered_map<HMENU, std::unique_ptr<CMenu>>& Map() {
    thread_local std::unordered_map<HMENU, std::unique_ptr<CMenu>> map;
    return map;
  }
};

CMenu::~CMenu() {
  if (!m_bTemporary) DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
  if (!hMenu) return nullptr;
  auto& map = CMenuTempMap::Map();
  auto it = map.find(hMenu);
  if (it != map.end()) return it->second.get();
  auto menu = std::make_unique<CMenu>();
  menu->m_hMenu = hMenu;
  menu->m_bTemporary = true;
  CMenu* result = menu.get();
  map.emplace(hMenu, std::move(menu));
  return result;
}

void CMenu::DeleteTempMap() { CMenuTempMap::Map().clear(); }

BOOL CMenu::Attach(HMENU hMenu) {
  if (!hMenu || m_hMenu) return FALSE;
  m_hMenu = hMenu;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU h = m_hMenu;
  m_hMenu = nullptr;
  return h;
}

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  BOOL ok = ::DestroyMenu(Detach());
  return ok;
}

BOOL CMenu::CreatePopupMenu() {
  DestroyMenu();
  m_hMenu = ::CreatePopupMenu();
  if (!m_hMenu) LogError(L"CreatePopupMenu failed " + std::to_wstring(::GetLastError()));
  return m_hMenu != nullptr;
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
  DestroyMenu();
  m_hMenu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nIDResource));
  if (!m_hMenu)
    LogError(L"LoadMenu " + std::to_wstring(nIDResource) + L" failed " + std::to_wstring(::GetLastError()));
  return m_hMenu != nullptr;
}
