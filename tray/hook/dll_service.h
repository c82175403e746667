// The tray program's binding of the core hook library Quillora.dll: load and
// install it, uninstall and free it, ask it for the window that receives
// insertions, and send a target window the request for a query.
#pragma once
#include <windows.h>

#include <string>

#include "foundation/system/handles.h"
#include "foundation/system/shared_records.h"
#include "foundation/system/test_switches.h"
#include "foundation/system/win_event_hook.h"

// Program folder + "Quillora.dll".
std::wstring GetCoreDllFullPath();
// Program folder + the gesture module's file name.
std::wstring GetGestureDllPath();
// The text of an install result code, a newline and "Error code: %d".
std::wstring GetCoreDllErrorText(int code);
// The start-up problem text of a failed install of the library at path.
std::wstring BuildCoreDllInstallProblemText(const std::wstring& path, int code);
std::wstring GetDllServiceImplText();
// The full image path of a process, else its file name from the process
// list; empty when neither can be had.
std::wstring GetProcessExeName(DWORD processId);

class CQLRDLLService : public IWinEventSubscriber {
 public:
  enum SendResult { kPosted = 0, kNoTarget = 1, kFilledBySelf = 2 };

  explicit CQLRDLLService(UINT notifyMessage, std::wstring libraryPath = GetCoreDllFullPath());
  virtual ~CQLRDLLService();
  CQLRDLLService(const CQLRDLLService&) = delete;
  CQLRDLLService& operator=(const CQLRDLLService&) = delete;

  // Remembers the window of a foreground or focus event.
  void OnWinEvent(const WinEventRecord& record, LONG_PTR userValue) override;
  // Follows foreground and focus events into the remembered window.
  bool SubscribeWinEvents();

  // Non-zero on success; resultCode receives the install result code.
  int InstallDLLService_IML_32(HWND trayWnd, UINT notifyMessage, const std::wstring& queryEventName,
                               const std::wstring& answerEventName, const std::wstring& areaName,
                               bool writeLog, int* resultCode, BOOL gesture);
  bool IsInstalled() const { return m_library.IsValid(); }
  bool Uninstall();
  int GetInstallResult() const { return m_installResult; }
  const std::wstring& LibraryPath() const { return m_libraryPath; }

  HWND GetTargetWindow() const;
  HWND GetTargetWindowOther() const;
  HWND RememberedWindow() const { return m_rememberedWindow; }

  // Posts the notification to the target, or (under WOW64, or with the test
  // switch) fills the query itself; see SendResult.
  int SendMessageToTargetWindow(BOOL noQuery, CQueryRecord& query, HWND trayWnd = nullptr);
  // Which road SendMessageToTargetWindow takes.
  static bool FillsQueryItself();

 protected:
  // The unnamed manual-reset event made at install; null on failure.
  virtual HANDLE CreateServiceEvent();

 private:
  HWND CallWindowExport(const char* name) const;
  void LogTargetWindowInfo(HWND hwnd, const wchar_t* caller);

  DWORD m_targetProcessId = 0;
  BOOL m_subscribed = FALSE;
  HWND m_rememberedWindow = nullptr;
  UINT m_notifyMessage;
  UniqueModule m_library;
  UniqueHandle m_serviceEvent;
  int m_installResult = 0;
  std::wstring m_libraryPath;
};

// Fills the query record for target the way the library would, with the
// selection fetched through the clipboard. Used by the self-fill road.
void FillQueryBySelf(HWND target, HWND trayWnd, CQueryRecord& query);
