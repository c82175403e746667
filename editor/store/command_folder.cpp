#include "editor/store/command_folder.h"

#include <memory>
#include <unordered_map>

#include "editor/store/command_names.h"
#include "editor/store/command_order.h"
#include "foundation/files/files.h"
#include "foundation/files/shell_file_ops.h"
#include "foundation/logging/log.h"
#include "foundation/system/security.h"
#include "foundation/text/text_basics.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_load_cache.h"
#include "phrases/store/phrase_names.h"
#include "phrases/store/phrase_node.h"
#include "phrases/store/phrase_scan.h"
#include "phrases/store/phrase_writer.h"

namespace {

// Pre-order walk; visit returns false to stop. False when stopped.
template <typename Visit>
bool Walk(CommandList& list, CQLRCommand* parent, Visit& visit) {
  for (CQLRCommand& record : list) {
    if (!visit(record, parent, list)) return false;
    if (record.IsFolder() && !Walk(*record.GetChildren(), &record, visit)) return false;
  }
  return true;
}

std::wstring TrimTrailingBackslash(const std::wstring& path) {
  std::wstring trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == L'\\') trimmed.pop_back();
  return trimmed;
}

bool StartsWithDirectory(const std::wstring& path, const std::wstring& directory) {
  return path.size() > directory.size() && path[directory.size()] == L'\\' &&
         EqualNoCase(path.substr(0, directory.size()), directory);
}

}  // namespace

void WaitForPendingWrites() {
  if (!WaitForPhraseWrites(kPendingWritesTimeoutMs))
    LogError(L"phrase writes still running after " + std::to_wstring(kPendingWritesTimeoutMs) + L" ms");
}

void SortCommands(CommandList& list, bool recursive) {
  list.sort([](const CQLRCommand& a, const CQLRCommand& b) {
    if (a.IsFolder() != b.IsFolder()) return a.IsFolder();
    return a.m_sortId < b.m_sortId;
  });  // std::list::sort is stable
  if (!recursive) return;
  for (CQLRCommand& record : list)
    if (record.IsFolder()) SortCommands(*record.GetChildren(), true);
}

CCommandFolder::CCommandFolder() = default;
CCommandFolder::~CCommandFolder() = default;

void CCommandFolder::Load(const std::wstring& folderPath) {
  // What the editor queued is on disk before the folder is read again, or
  // the reload would bring back the older texts.
  WaitForPendingWrites();
  m_commands.clear();
  m_lastId = 0;
  std::wstring root = TrimTrailingBackslash(folderPath.empty() ? m_rootPath : folderPath);
  if (root.empty() || !IsFolderExist(root)) return;
  std::unique_ptr<PhraseLoadCache> record;
  if (!m_loadRecordPath.empty()) {
    record.reset(new PhraseLoadCache(m_loadRecordPath));
    record->Open(root);
  }
  std::vector<ScannedEntry> scanned = ScanPhraseFolder(root, record.get());
  Assemble(scanned, m_commands);
  // One sort after the scan gives what a sort after every folder would.
  SortCommands(m_commands, true);
  m_rootPath = root;
}

// Ids go in scan order: a folder's own before those of its content; a file
// that could not be read takes none.
void CCommandFolder::Assemble(std::vector<ScannedEntry>& entries, CommandList& target) {
  for (ScannedEntry& entry : entries) {
    CQLRCommand record;
    if (entry.isFolder) {
      // A folder's file holds no title, so the reader never calls it read;
      // what it did read (order, flags) is kept.
      if (entry.hasSelfRecord) record.TakePhraseNode(entry.record);
      CommandList* children = AddFolderRecord(record, entry.name, entry.path, &target, nullptr);
      if (children) Assemble(entry.children, *children);
      continue;
    }
    if (!entry.read) {
      Log(L"Phrase file skipped, it cannot be read: " + entry.path);
      continue;
    }
    record.TakePhraseNode(entry.record);
    record.SetId(TakeNextId());
    record.SetFilePath(entry.path);
    target.push_back(std::move(record));
  }
}

std::uint32_t CCommandFolder::LoadCommandFile(const std::wstring& path) {
  CPhraseNode node;
  if (!ReadPhraseFile(node, path)) return kRootId;
  CQLRCommand record;
  record.TakePhraseNode(node);
  record.SetId(TakeNextId());
  record.SetFilePath(path);
  m_commands.push_back(std::move(record));
  return m_commands.back().GetId();
}

CCommandFolder::Found CCommandFolder::Locate(std::uint32_t id) {
  Found found;
  auto visit = [&](CQLRCommand& record, CQLRCommand* parent, CommandList& list) {
    if (record.GetId() != id) return true;
    found = Found{&record, parent, &list};
    return false;
  };
  Walk(m_commands, nullptr, visit);
  return found;
}

CQLRCommand* CCommandFolder::FindCommandById(std::uint32_t id) { return Locate(id).record; }

int CCommandFolder::ForEach(CommandCallback callback, void* context) {
  int visited = 0;
  auto visit = [&](CQLRCommand& record, CQLRCommand* parent, CommandList&) {
    ++visited;
    return callback(&record, context, parent) != 0;
  };
  Walk(m_commands, nullptr, visit);
  return visited;
}

int CCommandFolder::CountFolders() const {
  int folders = 0;
  auto visit = [&](CQLRCommand& record, CQLRCommand*, CommandList&) {
    if (record.IsFolder()) ++folders;
    return true;
  };
  Walk(const_cast<CommandList&>(m_commands), nullptr, visit);
  return folders;
}

void CCommandFolder::CountCommands(int* enabled, int* total) const {
  int on = 0, all = 0;
  auto visit = [&](CQLRCommand& record, CQLRCommand*, CommandList&) {
    ++all;
    if (record.IsEnabled()) ++on;
    return true;
  };
  Walk(const_cast<CommandList&>(m_commands), nullptr, visit);
  if (enabled) *enabled = on;
  if (total) *total = all;
}

CQLRCommand* CCommandFolder::FindParent(std::uint32_t id) { return Locate(id).parent; }

std::uint32_t CCommandFolder::GetParentId(std::uint32_t id) {
  CQLRCommand* parent = FindParent(id);
  return parent ? parent->GetId() : kRootId;
}

bool CCommandFolder::IsAncestor(std::uint32_t id, std::uint32_t otherId) {
  // Each step goes one level up, so the walk ends at the top.
  for (CQLRCommand* parent = FindParent(id); parent; parent = FindParent(parent->GetId()))
    if (parent->GetId() == otherId) return true;
  return false;
}

CommandList* CCommandFolder::GetChildList(std::uint32_t folderId) {
  if (folderId == kRootId) return &m_commands;
  CQLRCommand* record = FindCommandById(folderId);
  return record ? record->GetChildren() : nullptr;
}

CommandList* CCommandFolder::GetOwningList(std::uint32_t id) {
  if (id == kRootId) return &m_commands;
  return Locate(id).list;
}

std::wstring CCommandFolder::GetPath(std::uint32_t id) {
  if (id == kRootId) return m_rootPath;
  CQLRCommand* record = FindCommandById(id);
  return record ? record->GetFilePath() : std::wstring();
}

CQLRCommand* CCommandFolder::FindByPath(const wchar_t* path) {
  if (!path || !*path) return nullptr;
  std::wstring wanted = path;
  CQLRCommand* found = nullptr;
  auto visit = [&](CQLRCommand& record, CQLRCommand*, CommandList&) {
    if (!EqualNoCase(record.GetFilePath(), wanted)) return true;
    found = &record;
    return false;
  };
  Walk(m_commands, nullptr, visit);
  return found;
}

std::wstring CCommandFolder::DirectoryOf(const CommandList* list) {
  if (list == &m_commands) return m_rootPath;
  std::wstring directory;
  auto visit = [&](CQLRCommand& record, CQLRCommand*, CommandList&) {
    if (record.GetChildren() != list) return true;
    directory = record.GetFilePath();
    return false;
  };
  Walk(m_commands, nullptr, visit);
  return directory;
}

std::uint32_t CCommandFolder::AddCommand(const std::wstring& title, const std::wstring& text,
                                         std::uint32_t dataType, std::uint32_t parentId) {
  CommandList* list = GetChildList(parentId);
  if (!list) return kRootId;
  // Without its directory the phrase would have no place of its own: it
  // would be written beside the drive's root or nowhere.
  const std::wstring directory = parentId == kRootId ? m_rootPath : GetPath(parentId);
  if (directory.empty() || !IsFolderExist(directory)) {
    LogError(L"AddCommand: the phrase folder is missing [" + directory + L"]");
    return kRootId;
  }
  CQLRCommand record;
  record.m_cmd = text;
  record.SetMenuName(NormalizeTitle(title));
  record.DataType = dataType;
  record.SetId(TakeNextId());
  record.SetEnabled(true);
  list->push_back(std::move(record));
  std::uint32_t id = list->back().GetId();
  SaveCommand(id);
  return id;
}

CommandList* CCommandFolder::AddFolder(const std::wstring& title, const std::wstring& directory,
                                       CommandList* target, std::uint32_t* id) {
  if (!target) return nullptr;
  std::wstring path = directory;
  if (path.empty()) {
    // A bare title is made under the folder the list belongs to, never
    // under whatever the current directory happens to be.
    std::wstring name = NormalizeTitle(title);
    if (name.empty()) return nullptr;
    path = DirectoryOf(target) + L"\\" + name;
  }
  path = TrimTrailingBackslash(path);
  CQLRCommand record;
  CPhraseNode self;
  self.MakeFolder();  // a folder's file gives no date of use
  if (IsFileExist(path + L"\\" + kFolderSelfFileName)) {
    // The reader answers false for want of a title; the rest is kept.
    ReadPhraseFile(self, path + L"\\" + kFolderSelfFileName);
    record.TakePhraseNode(self);
  }
  if (!IsFolderExist(path)) {
    EveryoneSecurity security;
    if (!CreateDirectoryW(path.c_str(), security.Get())) {
      // Without its directory nothing added to the folder could be saved.
      LogError(L"CreateDirectoryW [" + path + L"], code " + std::to_wstring(GetLastError()));
      return nullptr;
    }
  }
  CommandList* children = AddFolderRecord(record, title, path, target, id);
  SortCommands(m_commands, true);
  return children;
}

CommandList* CCommandFolder::AddFolderRecord(CQLRCommand& record, const std::wstring& title,
                                             const std::wstring& directory, CommandList* target,
                                             std::uint32_t* id) {
  record.SetMenuName(title);  // the directory's name, whatever its file says
  record.SetId(TakeNextId());
  record.MakeFolder();
  record.SetFilePath(directory);
  if (id) *id = record.GetId();
  target->push_back(std::move(record));
  return target->back().GetChildren();
}

int CCommandFolder::DeleteCommand(std::uint32_t id, HWND owner, bool confirm) {
  Found found = Locate(id);
  if (!found.record) return 0;
  if (!found.record->GetFilePath().empty()) {
    WaitForPendingWrites();
    if (!DeleteToRecycleBin(owner, found.record->GetFilePath(), confirm)) return 0;
  }
  for (auto it = found.list->begin(); it != found.list->end(); ++it) {
    if (&*it == found.record) {
      found.list->erase(it);
      break;
    }
  }
  return 1;
}

bool CCommandFolder::RenameFolder(const std::wstring& newPath, std::uint32_t id) {
  CQLRCommand* record = FindCommandById(id);
  if (!record) return false;
  if (!record->IsFolder()) return record->SetFilePath(newPath);
  WaitForPendingWrites();
  std::wstring oldPath = record->GetFilePath();
  if (!record->SetFilePath(newPath)) return false;
  ReplacePathsBelow(*record, oldPath, newPath);
  return true;
}

void ReplacePathsBelow(CQLRCommand& folder, const std::wstring& oldDirectory,
                       const std::wstring& newDirectory) {
  if (!folder.IsFolder() || oldDirectory.empty()) return;
  for (CQLRCommand& child : *folder.GetChildren()) {
    const std::wstring& path = child.GetFilePath();
    // Only the leading directory is replaced: the same text further down a
    // path names another place.
    if (StartsWithDirectory(path, oldDirectory)) {
      // The directory has moved already, so this sets the path alone.
      child.SetFilePath(newDirectory + path.substr(oldDirectory.size()));
    }
    ReplacePathsBelow(child, oldDirectory, newDirectory);
  }
}

void CCommandFolder::SetOrder(const std::vector<std::uint32_t>& ids, std::uint32_t folderId) {
  CommandList* list = GetChildList(folderId);
  if (!list) return;
  std::unordered_map<std::uint32_t, CQLRCommand*> children;
  for (CQLRCommand& child : *list) children[child.GetId()] = &child;
  std::uint32_t position = 0;
  for (std::uint32_t id : ids) {
    auto it = children.find(id);
    if (it != children.end() && it->second->m_sortId != position) {
      it->second->m_sortId = position;
      it->second->SaveAsync();
    }
    ++position;
  }
  // The tree is filled in the lists' order below the top level: the list
  // takes its new order now, not only at the next load. (A list keeps its
  // records where they are, so pointers to them stay good.)
  SortCommands(*list, false);
}

bool CCommandFolder::SaveCommand(std::uint32_t id) {
  Found found = Locate(id);
  return found.record && SaveRecord(*found.record, found.parent, found.list);
}

bool CCommandFolder::SaveRecord(CQLRCommand& record, const CQLRCommand* parent, const CommandList* list) {
  if (record.GetFilePath().empty()) {
    std::wstring directory = parent ? parent->GetFilePath() : m_rootPath;
    if (directory.empty()) {
      LogError(std::wstring(L"no folder to save [") + record.caption + L"] in");
      return false;
    }
    std::wstring path = FreePhrasePath(directory, record, list);
    if (path.empty()) {
      LogError(std::wstring(L"no free file name for [") + record.caption + L"] in [" + directory + L"]");
      return false;
    }
    record.SetFilePath(path);
  }
  return record.SaveAsync();
}

// The first free name for the record's title. A sibling's file may not be
// on disk yet (its write is queued), so the names the siblings hold count
// as taken too.
std::wstring CCommandFolder::FreePhrasePath(const std::wstring& directory, const CQLRCommand& record,
                                            const CommandList* siblings) {
  std::wstring base = directory;
  if (base.empty() || base.back() != L'\\') base += L'\\';
  for (int number = 1; number < 100000; ++number) {
    std::wstring path = base + MakeFileTitle(record.caption, number, true, true);
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    bool held = false;
    if (siblings)
      for (const CQLRCommand& sibling : *siblings)
        if (&sibling != &record && EqualNoCase(sibling.GetFilePath(), path)) held = true;
    if (!held) return path;
  }
  return std::wstring();
}

void CCommandFolder::SaveAll() {
  auto visit = [&](CQLRCommand& record, CQLRCommand* parent, CommandList& list) {
    SaveRecord(record, parent, &list);
    return true;
  };
  Walk(m_commands, nullptr, visit);
}

void CCommandFolder::Sort() { SortCommands(m_commands, true); }
