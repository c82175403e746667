#include "history/capture/clipboard_spy.h"

#include <string>

#include "foundation/logging/log.h"
#include "history/store/history_names.h"

namespace hn = history_names;

namespace {

CClipboardSpy* g_spy = nullptr;
HWND g_lastFocus = nullptr;

// The singleton lives until the process ends.
struct SpyReaper {
  ~SpyReaper() {
    delete g_spy;
    g_spy = nullptr;
  }
} g_reaper;

// Looked up at every use: systems before the format listener lack both.
template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}
using ListenerFn = BOOL(WINAPI*)(HWND);

}  // namespace

CClipboardSpy& CClipboardSpy::GetInstance() {
  if (!g_spy) g_spy = new CClipboardSpy();
  return *g_spy;
}

bool CClipboardSpy::Exists() { return g_spy != nullptr; }

CClipboardSpy::CClipboardSpy()
    : m_lastSequence(GetClipboardSequenceNumber()),
      m_notifyMessage(RegisterWindowMessageW(hn::kSpyNotifyMessage)) {}

CClipboardSpy::TestSeams& CClipboardSpy::GetTestSeams() {
  static TestSeams seams;
  return seams;
}

bool CClipboardSpy::Install(int method, HINSTANCE instance, HWND parent) {
  if (IsInstalled()) return false;
  // A window left behind by a repair that failed goes before a new one.
  if (m_hWnd) DestroyWindow(m_hWnd);

  SetWinEventRange(EVENT_SYSTEM_FOREGROUND, EVENT_OBJECT_FOCUS);
  CWinEventHook& hook = CWinEventHook::GetInstance();
  hook.Subscribe(this, 0, EVENT_SYSTEM_FOREGROUND);
  hook.Subscribe(this, 0, EVENT_OBJECT_FOCUS);

  m_useListener = method == kSpyMethodListener;
  WNDCLASSEXW wc = {sizeof(wc)};
  if (!GetClassInfoExW(instance, hn::kSpyWindowClass, &wc)) {
    wc = {sizeof(wc)};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &CClipboardSpy::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = hn::kSpyWindowClass;
    if (!RegisterClassExW(&wc)) {
      LogError(L"RegisterClassEx ClipboardSpyWndHidden failed, code=" +
               std::to_wstring(GetLastError()));
    }
  }
  // The window's creation joins the notification.
  CreateWindowExW(0, hn::kSpyWindowClass, L"", WS_CHILD, -100, -100, 10, 10, parent, nullptr,
                  instance, nullptr);
  if (!IsInstalled()) hook.Unsubscribe(this);
  return IsInstalled();
}

bool CClipboardSpy::Uninstall() {
  // Also a window whose repair failed: it is not joined but still exists.
  if (m_hWnd) DestroyWindow(m_hWnd);
  CWinEventHook::GetInstance().Unsubscribe(this);
  return !IsInstalled();
}

void CClipboardSpy::AddObserver(IClipboardSpyObserver* observer, std::uint32_t cookie) {
  m_observers[observer] = cookie;
}

void CClipboardSpy::OnWinEvent(const WinEventRecord& record, LONG_PTR) {
  InterlockedExchangePointer(reinterpret_cast<void**>(&g_lastFocus), record.hwnd);
}

bool CClipboardSpy::Join() {
  m_method = kSpyMethodNone;
  bool fail = GetTestSeams().failJoins;
  if (!fail && m_useListener) {
    auto add = User32Function<ListenerFn>("AddClipboardFormatListener");
    if (add && add(m_hWnd)) m_method = kSpyMethodListener;
  }
  if (!fail && m_method == kSpyMethodNone) {
    DWORD callerError = GetLastError();
    SetLastError(0);
    // SetClipboardViewer links us in front of the previous first viewer and
    // hands us that viewer; nothing more is sent to it (a WM_CHANGECBCHAIN
    // to it would make a conforming viewer link back to us: a cycle).
    HWND next = SetClipboardViewer(m_hWnd);
    DWORD error = GetLastError();
    if (next || error == 0) {
      m_nextViewer = next == m_hWnd ? nullptr : next;
      m_method = kSpyMethodViewerChain;
    } else {
      LogError(L"SetClipboardViewer failed, code=" + std::to_wstring(error));
    }
    SetLastError(callerError);
  }
  if (m_method == kSpyMethodNone) return false;
  Log(L"ReInstall entity for HWNDClipboardSpy IS IMPLEMENTED");
  Log(m_method == kSpyMethodViewerChain
          ? L"Well, start ReInstall entity for HWNDClipboardSpy"
          : L"N-o-o-o-, ReInstall entity IS NOT NEED, use newest method CSPM_VISTA");
  SetTimer(m_hWnd, hn::kSpyTimerId, GetClipboardSpyTimerInterval(), nullptr);
  return true;
}

void CClipboardSpy::Leave() {
  if (m_method == kSpyMethodViewerChain) {
    ChangeClipboardChain(m_hWnd, m_nextViewer);
    m_nextViewer = nullptr;
  } else if (m_method == kSpyMethodListener) {
    auto remove = User32Function<ListenerFn>("RemoveClipboardFormatListener");
    if (remove) remove(m_hWnd);
  }
  m_method = kSpyMethodNone;
  if (m_hWnd) KillTimer(m_hWnd, hn::kSpyTimerId);
}

void CClipboardSpy::PostNotify(WPARAM what) { PostMessageW(m_hWnd, m_notifyMessage, what, 0); }

bool CClipboardSpy::TakeDroppedNotification() {
  TestSeams& seams = GetTestSeams();
  if (seams.dropNotifications <= 0) return false;
  --seams.dropNotifications;
  return true;
}

void CClipboardSpy::Deliver(WPARAM what) {
  if (m_observers.empty()) {
    LogError(L"Clipboard Observers is empty");
    return;
  }
  // An observer may change the map while it is called.
  auto observers = m_observers;
  if (what == 0) {
    m_lastSequence = GetClipboardSequenceNumber();
    ClipboardChangeInfo info = {GetClipboardOwner()};
    for (auto& [observer, cookie] : observers) observer->OnClipboardChanged(info, cookie);
  } else if (what == 1) {
    for (auto& [observer, cookie] : observers) observer->_OnClipboardSpyStateChanged(cookie);
  }
}

void CClipboardSpy::OnWatchdog() {
  // Every delivered change refreshed the number: a difference is a change
  // whose notification never came.
  DWORD sequence = GetClipboardSequenceNumber();
  if (sequence == m_lastSequence) return;
  m_lastSequence = sequence;
  if (!IsInstalled()) {
    LogDeferred(L"ERRROR: REINSTALL: IsInstalled=0");
  } else {
    m_reinstalling = true;
    Leave();
    if (IsInstalled())
      LogDeferred((L"ERROR: REINSTALL: After Uninstall=" + std::to_wstring(IsInstalled())).c_str());
    Join();
    if (!IsInstalled()) {
      LogDeferred(L"REINSTALL: InstalledNew=0");
      PostNotify(1);
    }
    m_reinstalling = false;
  }
  FlushDeferredLog();
  FlushDeferredLog();
}

LRESULT CClipboardSpy::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
  *handled = true;
  if (msg == m_notifyMessage) {
    Deliver(wParam);
    return 1;
  }
  switch (msg) {
    case WM_DESTROY:
      Leave();
      *handled = false;
      return 0;
    case WM_TIMER:
      if (wParam == hn::kSpyTimerId) OnWatchdog();
      *handled = false;
      return 0;
    case WM_DRAWCLIPBOARD:
      if (!m_reinstalling && !TakeDroppedNotification()) PostNotify(0);
      if (m_nextViewer == m_hWnd)
        m_nextViewer = nullptr;  // never send to ourselves
      else if (m_nextViewer)
        SendMessageW(m_nextViewer, WM_DRAWCLIPBOARD, 0, 0);
      *handled = false;
      return 0;
    case WM_CHANGECBCHAIN: {
      HWND leaving = reinterpret_cast<HWND>(wParam);
      HWND after = reinterpret_cast<HWND>(lParam);
      if (leaving && leaving == m_nextViewer) {
        m_nextViewer = after == m_hWnd ? nullptr : after;
      } else if (m_nextViewer == m_hWnd) {
        m_nextViewer = nullptr;
      } else if (m_nextViewer) {
        SendMessageW(m_nextViewer, WM_CHANGECBCHAIN, wParam, lParam);
      }
      return 0;
    }
    case WM_CLIPBOARDUPDATE:
      if (!TakeDroppedNotification()) PostNotify(0);
      return 0;
  }
  *handled = false;
  return 0;
}

LRESULT CALLBACK CClipboardSpy::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CClipboardSpy* spy = g_spy;
  if (!spy) return DefWindowProcW(hwnd, msg, wParam, lParam);
  // Once, for the window being made: another program can send it again,
  // and a second join would chain the window to itself.
  if (msg == WM_CREATE && !spy->m_hWnd) {
    spy->m_hWnd = hwnd;
    return spy->Join() ? 0 : -1;
  }
  // Only the current window speaks for the watcher.
  if (hwnd != spy->m_hWnd) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) spy->m_hWnd = nullptr;
  bool handled = false;
  LRESULT result = spy->HandleMessage(msg, wParam, lParam, &handled);
  return handled ? result : DefWindowProcW(hwnd, msg, wParam, lParam);
}

CIdleHandler* GetClipboardSpyIdleHandler() { return g_spy; }

HWND GetClipboardSpyLastFocus() {
  return static_cast<HWND>(InterlockedCompareExchangePointer(
      reinterpret_cast<void**>(&g_lastFocus), nullptr, nullptr));
}

UINT GetClipboardSpyTimerInterval() { return 1000; }
