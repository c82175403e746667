// The user's phrase tree in memory, as found in the phrase folder on disk:
// one directory per phrase folder, one file per phrase.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "phrases/store/phrase_node.h"

struct ScannedEntry;

// Returns 0 to stop the walk. parent is null at the top level.
using PhraseNodeCallback = int (*)(CPhraseNode* node, void* context, CPhraseNode* parent);
// Returns false to leave a phrase out while loading.
using PhraseFilter = bool (*)(CPhraseNode* node, void* context);

class CPhraseStore {
 public:
  explicit CPhraseStore(const std::wstring& rootFolder = std::wstring());
  virtual ~CPhraseStore();
  CPhraseStore(const CPhraseStore&) = delete;
  CPhraseStore& operator=(const CPhraseStore&) = delete;

  // Rebuilds the tree from the folder (the kept root when empty); a folder
  // that does not exist leaves the tree empty. Every load gives new ids.
  void Load(const std::wstring& rootFolder, int sortMode);
  void Clear();
  // Stable order in every list: folders first, then ascending SortID
  // (unsigned). Mode and direction choose nothing yet.
  void Sort(int sortMode, bool descending);

  int ForEachNode(PhraseNodeCallback callback, void* context);
  CPhraseNode* FindNodeById(std::uint32_t id);
  CPhraseNode* FindParentOfId(std::uint32_t id);
  // True when a phrase (not a folder) with the id lies anywhere below.
  bool FolderContainsId(const CPhraseNode& folder, std::uint32_t id) const;
  void CountNodes(int* enabled, int* total) const;
  int GetNodeCount() const;

  // A new folder node in target (the top-level list or a folder's
  // children); its directory is made when missing. Returns the new node's
  // children list (null when target is null).
  std::vector<CPhraseNode>* AddFolder(const std::wstring& name, const std::wstring& directory,
                                      std::vector<CPhraseNode>* target, std::uint32_t* id);

  // Writes the node in the background (giving a new phrase its file name
  // first). False for an unknown id or when nothing could be started.
  bool SaveNodeById(std::uint32_t id);

  const std::wstring& GetRootFolder() const { return m_root; }
  void ClearTextCaches();
  void SetFilter(PhraseFilter filter, void* context);
  // A file in which loads remember what the phrase files held, so the next
  // load opens only the files changed since (empty: no such file).
  void SetLoadCachePath(const std::wstring& path);

  std::vector<CPhraseNode>& Nodes() { return m_nodes; }
  const std::vector<CPhraseNode>& Nodes() const { return m_nodes; }

  // The id the next node gets: one above the largest in the tree, never one
  // the menu uses for other commands.
  std::uint32_t NextId();

 private:
  void Assemble(std::vector<ScannedEntry>& entries, std::vector<CPhraseNode>& target);
  std::vector<CPhraseNode>* AddFolderNode(CPhraseNode node, const std::wstring& name,
                                          const std::wstring& directory,
                                          std::vector<CPhraseNode>& target, std::uint32_t* id);
  std::wstring DirectoryOfList(const std::vector<CPhraseNode>* list) const;

  std::vector<CPhraseNode> m_nodes;
  PhraseFilter m_filter = nullptr;
  void* m_filterContext = nullptr;
  std::wstring m_root;
  std::wstring m_cachePath;
  std::uint32_t m_maxId = 0;  // largest id given since the tree was emptied
};
