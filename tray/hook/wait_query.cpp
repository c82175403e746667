#include "tray/hook/wait_query.h"

#include <memory>

#include "foundation/logging/log.h"
#include "foundation/system/trusted_messages.h"
#include "tray/hook/interchange.h"
#include "tray/hook/query_xml.h"

namespace {

constexpr DWORD kSendTimeoutMs = 2000;

// What the thread owns: copies of the parameters and of the handles, so that
// the tray closing its own never leaves the thread waiting on a dead handle.
struct ThreadParams {
  WaitQueryParams params;
  UniqueHandle stop, ownStop, dataNeeded, dataCompleted;
  // The area stays mapped while the thread runs: opening and mapping it
  // for each query made up a good part of the road to the menu.
  std::unique_ptr<SharedView> view;
};

HANDLE Duplicate(HANDLE source) {
  HANDLE copy = nullptr;
  if (!source) return nullptr;
  DuplicateHandle(GetCurrentProcess(), source, GetCurrentProcess(), &copy, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  return copy;
}

// The exchanges whose window share is out: WM_TRAY_QUERY is a plain message
// id that any program can send, so only these are served, and each once.
HandedOutObjects g_handed;

void HandOut(CQueryExchange* exchange) {
  exchange->AddRef();
  g_handed.Hand(static_cast<CQueryRecord*>(exchange));
}

std::wstring Format(const wchar_t* format, int a, int b) {
  wchar_t buffer[160];
  swprintf(buffer, 160, format, a, b);
  return buffer;
}

void ServeOneQuery(ThreadParams& t) {
  CQueryExchange* exchange = CQueryExchange::Create();
  if (!t.view || !t.view->Data()) t.view.reset(new SharedView(t.params.areaName));
  const bool read = ReadQueryFromArea(*exchange, *t.view);
  ResetEvent(t.dataNeeded.Get());
  if (read && exchange->StateSelText == CQueryRecord::kSelectionUnknown && exchange->SelText.empty()) {
    std::wstring selected = GetSelectedTextByCopy(exchange->hwnd, t.params.trayWnd);
    if (!selected.empty()) {
      exchange->SelText = selected;
      exchange->StateSelText = CQueryRecord::kSelectionExtracted;
    }
  }
  Log(read ? FormatReceivedQuery(*exchange) : std::wstring(L"Cannot read query from MMF"));
  if (!read) {
    SetEvent(t.dataCompleted.Get());
    exchange->Release();
    return;
  }
  HandOut(exchange);  // the tray window's share
  DWORD_PTR reply = 0;
  LRESULT sent = SendMessageTimeoutW(t.params.trayWnd, t.params.queryMessage,
                                     reinterpret_cast<WPARAM>(static_cast<CQueryRecord*>(exchange)),
                                     reinterpret_cast<LPARAM>(&exchange->answer),
                                     SMTO_BLOCK | SMTO_ABORTIFHUNG, kSendTimeoutMs, &reply);
  if (sent && reply == 1) {
    ResetEvent(t.dataCompleted.Get());
    if (WriteAnswerToArea(exchange->answer, t.params.areaName)) SetEvent(t.dataCompleted.Get());
  } else if (!sent && !IsWindow(t.params.trayWnd) && g_handed.TakeBack(static_cast<CQueryRecord*>(exchange))) {
    exchange->Release();  // never delivered: no window will give its share back
  }
  exchange->Release();
}

}  // namespace

LRESULT ServeQueryMessage(WPARAM wParam, LPARAM lParam,
                          const std::function<void(CQueryRecord&, CAnswerRecord&)>& serve) {
  if (!g_handed.TakeBack(static_cast<std::uintptr_t>(wParam))) return 0;
  auto* exchange = static_cast<CQueryExchange*>(reinterpret_cast<CQueryRecord*>(wParam));
  if (reinterpret_cast<LPARAM>(&exchange->answer) != lParam) {
    g_handed.Hand(static_cast<CQueryRecord*>(exchange));  // not this exchange's answer: still out
    return 0;
  }
  if (serve) serve(*exchange, exchange->answer);
  exchange->Release();
  return 1;
}

DWORD WINAPI CWaitQuery::ThreadProc_WaitQuery(void* param) {
  ThreadParams* t = static_cast<ThreadParams*>(param);
  HANDLE waits[3] = {t->dataNeeded.Get(), t->stop.Get(), t->ownStop.Get()};
  DWORD result = 0, error = 0;
  bool firstFailure = true;
  for (;;) {
    DWORD r = WaitForMultipleObjects(3, waits, FALSE, INFINITE);
    if (r == WAIT_OBJECT_0) {
      ServeOneQuery(*t);
      continue;
    }
    if (r == WAIT_OBJECT_0 + 1 || r == WAIT_OBJECT_0 + 2) {
      result = 0;
      break;
    }
    result = 1;
    error = GetLastError();
    LogError(Format(L"Default on CWaitQuery::ThreadProc_WaitQuery error_code=%d, this is first time? =%d",
                    static_cast<int>(error), firstFailure ? 1 : 0));
    if (!firstFailure) break;
    firstFailure = false;
    ResetEvent(t->dataNeeded.Get());
    if (WaitForSingleObject(t->dataNeeded.Get(), 1) != WAIT_TIMEOUT) break;
    Log(L"CWaitQuery::ThreadProc_WaitQuery: DataNeeded event re-armed");
  }
  Log(Format(L"Exit from ThreadProc_WaitQuery [ret_value=%d, error_code=%d]", static_cast<int>(result),
             static_cast<int>(error)));
  if (result != 0 && t->params.errorMessage)
    PostMessageW(t->params.trayWnd, t->params.errorMessage, 0, 0);
  delete t;
  return result;
}

bool CWaitQuery::StartWaitThread(const WaitQueryParams& params) {
  Stop();
  m_params = params;
  m_ownStop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  auto* t = new ThreadParams{params, UniqueHandle(Duplicate(params.stopEvent)),
                             UniqueHandle(Duplicate(m_ownStop.Get())),
                             UniqueHandle(Duplicate(params.dataNeeded)),
                             UniqueHandle(Duplicate(params.dataCompleted))};
  if (t->stop && t->ownStop && t->dataNeeded && t->dataCompleted)
    m_thread.Reset(CreateThread(nullptr, 0, ThreadProc_WaitQuery, t, 0, nullptr));
  if (!m_thread) {
    delete t;
    LogError(L"Cannot start thread for waiting of query CWaitQuery::StartWaitThread");
    return false;
  }
  m_started = true;
  return true;
}

void CWaitQuery::Stop() {
  if (m_thread) {
    SetEvent(m_ownStop.Get());
    // A send to the tray window gives up after 2000 ms at the latest.
    WaitForSingleObject(m_thread.Get(), kSendTimeoutMs + 3000);
  }
  m_thread.Reset();
  m_ownStop.Reset();
  m_started = false;
}

bool CWaitQuery::IsRunning() const {
  return m_thread && WaitForSingleObject(m_thread.Get(), 0) == WAIT_TIMEOUT;
}

// The tray window logs the message that asks for this, once.
bool CWaitQuery::RestartAfterError() {
  if (!m_started) return false;  // the services were stopped meanwhile
  WaitQueryParams params = m_params;
  return StartWaitThread(params);
}
