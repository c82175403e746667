#include "editor/app/editor_app.h"

#include <commctrl.h>
#include <objbase.h>

#include "editor/app/about_dialog.h"
#include "editor/app/command_line.h"
#include "editor/app/editor_access.h"
#include "editor/app/editor_ids.h"
#include "editor/app/editor_messages.h"
#include "editor/coop/coop_signals.h"
#include "editor/doc/doc.h"
#include "editor/doc/folder_view.h"
#include "editor/editor_names.h"
#include "editor/frame/main_frame.h"
#include "editor/pane/phrase_pane.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/files/program_names.h"
#include "foundation/logging/log.h"
#include "foundation/logging/log_editor.h"
#include "phrases/macros/macro_dates.h"
#include "phrases/store/phrase_writer.h"

namespace en = editor_names;

IMPLEMENT_DYNAMIC(CQLRDocTemplate, CSingleDocTemplate)

CQLRDocTemplate::CQLRDocTemplate()
    : CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CDoc), RUNTIME_CLASS(CMainFrame),
                         RUNTIME_CLASS(CFolderView)) {}

BEGIN_MESSAGE_MAP(CQLREditorApp, CWinApp)
  ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

CQLREditorApp::CQLREditorApp() = default;

void CQLREditorApp::HandOverToRunningEditor() {
  Log(std::wstring(L"Editor already runs; start handed over: cmdline [") + GetCommandLineW() + L"]");
  if (!FindRunningEditor(WM_QLR_RUNNING_EDITOR, true)) Log(L"The running editor did not answer");
  if (CommandLineHasAddFromCB() && !PulseAddPhraseFromCB())
    Log(L"The running editor does not wait for an add-from-clipboard request");
}

BOOL CQLREditorApp::InitInstance() {
  UseTrayProgramLog();
  // Every save of Settings.ini says when it was written, as the tray's do.
  SetSettingsTimeFormatter([](const SYSTEMTIME& local) { return FormatDateTimeFull(local); });
  if (HANDLE running = OpenEventW(SYNCHRONIZE, FALSE, en::kInstanceEvent)) {
    CloseHandle(running);
    HandOverToRunningEditor();
    return FALSE;
  }
  m_hInstanceEvent = CreateEventW(nullptr, TRUE, FALSE, en::kInstanceEvent);
  if (m_hInstanceEvent && GetLastError() == ERROR_ALREADY_EXISTS) {
    // Another start made it between the test and here: that one runs.
    CloseHandle(m_hInstanceEvent);
    m_hInstanceEvent = nullptr;
    HandOverToRunningEditor();
    return FALSE;
  }
  if (!m_hInstanceEvent) LogError(L"CreateEvent of the instance event failed " + std::to_wstring(GetLastError()));
  // From here this start is the editor, with or without its event: its end
  // waits for its writes and tells the tray program.
  m_bRunning = true;
  SetFirstInstanceEvent(m_hInstanceEvent);
  Log(std::wstring(L"Start QuilloraEditor with cmdline [") + GetCommandLineW() + L"]");
  // The shell's first icons take long. The file-type icons are asked for
  // once the frame is up: their thread would compete with the making of
  // the frame for the window system, and the lists take them when they
  // come. The pane's toolbar images come while the rest starts.
  m_hIconsGate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (m_hIconsGate) HoldFileTypeImagesUntil(m_hIconsGate);
  StartAskingForFileTypeIcons();
  StartMakingPhrasePaneImages();

  AfxOleInit();
  AfxEnableControlContainer();
  SetEditorApp(this);

  LoadLibraryW(L"shell32.dll");  // kept loaded for the process
  CoInitialize(nullptr);
  InitCommonControls();
  if (!LoadLibraryW(L"RichEd20.DLL")) AfxInitRichEdit2();

  GetEditorSettings();
  GetEditorLanguage();

  SetRegistryKey(en::kRegistryKey);
  LoadStdProfileSettings(4);
  AddDocTemplate(new CQLRDocTemplate);

  CQLRCommandLineInfo cmdInfo;
  ParseCommandLine(cmdInfo);
  m_bHideSettings = cmdInfo.GetHideSettings();
  if (!ProcessShellCommand(cmdInfo)) {
    LogError(L"The main window cannot be created");
    return FALSE;
  }
  m_pMainWnd->ShowWindow(SW_SHOWMAXIMIZED);
  m_pMainWnd->UpdateWindow();
  if (m_hIconsGate) SetEvent(m_hIconsGate);

  DWORD flags = cmdInfo.GetStartFlags();
  if (flags) {
    if (CMainFrame* frame = GetMainFrame()) frame->SetStartFlags(flags);
  }
  return TRUE;
}

int CQLREditorApp::ExitInstance() {
  // Only the editor that made the instance event ran: a handed-over start
  // must not tell the tray program that the editor ended.
  const bool ran = m_bRunning;
  // A start that failed on its way never let the icons' thread go on.
  if (m_hIconsGate) SetEvent(m_hIconsGate);
  if (m_hInstanceEvent) {
    SetFirstInstanceEvent(nullptr);
    CloseHandle(m_hInstanceEvent);
    m_hInstanceEvent = nullptr;
  }
  int code = CWinApp::ExitInstance();
  if (ran) {
    // Phrases saved just before the close are still being written: the
    // tray program reads them again when it hears of the end.
    if (!WaitForPhraseWrites(en::kPhraseWritesWaitMs)) LogError(L"Phrase files still being written at the end");
    SignalEditorEnded();
    Log(L"===End QuilloraEditor===");
    WaitLogWritten(5000);
  }
  return code;
}

void CQLREditorApp::OnAppAbout() {
  CAboutDlg about;
  about.DoModal();
}
