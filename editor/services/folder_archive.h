// ZIP archives of a folder tree (the backup of the phrase folder).
#pragma once
#include <string>
#include <vector>

#include "foundation/files/zip_writer.h"  // ZipFileList: the list archiver

// Writes the folder, its files that match the mask and its sub-folders
// (depth first; links and junctions are not followed) into a new archive
// whose every name begins with the folder's own name, then the extra files
// under their bare names at the top. A file that cannot be added does not
// stop the walk: it is listed in missing (when given). True only when the
// archive exists afterwards and nothing is missing.
bool ZipFolderTree(const std::wstring& folder, const std::wstring& mask, const std::wstring& archivePath,
                   const std::vector<std::wstring>& extraFiles, std::vector<std::wstring>* missing = nullptr);

struct ArchiveEntry {
  std::wstring path;  // full path; a folder's ends with "\"
  bool isFolder = false;
};
// The entries in archive order: the folder first, then per folder its
// matching files and its sub-folders.
std::vector<ArchiveEntry> ListFolderTree(const std::wstring& folder, const std::wstring& mask);
// The part of every entry path that its archive name leaves out: the
// directory that holds the folder, with its "\" (the whole drive root for a
// folder that is one).
std::wstring ArchiveNamePrefix(const std::wstring& folder);
