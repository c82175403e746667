#include "phrases/store/phrase_scan.h"

#include <windows.h>

#include <atomic>

#include "foundation/system/handles.h"
#include "foundation/text/text_basics.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_names.h"

namespace {

// Below this many files a second thread costs more than it saves.
constexpr size_t kFilesForSecondReader = 32;
// Deeper folders are not listed: a tree this deep is no menu anyone uses,
// and the limit ends any walk the file system could make endless.
constexpr int kMaxFolderDepth = 64;

bool IsPhraseFileName(const std::wstring& name) {
  size_t n = wcslen(kPhraseExtension);
  return name.size() >= n && EqualNoCase(name.substr(name.size() - n), kPhraseExtension);
}

PhraseFileStamp StampOf(const WIN32_FIND_DATAW& found) {
  PhraseFileStamp stamp;
  stamp.size = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  stamp.created = (static_cast<unsigned long long>(found.ftCreationTime.dwHighDateTime) << 32) |
                  found.ftCreationTime.dwLowDateTime;
  stamp.written = (static_cast<unsigned long long>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                  found.ftLastWriteTime.dwLowDateTime;
  return stamp;
}

// Lists the folder into out; owner (the folder's own entry, null for the
// root) learns whether the folder holds its own record.
void ListTree(const std::wstring& folder, std::vector<ScannedEntry>& out, ScannedEntry* owner,
              int depth) {
  out.reserve(1000);
  WIN32_FIND_DATAW found;
  UniqueFindHandle find(FindFirstFileW((folder + L"\\*.*").c_str(), &found));
  if (!find) return;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    ScannedEntry entry;
    entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A directory link may point back up the tree; its target is listed
    // where it really lies.
    if (entry.isFolder && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
    if (entry.isFolder && depth >= kMaxFolderDepth) continue;
    if (!entry.isFolder) {
      entry.stamp = StampOf(found);
      if (EqualNoCase(name, kFolderSelfFileName)) {
        if (owner && entry.stamp.size <= kMaxPhraseFileBytes) {
          owner->hasSelfRecord = true;
          owner->stamp = entry.stamp;
        }
        continue;
      }
      if (!IsPhraseFileName(name) || entry.stamp.size > kMaxPhraseFileBytes) continue;
    }
    entry.name = name;
    entry.path = folder + L"\\" + name;
    out.push_back(std::move(entry));
  } while (FindNextFileW(find.Get(), &found));
  for (ScannedEntry& entry : out) {
    if (!entry.isFolder) continue;
    entry.record.MakeFolder();
    ListTree(entry.path, entry.children, &entry, depth + 1);
  }
}

std::wstring RecordPath(const ScannedEntry& entry) {
  return entry.isFolder ? entry.path + L"\\" + kFolderSelfFileName : entry.path;
}

// Every file to read, in scan order, less those the cache still knows.
void CollectReads(std::vector<ScannedEntry>& entries, const PhraseLoadCache* cache,
                  std::vector<ScannedEntry*>& reads) {
  for (ScannedEntry& entry : entries) {
    if (!entry.isFolder || entry.hasSelfRecord) {
      if (!cache || !cache->Lookup(RecordPath(entry), entry.stamp, &entry.record, &entry.read))
        reads.push_back(&entry);
    }
    if (entry.isFolder) CollectReads(entry.children, cache, reads);
  }
}

void KeepAll(const std::vector<ScannedEntry>& entries, PhraseLoadCache& cache) {
  for (const ScannedEntry& entry : entries) {
    if (!entry.isFolder || entry.hasSelfRecord) cache.Keep(RecordPath(entry), entry.stamp, entry.record, entry.read);
    if (entry.isFolder) KeepAll(entry.children, cache);
  }
}

struct ReadQueue {
  std::vector<ScannedEntry*> entries;
  std::atomic<size_t> next{0};
};

void ReadAll(ReadQueue& queue) {
  for (;;) {
    size_t i = queue.next++;
    if (i >= queue.entries.size()) return;
    ScannedEntry& entry = *queue.entries[i];
    entry.read = ReadPhraseFile(entry.record, RecordPath(entry));
  }
}

DWORD WINAPI ReaderThread(void* param) {
  ReadAll(*static_cast<ReadQueue*>(param));
  return 0;
}

}  // namespace

std::vector<ScannedEntry> ScanPhraseFolder(const std::wstring& folder, PhraseLoadCache* cache) {
  std::vector<ScannedEntry> entries;
  DWORD attrs = GetFileAttributesW(folder.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return entries;
  ListTree(folder, entries, nullptr, 1);

  ReadQueue queue;
  CollectReads(entries, cache, queue.entries);
  UniqueHandle helper;
  if (queue.entries.size() >= kFilesForSecondReader)
    helper.Reset(CreateThread(nullptr, 0, ReaderThread, &queue, 0, nullptr));
  ReadAll(queue);
  if (helper) WaitForSingleObject(helper.Get(), INFINITE);
  if (cache) {
    KeepAll(entries, *cache);
    cache->Save();
  }
  return entries;
}
