// Reading a phrase folder from disk ahead of building the tree: the folders
// are listed first, then every phrase file and folder record is read, by two
// threads at once (opening a file is the slow part, and the second thread's
// waits overlap the first one's).
#pragma once
#include <string>
#include <vector>

#include "phrases/store/phrase_load_cache.h"
#include "phrases/store/phrase_node.h"

struct ScannedEntry {
  std::wstring name;  // file or folder name
  std::wstring path;
  bool isFolder = false;
  bool hasSelfRecord = false;  // a folder holding "FOLDER_SELF.quillora"
  bool read = false;           // the phrase file (or folder record) was read
  PhraseFileStamp stamp;       // of the phrase file (or folder record)
  CPhraseNode record;          // what the file gave
  std::vector<ScannedEntry> children;
};

// The folder's sub-folders and phrase files, recursively, in the order the
// file system lists them. Empty when the folder does not exist. With a
// cache, unchanged files are taken from it and the cache is renewed.
std::vector<ScannedEntry> ScanPhraseFolder(const std::wstring& folder, PhraseLoadCache* cache);
