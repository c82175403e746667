// Language files held in memory. The profile functions read and parse the
// whole file at every call, so a menu of forty items read forty files. Here
// a section is read once and kept until the file changes on disk (its time
// of last write or its size differ); every lookup checks that first.
#pragma once
#include <string>

enum class LngLookup {
  kFound,
  kMissing,
  kUnknown,  // ask the profile functions (a section too long to keep, a non-Latin name)
};

// Looks the key up as GetPrivateProfileStringW finds it: section and key
// without regard to case, blanks around the value dropped, a value in a
// pair of matching quotes without them. The file must exist.
LngLookup LookupLngCache(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                         std::wstring* value);
// True when the cache knows that the file already holds exactly this value
// under the key, so writing it again would change nothing.
bool LngCacheHolds(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   const std::wstring& value);
// Writes key=value through the profile functions and keeps the cached copy
// in step with it; false when the write failed.
bool WriteLngValueCached(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                         const std::wstring& value);
// A value as the profile functions hand it out: blanks around it dropped,
// a pair of matching quotes around it taken off.
std::wstring LngValueAsRead(const std::wstring& raw);
// Forgets every file (for tests and after writes that bypass the cache).
void ClearLngCache();
// Forgets one file, after a write of a whole section.
void ForgetLngCacheFile(const std::wstring& file);
