// CQLRTrayWnd: the hidden top-level window that owns the running tray
// program. It is the target of the messages that watcher threads, second
// program starts and the other parts send, and of the tray commands; it
// brings the services behind the hotkey up and down and keeps the tray icon.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "history/actions/menu_history.h"
#include "history/capture/clipboard_handler.h"
#include "history/pane/float_pane.h"
#include "history/pane/pane_host.h"
#include "online/update_check.h"
#include "phrases/insertion/clipboard_snapshot.h"
#include "phrases/insertion/insertion_request.h"
#include "phrases/menu/menu_handler.h"
#include "phrases/store/phrase_store.h"
#include "platform/atl/message_loop.h"
#include "platform/atl/window_impl.h"
#include "tray/app/wts_notify.h"
#include "tray/hook/dll_service.h"
#include "tray/hook/interchange.h"
#include "tray/hook/wait_query.h"
#include "tray/icon/tray_icon_animation.h"
#include "tray/menu/tray_menu_cache.h"
#include "tray/menu/tray_menu_ids.h"
#include "tray/menu/tray_menu_state.h"
#include "tray/menu/tray_menu_tooltip.h"
#include "tray/window/tray_messages.h"
#include "tray/window/tray_messaging.h"

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

  // Brings the hotkey and the services behind it up; on failure the
  // reason goes to errorText (when given) and to the problem list.
  bool StartServices(std::wstring* errorText, bool reloadPhrases = true);
  void StopServices();
  BOOL RegisterMainHotkey(std::wstring* errorText);
  BOOL UnregisterMainHotkey();
  void ReportStartupProblem(std::wstring* errorText, const std::wstring& text);
  void StartTrayIconInstaller();
  bool IsServiceRunning() const { return m_dllService.IsInstalled(); }
  bool IsHotkeyRegistered() const { return m_hotkeyRegistered != FALSE; }

  // Tray icon: add (0), modify with balloon (1), tooltip (2).
  BOOL UpdateTrayIcon(int mode, const wchar_t* balloonText, bool warning);
  void ShowTrayBalloon(const wchar_t* text, DWORD timeMs);
  // The tooltip's information lines.
  std::wstring GetTrayInfoText() const;

  CPhraseStore& GetPhraseStore() { return m_phraseStore; }

  // The clipboard history: the handler window made (or already there),
  // taken down, running.
  bool EnableClipboardHistory();
  bool DisableClipboardHistory();
  bool IsClipboardHistoryRunning() const;
  CQLRWndClipboardHandler* GetClipboardHandler() const { return m_clipboardHandler.get(); }
  // Pane show requests: 0 toggles, 1 shows and activates, 3 is the start-up
  // show without activation.
  enum PaneShowMode { kPaneToggle = 0, kPaneActivate = 1, kPaneStartUp = 3 };
  void ShowFloatPane(int mode);
  CQLRFloatPane* GetFloatPane() const { return m_floatPane.get(); }

  BEGIN_MSG_MAP(CQLRTrayWnd)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_ENDSESSION, OnEndSession)
    MESSAGE_HANDLER(WM_WTSSESSION_CHANGE, OnWmWTSSessionChange)
    MESSAGE_HANDLER(WM_TRAY_INSTALL_ICON, OnInstallTrayIcon)
    MESSAGE_HANDLER(WM_TRAY_NOTIFY, _OnWmTrayEvent)
    MESSAGE_HANDLER(GetTaskbarCreatedMessage(), OnTaskbarCreated)
    MESSAGE_HANDLER(GetTrayPaneMessage(), OnPaneMessage)
    MESSAGE_HANDLER(GetInstanceMessageId(), OnInstanceMessage)
    COMMAND_ID_HANDLER(ID_TRAY_EXIT, OnExitCommand)
    COMMAND_ID_HANDLER(ID_TRAY_ABOUT, OnAboutCommand)
    COMMAND_ID_HANDLER(ID_TRAY_START_EDITOR, OnStartEditorCommand)
    COMMAND_ID_HANDLER(ID_TRAY_CHECK_FOR_UPDATES, OnCheckForUpdatesCommand)

    // The hotkey road and the core library's queries.
    MESSAGE_HANDLER(WM_HOTKEY, OnHotKey)
    MESSAGE_HANDLER(WM_TRAY_QUERY, OnQuery)
    MESSAGE_HANDLER(WM_TRAY_COMMAND_FROM_SELF, OnWmCommandFromSelf)
    MESSAGE_HANDLER(WM_WAIT_QUERY_COMPLETE_ERROR, OnWaitQueryError)
    MESSAGE_HANDLER(WM_COPYDATA, OnCopyData)
    MESSAGE_HANDLER(GetMouseEventMessage(), OnMouseEventRequest)

    // Messages from the editor, the watchers and the other parts.
    MESSAGE_HANDLER(WM_TRAY_EDITOR_STATE, OnEditorState)
    MESSAGE_HANDLER(WM_TRAY_UPDATE_RESULT, OnUpdateResult)
    MESSAGE_HANDLER(WM_TRAY_EDITOR_ENDED, OnEditorEnded)
    MESSAGE_HANDLER(WM_TRAY_GESTURE_QUERY, OnGestureQuery)
    MESSAGE_HANDLER(WM_TRAY_IS_MENU_FREE, OnIsMenuFree)
    MESSAGE_HANDLER(WM_TRAY_UPDATE_DUE, OnUpdateDue)
    MESSAGE_HANDLER(WM_TRAY_CLIPBOARD_HANDLER, OnGetClipboardHandler)
    MESSAGE_HANDLER(WM_TRAY_START_CLIPBOARD_HISTORY, OnStartClipboardHistory)
    MESSAGE_HANDLER(WM_TRAY_SHOW_PANE, OnShowPaneMessage)
    MESSAGE_HANDLER(WM_TRAY_HISTORY_CAPTION, OnHistoryCaption)
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
    MESSAGE_HANDLER(WM_TRAY_REMOVE_BALLOON, OnRemoveBalloon)
    MESSAGE_HANDLER(WM_TRAY_HIDE_MENU_TIP, OnHideMenuTip)
    MESSAGE_HANDLER(WM_TRAY_RIGHT_MENU_COMMAND, OnRightMenuCommand)
    MESSAGE_HANDLER(WM_TRAY_LANGUAGE_CHANGED, OnLanguageChanged)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    COMMAND_ID_HANDLER(ID_TRAY_PANE_SHOW_MENU, OnPaneShowMenu)

    // The tray menu and its commands.
    MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
    MESSAGE_HANDLER(WM_MENUSELECT, OnMenuSelect)
    MESSAGE_HANDLER(WM_ENTERIDLE, OnEnterIdle)
    MESSAGE_HANDLER(WM_EXITMENULOOP, OnExitMenuLoop)
    MESSAGE_HANDLER(WM_TRAY_SHOW_MENU, OnShowMenuInFront)
    COMMAND_RANGE_HANDLER(kLanguageFirstId, kLanguageLastId, OnLanguageCommand)
    COMMAND_RANGE_HANDLER(kHistoryEntryFirstId, kHistoryEntryLastId, OnHistoryEntryCommand)
    COMMAND_RANGE_HANDLER(ID_TRAY_ENABLE_PHRASE_MENU, ID_TRAY_SHOW_TRAY_MENU, OnTrayMenuCommand)
  END_MSG_MAP()

  // The box over the hidden window; with showWindow the window shows and
  // flashes in the taskbar while the box is up.
  int TrayMessageBox(const std::wstring& text, UINT type, bool showWindow);

  // The tray menu at a point of the screen; the chosen command is sent to
  // the window once the menu has closed.
  void DisplayTrayMenuWithPoint(int x, int y);
  void DisplayTrayMenuAtCursor();
  // Checks, enables and captions the tray menu's commands in menu (the tray
  // menu, one of its popups or another menu of tray commands).
  LRESULT OnInitMenuPopup(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  // Checks the pane item and puts a pane that left the screen back on it.
  void CheckFloatPanePosition(HMENU menu);
  TrayMenuState GetTrayMenuState() const;

 private:
  struct TrayCommand {
    WORD id;
    void (CQLRTrayWnd::*handler)();
  };
  static const TrayCommand kTrayCommands[];
  LRESULT OnShowMenuInFront(UINT, WPARAM, LPARAM, BOOL&);
  // The tray menu's tooltip follows the selection (tray_window_tips.cpp).
  LRESULT OnMenuSelect(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEnterIdle(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnExitMenuLoop(UINT, WPARAM, LPARAM, BOOL&);
  void CreateTrayMenuTip();
  void OnPaneBlinkTimer();
  LRESULT OnTrayMenuCommand(WORD, WORD id, HWND, BOOL& bHandled);
  LRESULT OnLanguageCommand(WORD, WORD id, HWND, BOOL&);
  LRESULT OnHistoryEntryCommand(WORD, WORD id, HWND, BOOL&);
  void OnRunAsAdministrator();
  void OnMailToUs();
  void OnStartWelcome();
  void OnToggleAutoStart();
  void OnToggleSounds();
  void OnToggleWriteLog();
  void OnMenuOnMouseEvent();
  void OnTogglePaneOnStart();
  void OnRereadPhrases();
  void OnOpenSettingsFile();
  void OnToggleKeepHistory();
  void OnRekeepHistory();
  void OnToggleSaveHistory();
  void OnClearHistory();
  void OnPhraseFromClipboard();
  void OnToggleHistoryPane();
  void OnToggleServices();
  // The language files listed in the menu last shown, by entry.
  std::vector<std::wstring> m_menuLanguages;
  CTrayMenuCache m_trayMenuCache{GetModuleHandleW(nullptr), kTrayMenuResource};
 public:

 private:
  static UINT GetInstanceMessageId();
  static UINT GetTaskbarCreatedMessage();

  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEndSession(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnWmWTSSessionChange(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnInstallTrayIcon(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT _OnWmTrayEvent(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnTaskbarCreated(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaneMessage(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnInstanceMessage(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnExitCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnAboutCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnStartEditorCommand(WORD, WORD, HWND, BOOL&);

  // The hotkey road and the core library's queries.
 public:
  enum CommandResult { kSpecialCommand = 0, kHistoryInserted = 1, kPhraseInserted = 2, kUnknownCommand = 3 };
  enum CommandSource { kUnknownSource = 0, kHistorySource = 1, kPhraseSource = 2 };

  void ShowMenuForTarget(bool fromHotkey);
  // Puts the clipboard saved at the hotkey press back.
  void RestoreClipboard();
  int ExecuteCommand(int commandId, HWND target);
  bool ExecuteSpecialCommand(int commandId, HWND target);
  int GetCommandText(int commandId, std::wstring* text, int* dataType);
  void AfterPhraseInserted(int commandId);
  // Asked before a phrase becomes the last used one; context is the window.
  static BOOL PreSetLastID_CallBack(void* context, int id);
  IDataNeededHander_MenuSelf* GetDataNeededHandler() const { return m_dataNeededHandler.get(); }

 private:
  static UINT GetMouseEventMessage();
  LRESULT OnHotKey(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnQuery(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnWmCommandFromSelf(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnWaitQueryError(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCopyData(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnMouseEventRequest(UINT, WPARAM, LPARAM, BOOL&);
  void OnHotKeyPressed();
  // The menu's choice, from the menu or from WM_COPYDATA.
  void DispatchMenuCommand(int commandId, HWND target);
  // Creates the data-needed handler once and gives it the current options.
  void PrepareDataNeededHandler();
  // An insertion request for the current target and the user's paste method.
  CQLRInsertRequest MakeInsertRequest(HWND target, int dataType) const;

  // The live history as the phrase menu reads it; outlives the handler.
  std::unique_ptr<CHandlerMenuHistory> m_menuHistory;
  std::unique_ptr<IDataNeededHander_MenuSelf> m_dataNeededHandler;
  std::unique_ptr<CQLRWndClipboardHandler> m_clipboardHandler;
  std::unique_ptr<CQLRFloatPane> m_floatPane;
  // What the pane asks of the tray program (tray_window_pane.cpp).
  std::unique_ptr<IPaneHost> m_paneHost;
  std::unique_ptr<IPaneHost> MakePaneHost();
  // The tray menu's tooltips, also the pane's button tips.
  std::unique_ptr<ITrayTipSource> m_tipSource;
  std::unique_ptr<CTrayMenuToolTip> m_trayMenuTip;
  std::unique_ptr<ITrayTipSource> MakeTipSource();
  // The item last highlighted in the tray menu.
  UINT m_lastMenuSelect = 0;
  DWORD m_lastClipboardSequence = 0;
  CClipboardKeeper m_clipboardKeeper;
  DWORD m_lastHotkeyPress = 0;

  // Messages from the editor, the watchers and the other parts.
  LRESULT OnEditorState(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnUpdateResult(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnEditorEnded(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnGestureQuery(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnIsMenuFree(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnUpdateDue(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnGetClipboardHandler(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnStartClipboardHistory(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnShowPaneMessage(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnHistoryCaption(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  // The pane's list follows the history while the pane's window exists.
  void RefreshPaneList();
  LRESULT OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
  void OnClipboardHistoryChanged(const NMCLIPBOARDHISTORY& nm);
  // When ClipboardHistory is on and the handler window is missing; true
  // when it was made now.
  bool StartClipboardHistoryIfWanted();
  void StartDelayedClipboardHistory();
  // A lock (class -1) stops a running history, the next unlock (+1) brings
  // back only what the lock stopped.
  void PauseClipboardHistoryForSession(int reasonClass);
  LRESULT OnRemoveBalloon(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnHideMenuTip(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnRightMenuCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnLanguageChanged(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnPaneShowMenu(WORD, WORD, HWND, BOOL&);
  // The update check: on request, on schedule, and after each check.
  LRESULT OnCheckForUpdatesCommand(WORD, WORD, HWND, BOOL&);
  // Schedules the automatic check by the settings in force (or ends the
  // wait of the one scheduled when automatic checks are off).
  void ScheduleAutomaticUpdateCheck();
  // Schedules anew when AutoCheckForUpdates or DaysCheckForUpdates differ
  // from what the check in force was scheduled with.
  void RescheduleIfUpdateOptionsChanged();
  static void OnUpdateCheckDone(const UpdateCallbackRecord& record, int callbackArg);
  bool m_scheduledAutoCheck = false;
  int m_scheduledCheckDays = 0;
  // The editor was closed: settings, hotkey and services anew.
  void OnEditorClosed();
  // Everything the program read at start from a setting the settings page
  // can change, read and applied again (tray_window_settings.cpp): after
  // the editor ended, whoever started it. restartServices brings the
  // hotkey and the core library up anew in any case.
  // reloadPhrases: read the phrase store anew (once per editor end).
  void ReapplyChangedSettings(bool restartServices, bool reloadPhrases);
  // Any editor's end: settings applied, phrases read, the icon blinks.
  void OnAnyEditorEnded();
  // While a phrase menu is open or its command still due, editor ends and
  // phrase reloads wait (a reload renumbers the phrases the menu's ids
  // name); they run once the command is done.
  bool IsPhraseMenuBusy() const;
  void RunDeferredEditorEnds();
  bool m_menuCommandDue = false;
  bool m_deferredEditorEnd = false;
  bool m_deferredEditorClosed = false;
  bool m_reloadDeferred = false;
  // The editor's end event read the phrases; its process end need not.
  bool m_editorEndReloaded = false;
  // The history's switch (when it changed), tracking method, kinds,
  // maximum and save-on-exit; before: the options the handler had.
  void ApplyClipboardHistorySettings(const ClipboardHandlerOptions& before, bool switched);
  // Makes the Language setting the current language of the texts.
  void ApplyLanguageSetting();
  // The Language setting applied everywhere: texts, links, caches, tooltip.
  void ApplyChangedLanguage();
  // The picture of the running or stopped state back on the tray icon.
  void RestoreTrayIconImage();
  void BlinkTrayIcon();
  // The phrase's text with its macros expanded as an insertion would, its
  // data type and the request's locale (may be null); false for an id that
  // is no phrase.
  bool GetExpandedPhraseText(int commandId, std::wstring* text, int* dataType, LCID* locale);
  void CopyPhraseToClipboard(int commandId);
  void CopyHistoryEntryToClipboard(const CCHItem* entry);
  // The phrase folder when the editor was started.
  std::wstring m_editorStartFolder;

  // A second start of the program found this one running.
  void OnAlreadyWorking();
  // A second start asked this one to end.
  void OnExitRequest(LPARAM lParam);

  void JoinMessageLoop();
  void LeaveMessageLoop();
  void SetWindowIcons();
  void ReloadPhraseStore();
  void RegisterSessionNotification();
  void UnregisterSessionNotification();
  void ActOnCommandLine();

  HANDLE m_stopEvent;
  std::unique_ptr<CWTSNotify> m_sessionNotifier;
  BOOL m_sessionPause = FALSE;
  // The user stopped the services from the tray menu: a settings change
  // does not start them again.
  bool m_servicesStoppedByUser = false;
  const CCommandLine* m_commandLine;
  std::wstring m_commandLineText;
  POINT m_lastTrayClick = {0, 0};
  int m_noInstall;
  CTrayWindowIconAnimation m_trayIconAnimation;
  CPhraseStore m_phraseStore;
  int m_createParam = 0;
  BOOL m_hotkeyRegistered = FALSE;
  CInterchangeObjects m_interchange;
  CQLRDLLService m_dllService;
  CWaitQuery m_waitQuery;
  NOTIFYICONDATAW m_trayIcon = {};
  bool m_inMessageLoop = false;
};
