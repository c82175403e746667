#include "phrases/store/phrase_store.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "foundation/files/files.h"
#include "foundation/logging/log.h"
#include "foundation/system/security.h"
#include "foundation/text/text_basics.h"
#include "phrases/store/phrase_captions.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_file_names.h"
#include "phrases/store/phrase_names.h"
#include "phrases/store/phrase_scan.h"
#include "phrases/store/phrase_writer.h"

namespace {

std::wstring StripTrailingBackslashes(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

bool SortsBefore(const CPhraseNode& a, const CPhraseNode& b) {
  if (a.IsFolder() != b.IsFolder()) return a.IsFolder();
  return a.sortId < b.sortId;
}

void SortList(std::vector<CPhraseNode>& list) {
  std::stable_sort(list.begin(), list.end(), SortsBefore);
  for (CPhraseNode& node : list)
    if (node.IsFolder()) SortList(*node.childNodes);
}

int Walk(std::vector<CPhraseNode>& list, CPhraseNode* parent, PhraseNodeCallback callback,
         void* context, bool* stopped) {
  int visited = 0;
  for (CPhraseNode& node : list) {
    ++visited;
    if (callback(&node, context, parent) == 0) {
      *stopped = true;
      return visited;
    }
    if (node.IsFolder()) {
      visited += Walk(*node.childNodes, &node, callback, context, stopped);
      if (*stopped) return visited;
    }
  }
  return visited;
}

CPhraseNode* Find(std::vector<CPhraseNode>& list, std::uint32_t id, CPhraseNode** parentOut,
                  CPhraseNode* parent) {
  for (CPhraseNode& node : list) {
    if (node.CMDID == id) {
      if (parentOut) *parentOut = parent;
      return &node;
    }
    if (node.IsFolder()) {
      if (CPhraseNode* found = Find(*node.childNodes, id, parentOut, &node)) return found;
    }
  }
  return nullptr;
}

// The folder node whose children list is the given one.
const CPhraseNode* FindOwnerOfList(const std::vector<CPhraseNode>& list,
                                   const std::vector<CPhraseNode>* target) {
  for (const CPhraseNode& node : list) {
    if (!node.IsFolder()) continue;
    if (node.childNodes == target) return &node;
    if (const CPhraseNode* owner = FindOwnerOfList(*node.childNodes, target)) return owner;
  }
  return nullptr;
}

void Count(const std::vector<CPhraseNode>& list, int* enabled, int* total) {
  for (const CPhraseNode& node : list) {
    ++*total;
    if (node.IsEnabled()) ++*enabled;
    if (node.IsFolder()) Count(*node.childNodes, enabled, total);
  }
}

bool ContainsPhrase(const std::vector<CPhraseNode>& list, std::uint32_t id) {
  for (const CPhraseNode& node : list) {
    if (node.IsFolder()) {
      if (ContainsPhrase(*node.childNodes, id)) return true;
    } else if (node.CMDID == id) {
      return true;
    }
  }
  return false;
}

bool CreateFolder(const std::wstring& path) {
  EveryoneSecurity everyone;
  if (CreateDirectoryW(path.c_str(), everyone.Get())) return true;
  LogError(L"CreateDirectoryW [" + path + L"], code " + std::to_wstring(GetLastError()));
  return false;
}

}  // namespace

CPhraseStore::CPhraseStore(const std::wstring& rootFolder) : m_root(rootFolder) {}

CPhraseStore::~CPhraseStore() = default;

void CPhraseStore::Clear() {
  m_nodes.clear();
  m_maxId = 0;
}

void CPhraseStore::Load(const std::wstring& rootFolder, int sortMode) {
  Clear();
  std::wstring root = rootFolder.empty() ? m_root : rootFolder;
  std::wstring folder = StripTrailingBackslashes(root);
  if (!IsFolderExist(folder)) return;
  std::unique_ptr<PhraseLoadCache> cache;
  if (!m_cachePath.empty()) {
    cache.reset(new PhraseLoadCache(m_cachePath));
    cache->Open(folder);
  }
  std::vector<ScannedEntry> scanned = ScanPhraseFolder(folder, cache.get());
  Assemble(scanned, m_nodes);
  Sort(sortMode, false);
  m_root = root;
}

// Builds the tree from what the scan read, in its order, so every id is
// what a file-by-file walk would give: a folder's own id comes before the
// ids of its content, and a file that could not be read takes none.
void CPhraseStore::Assemble(std::vector<ScannedEntry>& entries, std::vector<CPhraseNode>& target) {
  for (ScannedEntry& entry : entries) {
    if (entry.isFolder) {
      // The children list keeps its address while the folder node moves.
      std::vector<CPhraseNode>* children =
          AddFolderNode(std::move(entry.record), entry.name, entry.path, target, nullptr);
      Assemble(entry.children, *children);
      continue;
    }
    if (!entry.read) {
      Log(L"Phrase file skipped, it cannot be read: " + entry.path);
      continue;
    }
    CPhraseNode& node = entry.record;
    node.CMDID = NextId();
    node.filePath = entry.path;
    if (m_filter && !m_filter(&node, m_filterContext)) continue;
    node.ClearTextCaches();
    target.push_back(std::move(node));
  }
}

std::vector<CPhraseNode>* CPhraseStore::AddFolderNode(CPhraseNode node, const std::wstring& name,
                                                      const std::wstring& directory,
                                                      std::vector<CPhraseNode>& target,
                                                      std::uint32_t* id) {
  node.MakeFolder();
  std::wstring path = directory;
  if (path.empty()) {
    // A bare name is made under the folder the list belongs to, never under
    // whatever the current directory happens to be.
    std::wstring normalized = NormalizeCaptionText(name, -1);
    if (!normalized.empty()) path = DirectoryOfList(&target) + L"\\" + normalized;
  }
  node.SetCaption(name);
  node.CMDID = NextId();
  node.filePath = path;
  if (!path.empty() && !IsFolderExist(path)) CreateFolder(path);
  if (id) *id = node.CMDID;
  target.push_back(std::move(node));
  return target.back().childNodes;
}

std::vector<CPhraseNode>* CPhraseStore::AddFolder(const std::wstring& name,
                                                  const std::wstring& directory,
                                                  std::vector<CPhraseNode>* target,
                                                  std::uint32_t* id) {
  if (!target) return nullptr;
  CPhraseNode node;
  node.MakeFolder();
  if (!directory.empty()) {
    std::wstring self = StripTrailingBackslashes(directory) + L"\\" + kFolderSelfFileName;
    if (IsFileExist(self)) ReadPhraseFile(node, self);  // its attributes count
  }
  std::vector<CPhraseNode>* children = AddFolderNode(std::move(node), name, directory, *target, id);
  Sort(0, false);
  return children;
}

std::wstring CPhraseStore::DirectoryOfList(const std::vector<CPhraseNode>* list) const {
  if (list != &m_nodes) {
    if (const CPhraseNode* owner = FindOwnerOfList(m_nodes, list))
      return StripTrailingBackslashes(owner->filePath);
  }
  return StripTrailingBackslashes(m_root);
}

void CPhraseStore::Sort(int sortMode, bool descending) {
  (void)sortMode;
  (void)descending;
  SortList(m_nodes);
}

int CPhraseStore::ForEachNode(PhraseNodeCallback callback, void* context) {
  if (!callback) return 0;
  bool stopped = false;
  return Walk(m_nodes, nullptr, callback, context, &stopped);
}

CPhraseNode* CPhraseStore::FindNodeById(std::uint32_t id) { return Find(m_nodes, id, nullptr, nullptr); }

CPhraseNode* CPhraseStore::FindParentOfId(std::uint32_t id) {
  CPhraseNode* parent = nullptr;
  return Find(m_nodes, id, &parent, nullptr) ? parent : nullptr;
}

bool CPhraseStore::FolderContainsId(const CPhraseNode& folder, std::uint32_t id) const {
  return folder.IsFolder() && ContainsPhrase(*folder.childNodes, id);
}

void CPhraseStore::CountNodes(int* enabled, int* total) const {
  int e = 0, t = 0;
  Count(m_nodes, &e, &t);
  if (enabled) *enabled = e;
  if (total) *total = t;
}

int CPhraseStore::GetNodeCount() const {
  int total = 0;
  CountNodes(nullptr, &total);
  return total;
}

bool CPhraseStore::SaveNodeById(std::uint32_t id) {
  CPhraseNode* parent = nullptr;
  CPhraseNode* node = Find(m_nodes, id, &parent, nullptr);
  if (!node) return false;
  if (node->filePath.empty()) {
    std::wstring folder = parent ? parent->filePath : m_root;
    if (folder.empty()) return false;  // never a file at the root of the drive
    std::wstring path = MakeUniquePhrasePath(folder, node->caption, !node->IsFolder(), true,
                                             !node->IsFolder());
    if (path.empty()) return false;
    node->SetFilePath(path);
  }
  return node->SaveNodeAsync();
}

void CPhraseStore::ClearTextCaches() {
  // Every level: the caches hold texts of the interface language, and a
  // stale one below the top would outlive a change of language.
  ForEachNode(
      [](CPhraseNode* node, void*, CPhraseNode*) -> int {
        node->ClearTextCaches();
        return 1;
      },
      nullptr);
}

void CPhraseStore::SetLoadCachePath(const std::wstring& path) { m_cachePath = path; }

void CPhraseStore::SetFilter(PhraseFilter filter, void* context) {
  m_filter = filter;
  m_filterContext = context;
}

std::uint32_t CPhraseStore::NextId() {
  std::uint32_t id = m_maxId + 1;
  if (id >= kHistoryIdFirst && id <= kHistoryIdLast) id = kHistoryIdLast + 1;
  if (id >= kFixedCommandIdFirst && id <= kFixedCommandIdLast) id = kFixedCommandIdLast + 1;
  m_maxId = id;
  return id;
}
