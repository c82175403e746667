// A host window for the control tests that records what its controls send
// it, and a stand-in for the shell that records every open.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/system/shell_open.h"
#include "platform/mfc/tests/control_host.h"

namespace buttons_test {

struct NoticeLog {
  std::vector<UINT> messages;  // plain messages with wParam and lParam 0
  std::vector<UINT> notifyCodes;
  std::vector<UINT> clickedIds;  // BN_CLICKED by WM_COMMAND
  int mouseDowns = 0;             // left clicks on the host itself
};

class CRecordingHost : public CControlHost {
 public:
  explicit CRecordingHost(bool show = false) : CControlHost(show) {}
  NoticeLog log;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message >= WM_USER && message < 0xC000 && wParam == 0 && lParam == 0) log.messages.push_back(message);
    if (message == WM_NOTIFY && lParam) log.notifyCodes.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
    if (message == WM_LBUTTONDOWN) ++log.mouseDowns;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && lParam) log.clickedIds.push_back(LOWORD(wParam));
    return CControlHost::WindowProc(message, wParam, lParam);
  }
};

struct ShellRequest {
  HWND owner;
  std::wstring verb;
  std::wstring file;
  int show;
  HCURSOR cursor;  // the cursor while the shell worked
};

// Answers every open with result (and last error) instead of the shell.
class FakeShell {
 public:
  explicit FakeShell(INT_PTR result = 42, DWORD error = 0) {
    State().requests.clear();
    State().result = result;
    State().error = error;
    SetShellOpenHookForTests(Open);
  }
  ~FakeShell() { SetShellOpenHookForTests(nullptr); }
  FakeShell(const FakeShell&) = delete;
  FakeShell& operator=(const FakeShell&) = delete;
  const std::vector<ShellRequest>& Requests() const { return State().requests; }

 private:
  struct Shared {
    std::vector<ShellRequest> requests;
    INT_PTR result = 42;
    DWORD error = 0;
  };
  static Shared& State() {
    static Shared shared;
    return shared;
  }
  static INT_PTR Open(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*,
                      int show) {
    State().requests.push_back({owner, verb ? verb : L"", file ? file : L"", show, ::GetCursor()});
    ::SetLastError(State().error);
    return State().result;
  }
};

// The screen point at the centre of a client rectangle of a window.
inline POINT ScreenCentre(HWND hWnd, const RECT& clientRect) {
  POINT pt = {(clientRect.left + clientRect.right) / 2, (clientRect.top + clientRect.bottom) / 2};
  ::ClientToScreen(hWnd, &pt);
  return pt;
}

}  // namespace buttons_test
