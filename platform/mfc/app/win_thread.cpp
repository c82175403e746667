#include "platform/mfc/app/win_thread.h"

#include <exception>
#include <string>

#include "foundation/logging/log.h"
#include "platform/mfc/core/menu.h"
#include "platform/mfc/window/wnd.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

thread_local CWinThread* t_thread = nullptr;

// One guarded step of the loop: an exception is logged and the loop goes
// on with the next message.
template <class F>
bool Guarded(const wchar_t* where, F&& step) {
  try {
    return step();
  } catch (const std::exception& e) {
    std::string what = e.what();
    LogError(std::wstring(L"message loop: exception in ") + where + L": " +
             std::wstring(what.begin(), what.end()));
  } catch (...) {
    LogError(std::wstring(L"message loop: unknown exception in ") + where);
  }
  return false;
}

}  // namespace

CWinThread* AfxGetThread() { return t_thread; }

CWinThread::CWinThread() {
  if (!t_thread) t_thread = this;
}

CWinThread::~CWinThread() {
  if (t_thread == this) t_thread = nullptr;
}

void CWinThread::BindToCurrentThread() { t_thread = this; }

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

BOOL AfxPreTranslateWalk(CWnd* pMainWnd, MSG* pMsg) {
  HWND stop = pMainWnd ? pMainWnd->m_hWnd : nullptr;
  bool reachedMain = false;
  for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
    if (CWnd* object = CWnd::FromHandlePermanent(h)) {
      if (object->PreTranslateMessage(pMsg)) return TRUE;
    }
    if (h == stop) {
      reachedMain = true;
      break;
    }
  }
  // A window outside the main window's tree (a modeless popup of another
  // owner): the main window still gets the last word, so its accelerators
  // work there too.
  if (!reachedMain && pMsg->hwnd && pMainWnd && pMainWnd->m_hWnd && pMainWnd->PreTranslateMessage(pMsg))
    return TRUE;
  return FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  if (!pMsg->hwnd) return FALSE;
  return AfxPreTranslateWalk(GetMainWnd(), pMsg);
}

BOOL CWinThread::PumpMessage() {
  BOOL got = ::GetMessageW(&m_msgCur, nullptr, 0, 0);
  if (got == 0) return FALSE;  // WM_QUIT
  if (got == -1) {
    LogError(L"GetMessageW failed " + std::to_wstring(::GetLastError()));
    return FALSE;
  }
  MSG* msg = &m_msgCur;
  bool taken = Guarded(L"PreTranslateMessage", [&] { return PreTranslateMessage(msg) != FALSE; });
  if (!taken) {
    ::TranslateMessage(msg);
    AfxNoteDispatch(msg);
    ::DispatchMessageW(msg);
    AfxNoteDispatch(nullptr);
  }
  return TRUE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    POINT pt = pMsg->pt;
    bool same = m_lastMouseMsg == pMsg->message && pt.x == m_lastMousePos.x && pt.y == m_lastMousePos.y;
    m_lastMousePos = pt;
    m_lastMouseMsg = pMsg->message;
    return same ? FALSE : TRUE;
  }
  // WM_PAINT and the caret's blink timer (0x0118) come by themselves.
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount > 0) return FALSE;
  CWnd* main = GetMainWnd();
  if (main && main->m_hWnd && ::IsWindowVisible(main->m_hWnd)) {
    AfxCallWndProc(main, main->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  }
  CWnd::DeleteTempMap();
  CMenu::DeleteTempMap();
  return FALSE;
}

int CWinThread::Run() {
  BOOL idle = TRUE;
  LONG idleCount = 0;
  for (;;) {
    // The idle work runs when the queue is empty, then the loop blocks in
    // GetMessage: an idle program takes no processor time.
    while (idle && !::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
      LONG count = idleCount++;
      if (!Guarded(L"OnIdle", [&] { return OnIdle(count) != FALSE; })) idle = FALSE;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        idle = TRUE;
        idleCount = 0;
      }
    } while (::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
  }
}
