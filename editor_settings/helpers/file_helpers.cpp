#include "editor_settings/helpers/file_helpers.h"

#include <vector>

#include "foundation/system/os_version.h"
#include "foundation/system/shell_open.h"

bool ShowFileProperties(const std::wstring& path) {
  if (path.empty()) return false;
  return ShellOpen(nullptr, L"properties", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL) > 32;
}

std::wstring ExpandEnvVarsInPath(const std::wstring& text) { return ExpandEnvVars(text); }

bool IsWindows2000OrLater() { return IsOSVersionAtLeast(5, 0); }

namespace {

bool HasPhraseExtension(const wchar_t* name) {
  static const wchar_t kExt[] = L".quillora";
  constexpr size_t kExtLen = sizeof(kExt) / sizeof(kExt[0]) - 1;
  size_t n = wcslen(name);
  return n > kExtLen && _wcsicmp(name + n - kExtLen, kExt) == 0;
}

}  // namespace

bool FolderHasPhraseFiles(const std::wstring& folder) {
  if (folder.empty()) return false;
  // Depth first with an explicit stack: a deep tree cannot exhaust the
  // thread's stack.
  std::vector<std::wstring> pending{folder};
  while (!pending.empty()) {
    std::wstring dir = std::move(pending.back());
    pending.pop_back();
    if (dir.back() != L'\\' && dir.back() != L'/') dir += L'\\';
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileExW((dir + L"*").c_str(), FindExInfoBasic, &fd,
                                     FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) continue;
    std::vector<std::wstring> subFolders;
    bool found = false;
    do {
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (wcscmp(fd.cFileName, L".") == 0 || wcscmp(fd.cFileName, L"..") == 0) continue;
        // A link may lead back up the tree.
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
        subFolders.push_back(dir + fd.cFileName);
      } else if (HasPhraseExtension(fd.cFileName)) {
        found = true;
      }
    } while (!found && ::FindNextFileW(find, &fd));
    ::FindClose(find);
    if (found) return true;
    // Reversed so the first sub-folder is searched first.
    pending.insert(pending.end(), subFolders.rbegin(), subFolders.rend());
  }
  return false;
}
