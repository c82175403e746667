#include "phrases/menu/menu_last_used.h"

#include <map>

#include "phrases/store/phrase_node.h"
#include "phrases/store/phrase_store.h"

int ValidLastUsedCount(int count) { return count >= 1 && count <= 5 ? count : 3; }

void CLastUsedList::Add(std::uint32_t id, const std::wstring& filePath, int maxCount) {
  size_t n = static_cast<size_t>(ValidLastUsedCount(maxCount));
  std::vector<std::uint32_t> ids{id};
  std::vector<std::wstring> paths{filePath};
  for (size_t i = 0; i < m_ids.size() && ids.size() < n; ++i) {
    if (m_ids[i] == id) continue;
    ids.push_back(m_ids[i]);
    paths.push_back(i < m_paths.size() ? m_paths[i] : std::wstring());
  }
  m_ids.swap(ids);
  m_paths.swap(paths);
}

namespace {

int CollectPath(CPhraseNode* node, void* context, CPhraseNode*) {
  auto* byPath = static_cast<std::map<std::wstring, std::uint32_t>*>(context);
  if (!node->IsFolder() && !node->GetFilePath().empty()) byPath->emplace(node->GetFilePath(), node->CMDID);
  return 1;
}

}  // namespace

void CLastUsedList::Remap(CPhraseStore& store) {
  std::map<std::wstring, std::uint32_t> byPath;
  store.ForEachNode(CollectPath, &byPath);
  std::vector<std::uint32_t> ids;
  std::vector<std::wstring> paths;
  for (size_t i = 0; i < m_ids.size(); ++i) {
    auto it = i < m_paths.size() ? byPath.find(m_paths[i]) : byPath.end();
    if (it == byPath.end()) continue;
    ids.push_back(it->second);
    paths.push_back(m_paths[i]);
  }
  m_ids.swap(ids);
  m_paths.swap(paths);
}

void CLastUsedList::KeepOnly(const std::vector<std::uint32_t>& ids) {
  for (size_t i = m_ids.size(); i-- > 0;) {
    bool kept = false;
    for (std::uint32_t id : ids) kept = kept || id == m_ids[i];
    if (kept) continue;
    m_ids.erase(m_ids.begin() + static_cast<std::ptrdiff_t>(i));
    if (i < m_paths.size()) m_paths.erase(m_paths.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

void CLastUsedList::Clear() {
  m_ids.clear();
  m_paths.clear();
}
