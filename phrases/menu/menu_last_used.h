// The list of last-used phrases shown at the top of the phrase menu, newest
// first. Each id is kept with its phrase file, so that the list survives a
// reload of the phrase store, which numbers the phrases anew.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class CPhraseStore;

class CLastUsedList {
 public:
  // Puts id first, drops its older place, keeps at most maxCount ids (a
  // count outside 1..5 counts as 3). filePath is the phrase's file.
  void Add(std::uint32_t id, const std::wstring& filePath, int maxCount);
  // After a reload: every id becomes the id of the phrase now loaded from
  // its file; entries whose file is no longer loaded are dropped.
  void Remap(CPhraseStore& store);
  // Drops ids that are no longer in ids (the menu dropped stale ones).
  void KeepOnly(const std::vector<std::uint32_t>& ids);

  const std::vector<std::uint32_t>& Ids() const { return m_ids; }
  void Clear();

 private:
  std::vector<std::uint32_t> m_ids;
  std::vector<std::wstring> m_paths;
};

int ValidLastUsedCount(int count);
