// The editor's main window: menu, status bar, the rebar with the language
// bar, the docked panes, the registered messages of the cooperation with
// the tray program and a second editor start, the debounced notice of
// phrase changes, the title, and the application's commands.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/doc/doc_listener.h"
#include "editor/frame/language_bar.h"
#include "editor/frame/settings_bar.h"
#include "editor/pane/phrase_pane.h"
#include "editor/services/editor_menu_tooltip.h"
#include "editor_settings/helpers/control_ex.h"
#include "platform/mfc/frame/frame_wnd.h"
#include "platform/mfc/frame/status_bar.h"

class CMainFrame : public CFrameWnd, public IDocUpdateListener {
  DECLARE_DYNCREATE(CMainFrame)

 public:
  CMainFrame();
  ~CMainFrame() override;

  // The framework's, without the document's name in the title.
  void RecalcLayout(BOOL bNotify = TRUE) override;
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

  // 1 add from clipboard, 2 first run, 4 add from selected text.
  void SetStartFlags(DWORD flags);
  DWORD GetStartFlags() const { return m_dwStartFlags; }

  // A phrase changed: (re)starts the quiet-time timer.
  void StampChange();
  DWORD GetChangeTick() const { return m_dwChangeTick; }

  // Counts of the notices received, for diagnostics and tests.
  int GetOptionsReloads() const { return m_nOptionsReloads; }
  int GetAddFromClipboardRequests() const { return m_nAddFromCBRequests; }

  void OnDocUpdate(CView* pSender, LPARAM lHint, LPARAM value) override;
  HWND GetListenerHwnd() override { return m_hWnd; }

  // While the focus is in the phrase tree its commands go to the pane
  // first (the Hide Unchecked button's excepted), and no further when it
  // handles them.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  // The label editor keeps the clipboard and undo keys to itself.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The first show is maximised already: shown at its default size and
  // maximised after, the frame can be put back by the display's late
  // answer to the first size (Wine without a window manager). The frame is
  // made maximised (LoadFrame), so the first show only shows it.
  void ActivateFrame(int nCmdShow = -1) override;
  // Status-bar prompts follow the language: the localised string first.
  void GetMessageString(UINT nID, CString& rMessage) const override;
  // The application title, then the phrase named in the title.
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;

  // The language files of the program folder, read again; the language
  // bar's list follows when it changed. At most 50 entries.
  void RefreshLanguageFiles();
  // The file at index becomes the language: setting saved, menu rebuilt
  // and localised, hint 4 to every listener.
  void SwitchLanguage(size_t index);

  CStatusBar m_wndStatusBar;
  CPhrasePane m_wndPhrases;
  CReBarEx m_wndReBar;
  std::unique_ptr<CLanguageBar> m_pDialogBar;
  CEditorMenuToolTip m_menuTip;

  // The settings pane (main_frame_settings.cpp): made after the phrase
  // pane, hidden with "hidesettings", toggled by 32777 (Alt+2).
  CSettingsBar m_wndSettings;
  BOOL CreateSettingsPane(DWORD frameCreated);
  SettingsPageHost MakeSettingsPageHost();
  void OnViewSettings();

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnTimer(UINT_PTR nIDEvent);
  void OnFileExit();
  void OnCheckForUpdates();
  LRESULT OnRunningEditorQuery(WPARAM, LPARAM);
  LRESULT OnOptionsChanged(WPARAM, LPARAM);
  LRESULT OnAddFromClipboard(WPARAM, LPARAM);
  LRESULT OnAddFromSelectedText(WPARAM, LPARAM);
  LRESULT OnStatusText(WPARAM, LPARAM);
  LRESULT OnPhraseWriteFailed(WPARAM, LPARAM);

  // File commands (frame_commands.cpp).
  void OnFileImport();
  void OnFileExport();
  void OnUpdateFileExport(CCmdUI* pCmdUI);
  void OnFileBackup();
  void OnOpenLogFile();
  void OnZipLogFile();
  void OnUpdateZipLogFile(CCmdUI* pCmdUI);
  void OnChooseFolder();
  void OnRecentFolder(UINT nID);
  void OnShowFolder();
  void OnMoveFolder();
  // The Phrases Folder popup: its three commands, then the recent folders
  // (at most as many as their ids), a missing one marked, the current one
  // checked.
  void FillRecentFolderMenu(CMenu* popup);
  // Commits the phrase being edited, then opens the folder's tree; false
  // when the folder is missing or the user declined an empty one.
  bool OpenPhraseFolder(const std::wstring& folder);
  // Bars, menus and the title (main_frame_bars.cpp).
  void OnClose();
  void OnSysCommand(UINT nID, LPARAM lParam);
  void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  void OnEnterIdle(UINT nWhy, CWnd* pWho);
  void OnToolTipShow(NMHDR* pNMHDR, LRESULT* pResult);
  void OnViewToolbar();
  void OnUpdateViewToolbar(CCmdUI* pCmdUI);
  bool CreateBars();
  void ExtendSystemMenu();
  void MakeMenuBitmaps();
  void MakeMenuTip();
  void ShowViewPopup(POINT screen);

  // Language and help (main_frame_language.cpp).
  void OnLanguageItem(UINT nID);
  void OnMakeLngFile();
  void OnWelcome();
  BOOL OnHelpLink(UINT nID);
  void RebuildLanguageMenu(HMENU popup);
  void LocalizeFrameMenu(HMENU menu);

  DWORD m_dwChangeTick = 0;
  DWORD m_dwStartFlags = 0;
  int m_nOptionsReloads = 0;
  int m_nAddFromCBRequests = 0;
  std::vector<std::wstring> m_languageFiles;
  // Images of menu items by command, drawn on the menu colour (owned).
  std::vector<std::pair<UINT, HBITMAP>> m_menuBitmaps;
  bool m_bMenuBitmapsMade = false;
  bool m_bMenuTipMade = false;
  bool m_bLayoutAfterCreate = false;  // while a maximised frame is created

  DECLARE_MESSAGE_MAP()
};
