#include "platform/mfc/window/class_names.h"

#include <mutex>
#include <string>

#include "foundation/logging/log.h"

bool AfxEnsureWndClass(const wchar_t* className) {
  static std::mutex lock;
  std::lock_guard<std::mutex> guard(lock);
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {sizeof(wc)};
  if (::GetClassInfoExW(instance, className, &wc)) return true;
  wc = {sizeof(wc)};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  // Frames and bars paint the dialog face; plain windows and views the
  // window colour.
  bool face = std::wstring(className) == kAfxFrameWndClass || std::wstring(className) == kAfxControlBarClass ||
              std::wstring(className) == kAfxMiniFrameClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>((face ? COLOR_BTNFACE : COLOR_WINDOW) + 1));
  wc.lpszClassName = className;
  if (::RegisterClassExW(&wc)) return true;
  DWORD error = ::GetLastError();
  if (error == ERROR_CLASS_ALREADY_EXISTS) return true;
  LogError(std::wstring(L"RegisterClassExW ") + className + L" failed " + std::to_wstring(error));
  return false;
}
