// CWinThread: a thread with a message loop. The loop hands each message
// to PreTranslateMessage, which walks from the message's window up its
// parent chain to the main window, and runs one idle pass whenever the
// queue empties after a burst of messages.
#pragma once
#include <windows.h>

#include "platform/mfc/core/cmd_target.h"

class CWnd;

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)

 public:
  CWinThread();
  ~CWinThread() override;

  CWnd* m_pMainWnd = nullptr;
  MSG m_msgCur = {};

  virtual BOOL InitInstance() { return FALSE; }
  virtual int Run();
  virtual int ExitInstance();
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // lCount counts the calls since the last burst of messages; TRUE asks
  // for another call before waiting.
  virtual BOOL OnIdle(LONG lCount);
  virtual BOOL PumpMessage();
  // Messages that do not start a new burst (a mouse move that did not
  // move, the caret's blink).
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual CWnd* GetMainWnd() { return m_pMainWnd; }

  // Makes this the framework object of the calling thread.
  void BindToCurrentThread();

 private:
  POINT m_lastMousePos = {-1, -1};
  UINT m_lastMouseMsg = 0;
};

// The framework object of the calling thread; null on threads without one
// (plain worker threads).
CWinThread* AfxGetThread();

// Walks pMsg's window and its parents up to (and ending with) the main
// window; TRUE when one of their objects took the message.
BOOL AfxPreTranslateWalk(CWnd* pMainWnd, MSG* pMsg);
