#include "tray/hook/dll_service.h"

#include <tlhelp32.h>

#include <cwchar>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/files/program_names.h"
#include "foundation/logging/log.h"
#include "foundation/system/os_version.h"
#include "foundation/system/processes.h"
#include "foundation/system/system_helpers.h"
#include "foundation/system/test_switches.h"
#include "foundation/text/text_basics.h"
#include "foundation/ui/window_helpers.h"
#include "tray/hook/interchange.h"

namespace {

using InstallFn = BOOL(__stdcall*)(LRInstallRecord*);
using UninstallFn = BOOL(__stdcall*)();
using WindowFn = HWND(__stdcall*)();

template <typename Fn>
Fn LookUp(HMODULE library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}


int HandleValue(HWND hwnd) { return static_cast<int>(reinterpret_cast<INT_PTR>(hwnd)); }

std::wstring ExeNameFromProcessList(DWORD processId) {
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return std::wstring();
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    if (entry.th32ProcessID == processId) return entry.szExeFile;
  }
  return std::wstring();
}

}  // namespace

std::wstring GetCoreDllFullPath() { return GetAppFolderWithSlash() + GetCoreDllName(); }
std::wstring GetGestureDllPath() { return GetAppFolderWithSlash() + GetGestureDllName(); }

std::wstring GetCoreDllErrorText(int code) {
  const wchar_t* text = L"Unknow error";
  switch (code) {
    case kLRSuccess: text = L"Success"; break;
    case kLRInvalidNames: text = L"Invalid names of sync objects"; break;
    case kLRAlreadyInstalled: text = L"DLL service is already installed"; break;
    case kLRCannotHook: text = L"Cant install hook"; break;
    case kLRCannotLoad: text = L"Cant load DLL"; break;
    case kLRNoInstallExport: text = L"Cant GetProcAddress to install function of DLL"; break;
    case kLRNoServiceEvent: text = L"Cant create service event"; break;
  }
  return std::wstring(text) + L"\n" + FormatText(L"Error code: %d", code);
}

std::wstring BuildCoreDllInstallProblemText(const std::wstring& path, int code) {
  std::wstring text = L"ERROR: Cannot kernel DLL install";
  text += IsFileExist(path) ? L"\nDLL path: " : L"\nDLL not found: ";
  text += path;
  return text + L"\n" + GetCoreDllErrorText(code);
}

std::wstring GetDllServiceImplText() {
  return IsWow64() ? L"Use x64 implementation Win7 like" : L"Use x32 implementation XP like";
}

std::wstring GetProcessExeName(DWORD processId) {
  std::wstring path = GetProcessImagePath(processId);
  return path.empty() ? ExeNameFromProcessList(processId) : path;
}

CQLRDLLService::CQLRDLLService(UINT notifyMessage, std::wstring libraryPath)
    : m_notifyMessage(notifyMessage), m_libraryPath(std::move(libraryPath)) {}

CQLRDLLService::~CQLRDLLService() {
  if (m_subscribed) CWinEventHook::GetInstance().Unsubscribe(this);
}

void CQLRDLLService::OnWinEvent(const WinEventRecord& record, LONG_PTR) {
  if (record.event == EVENT_SYSTEM_FOREGROUND || record.event == EVENT_OBJECT_FOCUS)
    m_rememberedWindow = record.hwnd;
}

bool CQLRDLLService::SubscribeWinEvents() {
  CWinEventHook& hook = CWinEventHook::GetInstance();
  hook.Subscribe(this, 0, EVENT_SYSTEM_FOREGROUND);
  hook.Subscribe(this, 0, EVENT_OBJECT_FOCUS);
  m_subscribed = hook.IsInstalled();
  return m_subscribed != FALSE;
}

HANDLE CQLRDLLService::CreateServiceEvent() { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }

int CQLRDLLService::InstallDLLService_IML_32(HWND trayWnd, UINT notifyMessage,
                                             const std::wstring& queryEventName,
                                             const std::wstring& answerEventName,
                                             const std::wstring& areaName, bool writeLog,
                                             int* resultCode, BOOL gesture) {
  int code = kLRSuccess;
  int result = 0;
  InstallFn install = nullptr;
  if (IsInstalled()) {
    code = kLRAlreadyInstalled;
    LogError(L"InstallDLLService_IML_32::DLL service already installed");
  } else if (m_library.Reset(LoadLibraryW(m_libraryPath.c_str())), !m_library) {
    code = kLRCannotLoad;
    LogError(L"Cannot load DLL by " + m_libraryPath);
  } else if (install = LookUp<InstallFn>(m_library.Get(), "LR_Install"), !install) {
    code = kLRNoInstallExport;
    LogError(L"LR_Install not found");
    m_library.Reset();
  } else if (m_serviceEvent.Reset(CreateServiceEvent()), !m_serviceEvent) {
    code = kLRNoServiceEvent;
    LogError(L"Cannot create service event");
    m_library.Reset();  // forgotten too, so nobody takes the service for installed
  } else {
    const std::wstring logPath = writeLog ? GetLogPath() : std::wstring();
    LRInstallRecord record = {};
    record.trayWindow = trayWnd;
    record.notifyMessage = notifyMessage;
    record.queryEventName = queryEventName.c_str();
    record.answerEventName = answerEventName.c_str();
    record.areaName = areaName.c_str();
    record.logPath = writeLog ? logPath.c_str() : nullptr;
    record.logAtom = GetLogAtom();
    record.gestureMode = gesture;
    result = install(&record);
    m_installResult = result;
    code = record.resultCode;
    if (!result) {
      m_serviceEvent.Reset();
      m_library.Reset();
    }
  }
  if (resultCode) *resultCode = code;
  return result;
}

bool CQLRDLLService::Uninstall() {
  if (m_subscribed) {
    CWinEventHook::GetInstance().Unsubscribe(this);
    m_subscribed = FALSE;
  }
  if (!IsInstalled()) return false;
  auto uninstall = LookUp<UninstallFn>(m_library.Get(), "LR_Uninstall");
  if (!uninstall || !uninstall()) return false;
  // Hooked programs let go of the library only when they handle a message.
  BroadcastMessageToAll(WM_NULL, 0, 0);
  m_installResult = 0;
  if (m_serviceEvent) SetEvent(m_serviceEvent.Get());
  m_serviceEvent.Reset();
  m_library.Reset();
  return true;
}

HWND CQLRDLLService::CallWindowExport(const char* name) const {
  if (!IsInstalled()) return nullptr;
  auto fn = LookUp<WindowFn>(m_library.Get(), name);
  return fn ? fn() : nullptr;
}

HWND CQLRDLLService::GetTargetWindow() const { return CallWindowExport("LR_GetTargetWindow"); }
HWND CQLRDLLService::GetTargetWindowOther() const {
  return CallWindowExport("LR_GetTargetWindowOther");
}

void CQLRDLLService::LogTargetWindowInfo(HWND hwnd, const wchar_t* caller) {
  wchar_t cls[256] = {};
  if (hwnd) GetClassNameW(hwnd, cls, 256);
  std::wstring line = std::wstring(caller) + L": " +
                      FormatText(L"HWND =%d IsWindow(hwnd)=%d", HandleValue(hwnd), IsWindow(hwnd) ? 1 : 0) +
                      L" " + FormatText(L"classname=[%ls]", cls);
  DWORD pid = 0;
  if (hwnd) GetWindowThreadProcessId(hwnd, &pid);
  if (pid != m_targetProcessId) {
    m_targetProcessId = pid;
    const std::wstring exe = GetProcessExeName(pid);
    DWORD type = 0;
    BOOL known = GetBinaryTypeW(exe.c_str(), &type);
    const bool is64 = known && type == SCS_64BIT_BINARY;
    line += L" " + FormatText(L"PID=%d", static_cast<int>(pid)) + L" " + FormatText(L"exe=[%ls]", exe.c_str()) +
            L" " + FormatText(L"GetBinaryType=[%d], dwType", static_cast<int>(type)) + L" " +
            FormatText(L"b64=[%d], b32=[%d]", is64 ? 1 : 0, is64 ? 0 : 1);
  }
  Log(line);
}

bool CQLRDLLService::FillsQueryItself() {
  return IsWow64() || IsTestSwitchOn(kSelfFillQueryTestSwitch);
}

int CQLRDLLService::SendMessageToTargetWindow(BOOL noQuery, CQueryRecord& query, HWND trayWnd) {
  LogTargetWindowInfo(m_rememberedWindow, L"SendMessageToTargetWindow");
  HWND target = GetTargetWindow();
  if (!target && !IsDesktopOrShellWindow(m_rememberedWindow)) target = m_rememberedWindow;
  if (!target && IsDesktopOrShellWindow(GetForegroundWindow()))
    Log(L"SendMessageToTargetWindow: the desktop is in front, it is no target window");
  if (!target) {
    LogError(L"Cannot sendmessage to target window CQLRDLLService::SendMessageToTargetWindow");
    return kNoTarget;
  }
  if (!FillsQueryItself()) {
    BOOL posted = PostMessageW(target, m_notifyMessage, static_cast<WPARAM>(noQuery), 0);
    Log(FormatText(L"Sending message by PostMessage bRet=%d", posted ? 1 : 0));
    return posted ? kPosted : kNoTarget;
  }
  FillQueryBySelf(target, trayWnd, query);
  return kFilledBySelf;
}

void FillQueryBySelf(HWND target, HWND trayWnd, CQueryRecord& query) {
  query.hwnd = target;
  query.StateSelText = CQueryRecord::kSelectionUnknown;
  std::wstring selected = GetSelectedTextByCopy(target, trayWnd);
  if (!selected.empty()) {
    query.SelText = selected;
    query.StateSelText = CQueryRecord::kSelectionExtracted;
  }
  DWORD pid = 0;
  DWORD thread = GetWindowThreadProcessId(target, &pid);
  query.AppPath = GetProcessExeName(pid);
  query.hkl = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(thread)));
  wchar_t cls[1024] = {};
  int n = GetClassNameW(target, cls, 1024);
  query.WindowClassName.assign(cls, n > 0 ? n : 0);
  // The target's focus and caret, as the library reports them on its road.
  GUITHREADINFO gui = {};
  gui.cbSize = sizeof(gui);
  if (thread && GetGUIThreadInfo(thread, &gui)) {
    query.guiInfo = gui;
    POINT pt = {gui.rcCaret.left, gui.rcCaret.bottom};
    if (gui.hwndCaret && ClientToScreen(gui.hwndCaret, &pt)) {
      query.POINT_X = pt.x;
      query.POINT_Y = pt.y;
    }
  }
}
