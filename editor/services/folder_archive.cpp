#include "editor/services/folder_archive.h"

#include <windows.h>

#include "foundation/files/paths.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/text/text_basics.h"

namespace {

// As deep as the phrase store reads a tree.
constexpr int kMaxFolderDepth = 64;

std::wstring WithBackslash(const std::wstring& path) {
  return !path.empty() && path.back() != L'\\' ? path + L"\\" : path;
}

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

void ListFolder(const std::wstring& folder, const std::wstring& mask, int depth,
                std::vector<ArchiveEntry>& entries) {
  WIN32_FIND_DATAW found;
  {
    UniqueFindHandle find(FindFirstFileW((folder + mask).c_str(), &found));
    if (find) do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(found.cFileName))
          entries.push_back({folder + found.cFileName, false});
      } while (FindNextFileW(find.Get(), &found));
  }
  UniqueFindHandle find(FindFirstFileW((folder + L"*.*").c_str(), &found));
  if (!find) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsDotEntry(found.cFileName)) continue;
    // A link back up the tree would make the walk endless.
    if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
    if (depth >= kMaxFolderDepth) continue;
    std::wstring sub = folder + found.cFileName + L"\\";
    entries.push_back({sub, true});
    ListFolder(sub, mask, depth + 1, entries);
  } while (FindNextFileW(find.Get(), &found));
}

bool IsDriveRoot(const std::wstring& folder) {
  std::wstring bare = folder;
  while (!bare.empty() && bare.back() == L'\\') bare.pop_back();
  return bare.size() == 2 && bare[1] == L':';
}

}  // namespace

std::vector<ArchiveEntry> ListFolderTree(const std::wstring& folder, const std::wstring& mask) {
  std::vector<ArchiveEntry> entries;
  if (folder.empty()) return entries;
  std::wstring root = WithBackslash(folder);
  entries.push_back({root, true});
  ListFolder(root, mask, 0, entries);
  return entries;
}

std::wstring ArchiveNamePrefix(const std::wstring& folder) {
  if (IsDriveRoot(folder)) return WithBackslash(folder);
  std::wstring base = folder;
  while (!base.empty() && base.back() == L'\\') base.pop_back();
  size_t slash = base.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : base.substr(0, slash + 1);
}

bool ZipFolderTree(const std::wstring& folder, const std::wstring& mask, const std::wstring& archivePath,
                   const std::vector<std::wstring>& extraFiles, std::vector<std::wstring>* missing) {
  if (missing) missing->clear();
  std::vector<ArchiveEntry> entries = ListFolderTree(folder, mask);
  if (entries.empty()) return false;
  DeleteFileW(archivePath.c_str());
  const std::wstring prefix = ArchiveNamePrefix(folder);
  bool complete = true;
  auto fail = [&](const std::wstring& path, DWORD code) {
    complete = false;
    LogError(L"ZipFolderTree cannot add [" + path + L"] error=" + IntToStr(static_cast<int>(code)));
    if (missing) missing->push_back(path);
  };
  {
    CZipHandleHolder zip(ZipCreateFile(archivePath.c_str(), nullptr));
    if (!zip.Get()) {
      LogError(L"ZipFolderTree cannot create [" + archivePath + L"] error=" +
               IntToStr(static_cast<int>(ZipLastResult())));
      return false;
    }
    for (const ArchiveEntry& entry : entries) {
      if (EqualNoCase(entry.path, prefix)) continue;
      std::wstring name = entry.path.substr(prefix.size());
      DWORD result = entry.isFolder ? ZipAddFolder(zip.Get(), name.c_str())
                                    : ZipAddFile(zip.Get(), name.c_str(), entry.path.c_str());
      if (result != kZipOk) fail(entry.path, result);
    }
    for (const std::wstring& extra : extraFiles) {
      DWORD result = ZipAddFile(zip.Get(), GetFileNameFromPath(extra).c_str(), extra.c_str());
      if (result != kZipOk) fail(extra, result);
    }
    DWORD closed = zip.Close();
    if (closed != kZipOk) {
      LogError(L"ZipFolderTree cannot finish [" + archivePath + L"] error=" + IntToStr(static_cast<int>(closed)));
      complete = false;
    }
  }
  return complete && GetFileAttributesW(archivePath.c_str()) != INVALID_FILE_ATTRIBUTES;
}
