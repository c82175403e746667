#include "tray/tray_window.h"

#include <atomic>

#include "platform/atl/app_module.h"
#include "tray/command_line.h"
#include "tray/settings/settings_names.h"

namespace {

std::atomic<HWND> g_trayHwnd{nullptr};

constexpr wchar_t kTrayTitle[] = L"Quillora";
// WS_BORDER | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX: never shown, but
// a frame style keeps the window a normal top-level window for the shell.
constexpr DWORD kTrayStyle = 0x008D0000;

}  // namespace

HWND GetTrayHwnd() { return g_trayHwnd.load(); }
void SetTrayHwnd(HWND window) { g_trayHwnd = window; }

CQLRTrayWnd::CQLRTrayWnd(HANDLE stopEvent, int noInstall, const std::wstring& commandLineText,
                         const CCommandLine* commandLine)
    : m_stopEvent(stopEvent),
      m_commandLine(commandLine),
      m_commandLineText(commandLineText),
      m_noInstall(noInstall) {}

CQLRTrayWnd::~CQLRTrayWnd() {
  if (IsWindow()) DestroyWindow();
}

UINT CQLRTrayWnd::GetInstanceMessageId() {
  static const UINT message = RegisterWindowMessageW(settings_names::kInstanceMessage);
  return message;
}

bool CQLRTrayWnd::Create(int createParam) {
  m_createParam = createParam;
  RECT rect = {-100, -100, -5, -5};
  return CWindowImpl::Create(nullptr, rect, kTrayTitle, kTrayStyle, 0, 0U,
                             reinterpret_cast<void*>(static_cast<INT_PTR>(createParam))) != nullptr;
}

// As the loop's filter and idle handler the window itself does nothing.
BOOL CQLRTrayWnd::PreTranslateMessage(MSG*) { return FALSE; }
BOOL CQLRTrayWnd::OnIdle() { return FALSE; }

void CQLRTrayWnd::JoinMessageLoop() {
  CAppModule* module = CAppModule::Current();
  CMessageLoop* loop = module ? module->GetMessageLoop() : nullptr;
  if (!loop) return;
  loop->AddMessageFilter(this);
  loop->AddIdleHandler(this);
  m_inMessageLoop = true;
}

void CQLRTrayWnd::LeaveMessageLoop() {
  if (!m_inMessageLoop) return;
  m_inMessageLoop = false;
  CAppModule* module = CAppModule::Current();
  CMessageLoop* loop = module ? module->GetMessageLoop() : nullptr;
  if (!loop) return;
  loop->RemoveMessageFilter(this);
  loop->RemoveIdleHandler(this);
}

LRESULT CQLRTrayWnd::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  SetTrayHwnd(m_hWnd);
  JoinMessageLoop();
  SetWindowPos(nullptr, -100, -100, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(SW_HIDE);
  return 0;
}

LRESULT CQLRTrayWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
  LeaveMessageLoop();
  if (GetTrayHwnd() == m_hWnd) SetTrayHwnd(nullptr);
  return 0;
}

LRESULT CQLRTrayWnd::OnInstanceMessage(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  if (wParam == kInstanceAlreadyWorking)
    OnAlreadyWorking();
  else if (wParam == kInstanceExit)
    OnExitRequest(lParam);
  return 1;
}

void CQLRTrayWnd::OnAlreadyWorking() {
  // The user started the program again: the services that are down are
  // restarted and the user is told by balloon and sound, once the tray
  // icon, the services and the sounds are part of the window.
}

void CQLRTrayWnd::OnExitRequest(LPARAM lParam) {
  // The pause lets the user read the exit notice before the icon goes.
  Sleep(kExitNoticeMs);
  PostMessage(WM_COMMAND, ID_TRAY_EXIT, lParam);
}

LRESULT CQLRTrayWnd::OnExitCommand(WORD, WORD, HWND, BOOL&) {
  DestroyWindow();
  PostQuitMessage(0);
  return 0;
}
