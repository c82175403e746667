#include "foundation/localization/lng_section_batch.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "foundation/files/ini.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/lng_cache.h"
#include "foundation/text/text_basics.h"

namespace {

constexpr wchar_t kAbsentMarker[] = L"{3F9A6C21-5D7E-4B08-A1C4-7E2B90D5F613}";
// What CreateLangFile puts into a new file: the byte-order mark as a 32-bit value.
constexpr unsigned long long kLngHeaderBytes = 4;

std::wstring LowerKey(const std::wstring& entry) {
  std::wstring key = entry.substr(0, entry.find(L'='));
  // Blanks around the key do not count, as for the profile functions.
  size_t first = key.find_first_not_of(L" \t");
  size_t last = key.find_last_not_of(L" \t");
  key = first == std::wstring::npos ? std::wstring() : key.substr(first, last - first + 1);
  std::transform(key.begin(), key.end(), key.begin(), [](wchar_t c) { return towlower(c); });
  return key;
}

std::wstring TrimmedName(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L" \t\r");
  if (first == std::wstring::npos) return std::wstring();
  return text.substr(first, text.find_last_not_of(L" \t\r") - first + 1);
}

// The text of a UTF-16 file with its byte-order mark, bounded as the
// language files are; false for anything else.
bool ReadUtf16Text(const std::wstring& path, std::wstring* text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  std::string bytes;
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 2 && size.QuadPart <= kMaxLngFileBytes;
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
  }
  CloseHandle(file);
  if (!ok || static_cast<unsigned char>(bytes[0]) != 0xFF || static_cast<unsigned char>(bytes[1]) != 0xFE) return false;
  text->assign(bytes.size() / 2 - 1, L'\0');
  memcpy(&(*text)[0], bytes.data() + 2, text->size() * sizeof(wchar_t));
  return true;
}

}  // namespace

std::vector<std::wstring> ReadLngSection(const std::wstring& lngFile, const std::wstring& section,
                                         bool* complete) {
  return ReadIniSection(lngFile, section.c_str(), kMaxLngFileBytes, complete);
}

CLngSectionBatch::CLngSectionBatch(const std::wstring& lngFile, const std::wstring& section)
    : m_file(lngFile),
      m_section(section),
      m_readStamp(ReadFileStamp(lngFile)),
      m_entries(ReadLngSection(lngFile, section, &m_complete)) {
  for (const std::wstring& entry : m_entries) m_keys.push_back(LowerKey(entry));
  m_keyByKey = !IsAscii(section);
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
  Queue(key, value);
  return true;
}

void CLngSectionBatch::Put(const std::wstring& key, const std::wstring& value) {
  if (key.empty()) return;
  const auto found = std::find(m_keys.begin(), m_keys.end(), LowerKey(key));
  if (found == m_keys.end() || !m_complete) {
    Queue(key, value);
    return;
  }
  std::wstring& entry = m_entries[static_cast<size_t>(found - m_keys.begin())];
  const size_t eq = entry.find(L'=');
  if (eq != std::wstring::npos && entry.compare(eq + 1, std::wstring::npos, value) == 0) return;
  entry = entry.substr(0, eq) + L"=" + value;
  m_pending.emplace_back(key, value);
  if (!IsAscii(key)) m_keyByKey = true;
}

void CLngSectionBatch::Queue(const std::wstring& key, const std::wstring& value) {
  m_entries.push_back(key + L"=" + value);
  m_keys.push_back(LowerKey(key));
  m_pending.emplace_back(key, value);
  if (!IsAscii(key)) m_keyByKey = true;
}

bool CLngSectionBatch::CanWriteWhole() const {
  // The profile functions find a section under a name with blanks around
  // it but replace only one spelled exactly so: such names go key by key.
  if (m_keyByKey || !m_complete || m_section.empty() || TrimmedName(m_section) != m_section) return false;
  // Changed since the section was read (another program wrote a key): only
  // the keys of this batch may be written. A file made just now by Flush
  // holds nothing yet.
  const FileStamp now = ReadFileStamp(m_file);
  if (now != m_readStamp && !(!m_readStamp.exists && now.size <= kLngHeaderBytes)) return false;
  std::wstring text;
  if (!ReadUtf16Text(m_file, &text)) return false;
  // One section of the name, under its own spelling, with nothing in it
  // the profile functions do not hand out: comments and lines without "="
  // would be lost by a rewrite, and a second section of the name emptied.
  int found = 0;
  bool inside = false;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = TrimmedName(text.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line[0] == L'[') {
      const size_t close = line.find(L']');
      const std::wstring raw = line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
      inside = LowerKey(raw) == LowerKey(m_section);
      if (inside && (++found > 1 || raw != TrimmedName(raw))) return false;
    } else if (inside && !line.empty() && (line[0] == L';' || line[0] == L'#' || line.find(L'=') == 0 ||
                                           line.find(L'=') == std::wstring::npos)) {
      return false;
    }
  }
  return true;
}

bool CLngSectionBatch::WriteKeyByKey() {
  for (const auto& pending : m_pending)
    if (!WritePrivateProfileStringW(m_section.c_str(), pending.first.c_str(), pending.second.c_str(),
                                    m_file.c_str()))
      return false;
  return true;
}

int CLngSectionBatch::Flush() {
  if (m_pending.empty()) return 0;
  if (m_file.empty() || !IsProfileFileWritable(m_file.c_str(), kMaxLngFileBytes)) return -1;
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
  bool written = false;
  if (CanWriteWhole()) {
    written = WritePrivateProfileSectionW(m_section.c_str(), block.data(), m_file.c_str()) != FALSE;
    // The file now holds the section as this batch has it.
    if (written) m_readStamp = ReadFileStamp(m_file);
  } else {
    written = WriteKeyByKey();
  }
  // The copy in memory may not see a write that left size and time alike.
  ForgetLngCacheFile(m_file);
  if (!written) return -1;
  int count = static_cast<int>(m_pending.size());
  m_pending.clear();
  return count;
}
