#include "foundation/localization/lng_cache.h"

#include <windows.h>

#include <unordered_map>

#include "foundation/files/files.h"
#include "foundation/localization/lng_section_batch.h"
#include "foundation/system/handles.h"
#include "foundation/text/text_basics.h"

namespace {

constexpr size_t kMostFiles = 16;

struct CachedSection {
  bool complete = true;
  std::unordered_map<std::wstring, std::wstring> values;  // folded key -> value
};

struct CachedFile {
  FileStamp stamp;
  std::unordered_map<std::wstring, CachedSection> sections;  // folded name
};

SRWLOCK g_lock = SRWLOCK_INIT;
std::unordered_map<std::wstring, CachedFile>& Files() {
  static auto* files = new std::unordered_map<std::wstring, CachedFile>();  // lives until exit
  return *files;
}

bool ReadStamp(const std::wstring& file, FileStamp* stamp) {
  *stamp = ReadFileStamp(file);
  return stamp->exists && !stamp->folder;
}

std::wstring Trimmed(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return std::wstring();
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// The profile functions find names without regard to blanks around them
// and to the case of Latin letters (other letters must match exactly).
std::wstring Folded(const std::wstring& name) {
  std::wstring folded = Trimmed(name);
  for (wchar_t& c : folded)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return folded;
}

CachedSection ReadSection(const std::wstring& file, const std::wstring& section) {
  CachedSection cached;
  for (const std::wstring& entry : ReadLngSection(file, section, &cached.complete)) {
    const size_t eq = entry.find(L'=');
    const std::wstring key = Folded(entry.substr(0, eq));
    // The first entry of a key is the one the profile functions find.
    if (!key.empty())
      cached.values.emplace(key,
                            eq == std::wstring::npos ? std::wstring() : LngValueAsRead(entry.substr(eq + 1)));
  }
  return cached;
}

// The file's entry with its stamp checked; null when the file is missing.
// Called with the lock held.
CachedFile* CurrentFile(const std::wstring& file, const std::wstring& foldedFile) {
  FileStamp stamp;
  if (!ReadStamp(file, &stamp)) {
    Files().erase(foldedFile);
    return nullptr;
  }
  auto& files = Files();
  auto it = files.find(foldedFile);
  if (it == files.end()) {
    if (files.size() >= kMostFiles) files.clear();
    it = files.emplace(foldedFile, CachedFile()).first;
    it->second.stamp = stamp;
  } else if (!(it->second.stamp == stamp)) {
    it->second.sections.clear();
    it->second.stamp = stamp;
  }
  return &it->second;
}

CachedSection& SectionOf(CachedFile& cached, const std::wstring& file, const std::wstring& section) {
  const std::wstring name = Folded(section);
  auto it = cached.sections.find(name);
  if (it == cached.sections.end()) it = cached.sections.emplace(name, ReadSection(file, section)).first;
  return it->second;
}

}  // namespace

LngLookup LookupLngCache(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                         std::wstring* value) {
  // Which other letters the profile functions take as equal in another
  // case, and how they read a section name with blanks around it, is
  // theirs to say: such names are asked of them. The suite's own sections
  // and keys are plain Latin.
  if (!IsAscii(section) || !IsAscii(key) || Trimmed(section) != section) return LngLookup::kUnknown;
  SrwExclusiveLock lock(g_lock);
  CachedFile* cached = CurrentFile(file, Folded(file));
  if (!cached) return LngLookup::kMissing;
  const CachedSection& entries = SectionOf(*cached, file, section);
  auto it = entries.values.find(Folded(key));
  if (it != entries.values.end()) {
    *value = it->second;
    return LngLookup::kFound;
  }
  return entries.complete ? LngLookup::kMissing : LngLookup::kUnknown;
}

bool LngCacheHolds(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) {
  std::wstring held;
  return LookupLngCache(file, section, key, &held) == LngLookup::kFound && held == value &&
         LngValueAsRead(value) == value;
}

bool WriteLngValueCached(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                         const std::wstring& value) {
  SrwExclusiveLock lock(g_lock);
  const std::wstring foldedFile = Folded(file);
  auto& files = Files();
  auto it = files.find(foldedFile);
  FileStamp before;
  const bool known = it != files.end() && ReadStamp(file, &before) && it->second.stamp == before;
  const bool written =
      WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
  // The copy follows the write when nothing else changed the file since it
  // was read and the names are ones it answers for; else it is read again.
  FileStamp after;
  const bool plain = IsAscii(key) && IsAscii(section) && Trimmed(section) == section &&
                     value.find_first_of(L"\r\n") == std::wstring::npos;
  if (!written || !known || !plain || !ReadStamp(file, &after)) {
    files.erase(foldedFile);
    return written;
  }
  it->second.stamp = after;
  auto entries = it->second.sections.find(Folded(section));
  if (entries != it->second.sections.end()) entries->second.values[Folded(key)] = LngValueAsRead(value);
  return true;
}

std::wstring LngValueAsRead(const std::wstring& raw) {
  std::wstring value = Trimmed(raw);
  if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0])
    value = value.substr(1, value.size() - 2);
  return value;
}

void ClearLngCache() {
  SrwExclusiveLock lock(g_lock);
  Files().clear();
}

void ForgetLngCacheFile(const std::wstring& file) {
  SrwExclusiveLock lock(g_lock);
  Files().erase(Folded(file));
}
