// A window that receives inserted text: a top-level window "QlrInsertTarget"
// whose single child (an EDIT, or a RICHEDIT20W with the argument "rich")
// has the keyboard focus. It brings itself to the foreground, since without a
// window manager nothing else would.
//   helper_insert_target.exe edit|rich [rtf-dump-file] [title]
// Messages from the test:
//   WM_APP + 1  writes the rich edit's contents as RTF into the dump file and
//               returns the number of bytes (0 for an EDIT or on failure)
//   WM_APP + 2  comes to the foreground again and focuses the child
#include <windows.h>
#include <richedit.h>

#include <string>

namespace {

HWND g_main = nullptr;
HWND g_child = nullptr;
std::wstring g_dumpPath;

DWORD CALLBACK WriteOut(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written) {
  DWORD done = 0;
  WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(size), &done, nullptr);
  *written = static_cast<LONG>(done);
  return 0;
}

LRESULT DumpRtf() {
  if (g_dumpPath.empty()) return 0;
  HANDLE file = CreateFileW(g_dumpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  EDITSTREAM es = {};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(file);
  es.pfnCallback = WriteOut;
  SendMessageW(g_child, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
  LARGE_INTEGER size = {};
  GetFileSizeEx(file, &size);
  CloseHandle(file);
  return static_cast<LRESULT>(size.QuadPart);
}

void ComeForward() {
  SetForegroundWindow(g_main);
  SetFocus(g_child);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_APP + 1:
      return DumpRtf();
    case WM_APP + 2:
      ComeForward();
      return 1;
    case WM_SETFOCUS:
      SetFocus(g_child);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool rich = argc > 1 && std::wstring(argv[1]) == L"rich";
  if (argc > 2) g_dumpPath = argv[2];
  const wchar_t* title = argc > 3 ? argv[3] : L"Insert Target";
  if (rich) LoadLibraryW(L"riched20.dll");
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = inst;
  wc.lpszClassName = L"QlrInsertTarget";
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  RegisterClassW(&wc);
  g_main = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                           500, 300, nullptr, nullptr, inst, nullptr);
  g_child = CreateWindowExW(WS_EX_CLIENTEDGE, rich ? RICHEDIT_CLASSW : L"EDIT", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                ES_WANTRETURN,
                            0, 0, 480, 260, g_main, nullptr, inst, nullptr);
  if (!g_main || !g_child) return 2;
  ComeForward();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
