// CWinApp: the one application object. The program's entry runs
// InitInstance, then the message loop, then ExitInstance, whose value is
// the exit code. A failed InitInstance still ends through ExitInstance, and
// the application can tell that case by InitInstanceFailed().
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/mfc/app/win_thread.h"
#include "platform/mfc/core/position.h"
#include "platform/mfc/res/afx_ids.h"

class CCommandLineInfo;
class CDocTemplate;

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)

 public:
  explicit CWinApp(LPCWSTR lpszAppName = nullptr);
  ~CWinApp() override;

  HINSTANCE m_hInstance = nullptr;
  LPWSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  LPCWSTR m_pszAppName = nullptr;       // string 57344, else the program's file name
  LPCWSTR m_pszRegistryKey = nullptr;   // set by SetRegistryKey
  LPCWSTR m_pszProfileName = nullptr;   // the application's key under it

  virtual BOOL InitApplication() { return TRUE; }
  int ExitInstance() override;

  // The profile lives under HKCU\Software\<key>\<profile name>\<section>.
  void SetRegistryKey(LPCWSTR lpszRegistryKey);
  UINT GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault);
  BOOL WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue);
  std::wstring GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault = nullptr);
  BOOL WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue);
  // No recent-file list is kept; there is nothing to load.
  void LoadStdProfileSettings(UINT nMaxMRU = 4) { (void)nMaxMRU; }

  // Document templates: the application owns those it was given.
  void AddDocTemplate(CDocTemplate* pTemplate);
  POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const;

  // The process's arguments, each given to ParseParam ("/" or "-" marks a
  // flag and is stripped); then the command they ask for.
  void ParseCommandLine(CCommandLineInfo& rCmdInfo);
  BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
  // A new document of the first template.
  void OnFileNew();

  // True once InitInstance answered FALSE (set before ExitInstance runs).
  bool InitInstanceFailed() const { return m_bInitInstanceFailed; }

  // The application's start, used by the program's entry point.
  int RunApplication(HINSTANCE hInstance, LPWSTR lpCmdLine, int nCmdShow);

 private:
  bool OpenSectionKey(LPCWSTR lpszSection, bool create, HKEY* key);

  std::vector<CDocTemplate*> m_templates;
  std::wstring m_appName;
  std::wstring m_registryKey;
  bool m_bInitInstanceFailed = false;
  bool m_bOleInitialized = false;
  friend BOOL AfxOleInit();
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);

// A message box owned by the main window with the application's title.
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

// OLE for the application: OleInitialize now, OleUninitialize when the
// application ends.
BOOL AfxOleInit();
inline void AfxEnableControlContainer() {}
// The rich edit 2.0 library, loaded once and kept.
BOOL AfxInitRichEdit();
BOOL AfxInitRichEdit2();

// The framework's entry: what wWinMain does.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
