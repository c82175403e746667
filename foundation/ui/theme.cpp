#include "foundation/ui/theme.h"

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

bool IsThemeActiveSafe() {
  auto fn = ThemeFunction<BOOL(WINAPI*)()>("IsThemeActive");
  return fn && fn() == 1;
}

HRESULT DrawThemeBackgroundSafe(HTHEME_SAFE theme, HDC dc, int part, int state, const RECT* rect,
                                const RECT* clip) {
  auto fn = ThemeFunction<HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*)>(
      "DrawThemeBackground");
  return fn ? fn(theme, dc, part, state, rect, clip) : E_FAIL;
}

HRESULT DrawThemeParentBackgroundSafe(HWND hWnd, HDC dc, const RECT* rect) {
  auto fn = ThemeFunction<HRESULT(WINAPI*)(HWND, HDC, const RECT*)>("DrawThemeParentBackground");
  return fn ? fn(hWnd, dc, rect) : E_FAIL;
}

HRESULT DrawThemeTextSafe(HTHEME_SAFE theme, HDC dc, int part, int state, const wchar_t* text,
                          int length, DWORD flags, DWORD flags2, const RECT* rect) {
  auto fn = ThemeFunction<HRESULT(WINAPI*)(HANDLE, HDC, int, int, LPCWSTR, int, DWORD, DWORD,
                                           const RECT*)>("DrawThemeText");
  return fn ? fn(theme, dc, part, state, text, length, flags, flags2, rect) : E_FAIL;
}

HRESULT GetThemeBackgroundContentRectSafe(HTHEME_SAFE theme, HDC dc, int part, int state,
                                          const RECT* bounds, RECT* content) {
  auto fn = ThemeFunction<HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, RECT*)>(
      "GetThemeBackgroundContentRect");
  return fn ? fn(theme, dc, part, state, bounds, content) : E_FAIL;
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
