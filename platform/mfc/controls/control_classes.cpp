#include "platform/mfc/controls/control_classes.h"

#include <commctrl.h>

#include <mutex>
#include <string>

#include "foundation/logging/log.h"

bool AfxEnsureCommonControls(DWORD iccFlags) {
  static std::mutex lock;
  static DWORD done = 0;
  std::lock_guard<std::mutex> guard(lock);
  if ((done & iccFlags) == iccFlags) return true;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), iccFlags};
  if (!::InitCommonControlsEx(&icc)) {
    LogError(L"InitCommonControlsEx failed " + std::to_wstring(::GetLastError()));
    return false;
  }
  done |= iccFlags;
  return true;
}

bool AfxEnsureRichEdit() {
  static std::once_flag once;
  static HMODULE module = nullptr;
  std::call_once(once, [] {
    module = ::LoadLibraryW(L"RichEd20.dll");
    if (!module) LogError(L"LoadLibraryW(RichEd20.dll) failed " + std::to_wstring(::GetLastError()));
  });
  return module != nullptr;
}
