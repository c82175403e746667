// CMenu: a menu handle with the calls the command-state code makes.
// FromHandle gives a temporary wrapper that lives until the next idle pass.
#pragma once
#include <windows.h>

class CMenu {
 public:
  CMenu() = default;
  ~CMenu();  // destroys an attached menu
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  HMENU m_hMenu = nullptr;
  HMENU GetSafeHmenu() const { return m_hMenu; }
  operator HMENU() const { return m_hMenu; }

  static CMenu* FromHandle(HMENU hMenu);  // null for a null handle
  static void DeleteTempMap();
  BOOL Attach(HMENU hMenu);
  HMENU Detach();
  BOOL DestroyMenu();
  BOOL CreatePopupMenu();
  BOOL LoadMenu(UINT nIDResource);

  int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
  UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
  UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
  CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
  }
  UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
  }
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr) {
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
  }
  BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr) {
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
  }

 private:
  bool m_bTemporary = false;
  friend class CMenuTempMap;
};
