// The about and system-information dialog of the tray program.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "foundation/ui/arrow_button.h"
#include "history/pane/list_repaint_wnd.h"
#include "online/about/about_ids.h"
#include "online/about/about_report.h"
#include "platform/atl/dialog_impl.h"
#include "platform/atl/hyperlink.h"
#include "platform/atl/message_map.h"


class CPhraseStore;

// What the tray window hands over to the dialog. Menu texts come in their
// current language; an empty one leaves the dialog's own text in place.
struct AboutDialogInput {
  HWND trayWindow = nullptr;
  CPhraseStore* phraseStore = nullptr;  // null: no statistics rows
  std::wstring versionText;             // the program's version with its build
  std::wstring titleMenuText;           // the about command's menu text
  std::wstring checkMenuText;           // the check-for-updates command's menu text
  std::wstring welcomeMenuText;         // the welcome command's menu text
  std::wstring openSettingsMenuText;    // the open-Settings.ini command's menu text
  std::wstring phrasesFolder;           // empty: the default folder is in use
  std::wstring defaultPhrasesFolder;
  std::wstring hotkeyText;
  std::wstring dllServiceImplText;
  bool clipboardHistoryRunning = false;
  bool waitsForAgentAnswer = false;     // the core library asks and waits for the answer
  std::vector<std::wstring> logMessages;
  std::vector<std::pair<std::wstring, std::wstring>> commandLineKeys;
};

// The open dialog's window, or null.
HWND GetAboutDlgWindow();

class CQLRAboutDlg : public CDialogImpl<CQLRAboutDlg> {
 public:
  enum { IDD = IDD_QLR_ABOUT };
  explicit CQLRAboutDlg(const AboutDialogInput& input) : m_input(input) {}

  const std::vector<AboutRow>& GetRows() const { return m_rows; }

  BEGIN_MSG_MAP(CQLRAboutDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    COMMAND_ID_HANDLER(IDOK, OnClose)
    COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    COMMAND_ID_HANDLER(IDC_ABOUT_COPY, OnCopy)
    COMMAND_ID_HANDLER(IDC_ABOUT_CHECK_UPDATES, OnCheckUpdates)
    COMMAND_ID_HANDLER(259, OnSaveArchive)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNotify(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(WORD, WORD id, HWND, BOOL&);
  LRESULT OnCopy(WORD, WORD, HWND, BOOL&);
  LRESULT OnCheckUpdates(WORD, WORD, HWND, BOOL&);
  LRESULT OnSaveArchive(WORD, WORD, HWND, BOOL&);

  void FillReport();
  void AddRow(const std::wstring& caption, const std::wstring& value, int kind);
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw);
  void ShowCopyMenu();
  void SaveArchive();

  AboutDialogInput m_input;
  std::vector<AboutRow> m_rows;
  CListRepaintWnd m_list;
  CArrowButton m_copyButton;
  CHyperLink m_homeLink;
  CHyperLink m_bugLink;
  HFONT m_boldFont = nullptr;  // shared, not owned
};
