#include "tray/window/tray_messaging.h"

#include <shellapi.h>

#include "foundation/files/files.h"
#include "foundation/files/program_names.h"
#include "foundation/logging/log.h"
#include "foundation/system/listeners.h"
#include "foundation/ui/cursor_capture.h"
#include "tray/app/app_control.h"
#include "tray/window/tray_window.h"

namespace {

constexpr wchar_t kTrayPaneMessageName[] = L"{C4629BDD-5FE3-47de-863B-E8D10BB7E2EB}";
constexpr UINT kExtCommand32779 = 32779;
constexpr UINT kExtCommand32785 = 32785;

void ReportEditorFailure(bool bShowError, const std::wstring& text) {
  Log(text);
  if (bShowError) MessageBoxW(GetTrayHwnd(), text.c_str(), L"Quillora", MB_ICONWARNING);
}

}  // namespace

UINT GetTrayPaneMessage() {
  static const UINT message = RegisterWindowMessageW(kTrayPaneMessageName);
  return message;
}

LRESULT SendTrayCommand_Ext32779() { return SendMessageW(GetTrayHwnd(), kExtCommand32779, 0, 0); }
LRESULT SendTrayCommand_Ext32785() { return SendMessageW(GetTrayHwnd(), kExtCommand32785, 0, 0); }

LRESULT SendTrayWndPaneMessage(const std::wstring& text) {
  return SendMessageW(GetTrayHwnd(), GetTrayPaneMessage(), 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void NotifyAppEvent(const void* sender, int code, int value) {
  NotifyAppEventListeners(sender, code, value);
}

int BroadcastToObservers(const void* sender, int a, int b) { return NotifyObservers(sender, a, b); }

bool StartEditorDirect(bool bShowError, bool bAddFromClipboard, bool bFirstRun,
                       const std::wstring& text) {
  // The starting cursor while the shell works; the previous one after.
  CCursorCapture cursor(nullptr, IDC_APPSTARTING);
  std::wstring path = GetEditorExePath();
  if (!IsFileExist(path)) {
    ReportEditorFailure(bShowError, L"Cannot find file\n" + path);
    return false;
  }
  std::wstring arguments = BuildEditorArguments(bAddFromClipboard, bFirstRun, !text.empty());
  INT_PTR result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      GetTrayHwnd(), L"open", path.c_str(), arguments.c_str(), nullptr, SW_SHOWMAXIMIZED));
  // 32 itself is one of the shell's failure codes.
  if (result > 32) return true;
  CLastErrorText error;
  ReportEditorFailure(bShowError, L"Cannot start the file\n" + path + L"Params: " + arguments + L" " +
                                      error.Format());
  SetLastError(error.Code());
  return false;
}

