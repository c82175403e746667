// Asks an HTML view of another process to click its link of an address:
//   helper_click_by_href <view window handle, decimal> <href>
// Ends with the view's answer (1 clicked, 0 not), 2 when the message could
// not be delivered, 3 for bad arguments.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 3;
  HWND view = reinterpret_cast<HWND>(static_cast<INT_PTR>(_wcstoi64(argv[1], nullptr, 10)));
  if (!IsWindow(view)) return 3;
  const UINT message = RegisterWindowMessageW(L"HTMLayout_ClickByHref");
  ATOM atom = GlobalAddAtomW(argv[2]);
  if (!message || !atom) return 2;
  DWORD_PTR answer = 0;
  LRESULT sent = SendMessageTimeoutW(view, message, 0, atom, SMTO_ABORTIFHUNG, 20000, &answer);
  GlobalDeleteAtom(atom);
  if (!sent) return 2;
  return answer == 1 ? 1 : 0;
}
