// The hidden child window of the tray window that keeps the clipboard
// history: it owns the queue, installs the clipboard watcher, captures every
// change that is not the program's own, tells its parent by WM_NOTIFY, and
// puts items back on the clipboard.
#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "foundation/system/listeners.h"
#include "history/capture/clipboard_capture.h"
#include "history/capture/clipboard_spy.h"
#include "history/store/history_queue.h"

constexpr UINT CHN_HISTORYCHANGED = 0xB00;
constexpr UINT CHN_HISTORYLOADED = 0xB01;
// Values of CHN_HISTORYCHANGED.
constexpr int kHistoryCaptured = 0;
constexpr int kHistoryRemoved = 1;
constexpr int kHistoryCapturedAtCreate = 2;

struct NMCLIPBOARDHISTORY {
  NMHDR hdr;
  int value;
};

// What the handler takes from the settings.
struct ClipboardHandlerOptions {
  int spyMethod = -1;  // -1 automatic, 0 viewer chain, 1 format listener
  int historyMax = 30;
  CaptureKinds kinds;
  bool saveHistory = false;
  std::wstring folder;  // empty: the history folder
};

class CQLRSettings;
// The handler's options as the settings say: ClipboardSpyMethod_v2_22 (the
// automatic choice resolved), ClipboardHistoryMax, SaveClipboardHistory_v198
// and the ClipboardFormats switches.
ClipboardHandlerOptions HandlerOptionsFromSettings(const CQLRSettings& settings);

class CQLRWndClipboardHandler : public IClipboardSpyObserver, public IAppEventListener {
 public:
  CQLRWndClipboardHandler();
  virtual ~CQLRWndClipboardHandler();
  CQLRWndClipboardHandler(const CQLRWndClipboardHandler&) = delete;
  CQLRWndClipboardHandler& operator=(const CQLRWndClipboardHandler&) = delete;

  bool Create(HWND parent, UINT controlId, bool captureAtCreate);
  // With a parent the window is created when it does not exist, without
  // one it is destroyed; nothing when it is already so. True when the
  // window is then as asked.
  bool Enable(HWND parent, UINT controlId, bool captureAtCreate);
  void Destroy();
  HWND GetHwnd() const { return m_hWnd; }
  void SetOptions(const ClipboardHandlerOptions& options) { m_options = options; }

  CCHItem* GetItem(int n) const { return m_queue.GetItem(n); }
  int GetItemCount() const { return m_queue.Count(); }
  bool IsEmpty() const { return m_queue.Count() == 0; }
  // 0 before the first creation, 2 with the listener asked for, 3 with the viewer chain.
  int GetState() const { return m_state; }
  std::wstring GetErrorText() const;
  // While the stored history is still being read the clear runs once it
  // is merged (true: it will), and leaves what was copied meanwhile.
  bool ClearHistory();
  bool DeleteItems(const std::set<int>& indexes, bool pushUndo);
  // Every form of item n goes back on the clipboard; its capture keeps the item.
  bool CopyItemToClipboard(int n);
  // The same for an item of this history found otherwise.
  bool PutItemOnClipboard(const CCHItem& item);
  CCHQueue& Queue() { return m_queue; }
  // Item texts and edits; n counts from the newest, and an index outside
  // the history does nothing (empty, 0 or false).
  std::wstring GetHistoryItemCaption(int n, int maxChars, bool firstLineOnly) const;
  std::wstring GetHistoryItemMenuText(int n) const;
  std::wstring GetHistoryItemFullText(int n) const;
  // At most maxCount entries (<= 0: all), newest first, ids from firstId.
  int AppendHistoryToMenu(HMENU menu, UINT firstId, int maxCount) const;
  // False for an item without text: the clipboard is left alone.
  bool CopyItemAsPlainText(int n);
  bool ChangeItemCase(bool upper, int n);
  int JoinItemLines(int n);
  int TrimItem(int n);
  void PostSaveRequest();
  // A save thread is writing a copy of the item.
  bool IsSavePending(const CCHItem& item) const { return m_savePending.count(item.key) != 0; }
  // After an edit: saves once a second has passed without a change.
  void StartSaveTimer();
  // Skips captures for the next 3000 ms (the program's own clipboard work
  // whose notifications arrive later); false when the timer thread could not start.
  bool StartAsyncBlock();

  // The notification the window is sending to its parent right now: WM_NOTIFY
  // is not marshalled, so the parent reads only this address.
  bool IsNotificationInFlight(LPARAM lParam) const {
    return m_noticeInFlight && reinterpret_cast<LPARAM>(m_noticeInFlight) == lParam;
  }

  // Event 0 (texts reloaded): the items' cached tooltip texts are stale.
  void OnAppEvent(int code, int param) override;

  void OnClipboardChanged(const ClipboardChangeInfo& info, std::uint32_t cookie) override;
  void _OnClipboardSpyStateChanged(std::uint32_t cookie) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnCreate();
  void OnDestroy();
  void Capture(int value);
  void Notify(UINT code, int value);
  bool StartCopyWatchers();
  void StopCopyWatchers();
  std::wstring Folder() const;
  bool SaveHistory();
  bool StartWorker(CCHQueue* queue, bool load);
  bool IsHandedOut(const CCHQueue* queue) const { return m_handedOut.count(queue) != 0; }
  bool IsHandedOut(const CCHItem* item) const;
  void OnItemSaved(CCHItem* copy);
  void OnLoaded(CCHQueue* loaded);
  void OnWorkerDone(CCHQueue* queue);
  void FinishWorkers(DWORD timeoutMs);
  void PruneFinishedWorkers();
  void SaveUnsavedNow();
  // Creates the folder when missing; false (logged, last error set) when it cannot be.
  bool EnsureFolder(const std::wstring& folder);
  // After the data of an item changed: written again, caches refilled.
  void ItemTextChanged(CCHItem* item);
  bool EditItemCase(bool upper, int n);
  int EditItemLines(int n);
  int EditItemEnds(int n);
  bool ClearNow();

  HWND m_hWnd = nullptr;
  HWND m_parent = nullptr;
  UINT m_controlId = 0;
  int m_state = 0;
  DWORD m_lastError = 0;
  bool m_captureAtCreate = false;
  ClipboardHandlerOptions m_options;
  CCHQueue m_queue;
  HANDLE m_stopEvent = nullptr;
  HANDLE m_watchers[2] = {};
  DWORD m_lastChange = 0;
  const NMCLIPBOARDHISTORY* m_noticeInFlight = nullptr;
  // Queues handed to the save and load threads: the only objects the
  // registered messages may name.
  std::set<const CCHQueue*> m_handedOut;
  std::set<std::wstring> m_savePending;  // keys of items a save thread writes
  // The load thread's queue until it is done; a clear asked for meanwhile
  // runs then, so the window never waits for the load's lock.
  const CCHQueue* m_loadQueue = nullptr;
  bool m_clearAfterLoad = false;
  // Entries copied after that clear was asked for: it leaves them.
  std::set<std::wstring> m_sparedByClear;
  std::vector<HANDLE> m_workers;
  // Shared with the save and load threads of this window's life.
  std::shared_ptr<std::atomic<bool>> m_cancel;
  std::wstring m_putBackKey;  // the item last put back, until the next capture
};

// The handler window's private messages and its save timer.
constexpr UINT kHistorySaveNow = WM_APP + 1;
constexpr UINT WM_DELAY_UNLOCK = WM_APP + 2;  // lowers the own-copy count by one
constexpr UINT kHistoryWorkerDone = WM_APP + 3;
constexpr UINT_PTR kHistorySaveTimer = 2343;
constexpr DWORD kAsyncBlockMs = 3000;
UINT GetItemSavedMessage();
// Tests: runs on the load thread before it waits for a running save.
void SetBeforeHistoryLoadHook(void (*hook)());
// Tests: runs on a save thread before each item it writes.
void SetBeforeHistoryItemSaveHook(void (*hook)());
UINT GetHistoryLoadedMessage();
