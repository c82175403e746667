#include "tray/window/tray_window.h"
#include "online/about/about_dlg.h"
#include "online/update_dlg/update_dlg.h"

#include <atomic>

#include "foundation/files/program_names.h"
#include "foundation/localization/language_files.h"
#include "foundation/logging/log.h"
#include "foundation/system/command_runners.h"
#include "foundation/system/handles.h"
#include "foundation/system/sounds.h"
#include "foundation/system/system_helpers.h"
#include "foundation/ui/icons.h"
#include "foundation/ui/rich_edit_convert.h"
#include "online/tray_helpers.h"
#include "online/update_events.h"
#include "online/web_links.h"
#include "phrases/macros/macro_sources.h"
#include "phrases/store/phrase_writer.h"
#include "platform/atl/app_module.h"
#include "settings/event_watchers.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "settings/settings_names.h"
#include "tray/app/app_control.h"
#include "tray/app/app_texts.h"
#include "tray/app/command_line.h"
#include "tray/app/problem_list.h"
#include "tray/icon/event_sounds.h"
#include "tray/icon/tray_icon.h"
#include "tray/program/resource.h"

namespace {

std::atomic<HWND> g_trayHwnd{nullptr};

constexpr wchar_t kTrayTitle[] = L"Quillora";
// WS_BORDER | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX: never shown, but
// a frame style keeps the window a normal top-level window for the shell.
constexpr DWORD kTrayStyle = 0x008D0000;
constexpr wchar_t kNoInstallText[] = L"No install on launch. Flag specifided";
constexpr UINT kMsgFilterAdd = 1;
constexpr int kAppEventSessionChange = 1;
constexpr size_t kMaxProblemTextChars = 4096;

using ChangeWindowMessageFilterFn = BOOL(WINAPI*)(UINT, DWORD);

// Session-change reasons that end or begin the user's presence.
int SessionReasonClass(WPARAM reason) {
  switch (reason) {
    case WTS_CONSOLE_CONNECT:
    case WTS_SESSION_LOGON:
    case WTS_SESSION_UNLOCK:
      return 1;
    case WTS_CONSOLE_DISCONNECT:
    case WTS_SESSION_LOGOFF:
    case WTS_SESSION_LOCK:
      return -1;
    default:
      return 0;
  }
}

}  // namespace

HWND GetTrayHwnd() { return g_trayHwnd.load(); }
void SetTrayHwnd(HWND window) { g_trayHwnd = window; }

CQLRTrayWnd::CQLRTrayWnd(HANDLE stopEvent, int noInstall, const std::wstring& commandLineText,
                         const CCommandLine* commandLine)
    : m_stopEvent(stopEvent),
      m_sessionNotifier(new CWTSNotify()),
      m_commandLine(commandLine),
      m_commandLineText(commandLineText),
      m_noInstall(noInstall),
      m_phraseStore(GetSettings().GetPhrasesDirectory()),
      m_dllService(RegisterWindowMessageW(kCoreNotifyMessageName)) {
  m_clipboardHandler.reset(new CQLRWndClipboardHandler());
  m_tipSource = MakeTipSource();
  m_trayMenuTip.reset(new CTrayMenuToolTip(m_menuLanguages, *m_tipSource));
  m_floatPane.reset(new CQLRFloatPane(m_trayMenuTip.get(), &m_dllService));
  m_paneHost = MakePaneHost();
  m_floatPane->SetHost(m_paneHost.get());
  // A new event sound cuts the one still playing short.
  SetStopSoundBeforePlay(true);
  SetCommandLaunchSound([] { PlayLaunchSound(); });
  SetMacroVersionFiles({GetModuleFilePath(), GetEditorPath(), GetCoreDllPath()});
  SetWebLinkVersionTextSource(GetProgramVersionTextFull);
}

CQLRTrayWnd::~CQLRTrayWnd() {
  if (IsWindow()) DestroyWindow();
  if (m_floatPane && m_floatPane->IsWindow()) m_floatPane->DestroyWindow();
  m_floatPane.reset();
  if (m_clipboardHandler) m_clipboardHandler->Destroy();
  m_clipboardHandler.reset();
  m_dataNeededHandler.reset();
  m_sessionNotifier.reset();
}

UINT CQLRTrayWnd::GetInstanceMessageId() {
  static const UINT message = RegisterWindowMessageW(settings_names::kInstanceMessage);
  return message;
}

UINT CQLRTrayWnd::GetTaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
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

void CQLRTrayWnd::SetWindowIcons() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  // The window keeps these for its life.
  HICON small = LoadSmallIcon(instance, kIconTrayActive);
  HICON big = LoadIconW(instance, MAKEINTRESOURCEW(kIconTrayActive));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
}

LRESULT CQLRTrayWnd::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  SetTrayHwnd(m_hWnd);
  StartLanguageAndUpdateWatchers(m_stopEvent, m_hWnd, WM_TRAY_LANGUAGE_CHANGED);
  SetHiddenRichEditParent(m_hWnd);
  JoinMessageLoop();
  DynamicFunction<ChangeWindowMessageFilterFn> filter(L"user32.dll", "ChangeWindowMessageFilter");
  if (filter) filter.Get()(WM_COPYDATA, kMsgFilterAdd);
  SetWindowIcons();
  // The selection fetch's copy is no copy of the user's.
  SetClipboardCaptureBlocker([](HWND) { BlockClipboardCaptureAsync(); });

  if (!m_noInstall) {
    StartServices(nullptr);
  } else {
    Log(kNoInstallText);
    GetProblemList().push_back(kNoInstallText);
  }
  StartTrayIconInstaller();
  SetUILanguageIsRussian(IsRussianLangFile(GetSettings().GetLanguageFilePath()));
  CreateTrayMenuTip();
  EditorCoopRecord editorEnded;
  editorEnded.stopEvent = m_stopEvent;
  editorEnded.window = m_hWnd;
  editorEnded.message = WM_TRAY_EDITOR_ENDED;
  StartEditorCoopEndedWatcher(editorEnded);
  if (GetSettings().IsNewVersion()) StartAutoStartCheck(m_hWnd, 0);
  StartSoundThread(m_stopEvent);
  ScheduleAutomaticUpdateCheck();
  if (GetSettings().showHistoryPaneOnStart) ShowFloatPane(kPaneStartUp);

  SetWindowPos(nullptr, -100, -100, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(SW_HIDE);
  RegisterSessionNotification();
  StartCommandCheckForUpdatesWatcher(m_hWnd, ID_TRAY_CHECK_FOR_UPDATES, m_stopEvent);
  ActOnCommandLine();
  if (!IsWelcomeAlreadyStarted()) StartWelcomeProgram(m_hWnd, true);
  return 0;
}

void CQLRTrayWnd::ActOnCommandLine() {
  if (m_commandLine && m_commandLine->IsEdit()) PostMessage(WM_COMMAND, ID_TRAY_START_EDITOR);
  if (m_commandLine && m_commandLine->IsCfu()) PostMessage(WM_COMMAND, ID_TRAY_CHECK_FOR_UPDATES);
  StartEditEventWatcher(m_stopEvent);
  StartShowMenuEventWatcher(m_stopEvent, m_hWnd, WM_TRAY_SHOW_MENU);
  if (m_commandLine && m_commandLine->IsShowMenu()) PostMessage(WM_TRAY_SHOW_MENU);
}

void CQLRTrayWnd::RegisterSessionNotification() {
  if (m_sessionNotifier->Register(m_hWnd, false))
    Log(L"WTS_Notify successfully installed");
  else
    LogError(L"WTS_Notify NOT installed");
}

void CQLRTrayWnd::UnregisterSessionNotification() {
  if (!m_sessionNotifier->IsRegistered(m_hWnd)) {
    LogError(L"WTS_Notify HWND for uninstalling not found");
  } else if (m_sessionNotifier->Unregister(m_hWnd)) {
    Log(L"WTS_Notify successfully uninstalled");
  } else {
    LogError(L"WTS_Notify cannot uninstall");
  }
}

namespace {

constexpr DWORD kIconRemovalWaitMs = 5000;

DWORD WINAPI RemoveTrayIconThread(void* window) {
  NOTIFYICONDATAW data = {};
  data.hWnd = static_cast<HWND>(window);
  data.uID = kTrayIconId;
  CallShellNotifyIcon(NIM_DELETE, &data);
  return 0;
}

}  // namespace

LRESULT CQLRTrayWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
  // Every watcher and helper thread ends on this event.
  if (m_stopEvent) SetEvent(m_stopEvent);
  StopServices();
  // Only a request still in its menu gets the user's clipboard back at the
  // end; an older snapshot would overwrite what the user copied since.
  if (!m_dataNeededHandler || !m_dataNeededHandler->IsMenuShown()) m_clipboardKeeper.Disarm();
  // A usage count saved just before the end must reach its phrase file.
  WaitForPhraseWrites(5000);
  m_trayIconAnimation.Stop();
  // The icon leaves while the pane and the history end: under X each can
  // wait on the window manager for a while, and side by side the waits
  // overlap instead of adding up.
  UniqueHandle iconRemoval(CreateThread(nullptr, 0, RemoveTrayIconThread, m_hWnd, 0, nullptr));
  if (!iconRemoval) RemoveTrayIconThread(m_hWnd);
  if (m_floatPane && m_floatPane->IsWindow()) m_floatPane->DestroyWindow();
  // The handler writes what is still unsaved as its window ends.
  if (IsClipboardHistoryRunning()) DisableClipboardHistory();
  SetClipboardCaptureBlocker(nullptr);
  // A shell that does not answer keeps its icon; the end goes on.
  if (iconRemoval) WaitForSingleObject(iconRemoval.Get(), kIconRemovalWaitMs);
  UnregisterSessionNotification();
  LeaveMessageLoop();
  if (GetTrayHwnd() == m_hWnd) SetTrayHwnd(nullptr);
  return 0;
}

LRESULT CQLRTrayWnd::OnEndSession(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  wchar_t line[80];
  swprintf(line, 80, L"WM_ENDSESSION wParam=%d lParam=%d", static_cast<int>(wParam),
           static_cast<int>(lParam));
  Log(line);
  return 0;
}

LRESULT CQLRTrayWnd::OnWmWTSSessionChange(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  wchar_t line[200];
  swprintf(line, 200, L"OnWmWTSSessionChange reason=%ls sessionId=%d",
           CWTSNotify::ReasonToString(wParam).c_str(), static_cast<int>(lParam));
  Log(line);
  swprintf(line, 200, L"OnWmWTSSessionChange WTS_reason=%d", SessionReasonClass(wParam));
  Log(line);
  PauseClipboardHistoryForSession(SessionReasonClass(wParam));
  NotifyAppEvent(this, kAppEventSessionChange, static_cast<int>(wParam));
  return 1;
}

LRESULT CQLRTrayWnd::OnPaneMessage(UINT, WPARAM, LPARAM lParam, BOOL&) {
  // Any program may send this registered message; an address from another
  // process is not read.
  std::wstring text;
  if (CopyTextFromAddress(reinterpret_cast<const wchar_t*>(lParam), kMaxProblemTextChars, &text))
    GetProblemList().push_back(text);
  return 1;
}

LRESULT CQLRTrayWnd::OnInstanceMessage(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  if (wParam == kInstanceAlreadyWorking)
    OnAlreadyWorking();
  else if (wParam == kInstanceExit)
    OnExitRequest(lParam);
  return 1;
}

void CQLRTrayWnd::OnAlreadyWorking() {
  // The user started the program again, perhaps to get the hotkey back.
  if (!IsServiceRunning()) StartServices(nullptr);
  UpdateTrayIcon(kTrayIconModifyWithBalloon, GetClientString(IDS_ALREADY_WORKS).c_str(), true);
  PlayAlreadyWorkSound();
}

void CQLRTrayWnd::OnExitRequest(LPARAM lParam) {
  UpdateTrayIcon(kTrayIconModifyWithBalloon, GetClientString(IDS_EXITING).c_str(), false);
  // The pause lets the user read the exit notice before the icon goes.
  Sleep(kExitNoticeMs);
  PostMessage(WM_COMMAND, ID_TRAY_EXIT, lParam);
}

LRESULT CQLRTrayWnd::OnExitCommand(WORD, WORD, HWND, BOOL&) {
  // An open about dialog ends first and the exit comes again once its modal
  // loop has returned, so the window is never destroyed under the dialog.
  // The same for an open update dialog. Either may run inside the other's
  // loop, so both are ended at once: the inner loop returns first.
  bool dialogOpen = false;
  for (HWND dialog : {GetAboutDlgWindow(), GetUpdateDlgWindow()}) {
    if (!dialog) continue;
    ::EndDialog(dialog, IDCANCEL);
    dialogOpen = true;
  }
  if (dialogOpen) {
    PostMessage(WM_COMMAND, ID_TRAY_EXIT, 0);
    return 0;
  }
  DestroyWindow();
  PostQuitMessage(0);
  return 0;
}
