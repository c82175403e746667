// The editor's list of recently used phrase folders: kept without trailing
// backslashes, and, once it holds two or more, as distinct entries in
// ascending order (folder names compared without regard to case).
#pragma once
#include <string>
#include <vector>

class RecentFolders {
 public:
  int Count() const { return static_cast<int>(m_folders.size()); }
  // Empty for an index out of range.
  std::wstring Get(int index) const;
  // Ignores a folder that is empty (after its trailing backslashes are
  // removed) or too long to be a path.
  void Add(const std::wstring& folder);

  // Replaces the list with the entries stored in the ini files (two-file
  // reads), the default folder standing in when none is stored.
  void Read(const std::wstring& defaultFolder);
  // "PrevFoldersCount" and one "Prev_Folder%d" per entry into iniPath.
  bool Write(const std::wstring& iniPath) const;

  // Longest stored list that is read; a larger count is not trusted.
  static constexpr int kMaxStored = 1000;

 private:
  void Normalize();
  std::vector<std::wstring> m_folders;
};

// The entry as kept in the list, or empty when it cannot be one.
std::wstring CleanRecentFolder(const std::wstring& folder);
