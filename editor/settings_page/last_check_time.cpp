#include "editor/settings_page/last_check_time.h"

#include <string>

#include "settings/settings.h"
#include "settings/settings_files.h"

namespace {

// A larger file is never kept: the time is then read from it each time.
constexpr DWORD kLargestKept = 1 << 20;

// Both settings files' paths and bytes; false when a file is too large.
bool ReadSettingsFiles(std::string& content) {
  const std::wstring files[2] = {GetProgramFolderSettingsPath(), GetUserSettingsPath(false)};
  content.clear();
  for (const std::wstring& file : files) {
    content.append(reinterpret_cast<const char*>(file.c_str()), (file.size() + 1) * sizeof(wchar_t));
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE handle = file.empty() ? INVALID_HANDLE_VALUE
                                 : ::CreateFileW(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      content.push_back('\0');
      continue;
    }
    LARGE_INTEGER size = {};
    bool kept = ::GetFileSizeEx(handle, &size) && size.QuadPart <= kLargestKept;
    if (kept) {
      std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
      DWORD got = 0;
      kept = bytes.empty() || (::ReadFile(handle, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                             got == bytes.size());
      content.push_back('\1');
      content += std::to_string(bytes.size());
      content.push_back('\1');
      content += bytes;
    }
    ::CloseHandle(handle);
    if (!kept) return false;
  }
  return true;
}

}  // namespace

bool LastUpdateCheckLocal(SYSTEMTIME& local) {
  // The page renews its tips at every fill, and the settings ask both
  // files for several keys. The answer is kept only when no file changed
  // while it was read (the first read may write the first date).
  static std::string known;
  static bool knownFound = false;
  static SYSTEMTIME knownTime = {};
  std::string before;
  const bool readable = ReadSettingsFiles(before);
  if (readable && !known.empty() && before == known) {
    local = knownTime;
    return knownFound;
  }
  const bool found = CQLRSettings::GetLastCheckForUpdatesLocal(local);
  std::string after;
  if (readable && ReadSettingsFiles(after) && after == before) {
    known.swap(before);
    knownFound = found;
    knownTime = local;
  }
  return found;
}
