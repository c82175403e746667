// The tray window's side of the clipboard history: it starts and stops the
// handler window (at start-up, after the editor, around a session lock),
// answers who the handler is, and reacts to its notifications.
#include "foundation/logging/log.h"
#include "foundation/system/listeners.h"
#include "history/capture/clipboard_handler.h"
#include "settings/settings.h"
#include "tray/icon/event_sounds.h"
#include "tray/icon/tray_icon.h"
#include "tray/window/tray_window.h"

namespace {

constexpr DWORD kDelayedHistoryWaitMs = 2000;
constexpr int kDelayedHistoryTries = 200;

struct DelayedHistoryRecord {
  HANDLE stop;  // a duplicate owned by the thread
  HWND window;
};

// Tries to install the history until the window answers non-zero or the
// program ends: the clipboard may be held by another program at start-up.
DWORD WINAPI DelayedHistoryProc(void* param) {
  std::unique_ptr<DelayedHistoryRecord> record(static_cast<DelayedHistoryRecord*>(param));
  DWORD result = 2;
  for (int attempt = 1; attempt <= kDelayedHistoryTries; ++attempt) {
    if (WaitForSingleObject(record->stop, kDelayedHistoryWaitMs) != WAIT_TIMEOUT) {
      result = 1;
      break;
    }
    DWORD_PTR answer = SendMessageW(record->window, WM_TRAY_START_CLIPBOARD_HISTORY, 0, 0);
    wchar_t line[96];
    swprintf(line, 96, L"Try to delyaed install clipboard spy: success %d, try#%d", answer ? 1 : 0, attempt);
    Log(line);
    if (answer) {
      result = 0;
      break;
    }
  }
  CloseHandle(record->stop);
  return result;
}

}  // namespace

bool CQLRTrayWnd::IsClipboardHistoryRunning() const {
  return m_clipboardHandler && m_clipboardHandler->GetHwnd() != nullptr;
}

bool CQLRTrayWnd::EnableClipboardHistory() {
  if (IsClipboardHistoryRunning()) return true;
  m_clipboardHandler->SetOptions(HandlerOptionsFromSettings(GetSettings()));
  bool made = m_clipboardHandler->Enable(m_hWnd, kClipboardHandlerControlId, true);
  if (made) {
    if (m_trayMenuTip) m_trayMenuTip->SetConnection(0, std::wstring());
    if (!m_clipboardHandler->IsEmpty()) UpdateTrayIcon(kTrayIconTooltip, nullptr, false);
  } else {
    LogError(L"Cannot start the clipboard history. " + m_clipboardHandler->GetErrorText());
    if (m_trayMenuTip) m_trayMenuTip->SetConnection(1, m_clipboardHandler->GetErrorText());
  }
  NotifyObservers(this, 0, IsClipboardHistoryRunning() ? 1 : 0);
  return made;
}

bool CQLRTrayWnd::DisableClipboardHistory() {
  if (!IsClipboardHistoryRunning()) return false;
  m_clipboardHandler->Enable(nullptr, kClipboardHandlerControlId, false);
  NotifyObservers(this, 0, IsClipboardHistoryRunning() ? 1 : 0);
  return !IsClipboardHistoryRunning();
}

bool CQLRTrayWnd::StartClipboardHistoryIfWanted() {
  if (!GetSettings().clipboardHistory || IsClipboardHistoryRunning()) return false;
  return EnableClipboardHistory();
}

void CQLRTrayWnd::StartDelayedClipboardHistory() {
  Log(L"Start Delayed ClipboardHistory");
  auto* record = new DelayedHistoryRecord{nullptr, m_hWnd};
  if (!m_stopEvent || !DuplicateHandle(GetCurrentProcess(), m_stopEvent, GetCurrentProcess(), &record->stop,
                                       SYNCHRONIZE, FALSE, 0)) {
    delete record;
    LogError(L"Cannot start the delayed clipboard history");
    return;
  }
  HANDLE thread = CreateThread(nullptr, 0, DelayedHistoryProc, record, 0, nullptr);
  if (!thread) {
    CloseHandle(record->stop);
    delete record;
    LogError(L"Cannot start the delayed clipboard history");
    return;
  }
  CloseHandle(thread);
}

LRESULT CQLRTrayWnd::OnStartClipboardHistory(UINT, WPARAM, LPARAM, BOOL&) {
  if (!GetSettings().clipboardHistory) return 1;
  return EnableClipboardHistory() ? 1 : 0;
}

LRESULT CQLRTrayWnd::OnGetClipboardHandler(UINT, WPARAM, LPARAM, BOOL&) {
  return IsClipboardHistoryRunning() ? reinterpret_cast<LRESULT>(m_clipboardHandler.get()) : 0;
}

LRESULT CQLRTrayWnd::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
  // Any program may send WM_NOTIFY with any address: only the handler's
  // own notice, sent while we wait for it, is read.
  if (!IsClipboardHistoryRunning() || !m_clipboardHandler->IsNotificationInFlight(lParam)) {
    bHandled = FALSE;
    return 0;
  }
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->idFrom != kClipboardHandlerControlId) {
    bHandled = FALSE;
    return 0;
  }
  if (header->code == CHN_HISTORYCHANGED) {
    OnClipboardHistoryChanged(*reinterpret_cast<const NMCLIPBOARDHISTORY*>(lParam));
  } else if (header->code == CHN_HISTORYLOADED) {
    wchar_t line[96];
    swprintf(line, 96, L"Event OnClipboardHistoryLoaded, Count=%d", m_clipboardHandler->GetItemCount());
    Log(line);
    UpdateTrayIcon(kTrayIconTooltip, nullptr, false);
    RefreshPaneList();
  } else {
    bHandled = FALSE;
  }
  return 0;
}

void CQLRTrayWnd::OnClipboardHistoryChanged(const NMCLIPBOARDHISTORY& nm) {
  DWORD sequence = GetClipboardSequenceNumber();
  wchar_t line[160];
  // The number can be one a notice before this one already read: the
  // clipboard changed again between that capture and its notice. The
  // history did change all the same, so what shows it follows either way.
  const bool seen = sequence == m_lastClipboardSequence;
  if (seen) {
    swprintf(line, 160,
             L"Event OnClipboardHistoryChanged, Sequnces Numbers Is EQUAL: %d, do not query data from clipboard",
             static_cast<int>(sequence));
    Log(line);
  } else {
    m_lastClipboardSequence = sequence;
    swprintf(line, 160, L"Event OnClipboardHistoryChanged, new Sequnce Number: %d", static_cast<int>(sequence));
    Log(line);
    swprintf(line, 160, L"Event OnClipboardHistoryChanged, Count=%d", m_clipboardHandler->GetItemCount());
    Log(line);
  }
  UpdateTrayIcon(kTrayIconTooltip, nullptr, false);
  RefreshPaneList();
  if (!seen && nm.value == 0) PlayPaperSound();
}

void CQLRTrayWnd::PauseClipboardHistoryForSession(int reasonClass) {
  wchar_t line[96];
  if (reasonClass < 0 && IsClipboardHistoryRunning()) {
    m_sessionPause = TRUE;
    swprintf(line, 96, L"OnWmWTSSessionChange: Clipboard Spy is uninstalled=%d", DisableClipboardHistory() ? 1 : 0);
    Log(line);
  } else if (reasonClass > 0 && m_sessionPause) {
    // Resumed once: a later unlock without a lock, or after the user
    // switched the history off, starts nothing.
    m_sessionPause = FALSE;
    swprintf(line, 96, L"OnWmWTSSessionChange: Clipboard Spy is installed=%d", EnableClipboardHistory() ? 1 : 0);
    Log(line);
  }
}
