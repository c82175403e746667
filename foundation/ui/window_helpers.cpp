#include "foundation/ui/window_helpers.h"

#include <commctrl.h>

#include <algorithm>

bool IsDesktopOrShellWindow(HWND hWnd) {
  if (!hWnd) return false;
  if (hWnd == GetDesktopWindow() || hWnd == GetShellWindow()) return true;
  wchar_t cls[16] = {};
  GetClassNameW(hWnd, cls, 16);
  return lstrcmpiW(cls, L"#32769") == 0;
}

HWND GetTopLevelParent(HWND hWnd) {
  if (!hWnd) return nullptr;
  for (HWND parent = ::GetParent(hWnd); parent; parent = ::GetParent(hWnd)) hWnd = parent;
  return hWnd;
}

BOOL ChangeWindowMessageFilterSafe(UINT message, DWORD flag) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (!user32) return 0;
  auto fn = reinterpret_cast<BOOL(WINAPI*)(UINT, DWORD)>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "ChangeWindowMessageFilter")));
  return fn ? fn(message, flag) : 0;
}

BOOL SetWindowTopmost(HWND hWnd, bool on) {
  BOOL ok = ::SetWindowPos(hWnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (ok) {
    LONG_PTR ex = ::GetWindowLongPtrW(hWnd, GWL_EXSTYLE);
    ex = on ? (ex | WS_EX_TOPMOST) : (ex & ~static_cast<LONG_PTR>(WS_EX_TOPMOST));
    ::SetWindowLongPtrW(hWnd, GWL_EXSTYLE, ex);
  }
  return ok;
}

std::wstring CutTipTitle(const std::wstring& title) {
  constexpr size_t kMaxTitle = 97;
  if (title.size() <= kMaxTitle) return title;
  // A cut never leaves half of a surrogate pair behind.
  size_t cut = kMaxTitle;
  if (IS_HIGH_SURROGATE(title[cut - 1])) --cut;
  return title.substr(0, cut) + L"\u2026";
}

LRESULT SetControlTextCut(HWND tooltip, const std::wstring& title, WPARAM iconOrIndex) {
  std::wstring text = CutTipTitle(title);
  return ::SendMessageW(tooltip, TTM_SETTITLEW, iconOrIndex, reinterpret_cast<LPARAM>(text.c_str()));
}

void SetLayeredStyle(HWND hWnd) {
  ::SetWindowLongPtrW(hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
}

bool RemoveLayeredStyle(HWND hWnd) {
  LONG_PTR ex = ::GetWindowLongPtrW(hWnd, GWL_EXSTYLE);
  if (!(ex & WS_EX_LAYERED)) return false;
  ::SetWindowLongPtrW(hWnd, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  return true;
}

CLayeredWindow::CLayeredWindow() : m_user32(::LoadLibraryW(L"USER32.dll")) {}

CLayeredWindow::~CLayeredWindow() {
  if (m_user32) ::FreeLibrary(m_user32);
}

BYTE TransparencyAlpha(BYTE percent) {
  return static_cast<BYTE>(std::min<int>(percent, 100) * 255 / 100);
}

BOOL CLayeredWindow::SetTransparency(HWND hWnd, BYTE percent) {
  return SetLayeredWindowAttributes(hWnd, 0, TransparencyAlpha(percent), LWA_ALPHA);
}

BOOL CLayeredWindow::SetLayeredWindowAttributes(HWND hWnd, COLORREF key, BYTE alpha, DWORD flags) {
  if (!m_user32) return 1;
  auto fn = reinterpret_cast<BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD)>(
      reinterpret_cast<void*>(::GetProcAddress(m_user32, "SetLayeredWindowAttributes")));
  return fn ? fn(hWnd, key, alpha, flags) : 0;
}

bool SetMenuItemRadioCheck(bool checked, UINT commandId, HMENU menu) {
  MENUITEMINFOW mii = {};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_STATE | MIIM_FTYPE;
  mii.fType = checked ? MFT_RADIOCHECK : MFT_STRING;
  mii.fState = checked ? MFS_CHECKED : 0;
  return ::SetMenuItemInfoW(menu, commandId, FALSE, &mii) == 1;
}

bool SetMenuItemText(const wchar_t* text, UINT commandId, HMENU menu) {
  MENUITEMINFOW mii = {};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_TYPE;
  mii.fType = MFT_STRING;
  mii.dwTypeData = const_cast<wchar_t*>(text);
  return ::SetMenuItemInfoW(menu, commandId, FALSE, &mii) == 1;
}
