// One section of a language file read once, the keys it lacks gathered in
// memory, and all of it written back in one profile write. Writing a whole
// template key by key costs seconds under the profile functions; a section
// at a time costs milliseconds.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CLngSectionBatch {
 public:
  // Reads the section's entries as the file holds them (the first section
  // of that name, whatever its length).
  CLngSectionBatch(const std::wstring& lngFile, const std::wstring& section);
  CLngSectionBatch(const CLngSectionBatch&) = delete;
  CLngSectionBatch& operator=(const CLngSectionBatch&) = delete;

  // Keys compare without regard to case, as the profile functions do.
  bool Has(const std::wstring& key) const;
  // Queues key=value unless the section or the queue holds the key already;
  // false when it was not queued.
  bool AddMissing(const std::wstring& key, const std::wstring& value);
  // Writes the section with its old entries first and the queued ones
  // behind them; nothing is written when nothing was queued. The number of
  // keys added, or -1 when the write failed.
  int Flush();
  size_t PendingCount() const { return m_added.size(); }

 private:
  bool HasTwin() const;
  bool WriteKeyByKey();

  std::wstring m_file;
  std::wstring m_section;
  std::vector<std::wstring> m_entries;  // "key=value" lines, old then new
  std::vector<std::wstring> m_keys;     // lower-case keys of every entry
  size_t m_oldCount = 0;
  bool m_complete = true;  // false: the section was too long to read whole
  std::vector<std::wstring> m_added;
};

// The whole section as the profile functions return it: "key=value" lines
// without their terminators. The buffer grows until the section fits;
// complete (when given) tells whether it did.
std::vector<std::wstring> ReadLngSection(const std::wstring& lngFile, const std::wstring& section,
                                         bool* complete = nullptr);
