#include "foundation/theme.h"

namespace {

// Part and states of the "WINDOW" theme class for the caption close button.
constexpr int kWpCloseButton = 18;
constexpr int kCbsNormal = 1;
constexpr int kCbsHot = 2;
constexpr int kCbsPushed = 3;

HMODULE ThemeModule() {
  // Windows 2000 and older have no visual styles.
  OSVERSIONINFOW vi = {};
  vi.dwOSVersionInfoSize = sizeof(vi);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (::GetVersionExW(&vi)) {
#pragma GCC diagnostic pop
    if (vi.dwMajorVersion < 5 || (vi.dwMajorVersion == 5 && vi.dwMinorVersion == 0)) return nullptr;
  }
  return ::GetModuleHandleW(L"UxTheme.DLL");
}

template <class F>
F ThemeFunction(const char* name) {
  HMODULE module = ThemeModule();
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
                : nullptr;
}

}  // namespace

bool IsAppThemedSafe() {
  auto fn = ThemeFunction<BOOL(WINAPI*)()>("IsAppThemed");
  return fn && fn() == 1;
}

HTHEME_SAFE OpenThemeDataSafe(HWND hWnd, const wchar_t* classList) {
  auto fn = ThemeFunction<HANDLE(WINAPI*)(HWND, LPCWSTR)>("OpenThemeData");
  return fn ? fn(hWnd, classList) : nullptr;
}

bool CloseThemeDataSafe(HTHEME_SAFE theme) {
  auto fn = ThemeFunction<HRESULT(WINAPI*)(HANDLE)>("CloseThemeData");
  return fn && fn(theme) == S_OK;
}

HRESULT SetWindowThemeSafe(HWND hWnd, const wchar_t* appName, const wchar_t* idList) {
  auto fn = ThemeFunction<HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR)>("SetWindowTheme");
  return fn ? fn(hWnd, appName, idList) : E_FAIL;
}

bool DrawThemedCloseButton(HWND hWnd, HDC dc, const RECT* rect, bool pressed, bool hot) {
  if (!IsAppThemedSafe()) return false;
  HTHEME_SAFE theme = OpenThemeDataSafe(hWnd, L"WINDOW");
  if (!theme) return false;
  auto draw = ThemeFunction<HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*)>(
      "DrawThemeBackground");
  if (!draw) {
    CloseThemeDataSafe(theme);
    return false;
  }
  int state = pressed ? kCbsPushed : hot ? kCbsHot : kCbsNormal;
  draw(theme, dc, kWpCloseButton, state, rect, nullptr);
  return CloseThemeDataSafe(theme);
}
