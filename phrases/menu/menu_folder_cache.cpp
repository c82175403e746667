#include "phrases/menu/menu_folder_cache.h"

#include <cstring>

#include "phrases/menu/menu_item_data.h"
#include "phrases/menu/menu_pool.h"

void CMenuKey::Mix(std::uint64_t word) {
  m_a = (m_a ^ word) * 1099511628211ull;
  m_b = (m_b ^ word) * 0x9e3779b97f4a7c15ull;
  m_b ^= m_b >> 29;  // the high bits reach the low ones too
}

void CMenuKey::Add(const void* bytes, size_t size) {
  // Eight bytes a step: a menu's key goes over every phrase text.
  const unsigned char* p = static_cast<const unsigned char*>(bytes);
  for (; size >= 8; p += 8, size -= 8) {
    std::uint64_t word;
    memcpy(&word, p, 8);
    Mix(word);
  }
  for (; size > 0; ++p, --size) Mix(*p);
}

void CMenuKey::Add(const wchar_t* text, size_t length) {
  // The length first: "ab"+"c" and "a"+"bc" differ.
  Add(static_cast<std::uint64_t>(length));
  Add(static_cast<const void*>(text), length * sizeof(wchar_t));
}

CFolderMenuCache::~CFolderMenuCache() { Clear(nullptr); }

HMENU CFolderMenuCache::Take(const CMenuKey& key) {
  for (Entry& entry : m_entries)
    if (!entry.used && entry.key == key) {
      entry.used = true;
      return entry.popup;
    }
  return nullptr;
}

void CFolderMenuCache::Keep(const CMenuKey& key, HMENU popup) { m_entries.push_back({key, popup, true}); }

bool CFolderMenuCache::IsKept(HMENU popup) const {
  for (const Entry& entry : m_entries)
    if (entry.popup == popup) return true;
  return false;
}

void CFolderMenuCache::EndBuild(CPopupMenuPool* pool) {
  size_t kept = 0;
  for (Entry& entry : m_entries) {
    if (entry.used) {
      entry.used = false;
      m_entries[kept++] = entry;
      continue;
    }
    FreeMenuItemData(entry.popup);
    GivePopupMenu(pool, entry.popup);
  }
  m_entries.resize(kept);
}

void CFolderMenuCache::DetachFrom(HMENU menu) const {
  if (m_entries.empty()) return;
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    HMENU sub = GetSubMenu(menu, i);
    if (!sub || !IsKept(sub)) continue;
    delete GetMenuItemDataByPos(menu, i);
    RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
  }
}

void CFolderMenuCache::Clear(CPopupMenuPool* pool) {
  for (Entry& entry : m_entries) entry.used = false;
  EndBuild(pool);
}
