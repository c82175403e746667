// The clipboard history: items oldest first inside, but every caller-facing
// index counts from the newest (index 0). Duplicates replace the older copy,
// protected items survive the length limit, clearing and deleting; clearing
// and deleting can be undone.
#pragma once
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "history/store/history_item.h"

class CCHQueue {
 public:
  CCHQueue() = default;
  virtual ~CCHQueue();
  CCHQueue(const CCHQueue&) = delete;
  CCHQueue& operator=(const CCHQueue&) = delete;

  // Takes the item on success; on false (a locked queue) the caller keeps it.
  // An equal older item is replaced: the new one takes its number, its
  // protection, the alternates of kinds it lacks and its source URL.
  bool Add(CCHItem* item, int limit);
  // The item, unchanged, becomes the newest; false when it is not here.
  bool MoveToNewest(const CCHItem* item);
  // Limits compare unsigned: -1 never trims.
  void Trim(int limit);
  // Items whose key is in spared stay as protected ones do, with their
  // files, and out of the undo entry.
  bool Clear(const std::set<std::wstring>& spared = {});
  // Indexes count from the newest.
  bool DeleteItems(const std::set<int>& indexes, bool pushUndo);
  bool Undo();
  bool CanUndo() const { return !m_undo.empty(); }
  int GetUndoCount() const { return static_cast<int>(m_undo.size()); }
  bool ClearUndo();

  void SetLocked(bool locked) { m_locked = locked; }
  bool IsLocked() const { return m_locked; }

  std::unique_ptr<CCHQueue> CloneAll() const;
  std::unique_ptr<CCHQueue> CloneUnsaved() const;
  CCHItem* FindByKey(const std::wstring& key) const;
  // Position counted from the oldest, or -1.
  int IndexOfNumber(std::uint32_t number) const;
  void SortByTime();
  void ClearTipTexts();
  // Empties the list without destroying the items, which the caller took.
  void DetachAll();
  // Deletes every file of the history folder whose name is not in keep.
  int Clear_Directory_Exclude(const std::vector<std::wstring>& keep);

  int Count() const { return static_cast<int>(m_items.size()); }
  // Index 0 is the newest; null outside the queue.
  CCHItem* GetItem(int index) const;
  // Appends as newest without looking for duplicates or trimming (queues
  // of copies for the save thread, snapshots).
  void Append(std::unique_ptr<CCHItem> item) { m_items.push_back(std::move(item)); }
  // Hands the item at index (from the newest) over to the caller.
  std::unique_ptr<CCHItem> Detach(int index);

 private:
  enum UndoKind { kUndoWholeList = 0, kUndoDeleted = 1 };
  struct UndoEntry {
    std::unique_ptr<CCHQueue> snapshot;
    UndoKind kind;
  };
  // Snapshot copies are unsaved: an undo writes them again.
  static std::unique_ptr<CCHItem> UnsavedClone(const CCHItem& item);

  std::vector<std::unique_ptr<CCHItem>> m_items;  // oldest first
  bool m_locked = false;
  std::vector<UndoEntry> m_undo;
};
