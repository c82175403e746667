// The welcome window: a modeless dialog with the HTML view of the welcome
// page, the language list, three web links and the Close button.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/localization/dialog_localizer.h"
#include "platform/atl/dialog_impl.h"
#include "platform/atl/hyperlink.h"
#include "platform/atl/message_loop.h"
#include "platform/atl/message_map.h"
#include "platform/htmlayout/htmlayout.h"
#include "welcome/program/resource.h"
#include "welcome/welcome_page.h"

constexpr UINT kWelcomeBringToFront = WM_APP + 1;
constexpr UINT kWelcomeHintDone = WM_APP + 2;
constexpr UINT_PTR kWelcomeHintTimer = 1232;
constexpr UINT kWelcomeHintDelayMs = 2000;

class CWelcomeDlg : public CDialogImpl<CWelcomeDlg>, public CMessageFilter, public CIdleHandler {
 public:
  enum { IDD = IDD_WELCOME };
  CWelcomeDlg(bool autoStart, HANDLE instanceEvent);
  ~CWelcomeDlg();

  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnIdle() override { return FALSE; }

  // Chooses, fills and loads the page for the current language.
  void LoadWelcomePage();

  BEGIN_MSG_MAP(CWelcomeDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
    MESSAGE_HANDLER(kWelcomeBringToFront, OnBringToFront)
    MESSAGE_HANDLER(kWelcomeHintDone, OnHintDone)
    COMMAND_HANDLER(IDC_WELCOME_LANG_LIST, CBN_SELENDOK, OnLanguageChosen)
    COMMAND_ID_HANDLER(IDOK, OnCloseCommand)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCommand)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnBringToFront(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnHintDone(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnLanguageChosen(WORD, WORD, HWND, BOOL&);
  LRESULT OnCloseCommand(WORD, WORD id, HWND, BOOL&);

  void StartInstanceWatcher();
  void CreateHtmlView();
  void PlaceWindow();
  void FillLanguageList();
  void ApplyLanguage(bool initial);
  void LayoutControls(int cx, int cy);

  // The page's callbacks.
  static LRESULT CALLBACK HtmlNotify(UINT msg, WPARAM wParam, LPARAM lParam, LPVOID param);
  static BOOL CALLBACK ElementEvent(LPVOID tag, HELEMENT he, UINT group, LPVOID params);
  LRESULT OnHtmlLoadData(NMHL_LOAD_DATA* data);
  BOOL OnHtmlMouse(MOUSE_PARAMS* params);
  BOOL OnHyperlinkClick(HELEMENT link);

  bool m_auto;
  HANDLE m_instanceEvent;
  CHyperLink m_homeLink;
  CHyperLink m_translateLink;
  CHyperLink m_socialLink;
  HWND m_view = nullptr;
  bool m_hint = false;
  HWND m_combo = nullptr;
  std::vector<std::wstring> m_languages;
  bool m_languagesFilled = false;
  std::wstring m_pageBase;  // base of the page in the view
  std::unique_ptr<CDialogLocalizerEx> m_localizer;
};

// The stored Language value and the language file it names: the program
// folder's file, a full path for a value with a backslash, empty for none.
std::wstring GetWelcomeStoredLanguage();
std::wstring GetWelcomeLanguagePath(const std::wstring& language);
