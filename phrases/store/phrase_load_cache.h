// An optional record of what the phrase files held at the last load, so a
// load opens only the files that changed since. Opening a file is by far
// the slowest step of a load (tens of microseconds each, far more under
// Wine), while listing the folders is cheap and tells each file's size and
// times. An entry is used only when the file's path, size, creation and
// last-write time are all unchanged; a file written within the last two
// seconds before the record was made is never kept, so two changes within
// one tick of the file-system clock cannot hide each other.
#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>

#include "phrases/store/phrase_node.h"

// What the listing tells about a file.
struct PhraseFileStamp {
  unsigned long long size = 0;
  unsigned long long created = 0;
  unsigned long long written = 0;
  bool operator==(const PhraseFileStamp& o) const {
    return size == o.size && created == o.created && written == o.written;
  }
};

class PhraseLoadCache {
 public:
  explicit PhraseLoadCache(const std::wstring& cachePath) : m_path(cachePath) {}

  // Reads the record made for this root folder; a missing, damaged or
  // foreign record is simply empty.
  void Open(const std::wstring& rootFolder);
  // Fills record and read from the cache when the file is unchanged.
  bool Lookup(const std::wstring& path, const PhraseFileStamp& stamp, CPhraseNode* record,
              bool* read) const;
  // Remembers what a file gave for the next record.
  void Keep(const std::wstring& path, const PhraseFileStamp& stamp, const CPhraseNode& record,
            bool read);
  // Writes the new record (in the background) when it differs from the one
  // opened.
  bool Save();

  size_t Hits() const { return m_hits; }

 private:
  std::wstring m_path;
  std::wstring m_root;
  std::unordered_map<std::wstring, std::string> m_old;  // path -> stamp + fields, as stored
  std::string m_new;
  size_t m_newCount = 0;
  mutable size_t m_hits = 0;
  bool m_changed = false;
};
