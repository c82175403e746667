#include "platform/mfc/core/menu.h"

#include <memory>
#include <unordered_map>

#include "foundation/logging/log.h"
#include "platform/mfc/window/wnd.h"

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

int CMenu::GetMenuString(UINT nIDItem, LPWSTR lpString, int nMaxCount, UINT nFlags) const {
  if (lpString && nMaxCount > 0) lpString[0] = L'\0';
  return ::GetMenuStringW(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  rString.Empty();
  // The length first (without terminator), then the text.
  int length = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
  if (length <= 0) return 0;
  wchar_t* buffer = rString.GetBuffer(length + 1);
  int got = ::GetMenuStringW(m_hMenu, nIDItem, buffer, length + 1, nFlags);
  rString.ReleaseBuffer(got > 0 ? got : 0);
  return rString.GetLength();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  HWND owner = pWnd ? pWnd->GetSafeHwnd() : nullptr;
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, owner, lpRect);
}
