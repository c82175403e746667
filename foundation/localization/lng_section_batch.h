// One section of a language file read once, the keys it lacks gathered in
// memory, and all of it written back in one profile write. Writing a whole
// template key by key costs seconds under the profile functions; a section
// at a time costs milliseconds.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "foundation/files/files.h"

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
  // Sets key=value as one profile write would: the first entry of the key
  // takes the value in its place, a missing key goes behind the others.
  // Nothing is queued when that entry holds exactly this value already.
  void Put(const std::wstring& key, const std::wstring& value);
  // Writes the section with its old entries first and the queued ones
  // behind them; nothing is written when nothing was queued. The number of
  // keys written, or -1 when the write failed or the file is past the size
  // the programs read.
  int Flush();
  size_t PendingCount() const { return m_pending.size(); }

 private:
  bool CanWriteWhole() const;
  bool WriteKeyByKey();
  void Queue(const std::wstring& key, const std::wstring& value);

  std::wstring m_file;
  std::wstring m_section;
  // The file as it was when the section was read: another program's write
  // since then would be lost by a rewrite of the whole section.
  FileStamp m_readStamp;
  std::vector<std::wstring> m_entries;  // "key=value" lines, old then new
  std::vector<std::wstring> m_keys;     // lower-case keys of every entry
  bool m_complete = true;  // false: the section was too long to read whole
  // Names whose case the profile functions may fold otherwise than we do
  // are written one at a time, by them.
  bool m_keyByKey = false;
  std::vector<std::pair<std::wstring, std::wstring>> m_pending;  // in order
};

// The values one localisation of a menu or a dialog writes into a section,
// written together when it ends (one profile write each costs milliseconds
// under Wine). The section is read only once something is put.
class CLngPendingWrites {
 public:
  CLngPendingWrites(const std::wstring& lngFile, const std::wstring& section)
      : m_file(lngFile), m_section(section) {}
  ~CLngPendingWrites() {
    if (m_batch) m_batch->Flush();
  }
  CLngPendingWrites(const CLngPendingWrites&) = delete;
  CLngPendingWrites& operator=(const CLngPendingWrites&) = delete;
  // Nothing is kept for an empty file name.
  void Put(const std::wstring& key, const std::wstring& value) {
    if (m_file.empty()) return;
    if (!m_batch) m_batch.reset(new CLngSectionBatch(m_file, m_section));
    m_batch->Put(key, value);
  }

 private:
  std::wstring m_file;
  std::wstring m_section;
  std::unique_ptr<CLngSectionBatch> m_batch;
};

// The whole section as the profile functions return it: "key=value" lines
// without their terminators. The buffer grows until the section fits;
// complete (when given) tells whether it did.
std::vector<std::wstring> ReadLngSection(const std::wstring& lngFile, const std::wstring& section,
                                         bool* complete = nullptr);
