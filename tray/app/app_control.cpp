#include "tray/app/app_control.h"

#include "foundation/system/shell_open.h"

#include <shellapi.h>

#include <memory>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/files/program_names.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/system/registry.h"
#include "foundation/system/security.h"
#include "foundation/ui/icons.h"
#include "history/capture/clipboard_handler.h"
#include "settings/settings.h"
#include "settings/settings_area.h"
#include "tray/app/command_line.h"
#include "tray/app/instance.h"
#include "tray/window/tray_messages.h"
#include "tray/window/tray_window.h"

namespace {

constexpr wchar_t kProductName[] = L"Quillora";
constexpr UINT kExitCommand = 57665;
constexpr DWORD kMaxErrorText = 1023;
constexpr wchar_t kAutoStartValue[] = L"Quillora";
// A start that ends within this time does not take the autostart entry.
constexpr DWORD kAutoStartDelayMs = 1000;

struct EditorStartRecord {
  HWND window;
  UINT message;
  HANDLE stopEvent;
  bool addFromClipboard;
  bool firstRun;
  std::wstring text;
};

void Report(const EditorStartRecord& record, WPARAM state) {
  SendMessageW(record.window, record.message, state, 0);
}

// Asks for elevation first when not an administrator; then a plain
// CreateProcess; last a plain shell start.
HANDLE LaunchEditor(const std::wstring& path, const std::wstring& arguments) {
  if (IsNotRunningAsAdmin()) {
    Log(L"Start the PhraseEditor at ShellExellExecute + query admin rights");
    if (HANDLE process = ShellExecuteProcess(path, arguments, true)) {
      Log(L"Succcessfully start PhraseEditor as admin");
      return process;
    }
    Log(L"Cannot start PhraseEditor as admin by ShellExecute " + CLastErrorText().Format());
  }
  Log(L"Start the PhraseEditor at CreateProcess");
  if (HANDLE process = CreateProcessSimple(path, arguments)) {
    Log(L"Succcessfully start PhraseEditor as CreateProcess");
    return process;
  }
  Log(L"Cannot start PhraseEditor as CreateProcess " + CLastErrorText().Format());
  Log(L"Start the PhraseEditor at ShellExellExecute + NO query admin rights");
  if (HANDLE process = ShellExecuteProcess(path, arguments, false)) {
    Log(L"Succcessfully start PhraseEditor  as NOT admin by ShellExecute");
    return process;
  }
  Log(L"Cannot start PhraseEditor as NOT admin by ShellExecute " + CLastErrorText().Format());
  return nullptr;
}

DWORD WINAPI EditorStartThread(void* param) {
  std::unique_ptr<EditorStartRecord> record(static_cast<EditorStartRecord*>(param));
  std::wstring path = GetEditorExePath();
  std::wstring arguments =
      BuildEditorArguments(record->addFromClipboard, record->firstRun, !record->text.empty());
  // An editor started with "addseltext" reads the text from the shared area.
  CQLRTraySettings& settings = GetSettings();
  WriteSettingsArea(settings.hotkey.key, settings.hotkey.modifiers, settings.hotkeyDoubled != 0,
                    record->text);

  UniqueHandle process(LaunchEditor(path, arguments));
  if (!process) {
    Report(*record, kEditorStartFailed);
    return 0;
  }
  Report(*record, kEditorStarted);
  HANDLE handles[2] = {record->stopEvent, process.Get()};
  DWORD count = record->stopEvent ? 2 : 1;
  DWORD r = WaitForMultipleObjects(count, record->stopEvent ? handles : handles + 1, FALSE, INFINITE);
  if (r == WAIT_OBJECT_0 + count - 1) Report(*record, kEditorEnded);
  return 0;
}

DWORD WINAPI AutoStartCheckThread(void*) {
  UniqueHandle instance(OpenEventW(SYNCHRONIZE, FALSE, GetInstanceEventName()));
  // A program run from a stick or a share is not made to start with Windows.
  if (IsOnRemovableDrive(GetModulePath())) return 0;
  if (instance && WaitForSingleObject(instance.Get(), kAutoStartDelayMs) != WAIT_TIMEOUT) return 0;
  SetAutoStartEntry(true);
  return 0;
}

}  // namespace

void StartAutoStartCheck(HWND window, UINT message) {
  (void)window;
  (void)message;
  HANDLE thread = CreateThread(nullptr, 0, AutoStartCheckThread, nullptr, 0, nullptr);
  if (thread) CloseHandle(thread);
}

bool IsOwnAutoStartSet() { return IsAutoStartSet(kAutoStartValue); }

std::wstring BuildEditorArguments(bool bAddFromClipboard, bool bFirstRun, bool bAddSelText) {
  std::wstring arguments;
  if (bAddFromClipboard) arguments += L" /addfromcb";
  if (bFirstRun) arguments += L" /firstrun";
  if (bAddSelText) arguments += L" /addseltext";
  return arguments;
}

bool StartEditorThread(HANDLE stopEvent, HWND window, UINT message, bool bAddFromClipboard,
                       bool bFirstRun, const std::wstring& text) {
  auto* record = new (std::nothrow)
      EditorStartRecord{window, message, stopEvent, bAddFromClipboard, bFirstRun, text};
  if (!record) return false;
  HANDLE thread = CreateThread(nullptr, 0, EditorStartThread, record, 0, nullptr);
  if (!thread) {
    delete record;
    return false;
  }
  CloseHandle(thread);
  return true;
}

HANDLE ShellExecuteProcess(const std::wstring& path, const std::wstring& arguments, bool bRunAs) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = bRunAs ? L"runas" : L"open";
  info.lpFile = path.c_str();
  info.lpParameters = arguments.c_str();
  info.nShow = SW_SHOWMAXIMIZED;
  if (!ShellExecuteExW(&info)) return nullptr;
  return info.hProcess;
}

HANDLE CreateProcessSimple(const std::wstring& path, const std::wstring& arguments) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  // CreateProcessW may write into the command line.
  std::wstring commandLine = arguments;
  if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return nullptr;
  CloseHandle(info.hThread);
  return info.hProcess;
}

bool RestartAsAdministrator(HWND window) {
  if (!CreateAdminInstanceEvent()) {
    ShowMessageBox(window, MB_ICONERROR, L"Cannot create event for admin instance");
    return false;
  }
  std::wstring program = GetModulePath();
  std::wstring folder = GetAppFolderEx(false);
  INT_PTR result =
      ShellOpen(window, L"runas", program.c_str(), GetAsAdminSwitch().c_str(), folder.c_str(), SW_SHOW);
  if (result > 32) {
    SendMessageW(window, WM_COMMAND, kExitCommand, 0);
    SendMessageW(window, WM_CLOSE, 0, 0);
    DestroyWindow(window);
    return true;
  }
  // Nobody will wait for the hand-over now.
  SignalAdminInstanceEvent();
  ShowMessageBox(window, MB_ICONWARNING, L"Cannot start second instance of Quillora");
  return false;
}

HICON GetEditorIcon() {
  std::wstring path = GetEditorExePath();
  return IsFileExist(path) ? GetFileIconByPath(path.c_str(), false) : nullptr;
}

HICON GetWelcomeIcon() {
  std::wstring path = GetWelcomeExePath();
  return IsFileExist(path) ? GetFileIconByPath(path.c_str(), false) : nullptr;
}

int ShowMessageBox(HWND window, UINT type, const std::wstring& text) {
  return MessageBoxW(window, text.c_str(), kProductName, type | MB_TOPMOST);
}

std::wstring CLastErrorText::Format() const {
  wchar_t text[kMaxErrorText + 1] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, m_code, 0,
                 text, kMaxErrorText, nullptr);
  return text;
}

bool BlockClipboardCaptureAsync() {
  HWND tray = GetTrayHwnd();
  if (!tray) return false;
  // The answer is an object of this process: the tray window is ours.
  auto* handler = reinterpret_cast<CQLRWndClipboardHandler*>(SendMessageW(tray, WM_TRAY_CLIPBOARD_HANDLER, 0, 0));
  return handler && handler->StartAsyncBlock();
}
