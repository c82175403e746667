// The editor's phrase tree: the phrase folder on disk held in memory, with
// every change the editor makes carried out on disk as well. Runs on the
// user-interface thread; only the writing of files runs elsewhere.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "editor/store/command.h"
#include "foundation/files/files.h"

struct ScannedEntry;

// Returns 0 to stop the walk; parent is null at the top level.
using CommandCallback = int (*)(CQLRCommand* record, void* context, CQLRCommand* parent);

// What a drag (or cut and paste) in the tree carries.
struct CommandDragData {
  bool hasRecord = false;
  std::uint32_t id = 0;
  bool isMove = false;
};

// The id that names the root in every operation taking a folder id.
constexpr std::uint32_t kRootId = static_cast<std::uint32_t>(-1);

class CCommandFolder {
 public:
  CCommandFolder();
  ~CCommandFolder();
  CCommandFolder(const CCommandFolder&) = delete;
  CCommandFolder& operator=(const CCommandFolder&) = delete;

  // Replaces the tree with the folder's content (the present root when the
  // path is empty). A path that is no directory leaves the tree empty and
  // the root as it was.
  void Load(const std::wstring& folderPath);
  // Where loads keep their record of what each phrase file held, so the
  // next load opens only the files changed since (empty: no record).
  void SetLoadRecordPath(const std::wstring& path) { m_loadRecordPath = path; }
  // Reads one phrase file into a new top-level record; its id, or -1.
  std::uint32_t LoadCommandFile(const std::wstring& path);

  CQLRCommand* FindCommandById(std::uint32_t id);
  // One above the largest id given since the last load: an id is never
  // given twice within one loaded tree.
  std::uint32_t GetNextId() const { return m_lastId + 1; }
  int ForEach(CommandCallback callback, void* context);
  int CountFolders() const;
  void CountCommands(int* enabled, int* total) const;

  CQLRCommand* FindParent(std::uint32_t id);
  std::uint32_t GetParentId(std::uint32_t id);
  bool IsAncestor(std::uint32_t id, std::uint32_t otherId);
  CommandList* GetChildList(std::uint32_t folderId);
  CommandList* GetOwningList(std::uint32_t id);
  std::wstring GetPath(std::uint32_t id);
  CQLRCommand* FindByPath(const wchar_t* path);

  // A new phrase under the folder (kRootId: the top level), saved at once;
  // its id, or -1 when the parent is unknown or no folder.
  std::uint32_t AddCommand(const std::wstring& title, const std::wstring& text, std::uint32_t dataType,
                           std::uint32_t parentId);
  // A new folder record in target, its directory made when missing. Its
  // children list, or null (and no record) when the directory cannot be
  // made or the target is null.
  CommandList* AddFolder(const std::wstring& title, const std::wstring& directory, CommandList* target,
                         std::uint32_t* id);
  // Into the recycle bin; 0 (and the tree unchanged) when the shell failed
  // or the user cancelled.
  int DeleteCommand(std::uint32_t id, HWND owner, bool confirm = true);
  bool RenameFolder(const std::wstring& newPath, std::uint32_t id);
  void SetOrder(const std::vector<std::uint32_t>& ids, std::uint32_t folderId);
  bool SaveCommand(std::uint32_t id);
  void SaveAll();
  void Sort();

  bool CanDrop(std::uint32_t targetId, const CommandDragData& data);
  int MoveCommand(std::uint32_t targetId, const CommandDragData& data, std::uint32_t* newId);
  int CopyCommand(std::uint32_t targetId, const CommandDragData& data, std::uint32_t* newId);
  int MoveToRoot(const CommandDragData& data, std::uint32_t* newId);

  const std::wstring& GetRootPath() const { return m_rootPath; }
  // The root names a directory that exists now (the phrase folder may have
  // gone since the load).
  bool IsRootPresent() const { return !m_rootPath.empty() && IsFolderExist(m_rootPath); }
  CommandList& Commands() { return m_commands; }

 private:
  struct Found {
    CQLRCommand* record = nullptr;
    CQLRCommand* parent = nullptr;
    CommandList* list = nullptr;
  };
  Found Locate(std::uint32_t id);
  std::uint32_t TakeNextId() { return ++m_lastId; }
  std::wstring DirectoryOf(const CommandList* list);
  int Drop(std::uint32_t targetId, const CommandDragData& data, bool move, std::uint32_t* newId);
  void Assemble(std::vector<ScannedEntry>& entries, CommandList& target);
  CommandList* AddFolderRecord(CQLRCommand& record, const std::wstring& title,
                               const std::wstring& directory, CommandList* target, std::uint32_t* id);
  bool SaveRecord(CQLRCommand& record, const CQLRCommand* parent, const CommandList* list);
  std::wstring FreePhrasePath(const std::wstring& directory, const CQLRCommand& record,
                              const CommandList* siblings);

  CommandList m_commands;
  std::wstring m_rootPath;
  std::wstring m_loadRecordPath;
  std::uint32_t m_lastId = 0;
};

// The paths below a folder record rewritten from one directory to another.
void ReplacePathsBelow(CQLRCommand& folder, const std::wstring& oldDirectory,
                       const std::wstring& newDirectory);
