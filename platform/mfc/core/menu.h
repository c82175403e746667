// CMenu: a menu handle with the calls the command-state code makes.
// FromHandle gives a temporary wrapper that lives until the next idle pass.
#pragma once
#include <windows.h>

#include "platform/mfc/core/string.h"

class CWnd;

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
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr) {
    return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
  }
  // DeleteMenu destroys a popup the item opens; RemoveMenu leaves it.
  BOOL DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
  BOOL RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
  int GetMenuString(UINT nIDItem, LPWSTR lpString, int nMaxCount, UINT nFlags) const;
  int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
  BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
  }
  BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }
  UINT GetDefaultItem(UINT gmdiFlags, BOOL fByPos = FALSE) const {
    return ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags);
  }
  BOOL SetMenuItemBitmaps(UINT nPosition, UINT nFlags, HBITMAP hBmpUnchecked, HBITMAP hBmpChecked) {
    return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, hBmpUnchecked, hBmpChecked);
  }
  // Bitmap wrappers: anything with GetSafeHandle() giving the bitmap.
  template <class Bitmap>
  BOOL SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const Bitmap* pUnchecked, const Bitmap* pChecked) {
    return SetMenuItemBitmaps(nPosition, nFlags, pUnchecked ? static_cast<HBITMAP>(pUnchecked->GetSafeHandle()) : nullptr,
                              pChecked ? static_cast<HBITMAP>(pChecked->GetSafeHandle()) : nullptr);
  }
  // The chosen command with TPM_RETURNCMD, else whether the menu ran.
  BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);

 private:
  bool m_bTemporary = false;
  friend class CMenuTempMap;
};
