#include "platform/mfc/app/win_app.h"

#include <ole2.h>

#include <vector>

#include "foundation/localization/localized_strings.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "platform/mfc/doc/doc_template.h"
#include "platform/mfc/window/wnd.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

CWinApp* g_app = nullptr;
HINSTANCE g_resource = nullptr;

std::wstring ProgramBaseName() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name = path;
  size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.resize(dot);
  return name;
}

}  // namespace

CWinApp::CWinApp(LPCWSTR lpszAppName) {
  if (lpszAppName) m_appName = lpszAppName;
  if (!g_app) g_app = this;
  m_hInstance = ::GetModuleHandleW(nullptr);
}

CWinApp::~CWinApp() {
  for (CDocTemplate* tmpl : m_templates) delete tmpl;
  m_templates.clear();
  if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() {
  CWinThread* thread = AfxGetThread();
  return thread ? thread->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
  return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return g_resource ? g_resource : AfxGetInstanceHandle(); }
void AfxSetResourceHandle(HINSTANCE hResource) { g_resource = hResource; }

int CWinApp::RunApplication(HINSTANCE hInstance, LPWSTR lpCmdLine, int nCmdShow) {
  m_hInstance = hInstance ? hInstance : ::GetModuleHandleW(nullptr);
  m_lpCmdLine = lpCmdLine;
  m_nCmdShow = nCmdShow;
  BindToCurrentThread();
  if (m_appName.empty()) {
    std::wstring title;
    if (LoadResourceString(m_hInstance, AFX_IDS_APP_TITLE, &title)) m_appName = title;
    else m_appName = ProgramBaseName();
  }
  m_pszAppName = m_appName.c_str();
  if (!InitApplication()) return ExitInstance();
  int code = 0;
  if (!InitInstance()) {
    // The entry's order is kept (ExitInstance also after a failed start);
    // InitInstanceFailed() tells ExitInstance that nothing was started.
    m_bInitInstanceFailed = true;
    if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->DestroyWindow();
    code = ExitInstance();
  } else {
    code = Run();
  }
  return code;
}

int CWinApp::ExitInstance() {
  if (m_bOleInitialized) {
    ::OleUninitialize();
    m_bOleInitialized = false;
  }
  // A failed start has no message to end with: the code is 0 unless the
  // application chose its own.
  return m_bInitInstanceFailed ? 0 : CWinThread::ExitInstance();
}

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey) {
  m_registryKey = lpszRegistryKey ? lpszRegistryKey : L"";
  m_pszRegistryKey = m_registryKey.c_str();
  m_pszProfileName = m_pszAppName ? m_pszAppName : m_appName.c_str();
}

bool CWinApp::OpenSectionKey(LPCWSTR lpszSection, bool create, HKEY* key) {
  *key = nullptr;
  if (m_registryKey.empty() || !lpszSection) return false;
  std::wstring path = L"Software\\" + m_registryKey + L"\\" + (m_pszProfileName ? m_pszProfileName : L"") +
                      L"\\" + lpszSection;
  LONG rc = create ? ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                       nullptr, key, nullptr)
                   : ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key);
  if (rc != ERROR_SUCCESS) {
    if (create) LogError(L"RegCreateKeyExW " + path + L" failed " + std::to_wstring(rc));
    *key = nullptr;
    return false;
  }
  return true;
}

UINT CWinApp::GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault) {
  HKEY raw = nullptr;
  if (!OpenSectionKey(lpszSection, false, &raw)) return static_cast<UINT>(nDefault);
  UniqueHKey key(raw);
  DWORD value = 0, type = 0, size = sizeof(value);
  if (::RegQueryValueExW(key.Get(), lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value))
    return static_cast<UINT>(nDefault);
  return value;
}

BOOL CWinApp::WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue) {
  HKEY raw = nullptr;
  if (!OpenSectionKey(lpszSection, true, &raw)) return FALSE;
  UniqueHKey key(raw);
  DWORD value = static_cast<DWORD>(nValue);
  LONG rc = ::RegSetValueExW(key.Get(), lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                             sizeof(value));
  if (rc != ERROR_SUCCESS) LogError(L"RegSetValueExW failed " + std::to_wstring(rc));
  return rc == ERROR_SUCCESS;
}

std::wstring CWinApp::GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault) {
  std::wstring fallback = lpszDefault ? lpszDefault : L"";
  HKEY raw = nullptr;
  if (!OpenSectionKey(lpszSection, false, &raw)) return fallback;
  UniqueHKey key(raw);
  DWORD type = 0, size = 0;
  if (::RegQueryValueExW(key.Get(), lpszEntry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ || size > (1u << 20))
    return fallback;
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  if (::RegQueryValueExW(key.Get(), lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
      ERROR_SUCCESS)
    return fallback;
  buffer.back() = L'\0';  // a stored value need not end with a terminator
  return buffer.data();
}

BOOL CWinApp::WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue) {
  HKEY raw = nullptr;
  if (!OpenSectionKey(lpszSection, true, &raw)) return FALSE;
  UniqueHKey key(raw);
  LONG rc;
  if (!lpszValue) {
    rc = ::RegDeleteValueW(key.Get(), lpszEntry);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
  }
  rc = ::RegSetValueExW(key.Get(), lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                        static_cast<DWORD>((wcslen(lpszValue) + 1) * sizeof(wchar_t)));
  if (rc != ERROR_SUCCESS) LogError(L"RegSetValueExW failed " + std::to_wstring(rc));
  return rc == ERROR_SUCCESS;
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT) {
  CWinApp* app = AfxGetApp();
  CWnd* main = AfxGetMainWnd();
  HWND owner = main ? main->m_hWnd : nullptr;
  if (owner && !::IsWindowEnabled(owner)) owner = ::GetLastActivePopup(owner);
  const wchar_t* caption = app && app->m_pszAppName ? app->m_pszAppName : L"";
  return ::MessageBoxW(owner, lpszText ? lpszText : L"", caption, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CLngString text;
  text.LoadString(nIDPrompt);
  return AfxMessageBox(text.c_str(), nType, nIDHelp);
}

BOOL AfxOleInit() {
  HRESULT hr = ::OleInitialize(nullptr);
  if (FAILED(hr)) {
    LogError(L"OleInitialize failed " + std::to_wstring(static_cast<long>(hr)));
    return FALSE;
  }
  if (CWinApp* app = AfxGetApp()) {
    if (app->m_bOleInitialized) ::OleUninitialize();  // one balance per application
    app->m_bOleInitialized = true;
  }
  return TRUE;
}

BOOL AfxInitRichEdit2() {
  static HMODULE library = ::LoadLibraryW(L"riched20.dll");
  if (!library) LogError(L"LoadLibrary riched20.dll failed " + std::to_wstring(::GetLastError()));
  return library != nullptr;
}

BOOL AfxInitRichEdit() { return AfxInitRichEdit2(); }

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nCmdShow) {
  CWinApp* app = AfxGetApp();
  if (!app) {
    LogError(L"AfxWinMain: no application object");
    return -1;
  }
  return app->RunApplication(hInstance, lpCmdLine, nCmdShow);
}

// The program's entry lives beside the application class, so that every
// program with an application object gets it (the C runtime asks for it
// only after the libraries were searched).
extern "C" int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
