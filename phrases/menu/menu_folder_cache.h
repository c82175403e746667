// Folder submenus of the phrase menu kept from one opening to the next.
// Filling a hundred folders with owner-drawn items costs more than the rest
// of the road to the menu, and between two openings they seldom change. A
// kept submenu serves while its key is the same: the key sums up all that
// the submenu was built from (see CPhraseMenuBuilder), so any change in it
// makes the folder be built again.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CPopupMenuPool;

// Two 64-bit sums of different mixing over the same bytes.
class CMenuKey {
 public:
  void Add(const void* bytes, size_t size);
  void Add(std::uint64_t value) { Mix(value); }
  void Add(const wchar_t* text, size_t length);
  void Add(const std::wstring& text) { Add(text.data(), text.size()); }
  bool operator==(const CMenuKey& other) const { return m_a == other.m_a && m_b == other.m_b; }

 private:
  void Mix(std::uint64_t word);

  std::uint64_t m_a = 14695981039346656037ull;
  std::uint64_t m_b = 0x84222325cbf29ce4ull;
};

class CFolderMenuCache {
 public:
  CFolderMenuCache() = default;
  ~CFolderMenuCache();
  CFolderMenuCache(const CFolderMenuCache&) = delete;
  CFolderMenuCache& operator=(const CFolderMenuCache&) = delete;

  // The kept submenu of the key, or null. A submenu serves one place of one
  // menu: a second folder with the same key gets a new one.
  HMENU Take(const CMenuKey& key);
  // Keeps a submenu just built (with its item records) under its key.
  void Keep(const CMenuKey& key, HMENU popup);
  bool IsKept(HMENU popup) const;
  // After a build: the submenus it did not use are freed.
  void EndBuild(CPopupMenuPool* pool);
  // Takes the kept submenus out of the menu (freeing the records of the
  // items that held them), so that freeing or destroying the menu leaves
  // them whole.
  void DetachFrom(HMENU menu) const;
  void Clear(CPopupMenuPool* pool);
  size_t KeptCount() const { return m_entries.size(); }

 private:
  struct Entry {
    CMenuKey key;
    HMENU popup;
    bool used;
  };
  std::vector<Entry> m_entries;
};
