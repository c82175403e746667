#include "history/capture/clipboard_handler.h"

#include "foundation/files/program_names.h"
#include "foundation/logging/log.h"
#include "foundation/system/command_runners.h"
#include "foundation/system/listeners.h"
#include "foundation/system/shell_helpers.h"
#include "history/capture/own_copy.h"
#include "settings/copy_events.h"
#include "settings/settings.h"
#include "settings/settings_names.h"

namespace {

constexpr wchar_t kHandlerClass[] = L"QLRClipboardHandler";
constexpr DWORD kWatcherStopMs = 5000;
constexpr DWORD kWorkerStopMs = 5000;

// A copy-event watcher owns its handles: the events are opened by name, so
// the program's own handles of them stay untouched.
struct CopyWatcher {
  HANDLE stop;
  HANDLE copyEvent;
  int value;
};

DWORD WINAPI CopyWatcherProc(void* param) {
  CopyWatcher* w = static_cast<CopyWatcher*>(param);
  HANDLE handles[2] = {w->stop, w->copyEvent};
  while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1)
    SetOwnCopyFromEvent(w->value);
  CloseHandle(w->stop);
  CloseHandle(w->copyEvent);
  delete w;
  return 0;
}

}  // namespace

ClipboardHandlerOptions HandlerOptionsFromSettings(const CQLRSettings& settings) {
  ClipboardHandlerOptions options;
  options.spyMethod = settings.GetEffectiveClipboardSpyMethod();
  options.historyMax = settings.GetClipboardHistoryMax();
  options.saveHistory = settings.GetSaveClipboardHistory() != 0;
  for (int i = 0; i < 5; ++i) options.kinds.on[i] = settings.clipboardFormats[i] != 0;
  return options;
}

// The end of the block waits on the program-end event, so that an ending
// program does not keep a thread for three seconds.
static DWORD WINAPI AsyncBlockProc(void* param) {
  HWND window = static_cast<HWND>(param);
  HANDLE end = nullptr;
  HANDLE programEnd = GetFirstInstanceEvent();
  if (programEnd)
    DuplicateHandle(GetCurrentProcess(), programEnd, GetCurrentProcess(), &end, SYNCHRONIZE, FALSE, 0);
  DWORD started = GetTickCount();
  DWORD result = WAIT_TIMEOUT;
  if (end) {
    result = WaitForSingleObject(end, kAsyncBlockMs);
    CloseHandle(end);
  } else {
    Sleep(kAsyncBlockMs);
  }
  if (result != WAIT_TIMEOUT) return 0;
  if (IsWindow(window)) PostMessageW(window, WM_DELAY_UNLOCK, 0, 0);
  Log(L"__AsynBlockClipboardHandler_Proc wait complete: timeout=" + std::to_wstring(GetTickCount() - started));
  return 0;
}

CQLRWndClipboardHandler::CQLRWndClipboardHandler() { AddAppEventListener(this); }

CQLRWndClipboardHandler::~CQLRWndClipboardHandler() {
  Destroy();
  RemoveAppEventListener(this);
}

bool CQLRWndClipboardHandler::StartAsyncBlock() {
  HANDLE thread = CreateThread(nullptr, 0, AsyncBlockProc, m_hWnd, CREATE_SUSPENDED, nullptr);
  if (!thread) {
    LogError(L"Cannot start AsynBlockClipboardHandler");
    return false;
  }
  RaiseOwnCopyBlock();
  ResumeThread(thread);
  CloseHandle(thread);
  return true;
}

void CQLRWndClipboardHandler::OnAppEvent(int code, int) {
  if (code == 0) m_queue.ClearTipTexts();
}

bool CQLRWndClipboardHandler::Create(HWND parent, UINT controlId, bool captureAtCreate) {
  if (m_hWnd) return true;
  DWORD callerError = GetLastError();
  m_lastError = 0;
  m_cancel = std::make_shared<std::atomic<bool>>(false);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc = {};
  if (!GetClassInfoW(instance, kHandlerClass, &wc)) {
    wc.lpfnWndProc = &CQLRWndClipboardHandler::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kHandlerClass;
    RegisterClassW(&wc);
  }
  m_parent = parent;
  m_controlId = controlId;
  m_captureAtCreate = captureAtCreate;
  HWND created = CreateWindowExW(0, kHandlerClass, L"", WS_CHILD, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)), instance, this);
  if (created) {
    ResetOwnCopy();
  } else {
    if (!m_lastError) m_lastError = GetLastError();
    Log(L"Clipboad History" + GetErrorText());
  }
  SetLastError(callerError);
  return created != nullptr;
}

bool CQLRWndClipboardHandler::Enable(HWND parent, UINT controlId, bool captureAtCreate) {
  if (parent) return m_hWnd || Create(parent, controlId, captureAtCreate);
  if (m_hWnd) DestroyWindow(m_hWnd);
  return m_hWnd == nullptr;
}

void CQLRWndClipboardHandler::Destroy() { Enable(nullptr, 0, false); }

std::wstring CQLRWndClipboardHandler::GetErrorText() const {
  return L"Error code: " + std::to_wstring(m_lastError) + L" " + FormatSystemMessage(m_lastError);
}

bool CQLRWndClipboardHandler::StartCopyWatchers() {
  if (!GetStartCopyEvent()) CreateCopyEvents();
  const wchar_t* names[2] = {settings_names::kStartCopyEvent, settings_names::kEndCopyEvent};
  for (int i = 0; i < 2; ++i) {
    HANDLE stop = nullptr, copyEvent = OpenEventW(SYNCHRONIZE, FALSE, names[i]);
    DuplicateHandle(GetCurrentProcess(), m_stopEvent, GetCurrentProcess(), &stop, 0, FALSE, DUPLICATE_SAME_ACCESS);
    auto* w = new CopyWatcher{stop, copyEvent, i == 0 ? 1 : 0};
    m_watchers[i] = copyEvent && stop ? CreateThread(nullptr, 0, CopyWatcherProc, w, 0, nullptr) : nullptr;
    if (!m_watchers[i]) {
      m_lastError = GetLastError();
      if (stop) CloseHandle(stop);
      if (copyEvent) CloseHandle(copyEvent);
      delete w;
      return false;
    }
  }
  return true;
}

void CQLRWndClipboardHandler::StopCopyWatchers() {
  if (m_stopEvent) SetEvent(m_stopEvent);
  for (HANDLE& thread : m_watchers) {
    if (!thread) continue;
    WaitForSingleObject(thread, kWatcherStopMs);
    CloseHandle(thread);
    thread = nullptr;
  }
  if (m_stopEvent) CloseHandle(m_stopEvent);
  m_stopEvent = nullptr;
}

LRESULT CQLRWndClipboardHandler::OnCreate() {
  m_stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!m_stopEvent) {
    m_lastError = GetLastError();
    return -1;
  }
  if (!StartCopyWatchers()) return -1;
  int method = m_options.spyMethod;
  if (method == -1)
    method = IsClipboardFormatListenerAvailable() ? 1 : 0;
  if (method != 0 && method != 1) {
    m_lastError = ERROR_INVALID_PARAMETER;
    return -1;
  }
  CClipboardSpy& spy = CClipboardSpy::GetInstance();
  spy.ClearObservers();
  spy.AddObserver(this, 0);
  if (!spy.Install(method, GetModuleHandleW(nullptr), m_hWnd)) {
    m_lastError = GetLastError() ? GetLastError() : ERROR_INVALID_FUNCTION;
    return -1;
  }
  m_state = method == 1 ? 2 : 3;
  if (m_options.saveHistory) StartWorker(new CCHQueue(), true);
  // The viewer chain's join already delivered the clipboard present now.
  if (m_captureAtCreate && spy.GetMethod() == kSpyMethodListener) Capture(kHistoryCapturedAtCreate);
  return 0;
}

void CQLRWndClipboardHandler::OnDestroy() {
  CClipboardSpy::GetInstance().ClearObservers();
  StopCopyWatchers();
  // What is still unsaved is written now: the save threads stop after the
  // item in hand (their results are taken while waiting), the rest is
  // written here. Neither waits without end.
  if (m_cancel) m_cancel->store(true);
  FinishWorkers(kWorkerStopMs);
  // A clear asked for while the load ran is kept, also when the load
  // did not end in time.
  if (m_clearAfterLoad) ClearNow();
  SaveUnsavedNow();
  m_cancel.reset();
  m_handedOut.clear();
  m_savePending.clear();
  m_loadQueue = nullptr;
}

void CQLRWndClipboardHandler::OnClipboardChanged(const ClipboardChangeInfo&, std::uint32_t) {
  Capture(kHistoryCaptured);
}

void CQLRWndClipboardHandler::_OnClipboardSpyStateChanged(std::uint32_t) {
  NotifyObservers(this, 0, IsWindow(m_hWnd));
  MessageBoxW(nullptr, L"CQLRWndClipboardHandler::_OnClipboardSpyStateChanged", L"Quillora", MB_SETFOREGROUND);
}

void CQLRWndClipboardHandler::Capture(int value) {
  if (IsOwnCopyBlocked()) {
    Log(L"My copy process detected");
    return;
  }
  std::unique_ptr<CCHItem> item = CaptureClipboardItem(m_hWnd, m_options.kinds);
  if (!item) return;
  // Our own put-back comes back: the item it came from stays as it is (its
  // forms and protection) and only becomes the newest, also after a
  // restart: the stored order is that of the capture times, so it is
  // written again with the time of now.
  const std::wstring putBack = std::move(m_putBackKey);
  m_putBackKey.clear();
  CCHItem* own = putBack.empty() ? nullptr : m_queue.FindByKey(putBack);
  if (own && IsSameContent(*own, *item)) {
    m_queue.MoveToNewest(own);
    GetLocalTime(&own->captureTime);
    own->MarkEdited();
    if (m_clearAfterLoad) m_sparedByClear.insert(own->key);
    Notify(CHN_HISTORYCHANGED, value);
    PostSaveRequest();
    return;
  }
  // The key is read first: a limit of 0 trims the new item away in Add.
  const std::wstring key = item->key;
  CCHItem* taken = item.release();
  if (!m_queue.Add(taken, m_options.historyMax)) {
    delete taken;  // a locked queue leaves the item with us
    return;
  }
  if (m_clearAfterLoad) m_sparedByClear.insert(key);
  Notify(CHN_HISTORYCHANGED, value);
  PostSaveRequest();
}

void CQLRWndClipboardHandler::Notify(UINT code, int value) {
  if (!m_parent) return;
  NMCLIPBOARDHISTORY nm = {};
  nm.hdr.hwndFrom = m_hWnd;
  nm.hdr.idFrom = m_controlId;
  nm.hdr.code = code;
  nm.value = value;
  const NMCLIPBOARDHISTORY* outer = m_noticeInFlight;
  m_noticeInFlight = &nm;
  SendMessageW(m_parent, WM_NOTIFY, m_controlId, reinterpret_cast<LPARAM>(&nm));
  m_noticeInFlight = outer;
}

bool CQLRWndClipboardHandler::ClearHistory() {
  if (m_loadQueue) {
    m_clearAfterLoad = true;
    m_sparedByClear.clear();  // what was copied before this request goes too
    return true;
  }
  if (!m_queue.Clear()) return false;
  Notify(CHN_HISTORYCHANGED, kHistoryRemoved);
  return true;
}

bool CQLRWndClipboardHandler::ClearNow() {
  m_clearAfterLoad = false;
  const std::set<std::wstring> spared = std::move(m_sparedByClear);
  m_sparedByClear.clear();
  return m_queue.Clear(spared);
}

bool CQLRWndClipboardHandler::DeleteItems(const std::set<int>& indexes, bool pushUndo) {
  if (!m_queue.DeleteItems(indexes, pushUndo)) return false;
  Notify(CHN_HISTORYCHANGED, kHistoryRemoved);
  return true;
}

bool CQLRWndClipboardHandler::CopyItemToClipboard(int n) {
  CCHItem* item = m_queue.GetItem(n);
  return item && PutItemOnClipboard(*item);
}

bool CQLRWndClipboardHandler::PutItemOnClipboard(const CCHItem& item) {
  if (!PutHistoryItemOnClipboard(item)) return false;
  m_putBackKey = item.key;
  return true;
}

LRESULT CALLBACK CQLRWndClipboardHandler::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Nothing thrown (a clipboard too big to copy) may leave a window procedure.
  try {
    return HandleMessage(hwnd, msg, wParam, lParam);
  } catch (...) {
    LogError(L"The clipboard history could not handle message " + std::to_wstring(msg));
    return msg == WM_CREATE ? -1 : 0;
  }
}

LRESULT CQLRWndClipboardHandler::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The creation messages come once, from the creation on this thread;
  // another program can send them again with any creation parameter.
  if (msg == WM_NCCREATE) {
    if (GetWindowLongPtrW(hwnd, GWLP_USERDATA)) return FALSE;
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<CQLRWndClipboardHandler*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_CREATE && self->m_hWnd) return 0;
  if (msg == GetItemSavedMessage()) {
    self->OnItemSaved(reinterpret_cast<CCHItem*>(lParam));
    return 1;
  }
  if (msg == GetHistoryLoadedMessage()) {
    self->OnLoaded(reinterpret_cast<CCHQueue*>(lParam));
    return 1;
  }
  switch (msg) {
    case WM_CREATE:
      self->m_hWnd = hwnd;
      return self->OnCreate();
    case WM_DESTROY:
      self->OnDestroy();
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->m_hWnd = nullptr;
      break;
    case kHistorySaveNow:
      self->SaveHistory();
      return 0;
    case kHistoryWorkerDone:
      self->OnWorkerDone(reinterpret_cast<CCHQueue*>(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kHistorySaveTimer && GetTickCount() - self->m_lastChange > 1000) {
        KillTimer(hwnd, kHistorySaveTimer);
        self->PostSaveRequest();
      }
      return 0;
    case WM_DELAY_UNLOCK: {
      bool lowered = LowerOwnCopyBlock();
      Log(L"WM_DELAY_UNLOCK received bIsMyCopy=" + std::to_wstring(lowered ? 1 : 0));
      return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}
