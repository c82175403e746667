#include "phrases/menu/menu_pool.h"

#include "foundation/logging/log.h"
#include "foundation/text/text_basics.h"

namespace {

HMENU NewPopupMenu() {
  HMENU menu = CreatePopupMenu();
  if (!menu) LogError(L"CreatePopupMenu error=" + IntToStr(static_cast<int>(GetLastError())));
  return menu;
}

}  // namespace

CPopupMenuPool::~CPopupMenuPool() {
  for (HMENU menu : m_free) DestroyMenu(menu);
}

HMENU CPopupMenuPool::Take() {
  // A kept handle can have been destroyed behind the pool's back.
  while (!m_free.empty()) {
    HMENU menu = m_free.back();
    m_free.pop_back();
    if (IsMenu(menu) && GetMenuItemCount(menu) == 0) return menu;
  }
  return NewPopupMenu();
}

void CPopupMenuPool::Give(HMENU menu) {
  if (!menu || !IsMenu(menu)) return;
  // From the end: removing an item moves the ones after it.
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    HMENU sub = GetSubMenu(menu, i);
    // RemoveMenu leaves the submenu alive, so it can be kept as well.
    RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
    if (sub) Give(sub);
  }
  if (GetMenuItemCount(menu) != 0 || m_free.size() >= kMaxKept) {
    DestroyMenu(menu);
    return;
  }
  m_free.push_back(menu);
}

HMENU TakePopupMenu(CPopupMenuPool* pool) {
  return pool ? pool->Take() : NewPopupMenu();
}

void GivePopupMenu(CPopupMenuPool* pool, HMENU menu) {
  if (pool)
    pool->Give(menu);
  else if (menu)
    DestroyMenu(menu);
}
