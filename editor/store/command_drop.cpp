// Drag and drop (and cut, copy and paste) of one record in the tree.
#include "editor/store/command_folder.h"

#include "editor/store/command_names.h"
#include "editor/store/command_order.h"
#include "foundation/logging/log.h"
#include "phrases/store/phrase_scan.h"
#include "phrases/store/phrase_writer.h"

namespace {

// Every field but the children, the path and the id; a copy starts unused.
CQLRCommand CopyOfFields(const CQLRCommand& from) {
  CQLRCommand copy;
  copy.SetMenuName(from.caption);
  copy.SetHint(from.tooltip);
  copy.DataType = from.DataType;
  copy.m_cmd = from.m_cmd;
  copy.m_sortId = from.m_sortId;
  copy.m_useTitleOnly = from.m_useTitleOnly;
  copy.m_dateUsage = from.m_dateUsage;
  copy.m_disabledIsNoHasSelection = from.m_disabledIsNoHasSelection;
  copy.m_enabled = from.m_enabled;
  copy.m_flagsMenu = from.m_flagsMenu;
  copy.m_usageCount = 0;
  if (from.IsFolder()) copy.MakeFolder();
  return copy;
}

std::wstring LastName(const std::wstring& path) {
  size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool CCommandFolder::CanDrop(std::uint32_t targetId, const CommandDragData& data) {
  if (!data.hasRecord || data.id == targetId) return false;
  Found dragged = Locate(data.id);
  if (!dragged.record) return false;
  if (targetId != kRootId) {
    CQLRCommand* target = FindCommandById(targetId);
    if (!target || !target->IsFolder()) return false;
  }
  std::uint32_t parentId = dragged.parent ? dragged.parent->GetId() : kRootId;
  if (data.isMove && parentId == targetId) return false;
  if (targetId != kRootId && IsAncestor(targetId, data.id)) return false;
  return true;
}

int CCommandFolder::MoveCommand(std::uint32_t targetId, const CommandDragData& data, std::uint32_t* newId) {
  return Drop(targetId, data, true, newId);
}

int CCommandFolder::CopyCommand(std::uint32_t targetId, const CommandDragData& data, std::uint32_t* newId) {
  return Drop(targetId, data, false, newId);
}

int CCommandFolder::MoveToRoot(const CommandDragData& data, std::uint32_t* newId) {
  return Drop(kRootId, data, true, newId);
}

int CCommandFolder::Drop(std::uint32_t targetId, const CommandDragData& data, bool move,
                         std::uint32_t* newId) {
  if (newId) *newId = kRootId;
  if (!CanDrop(targetId, data)) return 0;
  Found source = Locate(data.id);
  CommandList* targetList = GetChildList(targetId);
  std::wstring oldPath = source.record->GetFilePath();
  // A queued write of the record must land before its file moves, or it
  // would bring the old file back.
  WaitForPendingWrites();
  std::wstring newPath = CopyOrMoveEntry(oldPath, GetPath(targetId), move);
  if (newPath.empty()) return 0;

  CQLRCommand* placed = nullptr;
  if (move) {
    // The record itself goes over, with its children and its place in
    // memory; what the lists held stays where it was.
    for (auto it = source.list->begin(); it != source.list->end(); ++it) {
      if (&*it != source.record) continue;
      targetList->splice(targetList->end(), *source.list, it);
      break;
    }
    placed = source.record;
    placed->SetFilePath(newPath);
    ReplacePathsBelow(*placed, oldPath, newPath);
    // The record keeps its id: whoever holds it (the document, the open
    // text) still names the same record after the move.
  } else {
    targetList->push_back(CopyOfFields(*source.record));
    placed = &targetList->back();
    placed->SetFilePath(newPath);
    placed->SetId(TakeNextId());
    if (placed->IsFolder()) {
      // The copy's records are read from the copied files with ids of their
      // own: the source keeps its children.
      std::vector<ScannedEntry> scanned = ScanPhraseFolder(newPath, nullptr);
      Assemble(scanned, *placed->GetChildren());
      SortCommands(*placed->GetChildren(), true);
    }
  }
  // A folder under a new directory name is shown by that name, as the next
  // load will show it.
  if (placed->IsFolder()) placed->SetMenuName(LastName(newPath));
  SortCommands(*targetList, false);
  if (newId) *newId = placed->GetId();
  return 1;
}
