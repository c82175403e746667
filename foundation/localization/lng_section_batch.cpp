#include "foundation/localization/lng_section_batch.h"

#include <algorithm>
#include <cwctype>

#include "foundation/files/ini.h"
#include "foundation/localization/language_files.h"

namespace {

constexpr DWORD kFirstSectionChars = 32 * 1024;
constexpr DWORD kMostSectionChars = 8 * 1024 * 1024;
constexpr wchar_t kAbsentMarker[] = L"{3F9A6C21-5D7E-4B08-A1C4-7E2B90D5F613}";

std::wstring LowerKey(const std::wstring& entry) {
  std::wstring key = entry.substr(0, entry.find(L'='));
  // Blanks around the key do not count, as for the profile functions.
  size_t first = key.find_first_not_of(L" \t");
  size_t last = key.find_last_not_of(L" \t");
  key = first == std::wstring::npos ? std::wstring() : key.substr(first, last - first + 1);
  std::transform(key.begin(), key.end(), key.begin(), [](wchar_t c) { return towlower(c); });
  return key;
}

}  // namespace

std::vector<std::wstring> ReadLngSection(const std::wstring& lngFile, const std::wstring& section,
                                         bool* complete) {
  std::vector<std::wstring> entries;
  if (complete) *complete = true;
  if (lngFile.empty() || !IsProfileFileWithin(lngFile.c_str(), kMaxLngFileBytes)) return entries;
  for (DWORD size = kFirstSectionChars; size <= kMostSectionChars; size *= 4) {
    std::wstring buf(size, L'\0');
    DWORD n = GetPrivateProfileSectionW(section.c_str(), &buf[0], size, lngFile.c_str());
    // size - 2 means the section was cut to fit.
    if (n + 2 >= size) continue;
    for (size_t pos = 0; pos < n;) {
      size_t end = buf.find(L'\0', pos);
      if (end == std::wstring::npos || end > n) end = n;
      if (end > pos) entries.push_back(buf.substr(pos, end - pos));
      pos = end + 1;
    }
    return entries;
  }
  if (complete) *complete = false;
  return entries;
}

CLngSectionBatch::CLngSectionBatch(const std::wstring& lngFile, const std::wstring& section)
    : m_file(lngFile), m_section(section), m_entries(ReadLngSection(lngFile, section, &m_complete)) {
  m_oldCount = m_entries.size();
  for (const std::wstring& entry : m_entries) m_keys.push_back(LowerKey(entry));
}

bool CLngSectionBatch::Has(const std::wstring& key) const {
  const std::wstring lower = LowerKey(key);
  if (std::find(m_keys.begin(), m_keys.end(), lower) != m_keys.end()) return true;
  if (m_complete) return false;
  std::wstring value;
  ReadLngValue(m_file, m_section, key, kAbsentMarker, 64, &value);
  return value != kAbsentMarker;
}

bool CLngSectionBatch::AddMissing(const std::wstring& key, const std::wstring& value) {
  if (key.empty() || Has(key)) return false;
  m_entries.push_back(key + L"=" + value);
  m_keys.push_back(LowerKey(key));
  m_added.push_back(key);
  return true;
}

bool CLngSectionBatch::HasTwin() const {
  if (!IsProfileFileWithin(m_file.c_str(), kMaxLngFileBytes)) return false;
  for (DWORD size = kFirstSectionChars; size <= kMostSectionChars; size *= 4) {
    std::wstring buf(size, L'\0');
    DWORD n = GetPrivateProfileSectionNamesW(&buf[0], size, m_file.c_str());
    if (n + 2 >= size) continue;
    int count = 0;
    for (size_t pos = 0; pos < n;) {
      size_t end = buf.find(L'\0', pos);
      if (end == std::wstring::npos || end > n) end = n;
      if (LowerKey(buf.substr(pos, end - pos)) == LowerKey(m_section)) ++count;
      pos = end + 1;
    }
    return count > 1;
  }
  return true;  // names beyond any reasonable file: take the careful road
}

bool CLngSectionBatch::WriteKeyByKey() {
  for (size_t i = m_oldCount; i < m_entries.size(); ++i) {
    const std::wstring& entry = m_entries[i];
    const size_t eq = entry.find(L'=');
    if (!WritePrivateProfileStringW(m_section.c_str(), entry.substr(0, eq).c_str(), entry.c_str() + eq + 1,
                                    m_file.c_str()))
      return false;
  }
  return true;
}

int CLngSectionBatch::Flush() {
  if (m_added.empty()) return 0;
  if (m_file.empty()) return -1;
  std::wstring block;
  for (const std::wstring& entry : m_entries) {
    block += entry;
    block.push_back(L'\0');
  }
  block.push_back(L'\0');
  CreateLangFile(m_file);
  // A section written whole replaces every section of its name, and one
  // that could not be read whole would lose the rest: then the new keys go
  // in one at a time.
  if (!m_complete || HasTwin()) {
    if (!WriteKeyByKey()) return -1;
  } else if (!WritePrivateProfileSectionW(m_section.c_str(), block.data(), m_file.c_str())) {
    return -1;
  }
  int added = static_cast<int>(m_added.size());
  m_added.clear();
  m_oldCount = m_entries.size();
  return added;
}
