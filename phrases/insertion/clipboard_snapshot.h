// A copy of everything on the clipboard, and the keeper that puts the user's
// clipboard back when a phrase request ends without inserting anything.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CClipboardSnapshot {
 public:
  // How an entry's bytes turn back into clipboard data.
  enum class Storage {
    kGlobal,         // the bytes of a global memory block
    kEnhMetaBits,    // GetEnhMetaFileBits of a CF_ENHMETAFILE handle
    kMetaPictBits,   // a METAFILEPICT header followed by GetMetaFileBitsEx bits
  };
  struct Entry {
    UINT format = 0;
    std::wstring name;  // registered name of a format above 14, else empty
    Storage storage = Storage::kGlobal;
    std::vector<BYTE> data;
  };

  CClipboardSnapshot();  // takes a snapshot at once
  virtual ~CClipboardSnapshot() = default;
  CClipboardSnapshot(const CClipboardSnapshot&) = delete;
  CClipboardSnapshot& operator=(const CClipboardSnapshot&) = delete;

  // False (and the previous entries kept) when the clipboard cannot be opened.
  bool Save();
  // False with no entries (the clipboard is left alone) or when the clipboard
  // cannot be opened.
  bool Restore();

  const std::vector<Entry>& Entries() const { return m_entries; }

 private:
  std::vector<Entry> m_entries;  // in EnumClipboardFormats order
};

// Armed while a phrase request runs: Save arms it; RestoreIfArmed and Disarm
// end the request. Only a keeper that is still armed when it goes away (the
// program ends in the middle of a request) restores on destruction, so an old
// snapshot never lands on a clipboard the user has changed since.
class CClipboardKeeper : public CClipboardSnapshot {
 public:
  explicit CClipboardKeeper(int takeNow = 0);
  ~CClipboardKeeper() override;

  // Arms the keeper and takes a new snapshot; returns the number of entries.
  int Save();
  // Restores and disarms when armed; false when it was not armed.
  bool RestoreIfArmed();
  bool IsArmed() const { return m_armed; }
  void Disarm() { m_armed = false; }

 private:
  bool m_armed = false;
};
