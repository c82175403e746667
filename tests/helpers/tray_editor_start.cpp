// Runs the tray program's editor-start thread from a program folder of its
// own: args <log file> [nonadmin] [addfromcb] [firstrun] [text=...]
// [direct]. Writes
// the wParams its window received to editor_states.txt beside itself, as
// digits, once the editor ended, failed to start, or 20 s passed; with
// "direct" the shell start's result instead ("D1" or "D0", followed by "c"
// when the start left the cursor changed).
#include <windows.h>

#include <string>

#include "foundation/files/paths.h"
#include "foundation/logging/log.h"
#include "tray/app/app_control.h"
#include "tray/window/tray_messaging.h"

namespace {

constexpr UINT kEditorMessage = 32772;
std::wstring g_states;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kEditorMessage) {
    g_states += static_cast<wchar_t>(L'0' + wp);
    if (wp != 1) PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool NotAdmin() { return false; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  InitLog(argv[1]);
  bool addFromClipboard = false, firstRun = false, direct = false;
  std::wstring text;
  for (int i = 2; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg == L"nonadmin") SetAdminTestForTests(NotAdmin);
    if (arg == L"addfromcb") addFromClipboard = true;
    if (arg == L"firstrun") firstRun = true;
    if (arg.rfind(L"text=", 0) == 0) text = arg.substr(5);
    if (arg == L"direct") direct = true;
  }
  WNDCLASSW wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QlrEditorStartProbe";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (direct) {
    // The start shows its own cursor only while it works: "c" marks a cursor
    // left changed.
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(arrow);
    g_states = StartEditorDirect(false, addFromClipboard, firstRun, text) ? L"D1" : L"D0";
    if (GetCursor() != arrow) g_states += L'c';
  } else if (!StartEditorThread(stop, window, kEditorMessage, addFromClipboard, firstRun, text)) {
    return 3;
  } else {
    SetTimer(window, 1, 20000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_TIMER) break;
      DispatchMessageW(&msg);
    }
  }
  SetEvent(stop);
  std::wstring out = GetAppFolderWithSlash() + L"editor_states.txt";
  HANDLE h = CreateFileW(out.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, g_states.c_str(), static_cast<DWORD>(g_states.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(h);
  TermLog();
  return 0;
}
