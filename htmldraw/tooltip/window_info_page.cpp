#include "htmldraw/tooltip/window_info_page.h"

#include <cwchar>

#include "foundation/text/text_basics.h"

namespace {

// Markup in a value would be read as tags; long values are cut.
std::wstring CellValue(std::wstring value) {
  for (wchar_t& c : value)
    if (c == L'<') c = L'?';
  if (value.size() > 25) value = value.substr(0, 21) + L" ...";
  return value;
}

std::wstring Row(const wchar_t* name, const std::wstring& value) {
  return L"<tr><td width=70 bgcolor=buttonface>" + std::wstring(name) + L"</td><td width=130 bgcolor=window>" +
         CellValue(value) + L"</td></tr>";
}


std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TitleOf(HWND window) {
  wchar_t title[256] = {};
  // Never a WM_GETTEXT: the window may belong to a process that hangs.
  InternalGetWindowText(window, title, 256);
  return title;
}

std::wstring HandleText(HWND window) {
  return FormatText(L"0x%08X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(window)));
}

}  // namespace

HWND WindowUnderPoint(POINT point) {
  HWND window = WindowFromPoint(point);
  // WindowFromPoint passes over disabled children; look into the window
  // for them.
  for (int depth = 0; window && depth < 64; ++depth) {
    POINT client = point;
    ScreenToClient(window, &client);
    HWND child = ChildWindowFromPointEx(window, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == window) break;
    window = child;
  }
  return window;
}

std::wstring BuildWindowInfoPage(HWND window, POINT cursor, bool hasTool) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  std::wstring page = L"<table><tr><td><font color=darkblue>Window</font><table border=1>";
  page += Row(L"Class name", ClassOf(window));
  page += Row(L"Title", TitleOf(window));
  page += Row(L"Handle", HandleText(window));
  page += Row(L"Control ID", FormatText(L"%d", GetDlgCtrlID(window)));
  page += Row(L"Styles", FormatText(L"0x%08X", static_cast<unsigned>(GetWindowLongPtrW(window, GWL_STYLE))));
  page += Row(L"RECT", FormatText(L"(%d, %d)-(%d, %d)", static_cast<int>(rect.left), static_cast<int>(rect.top),
                              static_cast<int>(rect.right), static_cast<int>(rect.bottom)));
  page += Row(L"Width", FormatText(L"%d", static_cast<int>(rect.right - rect.left)));
  page += Row(L"Height", FormatText(L"%d", static_cast<int>(rect.bottom - rect.top)));
  page += Row(L"Has Tooltip", hasTool ? L"Yes" : L"No");
  page += L"</table></td>";
  page += L"<td><font color=darkblue>Window Owner</font><table border=1>";
  HWND parent = GetParent(window);
  page += Row(L"Class name", parent ? ClassOf(parent) : L"N/A");
  page += Row(L"Title", parent ? TitleOf(parent) : L"N/A");
  page += Row(L"Handle", parent ? HandleText(parent) : L"N/A");
  page += L"</table>";
  page += L"<br><font color=darkblue>Mouse Cursor</font><table border=1>";
  page += Row(L"X", FormatText(L"%d", static_cast<int>(cursor.x)));
  page += Row(L"Y", FormatText(L"%d", static_cast<int>(cursor.y)));
  page += L"</table></td></tr></table>";
  return page;
}
