// Empty popup menus kept for the next phrase menu. Making and destroying a
// menu asks the window server each time, which with a hundred folders costs
// more than filling them; a menu emptied of its items is as good as new.
#pragma once
#include <windows.h>

#include <vector>

class CPopupMenuPool {
 public:
  CPopupMenuPool() = default;
  ~CPopupMenuPool();
  CPopupMenuPool(const CPopupMenuPool&) = delete;
  CPopupMenuPool& operator=(const CPopupMenuPool&) = delete;

  // A kept empty popup menu, or a new one (null when none can be made).
  HMENU Take();
  // Takes back a menu and every submenu below it, emptied; the item records
  // must be freed already. Beyond the limit the menus are destroyed.
  void Give(HMENU menu);
  size_t KeptCount() const { return m_free.size(); }

  static constexpr size_t kMaxKept = 1000;

 private:
  std::vector<HMENU> m_free;
};

// A menu from the pool, or a new one when there is no pool.
HMENU TakePopupMenu(CPopupMenuPool* pool);
// Back to the pool, or destroyed when there is none.
void GivePopupMenu(CPopupMenuPool* pool, HMENU menu);
