#include "editor/frame/main_frame.h"

#include <commctrl.h>

#include <memory>
#include <optional>

#include "editor/app/editor_access.h"
#include "editor/app/editor_ids.h"
#include "editor/app/editor_messages.h"
#include "editor/coop/coop_signals.h"
#include "editor/coop/coop_watchers.h"
#include "editor/doc/doc.h"
#include "editor/editor_names.h"
#include "editor/frame/write_failure_notice.h"
#include "editor/services/clipboard_text.h"
#include "editor/services/web_links.h"
#include "editor/services/web_pages.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/menu_ranges.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/files/program_names.h"
#include "foundation/logging/log.h"
#include "foundation/ui/rich_edit_convert.h"

namespace en = editor_names;

namespace {
const UINT g_frameNotifyMessage = GetFrameNotifyMessage();
}

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_TIMER()
  ON_COMMAND(ID_FILE_EXIT, OnFileExit)
  ON_COMMAND(ID_HELP_CHECK_UPDATES, OnCheckForUpdates)
  ON_COMMAND_EX(ID_VIEW_PHRASES, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_PHRASES, OnUpdateControlBarMenu)
  ON_COMMAND(ID_VIEW_SETTINGS, OnViewSettings)
  ON_UPDATE_COMMAND_UI(ID_VIEW_SETTINGS, OnUpdateControlBarMenu)
  ON_REGISTERED_MESSAGE(WM_QLR_RUNNING_EDITOR, OnRunningEditorQuery)
  ON_REGISTERED_MESSAGE(WM_QLR_OPTIONS_CHANGED, OnOptionsChanged)
  ON_REGISTERED_MESSAGE(WM_QLR_ADD_FROM_CB, OnAddFromClipboard)
  ON_REGISTERED_MESSAGE(WM_QLR_ADD_FROM_SELTEXT, OnAddFromSelectedText)
  ON_REGISTERED_MESSAGE(g_frameNotifyMessage, OnStatusText)
  ON_MESSAGE(kPhraseWriteFailedMessage, OnPhraseWriteFailed)
  // File commands (frame_commands.cpp).
  ON_COMMAND(ID_FILE_IMPORT, OnFileImport)
  ON_COMMAND(ID_FILE_EXPORT, OnFileExport)
  ON_UPDATE_COMMAND_UI(ID_FILE_EXPORT, OnUpdateFileExport)
  ON_COMMAND(ID_FILE_BACKUP, OnFileBackup)
  ON_COMMAND(ID_FILE_OPEN_LOG, OnOpenLogFile)
  ON_COMMAND(ID_FILE_ZIP_LOG, OnZipLogFile)
  ON_UPDATE_COMMAND_UI(ID_FILE_ZIP_LOG, OnUpdateZipLogFile)
  ON_COMMAND(ID_FILE_CHOOSE_FOLDER, OnChooseFolder)
  ON_COMMAND_RANGE(kRecentFolderFirst, kRecentFolderLast, OnRecentFolder)
  ON_COMMAND(ID_FILE_SHOW_FOLDER, OnShowFolder)
  ON_COMMAND(ID_FILE_MOVE_FOLDER, OnMoveFolder)
  // Bars, menus and the title.
  ON_WM_CLOSE()
  ON_WM_SYSCOMMAND()
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_WM_ENTERIDLE()
  ON_NOTIFY(TTN_SHOW, 0, OnToolTipShow)
  ON_COMMAND(ID_VIEW_TOOLBAR, OnViewToolbar)
  ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateViewToolbar)
  // Language and help.
  ON_COMMAND_RANGE(kLanguageItemFirst, kLanguageItemLast, OnLanguageItem)
  ON_COMMAND(ID_LANGUAGE_MAKE_LNG, OnMakeLngFile)
  ON_COMMAND(ID_HELP_WELCOME, OnWelcome)
  ON_COMMAND_EX(ID_LANGUAGE_HOWTO, OnHelpLink)
  ON_COMMAND_EX(ID_HELP_WEB_SITE, OnHelpLink)
  ON_COMMAND_EX(ID_HELP_EMAIL, OnHelpLink)
  ON_COMMAND_EX(ID_HELP_FORUM_EN, OnHelpLink)
  ON_COMMAND_EX(ID_HELP_SUPPORT, OnHelpLink)
  ON_COMMAND_EX(ID_HELP_RSS, OnHelpLink)
  ON_COMMAND_EX(ID_HELP_MACRO_DOC, OnHelpLink)
  ON_COMMAND_EX(ID_HELP_FORUM_RU, OnHelpLink)
  ON_COMMAND_EX(ID_HELP_VIDEO, OnHelpLink)
  ON_COMMAND_EX(ID_HELP_FACEBOOK, OnHelpLink)
  ON_COMMAND_EX(kIdLinksOfficialForum, OnHelpLink)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : m_pDialogBar(new CLanguageBar) {}

CMainFrame::~CMainFrame() {
  for (const auto& item : m_menuBitmaps) ::DeleteObject(item.second);
}

BOOL CMainFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  // Made maximised while still hidden: its bars and panes are laid out for
  // the size it is shown at, and showing it moves nothing.
  if (!CFrameWnd::LoadFrame(nIDResource, (dwDefaultStyle & ~FWS_ADDTOTITLE) | WS_MAXIMIZE, pParentWnd, pContext))
    return FALSE;
  LocalizeFrameMenu(::GetMenu(m_hWnd));
  DrawMenuBar();
  if (m_wndPhrases.m_hWnd) m_wndPhrases.TakeMenuTexts();
  return TRUE;
}

void CMainFrame::RecalcLayout(BOOL bNotify) {
  if (m_bLayoutAfterCreate) return;
  CFrameWnd::RecalcLayout(bNotify);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs) {
  const DWORD created = GetTickCount();
  // Made maximised, the frame is laid out by the maximising that follows
  // its creation, at its final size: a layout at the first size would
  // move every pane twice.
  m_bLayoutAfterCreate = lpcs && (lpcs->style & WS_MAXIMIZE);
  if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
  SetClipboardOwnerWindow(m_hWnd);
  // The hidden rich edit that turns RTF into plain text lives in the frame.
  SetHiddenRichEditParent(m_hWnd);
  if (!CreateBars()) return -1;
  static const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
  if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
      !m_wndStatusBar.SetIndicators(kIndicators, 4)) {
    LogError(L"CMainFrame: the status bar cannot be created");
    return -1;
  }
  EnableDocking(CBRS_ALIGN_ANY);
  if (!m_wndPhrases.CreatePane(this, ID_VIEW_PHRASES, kEditorBarsProfileName)) {
    LogError(L"CMainFrame: the phrase pane cannot be created");
    return -1;
  }
  if (!CreateSettingsPane(created)) return -1;
  RecalcLayout();
  WatchPhraseWriteFailures(m_hWnd);
  // The instance event is never set while the editor runs: the watchers end
  // with the process. Without the tray program there is no options watcher.
  HANDLE stop = GetFirstInstanceEvent();
  if (stop) {
    if (!StartOptionsWatcher(m_hWnd, WM_QLR_OPTIONS_CHANGED, stop))
      Log(L"Options watcher not started: the tray program does not run");
    StartAddFromClipboardWatcher(m_hWnd, WM_QLR_ADD_FROM_CB, stop);
  }
  ExtendSystemMenu();
  OnUpdateFrameTitle(TRUE);
  m_bLayoutAfterCreate = false;
  return 0;
}

void CMainFrame::OnDestroy() {
  WatchPhraseWriteFailures(nullptr);
  m_menuTip.DestroyTip();
  CFrameWnd::OnDestroy();
  SetHiddenRichEditParent(nullptr);
  // Whatever is still pending is announced now, once.
  KillTimer(en::kChangeTimerId);
  m_dwChangeTick = 0;
  SignalCoopClient();
}

void CMainFrame::StampChange() {
  // 0 means "nothing pending", so a tick count that happens to be 0 is moved.
  DWORD now = GetTickCount();
  m_dwChangeTick = now ? now : 1;
  SetTimer(en::kChangeTimerId, en::kChangeTimerMs, nullptr);
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == en::kOptionsRetryTimerId) {
    if (IsEditorSettingsReloadHeld()) return;
    KillTimer(en::kOptionsRetryTimerId);
    OnOptionsChanged(0, 0);
    return;
  }
  if (nIDEvent != en::kChangeTimerId) {
    Default();
    return;
  }
  if (m_dwChangeTick && GetTickCount() - m_dwChangeTick > en::kChangeQuietMs) {
    KillTimer(en::kChangeTimerId);
    m_dwChangeTick = 0;
    SignalCoopClient();
  }
}

void CMainFrame::OnFileExit() { SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }

void CMainFrame::OnCheckForUpdates() { RequestUpdateCheck(m_hWnd); }

void CMainFrame::SetStartFlags(DWORD flags) {
  m_dwStartFlags = flags;
  Log(L"Start flags: " + std::to_wstring(flags));
  if ((flags & en::kStartAddFromCB) && m_wndPhrases.m_hWnd) {
    m_wndPhrases.FocusTree();
    m_wndPhrases.PostMessage(GetPaneAddFromClipboardMessage(), 0, 0);
  }
  if ((flags & en::kStartFirstRun) && m_pDialogBar->m_hWnd) m_pDialogBar->StartBlinkTimer();
  if (flags & en::kStartAddSelText) PostMessage(WM_QLR_ADD_FROM_SELTEXT, 0, 0);
}

LRESULT CMainFrame::OnRunningEditorQuery(WPARAM, LPARAM) { return 1; }

LRESULT CMainFrame::OnOptionsChanged(WPARAM, LPARAM) {
  // Heard inside a command (its dialog's or box's loop answers the
  // watcher): the reload waits until the command has ended.
  if (IsEditorSettingsReloadHeld()) {
    SetTimer(en::kOptionsRetryTimerId, en::kOptionsRetryTimerMs, nullptr);
    return 1;
  }
  // The watcher has raised the settings' reload flag: this use loads them.
  GetEditorSettings();
  m_wndSettings.ReloadPage();
  ++m_nOptionsReloads;
  Log(L"Options changed: editor settings reloaded");
  return 1;
}

LRESULT CMainFrame::OnAddFromClipboard(WPARAM, LPARAM) {
  ++m_nAddFromCBRequests;
  Log(L"Request: add a phrase from the clipboard");
  if (m_wndPhrases.m_hWnd) {
    if (!m_wndPhrases.IsVisible()) ShowControlBar(&m_wndPhrases, TRUE, FALSE);
    m_wndPhrases.FocusTree();
    m_wndPhrases.PostMessage(WM_QLR_ADD_FROM_CB, 0, 0);
  }
  return 1;
}

LRESULT CMainFrame::OnAddFromSelectedText(WPARAM, LPARAM) {
  Log(L"Request: add a phrase from the selected text");
  if (CDoc* doc = GetActiveDoc()) doc->AddPhraseFromSelectedText();
  return 1;
}

LRESULT CMainFrame::OnStatusText(WPARAM, LPARAM lParam) {
  // The message is registered by name, so any process can send it: a
  // pointer is read only when it comes from this thread.
  if (!AfxIsMessageFromOwnThread()) return 0;
  const wchar_t* text = reinterpret_cast<const wchar_t*>(lParam);
  if (m_wndStatusBar.m_hWnd) m_wndStatusBar.SetPaneText(0, text ? text : L"");
  return 1;
}

LRESULT CMainFrame::OnPhraseWriteFailed(WPARAM, LPARAM) {
  // The message only wakes the frame; the failures come from the queue.
  size_t dropped = 0;
  const std::vector<PhraseWriteFailure> failures = TakePhraseWriteFailures(&dropped);
  if (dropped) LogError(L"Phrase write failures not shown: " + std::to_wstring(dropped));
  for (const PhraseWriteFailure& failure : failures) {
    const std::wstring text = HandlePhraseWriteFailure(GetActiveDocument(), failure.path, failure.error);
    if (m_wndStatusBar.m_hWnd) m_wndStatusBar.SetPaneText(0, text.c_str());
  }
  return failures.empty() ? 0 : 1;
}

void CMainFrame::OnDocUpdate(CView*, LPARAM lHint, LPARAM) {
  // The title names the current phrase: a new selection, a rename, a
  // reload or another folder may each change it.
  if (lHint == kHintSelect || lHint == kHintPathChanged || lHint == kHintRebuild || lHint == kHintFolderChanged)
    DelayUpdateFrameTitle();
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // A chosen command ends the menu's tip.
  if (nCode == CN_COMMAND) m_menuTip.Deactivate();
  // Options changed meanwhile are loaded between commands, never inside one.
  std::optional<EditorSettingsReloadHold> hold;
  if (nCode == CN_COMMAND) hold.emplace();
  // Offered to the framework first, a Cut meant for the tree would also cut
  // the hidden selection of the phrase text.
  if ((nCode == CN_COMMAND || nCode == CN_UPDATE_COMMAND_UI) && nID != ID_PHRASE_HIDE_UNCHECKED &&
      m_wndPhrases.m_hWnd && m_wndPhrases.IsFocusInTree()) {
    if (m_wndPhrases.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  }
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && m_wndPhrases.m_hWnd && m_wndPhrases.IsLabelEditing()) {
    const WPARAM key = pMsg->wParam;
    const bool control = IsKeyDown(VK_CONTROL), shift = IsKeyDown(VK_SHIFT);
    // Dispatched to the label editor untranslated.
    if (control && (key == 'C' || key == 'V' || key == 'X' || key == 'Z' || key == VK_INSERT)) return FALSE;
    if (shift && (key == VK_INSERT || key == VK_DELETE)) return FALSE;
  }
  if (CFrameWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message == WM_RBUTTONUP && pMsg->hwnd) {
    wchar_t cls[32] = {};
    ::GetClassNameW(pMsg->hwnd, cls, 32);
    if (wcscmp(cls, TOOLBARCLASSNAMEW) == 0) {
      POINT screen = {};
      ::GetCursorPos(&screen);
      ShowViewPopup(screen);
      return TRUE;
    }
  }
  return FALSE;
}

void CMainFrame::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1 && !::IsWindowVisible(m_hWnd)) nCmdShow = SW_SHOWMAXIMIZED;
  if (nCmdShow == SW_SHOWMAXIMIZED && !::IsWindowVisible(m_hWnd) && ::IsZoomed(m_hWnd)) {
    // Already at its maximised place: only shown. Its erase is left to its
    // first paint, so that every window is erased and painted once, not
    // erased as it shows and again when it paints.
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_DEFERERASE);
    return;
  }
  CFrameWnd::ActivateFrame(nCmdShow);
}
