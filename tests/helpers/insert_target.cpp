// A window that receives inserted text: a top-level window "QlrInsertTarget"
// whose single child (an EDIT, or a RICHEDIT20W with the argument "rich")
// has the keyboard focus. It brings itself to the foreground, since without a
// window manager nothing else would.
//   helper_insert_target.exe edit|rich [title]
// Messages from the test:
//   WM_APP + 1  the character effects (CFE_*) of the rich edit's character
//               at index wParam
//   WM_APP + 2  comes to the foreground again and focuses the child
#include <windows.h>
#include <richedit.h>

#include <string>

namespace {

HWND g_main = nullptr;
HWND g_child = nullptr;

LRESULT CharEffects(WPARAM index) {
  CHARRANGE range = {static_cast<LONG>(index), static_cast<LONG>(index) + 1};
  SendMessageW(g_child, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  CHARFORMAT2W cf = {};
  cf.cbSize = sizeof(cf);
  SendMessageW(g_child, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  return static_cast<LRESULT>(cf.dwEffects);
}

void ComeForward() {
  SetForegroundWindow(g_main);
  SetFocus(g_child);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_APP + 1:
      return CharEffects(wp);
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
  const wchar_t* title = argc > 2 ? argv[2] : L"Insert Target";
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
