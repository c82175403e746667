// CQLRTrayWnd: the hidden top-level window that owns the running tray
// program. It is the target of the messages that watcher threads, second
// program starts and the other parts send, and of the tray commands.
#pragma once
#include <windows.h>

#include <string>

#include "platform/atl/message_loop.h"
#include "platform/atl/window_impl.h"
#include "tray/tray_messages.h"

class CCommandLine;

// The process's tray window, for every part that sends it messages.
HWND GetTrayHwnd();
void SetTrayHwnd(HWND window);

class CQLRTrayWnd : public CWindowImpl<CQLRTrayWnd, CWindow, CNullTraits>,
                    public CMessageFilter,
                    public CIdleHandler {
 public:
  DECLARE_WND_CLASS(nullptr)

  CQLRTrayWnd(HANDLE stopEvent, int noInstall, const std::wstring& commandLineText,
              const CCommandLine* commandLine);
  ~CQLRTrayWnd() override;

  // Creates the hidden window; true when a window resulted.
  bool Create(int createParam);

  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnIdle() override;

  HANDLE GetStopEvent() const { return m_stopEvent; }

  BEGIN_MSG_MAP(CQLRTrayWnd)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(GetInstanceMessageId(), OnInstanceMessage)
    COMMAND_ID_HANDLER(ID_TRAY_EXIT, OnExitCommand)
  END_MSG_MAP()

 private:
  static UINT GetInstanceMessageId();

  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnInstanceMessage(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnExitCommand(WORD, WORD, HWND, BOOL&);

  // A second start of the program found this one running.
  void OnAlreadyWorking();
  // A second start asked this one to end.
  void OnExitRequest(LPARAM lParam);

  void JoinMessageLoop();
  void LeaveMessageLoop();

  HANDLE m_stopEvent;
  const CCommandLine* m_commandLine;
  std::wstring m_commandLineText;
  int m_noInstall;
  int m_createParam = 0;
  bool m_inMessageLoop = false;
};
