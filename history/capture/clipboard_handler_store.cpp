// The handler's saving and loading: copies of the unsaved items go to a
// save thread, the stored history comes from a load thread, and both hand
// their results to the UI thread by sent messages.
#include <algorithm>
#include <atomic>
#include <memory>

#include "foundation/logging/log.h"
#include "foundation/text/text_basics.h"
#include "history/capture/clipboard_handler.h"
#include "history/store/history_files.h"
#include "history/store/history_names.h"
#include "history/store/history_store.h"
#include "history/store/save_load_lock.h"

namespace hn = history_names;

namespace {

struct WorkerJob {
  std::wstring folder;
  CCHQueue* queue;  // the thread's own
  HWND handler;
  bool load;
  std::shared_ptr<std::atomic<bool>> cancel;  // set when the window ends
};

// How long the UI thread waits for the save/load lock at the end.
constexpr DWORD kExitLockWaitMs = 3000;

UINT ItemSavedMessage() {
  static const UINT id = RegisterWindowMessageW(hn::kItemSavedMessage);
  return id;
}

UINT HistoryLoadedMessage() {
  static const UINT id = RegisterWindowMessageW(hn::kHistoryLoadedMessage);
  return id;
}

void (*g_beforeLoad)() = nullptr;
void (*g_beforeItemSave)() = nullptr;

std::vector<std::wstring> FilesOf(const CCHItem& item) {
  std::vector<std::wstring> files;
  item.CollectFiles(&files);
  return files;
}

// Files written but not yet reported, for as long as this lives: also
// when the report does not come back because something was thrown.
class FilesInFlightNote {
 public:
  explicit FilesInFlightNote(std::vector<std::wstring> files) : m_files(std::move(files)) {
    NoteFilesInFlight(m_files);
  }
  ~FilesInFlightNote() { ForgetFilesInFlight(m_files); }
  FilesInFlightNote(const FilesInFlightNote&) = delete;
  FilesInFlightNote& operator=(const FilesInFlightNote&) = delete;

 private:
  std::vector<std::wstring> m_files;
};

bool NamesFileInFlight(const CCHItem& item, const std::vector<std::wstring>& inFlight) {
  for (const std::wstring& file : FilesOf(item))
    for (const std::wstring& busy : inFlight)
      if (EqualNoCase(file, busy)) return true;
  return false;
}

// A save of this run wrote these files and has not reported them: its item
// takes them (or deletes them, stale) once it does, so the load must not
// bring them in as an item of their own, nor the merge delete them.
void DropItemsOfUnreportedSaves(CCHQueue* loaded) {
  const std::vector<std::wstring> inFlight = FilesInFlight();
  if (inFlight.empty()) return;
  for (int i = loaded->Count() - 1; i >= 0; --i) {
    CCHItem* item = loaded->GetItem(i);
    if (!NamesFileInFlight(*item, inFlight)) continue;
    std::unique_ptr<CCHItem> own = loaded->Detach(i);
    own->ForgetStored();  // its files stay
    for (auto& alternate : own->alternates)
      if (alternate) alternate->dataPath.clear();
  }
}

// The lock is held only while files are read or written, never while a
// result is sent: the UI thread may itself wait for the lock.
void RunWorker(const WorkerJob& job) {
  CCHQueue* queue = job.queue;
  const std::atomic<bool>* cancel = job.cancel.get();
  if (job.load) {
    if (g_beforeLoad) g_beforeLoad();
    bool loaded = false;
    {
      CSaveLoadLock lock(false, INFINITE, cancel);
      // A save of this run may have come first: its files are among the
      // stored ones and must not go as a twin here, where the live items
      // are unknown. The merge on the UI thread drops the twins.
      if (lock.Held()) loaded = LoadHistory(job.folder, queue, true);
      if (loaded) DropItemsOfUnreportedSaves(queue);
    }
    if (loaded && queue->Count() > 0)
      SendMessageW(job.handler, HistoryLoadedMessage(), 0, reinterpret_cast<LPARAM>(queue));
  } else {
    for (int i = queue->Count() - 1; i >= 0 && !cancel->load(); --i) {  // oldest first
      CCHItem* copy = queue->GetItem(i);
      if (g_beforeItemSave) g_beforeItemSave();
      std::unique_ptr<FilesInFlightNote> inFlight;
      {
        CSaveLoadLock lock(true, INFINITE, cancel);
        if (!lock.Held()) break;
        if (!SaveHistoryItem(job.folder, *copy)) continue;
        inFlight = std::make_unique<FilesInFlightNote>(FilesOf(*copy));
      }
      SendMessageW(job.handler, ItemSavedMessage(), 0, reinterpret_cast<LPARAM>(copy));
    }
  }
}

DWORD WINAPI HistoryWorkerProc(void* param) {
  std::unique_ptr<WorkerJob> job(static_cast<WorkerJob*>(param));
  std::unique_ptr<CCHQueue> queue(job->queue);
  // Nothing thrown (memory for a copy) may leave the thread, and the window
  // hears of its end on every way out: it must forget the queue before it
  // is freed here, and the items not written are saved again.
  try {
    RunWorker(*job);
  } catch (...) {
    LogError(L"The history thread ended on an error");
  }
  SendMessageW(job->handler, kHistoryWorkerDone, 0, reinterpret_cast<LPARAM>(queue.get()));
  return 0;
}

}  // namespace

void SetBeforeHistoryLoadHook(void (*hook)()) { g_beforeLoad = hook; }
void SetBeforeHistoryItemSaveHook(void (*hook)()) { g_beforeItemSave = hook; }

UINT GetItemSavedMessage() { return ItemSavedMessage(); }
UINT GetHistoryLoadedMessage() { return HistoryLoadedMessage(); }

std::wstring CQLRWndClipboardHandler::Folder() const {
  return m_options.folder.empty() ? GetClipboardHistoryFolder() : m_options.folder;
}

void CQLRWndClipboardHandler::PostSaveRequest() {
  if (m_hWnd) PostMessageW(m_hWnd, kHistorySaveNow, 0, 0);
}

void CQLRWndClipboardHandler::StartSaveTimer() {
  m_lastChange = GetTickCount();
  if (m_hWnd) SetTimer(m_hWnd, kHistorySaveTimer, 1000, nullptr);
}

bool CQLRWndClipboardHandler::EnsureFolder(const std::wstring& folder) {
  if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES || CreateDirectoryW(folder.c_str(), nullptr))
    return true;
  m_lastError = GetLastError();
  LogError(L"Cannot create the history folder " + folder + L", code=" + std::to_wstring(m_lastError));
  return false;
}

bool CQLRWndClipboardHandler::SaveHistory() {
  m_lastError = 0;
  if (!m_options.saveHistory) return false;
  if (m_queue.Count() == 0) return true;
  const std::wstring folder = Folder();
  if (!EnsureFolder(folder)) return false;
  // Items a running save writes already are left to it.
  auto copies = std::make_unique<CCHQueue>();
  for (int i = m_queue.Count() - 1; i >= 0; --i) {
    CCHItem* item = m_queue.GetItem(i);
    if (item->storedState != kStoredNot || m_savePending.count(item->key)) continue;
    copies->Append(item->DeepClone());
    m_savePending.insert(item->key);
  }
  if (copies->Count() == 0) return true;
  return StartWorker(copies.release(), false);
}

void CQLRWndClipboardHandler::PruneFinishedWorkers() {
  m_workers.erase(std::remove_if(m_workers.begin(), m_workers.end(),
                                 [](HANDLE thread) {
                                   if (WaitForSingleObject(thread, 0) != WAIT_OBJECT_0) return false;
                                   CloseHandle(thread);
                                   return true;
                                 }),
                  m_workers.end());
}

bool CQLRWndClipboardHandler::StartWorker(CCHQueue* queue, bool load) {
  PruneFinishedWorkers();
  m_handedOut.insert(queue);
  if (load) m_loadQueue = queue;
  if (!m_cancel) m_cancel = std::make_shared<std::atomic<bool>>(false);
  auto* job = new WorkerJob{Folder(), queue, m_hWnd, load, m_cancel};
  HANDLE thread = CreateThread(nullptr, 0, HistoryWorkerProc, job, 0, nullptr);
  if (!thread) {
    m_lastError = GetLastError();
    LogError(L"Cannot start the history thread, code=" + std::to_wstring(m_lastError));
    OnWorkerDone(queue);
    delete job;
    delete queue;
    return false;
  }
  m_workers.push_back(thread);
  return true;
}

bool CQLRWndClipboardHandler::IsHandedOut(const CCHItem* item) const {
  for (const CCHQueue* queue : m_handedOut)
    for (int i = 0; i < queue->Count(); ++i)
      if (queue->GetItem(i) == item) return true;
  return false;
}

void CQLRWndClipboardHandler::OnItemSaved(CCHItem* copy) {
  if (!IsHandedOut(copy)) return;  // any process may send the message
  m_savePending.erase(copy->key);
  CCHItem* live = m_queue.FindByKey(copy->key);
  // Gone, replaced or edited since it was copied: what was written is stale.
  if (!live || live->editCount != copy->editCount || live->storedState != kStoredNot) {
    // The descriptor the live item still names is its own: its next save
    // writes it again, and no other item may take the name meanwhile.
    if (live && EqualNoCase(live->descriptorPath, copy->descriptorPath)) copy->descriptorPath.clear();
    copy->DeleteFiles();
    return;
  }
  live->TakeStoredPaths(*copy);
  live->DeleteReplacedFiles();
  for (size_t i = 0; i < live->alternates.size() && i < copy->alternates.size(); ++i)
    if (live->alternates[i] && copy->alternates[i]) live->alternates[i]->dataPath = copy->alternates[i]->dataPath;
  // Protected or released while it was written.
  if (live->IsProtected() != copy->IsProtected()) live->ApplyProtectionToFiles();
}

void CQLRWndClipboardHandler::OnLoaded(CCHQueue* loaded) {
  if (!IsHandedOut(loaded)) return;
  auto heldByLive = [&](const CCHItem& item) {
    for (int i = 0; i < m_queue.Count(); ++i)
      if (!item.descriptorPath.empty() && EqualNoCase(m_queue.GetItem(i)->descriptorPath, item.descriptorPath))
        return true;
    return false;
  };
  auto liveTwin = [&](const CCHItem& item) -> CCHItem* {
    for (int i = 0; i < m_queue.Count(); ++i)
      if (IsSameContent(*m_queue.GetItem(i), item)) return m_queue.GetItem(i);
    return nullptr;
  };
  // The same files must not stand twice: after a re-creation of the window,
  // or when a save of this run came first. Newest first, so of stored twins
  // (kept apart by the load) the newest stays.
  for (int i = loaded->Count() - 1; i >= 0; --i) {
    CCHItem* item = loaded->GetItem(i);
    if (heldByLive(*item)) continue;
    // The content captured again in this run (the clipboard at the start):
    // the newer copy stays, with the stored one's protection, and the
    // stored files go, as for any repeated copy.
    if (CCHItem* twin = liveTwin(*item)) {
      if (item->IsProtected() && !twin->IsProtected()) {
        twin->SetProtected(true);
        if (twin->storedState == kStoredSaved) twin->ApplyProtectionToFiles();
      }
      item->DeleteFiles();
      continue;
    }
    m_queue.Append(loaded->Detach(i));
  }
  m_queue.SortByTime();
  m_queue.Trim(m_options.historyMax);
  // A clear asked for during the load takes what the load brought too.
  if (m_clearAfterLoad) ClearNow();
  Notify(CHN_HISTORYLOADED, 0);
}

void CQLRWndClipboardHandler::OnWorkerDone(CCHQueue* queue) {
  if (!IsHandedOut(queue)) return;
  for (int i = 0; i < queue->Count(); ++i) m_savePending.erase(queue->GetItem(i)->key);
  m_handedOut.erase(queue);
  if (queue != m_loadQueue) return;
  m_loadQueue = nullptr;
  // Nothing was loaded: the clear asked for meanwhile runs now, and the
  // parent hears of the history as after a load.
  if (m_clearAfterLoad) {
    ClearNow();
    Notify(CHN_HISTORYLOADED, 0);
  }
}

void CQLRWndClipboardHandler::FinishWorkers(DWORD timeoutMs) {
  // The threads report by sent messages: those are taken while waiting.
  ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    PruneFinishedWorkers();
    ULONGLONG now = GetTickCount64();
    if (m_workers.empty() || now >= end) break;
    MsgWaitForMultipleObjects(static_cast<DWORD>(m_workers.size()), m_workers.data(), FALSE,
                              static_cast<DWORD>(end - now), QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  for (HANDLE thread : m_workers) CloseHandle(thread);
  m_workers.clear();
}

void CQLRWndClipboardHandler::SaveUnsavedNow() {
  if (!m_options.saveHistory || m_queue.Count() == 0) return;
  const std::wstring folder = Folder();
  if (!EnsureFolder(folder)) return;
  // Bounded: a holder that never lets go (another process gone astray)
  // must not keep the program from ending, nor lose what it holds.
  CSaveLoadLock lock(true, kExitLockWaitMs);
  if (!lock.Held()) LogError(L"The history is saved without its lock");
  // A save thread that did not end in time may still write some of these:
  // a twin on disk is merged at the next load, a lost item is not.
  for (int i = m_queue.Count() - 1; i >= 0; --i) {
    CCHItem* item = m_queue.GetItem(i);
    if (item->storedState == kStoredNot && SaveHistoryItem(folder, *item)) item->DeleteReplacedFiles();
  }
}
