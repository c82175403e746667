#include "history/store/history_files.h"

#include <windows.h>

#include <mutex>

#include "foundation/files/ini.h"
#include "foundation/files/paths.h"
#include "history/store/history_names.h"

namespace hn = history_names;

namespace {
std::mutex g_folderLock;
std::wstring g_folderForTest;
}  // namespace

std::wstring GetClipboardHistoryFolder() {
  {
    std::lock_guard<std::mutex> lock(g_folderLock);
    if (!g_folderForTest.empty()) return g_folderForTest;
  }
  return GetAppFolderWithSlash() + hn::kFolderName;
}

void SetClipboardHistoryFolderForTest(const std::wstring& folder) {
  std::lock_guard<std::mutex> lock(g_folderLock);
  g_folderForTest = folder;
}

bool SetFileReadOnly(const std::wstring& path, bool readOnly) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) attributes = 0;
  bool isReadOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (isReadOnly == readOnly) return true;
  DWORD wanted = readOnly ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~FILE_ATTRIBUTE_READONLY;
  if (wanted == 0) wanted = FILE_ATTRIBUTE_NORMAL;
  return SetFileAttributesW(path.c_str(), wanted) != FALSE;
}

bool WriteProtectedKey(const std::wstring& descriptor, bool isProtected) {
  SetFileReadOnly(descriptor, false);
  bool written = IniWriteInt(descriptor.c_str(), hn::kSection, hn::kKeyProtected, isProtected ? 1 : 0);
  return SetFileReadOnly(descriptor, isProtected) && written;
}

bool DeleteHistoryFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileReadOnly(path, false);
  return DeleteFileW(path.c_str()) != FALSE;
}
