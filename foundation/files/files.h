// File, folder and drive tests, and reading a whole file.
#pragma once
#include <cstddef>
#include <memory>
#include <string>

// 2 when PathFileExistsW says the path exists, 1 when it says it does not,
// 0 when shlwapi or the function cannot be loaded.
int PathFileExistsDyn(const wchar_t* path);
// True when the path names an existing file, not a folder. A file whose
// attributes may not be read counts as existing.
bool IsFileExist(const std::wstring& path);
bool IsFolderExist(const std::wstring& path);

// What tells one state of a file or folder from the next: its time of last
// write and its size. A folder's time moves when an entry is added,
// removed or renamed in it.
struct FileStamp {
  bool exists = false;
  bool folder = false;
  unsigned long long written = 0;
  unsigned long long size = 0;
  bool operator==(const FileStamp& other) const {
    return exists == other.exists && folder == other.folder && written == other.written && size == other.size;
  }
  bool operator!=(const FileStamp& other) const { return !(*this == other); }
};
// The stamp of path; exists is false when it cannot be read.
FileStamp ReadFileStamp(const std::wstring& path);

// True for drives of unknown type, without a root, removable or remote:
// places where a program's own folder is the right home for its files.
bool IsRemovableDriveRoot(const std::wstring& root);
// IsRemovableDriveRoot of the drive (or network share) that holds path.
bool IsOnRemovableDrive(const std::wstring& path);

// The whole file followed by one zero byte; size (when given) receives the
// byte count without it. Null when the file cannot be opened, is empty or
// cannot be read in full.
std::unique_ptr<char[]> ReadFileToBuffer(const std::wstring& path, size_t* size = nullptr);
