#include "foundation/files/files.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "foundation/system/handles.h"

namespace {

// Keeps "insert a disk" boxes away while an empty removable drive is probed.
class QuietErrorMode {
 public:
  QuietErrorMode() : m_old(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
  ~QuietErrorMode() { SetErrorMode(m_old); }

 private:
  UINT m_old;
};

// "X:\" for a drive path, "\\server\share\" for a network path.
std::wstring DriveRootOf(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2) + L'\\';
  if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
    size_t server = path.find(L'\\', 2);
    if (server == std::wstring::npos) return path + L'\\';
    size_t share = path.find(L'\\', server + 1);
    return (share == std::wstring::npos ? path : path.substr(0, share)) + L'\\';
  }
  return L"\\";
}

}  // namespace

int PathFileExistsDyn(const wchar_t* path) {
  DynamicFunction<BOOL(WINAPI*)(LPCWSTR)> fn(L"shlwapi.dll", "PathFileExistsW");
  if (!fn) return 0;
  return fn.Get()(path) ? 2 : 1;
}

bool IsFileExist(const std::wstring& path) {
  QuietErrorMode quiet;
  if (PathFileExistsDyn(path.c_str()) == 1) return false;
  DWORD attrs = GetFileAttributesW(path.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES) return (attrs & FILE_ATTRIBUTE_DIRECTORY) == 0;
  return GetLastError() == ERROR_ACCESS_DENIED;
}

bool IsFolderExist(const std::wstring& path) {
  if (path.empty()) return false;
  QuietErrorMode quiet;
  DWORD attrs = GetFileAttributesW(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FileStamp ReadFileStamp(const std::wstring& path) {
  FileStamp stamp;
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return stamp;
  stamp.exists = true;
  stamp.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  stamp.written = (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                  data.ftLastWriteTime.dwLowDateTime;
  stamp.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return stamp;
}

bool IsRemovableDriveRoot(const std::wstring& root) {
  wchar_t buf[MAX_PATH] = {};
  if (root.size() + 2 > MAX_PATH) return false;
  root.copy(buf, root.size());
  if (root.empty() || root.back() != L'\\') buf[root.size()] = L'\\';
  switch (GetDriveTypeW(buf)) {
    case DRIVE_UNKNOWN:
    case DRIVE_NO_ROOT_DIR:
    case DRIVE_REMOVABLE:
    case DRIVE_REMOTE:
      return true;
    default:
      return false;
  }
}

bool IsOnRemovableDrive(const std::wstring& path) {
  return IsRemovableDriveRoot(DriveRootOf(path));
}

std::unique_ptr<char[]> ReadFileToBuffer(const std::wstring& path, size_t* size) {
  if (size) *size = 0;
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  LARGE_INTEGER length = {};
  if (!GetFileSizeEx(file.Get(), &length) || length.QuadPart <= 0) return nullptr;
  if (static_cast<unsigned long long>(length.QuadPart) >= static_cast<size_t>(-1) / 2)
    return nullptr;
  size_t total = static_cast<size_t>(length.QuadPart);
  std::unique_ptr<char[]> data(new (std::nothrow) char[total + 1]);
  if (!data) return nullptr;
  size_t done = 0;
  while (done < total) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(total - done, 1u << 30));
    DWORD read = 0;
    if (!ReadFile(file.Get(), data.get() + done, chunk, &read, nullptr) || read == 0)
      return nullptr;
    done += read;
  }
  data[total] = '\0';
  if (size) *size = total;
  return data;
}
