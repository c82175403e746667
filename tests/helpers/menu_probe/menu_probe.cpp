// A hook library that end-to-end tests load into a program's GUI thread
// (WH_GETMESSAGE on that thread): menus are read there, in the program's
// own process, because another process cannot read them reliably.
//   kMenuProbeDumpMessage: writes every popup menu open in the thread to
//     menu_probe.txt beside the program (UTF-16), one line per window
//     "window|left|top|right|bottom" followed by one line per item
//     "item|depth|id|flags|caption", flags C checked, G disabled, D default,
//     R radio, S separator, P popup; the last line is "end".
//   kMenuProbeCloseMessage: ends the menu in progress.
//   kMenuProbeRightUpMessage (wParam: window, lParam: position): posts the
//     window the WM_MENURBUTTONUP a right click on that item of the open
//     menu gives on Windows (Wine never sends it).
//   kMenuProbeToolbarTipMessage (wParam: toolbar, lParam: command): asks the
//     toolbar for the button's tip as its tooltip does (a notification no
//     other process can send) and writes "tip|<text>" and "end".
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "tests/helpers/menu_probe/menu_probe.h"

namespace {

UINT Registered(const wchar_t* name) { return RegisterWindowMessageW(name); }

void DumpItems(HMENU menu, int depth, std::wstring& out) {
  int count = GetMenuItemCount(menu);
  UINT defaultId = GetMenuDefaultItem(menu, FALSE, 0);
  for (int pos = 0; pos < count; ++pos) {
    wchar_t text[512] = {};
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = 511;
    if (!GetMenuItemInfoW(menu, pos, TRUE, &mii)) continue;
    std::wstring flags;
    if (mii.fState & MFS_CHECKED) flags += L'C';
    if (mii.fState & MFS_DISABLED) flags += L'G';
    if ((mii.fState & MFS_DEFAULT) || (!mii.hSubMenu && mii.wID == defaultId && defaultId != static_cast<UINT>(-1)))
      flags += L'D';
    if (mii.fType & MFT_RADIOCHECK) flags += L'R';
    if (mii.fType & MFT_SEPARATOR) flags += L'S';
    if (mii.hSubMenu) flags += L'P';
    out += L"item|" + std::to_wstring(depth) + L"|" + std::to_wstring(mii.hSubMenu ? 0 : mii.wID) + L"|" + flags +
           L"|" + text + L"\n";
    if (mii.hSubMenu) DumpItems(mii.hSubMenu, depth + 1, out);
  }
}

BOOL CALLBACK DumpWindow(HWND window, LPARAM param) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (wcscmp(cls, L"#32768") != 0 || !IsWindowVisible(window)) return TRUE;
  if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return TRUE;
  auto& out = *reinterpret_cast<std::wstring*>(param);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  RECT r = {};
  GetWindowRect(window, &r);
  out += L"window|" + std::to_wstring(r.left) + L"|" + std::to_wstring(r.top) + L"|" + std::to_wstring(r.right) +
         L"|" + std::to_wstring(r.bottom) + L"\n";
  if (menu) DumpItems(menu, 0, out);
  return TRUE;
}

BOOL CALLBACK FindOpenMenu(HWND window, LPARAM param) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (wcscmp(cls, L"#32768") != 0 || !IsWindowVisible(window)) return TRUE;
  if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return TRUE;
  *reinterpret_cast<HMENU*>(param) = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  return FALSE;
}

void WriteOut(std::wstring out) {
  out += L"end\n";
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.erase(folder.rfind(L'\\') + 1);
  const std::wstring temp = folder + L"menu_probe.tmp";
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, out.data(), static_cast<DWORD>(out.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
  MoveFileExW(temp.c_str(), (folder + kMenuProbeFile).c_str(), MOVEFILE_REPLACE_EXISTING);
}

void WriteDump() {
  std::wstring out;
  EnumWindows(DumpWindow, reinterpret_cast<LPARAM>(&out));
  WriteOut(out);
}

void WriteToolbarTip(HWND toolbar, UINT command) {
  NMTTDISPINFOW info = {};
  info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
  info.hdr.idFrom = command;
  info.hdr.code = TTN_GETDISPINFOW;
  info.lpszText = info.szText;
  SendMessageW(toolbar, WM_NOTIFY, command, reinterpret_cast<LPARAM>(&info));
  WriteOut(std::wstring(L"tip|") + (info.lpszText && !IS_INTRESOURCE(info.lpszText) ? info.lpszText : L"") + L"\n");
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && (wParam & PM_REMOVE)) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (msg->message == Registered(kMenuProbeDumpMessage)) {
      WriteDump();
      msg->message = WM_NULL;
    } else if (msg->message == Registered(kMenuProbeCloseMessage)) {
      EndMenu();
      msg->message = WM_NULL;
    } else if (msg->message == Registered(kMenuProbeRightUpMessage)) {
      HMENU menu = nullptr;
      EnumWindows(FindOpenMenu, reinterpret_cast<LPARAM>(&menu));
      if (menu)
        PostMessageW(reinterpret_cast<HWND>(msg->wParam), WM_MENURBUTTONUP, msg->lParam,
                     reinterpret_cast<LPARAM>(menu));
      msg->message = WM_NULL;
    } else if (msg->message == Registered(kMenuProbeToolbarTipMessage)) {
      WriteToolbarTip(reinterpret_cast<HWND>(msg->wParam), static_cast<UINT>(msg->lParam));
      msg->message = WM_NULL;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, void*) { return TRUE; }
