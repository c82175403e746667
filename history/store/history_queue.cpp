#include "history/store/history_queue.h"

#include <windows.h>

#include <algorithm>

#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/text/text_basics.h"
#include "history/store/history_files.h"
#include "history/store/save_load_lock.h"

namespace {

std::wstring FileNameOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// File names (without folder) of an item's files.
void CollectFileNames(const CCHItem& item, std::vector<std::wstring>* names) {
  std::vector<std::wstring> files;
  item.CollectFiles(&files);
  for (const auto& path : files) names->push_back(FileNameOf(path));
}

// A clear waits this long at most for a save writing its item.
constexpr DWORD kClearLockWaitMs = 3000;

bool ContainsNoCase(const std::vector<std::wstring>& names, const std::wstring& name) {
  for (const auto& n : names)
    if (EqualNoCase(n, name)) return true;
  return false;
}

}  // namespace

CCHQueue::~CCHQueue() = default;

std::unique_ptr<CCHItem> CCHQueue::UnsavedClone(const CCHItem& item) {
  auto copy = item.Clone();
  copy->ForgetStored();
  return copy;
}

bool CCHQueue::Add(CCHItem* item, int limit) {
  if (m_locked || !item) return false;
  std::unique_ptr<CCHItem> owned(item);
  auto same = std::find_if(m_items.begin(), m_items.end(),
                           [&](const std::unique_ptr<CCHItem>& old) { return IsSameContent(*old, *item); });
  if (same == m_items.end()) {
    m_items.push_back(std::move(owned));
    Trim(limit);
    return true;
  }
  // A new capture is never protected, so it takes the older copy's flag;
  // of two loaded copies the one kept is protected when either was.
  item->SetProtected((*same)->IsProtected() || item->IsProtected());
  item->number = (*same)->number;
  // What the older copy held beside its text stays (its files go below,
  // so the forms taken over are written again with the new item).
  for (const auto& alternate : (*same)->alternates) {
    if (!alternate || item->FindFormat(alternate->kind)) continue;
    std::shared_ptr<CCHItem> kept(alternate->Clone().release());
    kept->ForgetStored();
    item->alternates.push_back(std::move(kept));
  }
  if (item->sourceUrl.empty()) item->sourceUrl = (*same)->sourceUrl;
  // The replaced copy's files go too, or it would return after a restart.
  (*same)->DeleteFiles();
  m_items.erase(same);
  m_items.push_back(std::move(owned));
  return true;
}

bool CCHQueue::MoveToNewest(const CCHItem* item) {
  auto at = std::find_if(m_items.begin(), m_items.end(),
                         [&](const std::unique_ptr<CCHItem>& held) { return held.get() == item; });
  if (at == m_items.end()) return false;
  std::rotate(at, at + 1, m_items.end());
  return true;
}

void CCHQueue::Trim(int limit) {
  const size_t max = static_cast<unsigned>(limit);
  if (m_items.size() <= max) return;
  std::vector<std::unique_ptr<CCHItem>> kept;
  for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
    if (kept.size() < max || (*it)->IsProtected()) {
      kept.push_back(std::move(*it));
    } else {
      (*it)->DeleteFiles();
      it->reset();
    }
  }
  std::reverse(kept.begin(), kept.end());
  m_items = std::move(kept);
}

bool CCHQueue::Clear(const std::set<std::wstring>& spared) {
  bool hadItems = !m_items.empty();
  std::vector<std::wstring> keepNames;
  // Files a running save wrote but has not reported stay: their item takes
  // them (or deletes them when it is gone) once the report arrives.
  CSaveLoadLock lock(false, kClearLockWaitMs);
  for (const auto& path : FilesInFlight()) keepNames.push_back(FileNameOf(path));
  if (hadItems) {
    auto snapshot = std::make_unique<CCHQueue>();
    for (const auto& item : m_items)
      if (!spared.count(item->key)) snapshot->Append(UnsavedClone(*item));
    if (snapshot->Count() > 0) m_undo.push_back({std::move(snapshot), kUndoWholeList});

    std::vector<std::unique_ptr<CCHItem>> kept;
    for (auto& item : m_items) {
      if (item->IsProtected() || spared.count(item->key)) {
        // Protected items keep their files and their stored state: they
        // are not written again, so an exit before the next save loses
        // nothing.
        CollectFileNames(*item, &keepNames);
        kept.push_back(std::move(item));
      } else {
        item->DeleteFiles();
        item.reset();
      }
    }
    m_items = std::move(kept);
  }
  Clear_Directory_Exclude(keepNames);
  return hadItems;
}

bool CCHQueue::DeleteItems(const std::set<int>& indexes, bool pushUndo) {
  if (indexes.empty() || m_items.empty()) return false;
  const int count = Count();
  auto snapshot = std::make_unique<CCHQueue>();
  std::vector<std::unique_ptr<CCHItem>> kept;
  // Oldest first, so that an undo appends the items in their old order.
  for (int i = 0; i < count; ++i) {
    auto& item = m_items[i];
    int fromNewest = count - 1 - i;
    if (indexes.count(fromNewest) && !item->IsProtected()) {
      // Only what goes is kept for an undo: a protected item stays, and a
      // copy of it would come back beside it.
      if (pushUndo) snapshot->Append(UnsavedClone(*item));
      item->DeleteFiles();
      item.reset();
    } else {
      kept.push_back(std::move(item));
    }
  }
  m_items = std::move(kept);
  if (pushUndo && snapshot->Count() > 0) m_undo.push_back({std::move(snapshot), kUndoDeleted});
  return true;
}

bool CCHQueue::Undo() {
  if (m_undo.empty()) return false;
  UndoEntry entry = std::move(m_undo.back());
  m_undo.pop_back();
  CCHQueue& snapshot = *entry.snapshot;
  if (entry.kind == kUndoWholeList) {
    // Items captured after the clear stay; only those the snapshot brings
    // back go, with their files, so none is there twice now or after a
    // restart.
    std::vector<std::unique_ptr<CCHItem>> kept;
    for (auto& item : m_items) {
      bool inSnapshot = std::any_of(
          snapshot.m_items.begin(), snapshot.m_items.end(), [&](const std::unique_ptr<CCHItem>& old) {
            return old->key == item->key || IsSameContent(*old, *item);
          });
      if (inSnapshot) {
        item->DeleteFiles();
        item.reset();
      } else {
        kept.push_back(std::move(item));
      }
    }
    m_items = std::move(kept);
  }
  for (auto& item : snapshot.m_items) m_items.push_back(std::move(item));
  snapshot.m_items.clear();
  return true;
}

bool CCHQueue::ClearUndo() {
  m_undo.clear();
  return m_undo.empty();
}

std::unique_ptr<CCHQueue> CCHQueue::CloneAll() const {
  if (m_items.empty()) return nullptr;
  auto copy = std::make_unique<CCHQueue>();
  for (const auto& item : m_items) copy->Append(item->Clone());
  return copy;
}

std::unique_ptr<CCHQueue> CCHQueue::CloneUnsaved() const {
  std::unique_ptr<CCHQueue> copy;
  for (const auto& item : m_items) {
    if (item->storedState != kStoredNot) continue;
    if (!copy) copy = std::make_unique<CCHQueue>();
    copy->Append(item->Clone());
  }
  return copy;
}

CCHItem* CCHQueue::FindByKey(const std::wstring& key) const {
  for (const auto& item : m_items)
    if (item->key == key) return item.get();
  return nullptr;
}

int CCHQueue::IndexOfNumber(std::uint32_t number) const {
  for (size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i]->number == number) return static_cast<int>(i);
  return -1;
}

void CCHQueue::SortByTime() {
  std::stable_sort(m_items.begin(), m_items.end(),
                   [](const std::unique_ptr<CCHItem>& a, const std::unique_ptr<CCHItem>& b) {
                     return CompareSystemTimes(a->captureTime, b->captureTime) < 0;
                   });
}

void CCHQueue::ClearTipTexts() {
  for (auto& item : m_items) item->tipText.clear();
}

void CCHQueue::DetachAll() {
  for (auto& item : m_items) item.release();
  m_items.clear();
}

CCHItem* CCHQueue::GetItem(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_items[m_items.size() - 1 - index].get();
}

std::unique_ptr<CCHItem> CCHQueue::Detach(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  auto at = m_items.begin() + (m_items.size() - 1 - index);
  std::unique_ptr<CCHItem> item = std::move(*at);
  m_items.erase(at);
  return item;
}

int CCHQueue::Clear_Directory_Exclude(const std::vector<std::wstring>& keep) {
  Log(L"CCHQueue::Clear_Directory_Exclude");
  std::wstring folder = GetClipboardHistoryFolder();
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  WIN32_FIND_DATAW found = {};
  UniqueFindHandle find(FindFirstFileW((folder + L"*.*").c_str(), &found));
  if (!find) {
    LogError(L"INVALID_HANDLE_VALUE  in CCHQueue::Clear_Directory_Exclude");
    return 0;
  }
  std::vector<std::wstring> doomed;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (ContainsNoCase(keep, found.cFileName)) continue;
    doomed.push_back(folder + found.cFileName);
  } while (FindNextFileW(find.Get(), &found));
  int deleted = 0;
  for (const auto& path : doomed) {
    if (DeleteHistoryFile(path))
      ++deleted;
    else
      LogError(L"Cannot delete the: " + path);
  }
  return deleted;
}
