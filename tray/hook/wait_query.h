// The query wait thread: it waits for the library's query event, reads the
// query, has the tray window serve it and writes the answer back.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "foundation/system/handles.h"
#include "foundation/system/shared_records.h"
#include "tray/window/tray_messages.h"

struct WaitQueryParams {
  HWND trayWnd = nullptr;
  HANDLE stopEvent = nullptr;  // the process stop event
  HANDLE dataNeeded = nullptr;
  HANDLE dataCompleted = nullptr;
  std::wstring areaName;
  UINT queryMessage = WM_TRAY_QUERY;  // wParam query, lParam answer
  UINT errorMessage = WM_WAIT_QUERY_COMPLETE_ERROR;
};

// One request on the heap, shared by the wait thread and the tray window: a
// menu may still be open on the window when the thread's send times out, so
// whichever lets go last frees it.
struct CQueryExchange : CQueryRecord {
  CAnswerRecord answer;

  static CQueryExchange* Create() { return new CQueryExchange(); }
  void AddRef() { InterlockedIncrement(&m_refs); }
  void Release() {
    if (InterlockedDecrement(&m_refs) == 0) delete this;
  }

 private:
  CQueryExchange() = default;
  ~CQueryExchange() = default;
  LONG m_refs = 1;
};

// The tray window's handler of WM_TRAY_QUERY: serves the request with its
// query and answer records, gives the window's share back, returns 1.
LRESULT ServeQueryMessage(WPARAM wParam, LPARAM lParam,
                          const std::function<void(CQueryRecord&, CAnswerRecord&)>& serve);

// The tray window owns one: started once the library is installed, stopped
// before the interchange objects close, restarted on
// WM_WAIT_QUERY_COMPLETE_ERROR.
class CWaitQuery {
 public:
  CWaitQuery() = default;
  ~CWaitQuery() { Stop(); }
  CWaitQuery(const CWaitQuery&) = delete;
  CWaitQuery& operator=(const CWaitQuery&) = delete;

  // Copies the parameters (and the handles) for a new thread; a thread that
  // still runs is stopped first.
  bool StartWaitThread(const WaitQueryParams& params);
  // Ends the thread and waits for it (services stop).
  void Stop();
  bool IsRunning() const;
  // The tray window's WM_WAIT_QUERY_COMPLETE_ERROR: the same thread again.
  bool RestartAfterError();

  static DWORD WINAPI ThreadProc_WaitQuery(void* param);

 private:
  WaitQueryParams m_params;
  bool m_started = false;
  UniqueHandle m_thread;
  UniqueHandle m_ownStop;
};
