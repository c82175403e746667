#include "phrases/phrase_scan.h"

#include <windows.h>

#include <atomic>

#include "foundation/handles.h"
#include "foundation/text_basics.h"
#include "phrases/phrase_file.h"
#include "phrases/phrase_names.h"

namespace {

// Below this many files a second thread costs more than it saves.
constexpr size_t kFilesForSecondReader = 32;

bool IsPhraseFileName(const std::wstring& name) {
  size_t n = wcslen(kPhraseExtension);
  return name.size() >= n && EqualNoCase(name.substr(name.size() - n), kPhraseExtension);
}

// Lists the folder into out; hasSelf tells whether it holds its own record.
void ListTree(const std::wstring& folder, std::vector<ScannedEntry>& out, bool* hasSelf) {
  out.reserve(1000);
  WIN32_FIND_DATAW found;
  UniqueFindHandle find(FindFirstFileW((folder + L"\\*.*").c_str(), &found));
  if (!find) return;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    ScannedEntry entry;
    entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!entry.isFolder) {
      if (EqualNoCase(name, kFolderSelfFileName)) {
        *hasSelf = true;
        continue;
      }
      unsigned long long size =
          (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
      if (!IsPhraseFileName(name) || size > kMaxPhraseFileBytes) continue;
    }
    entry.name = name;
    entry.path = folder + L"\\" + name;
    out.push_back(std::move(entry));
  } while (FindNextFileW(find.Get(), &found));
  for (ScannedEntry& entry : out) {
    if (!entry.isFolder) continue;
    entry.record.MakeFolder();
    ListTree(entry.path, entry.children, &entry.hasSelfRecord);
  }
}

void CollectReads(std::vector<ScannedEntry>& entries, std::vector<ScannedEntry*>& reads) {
  for (ScannedEntry& entry : entries) {
    if (!entry.isFolder || entry.hasSelfRecord) reads.push_back(&entry);
    if (entry.isFolder) CollectReads(entry.children, reads);
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
    std::wstring path = entry.isFolder ? entry.path + L"\\" + kFolderSelfFileName : entry.path;
    entry.read = ReadPhraseFile(entry.record, path);
  }
}

DWORD WINAPI ReaderThread(void* param) {
  ReadAll(*static_cast<ReadQueue*>(param));
  return 0;
}

}  // namespace

std::vector<ScannedEntry> ScanPhraseFolder(const std::wstring& folder) {
  std::vector<ScannedEntry> entries;
  DWORD attrs = GetFileAttributesW(folder.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return entries;
  bool rootHasSelf = false;  // the root is no node of the tree
  ListTree(folder, entries, &rootHasSelf);

  ReadQueue queue;
  CollectReads(entries, queue.entries);
  UniqueHandle helper;
  if (queue.entries.size() >= kFilesForSecondReader)
    helper.Reset(CreateThread(nullptr, 0, ReaderThread, &queue, 0, nullptr));
  ReadAll(queue);
  if (helper) WaitForSingleObject(helper.Get(), INFINITE);
  return entries;
}
