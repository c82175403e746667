#include "editor_settings/settings_file_replace.h"

#include <windows.h>

#include "foundation/logging/log.h"
#include "foundation/system/handles.h"

namespace {

std::wstring FolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// A new file needs the UTF-16 mark, or the profile functions write it in the
// ANSI code page.
bool WriteUnicodeMark(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  static const BYTE kBom[2] = {0xFF, 0xFE};
  DWORD written = 0;
  return WriteFile(file.Get(), kBom, sizeof(kBom), &written, nullptr) && written == sizeof(kBom);
}

bool FlushFile(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && FlushFileBuffers(file.Get());
}

void LogFailure(const wchar_t* call, const std::wstring& path, DWORD code) {
  LogError(std::wstring(L"settings save: ") + call + L" failed for " + path + L", code " +
           std::to_wstring(code));
}

}  // namespace

bool ReplaceSettingsFile(const std::wstring& iniPath,
                         const std::function<bool(const std::wstring& target)>& write) {
  wchar_t temp[MAX_PATH] = {};
  if (GetTempFileNameW(FolderOf(iniPath).c_str(), L"qlr", 0, temp) == 0) {
    LogFailure(L"GetTempFileNameW", iniPath, GetLastError());
    return write(iniPath);
  }
  const std::wstring copy = temp;
  DWORD attributes = GetFileAttributesW(iniPath.c_str());
  bool prepared = attributes != INVALID_FILE_ATTRIBUTES
                      ? CopyFileW(iniPath.c_str(), copy.c_str(), FALSE) != FALSE
                      : WriteUnicodeMark(copy);
  if (!prepared) {
    LogFailure(L"CopyFileW", iniPath, GetLastError());
    DeleteFileW(copy.c_str());
    return false;
  }
  // The copy keeps the original's attributes: a read-only file stays closed
  // to the writes.
  if (!write(copy) || !FlushFile(copy)) {
    LogFailure(L"writing the copy", copy, GetLastError());
    DeleteFileW(copy.c_str());
    return false;
  }
  // ReplaceFileW keeps the original's security (everyone may use the file
  // beside the programs); a first save has nothing to replace.
  bool replaced = attributes != INVALID_FILE_ATTRIBUTES &&
                  ReplaceFileW(iniPath.c_str(), copy.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                               nullptr, nullptr);
  if (!replaced &&
      !MoveFileExW(copy.c_str(), iniPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    LogFailure(L"MoveFileExW", iniPath, GetLastError());
    DeleteFileW(copy.c_str());
    return false;
  }
  // Not every file system carries the attributes over with the replace.
  if (attributes != INVALID_FILE_ATTRIBUTES && GetFileAttributesW(iniPath.c_str()) != attributes)
    SetFileAttributesW(iniPath.c_str(), attributes);
  return true;
}
