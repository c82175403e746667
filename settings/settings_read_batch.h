// The settings files read section by section for the length of one load.
//
// The profile functions open and parse the whole file at every call, and a
// load asks some fifty keys of two files. While a batch lives on a thread,
// the readers of settings_files.h on that thread answer from sections read
// once each (at their first use) with GetPrivateProfileSectionW, by the rules
// the profile functions apply to a single key. Nothing outlives the batch:
// the next load reads the files again, so changes other programs make
// between loads are seen as before.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// One section of one file as the profile functions hand it out.
class CIniSectionView {
 public:
  // entries: the section's lines as GetPrivateProfileSectionW returns them;
  // complete: false when they are not the whole section.
  CIniSectionView(std::vector<std::wstring> entries, bool complete);

  // False when the section was not read whole or names a key in characters
  // whose case the profile functions may fold otherwise than here: ask them
  // instead.
  bool IsCertain() const { return m_certain; }
  // An entry named exactly key (case and all).
  bool HasKeyExactly(const wchar_t* key) const;
  // As GetPrivateProfileStringW(section, key, L"", buffer, chars, file).
  std::wstring String(const wchar_t* key, size_t chars) const;
  // As GetPrivateProfileIntW(section, key, def, file).
  int Int(const wchar_t* key, int def) const;

 private:
  struct Entry {
    std::wstring name;
    std::wstring value;
    bool hasValue = false;  // a line without "=" reads as empty
  };
  std::vector<Entry> m_entries;
  bool m_certain = true;
};

class CSettingsReadBatch {
 public:
  // Answers the readers on this thread until destroyed; a batch made while
  // another is active leaves that one in charge.
  CSettingsReadBatch();
  ~CSettingsReadBatch();
  CSettingsReadBatch(const CSettingsReadBatch&) = delete;
  CSettingsReadBatch& operator=(const CSettingsReadBatch&) = delete;

  // The batch active on this thread, or null.
  static CSettingsReadBatch* Current();

  const std::wstring& ProgramFile() const { return m_programFile; }
  const std::wstring& UserFile() const { return m_userFile; }
  // The section of path (one of the two files) read at its first use; null
  // when it cannot be answered from memory (another file, a name outside
  // plain ASCII, a section too long to read whole).
  const CIniSectionView* Section(const std::wstring& path, const wchar_t* section, const wchar_t* key);

 private:
  bool m_active = false;
  std::wstring m_programFile;
  std::wstring m_userFile;
  std::map<std::pair<std::wstring, std::wstring>, std::unique_ptr<CIniSectionView>> m_sections;
};

