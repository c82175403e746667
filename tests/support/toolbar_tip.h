// Asks a toolbar's parent for a button's tip the way the control does.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

namespace qlrtest {

// The answer as far as the first zero of the buffer (chars long).
inline std::wstring AskToolbarTip(HWND parent, HWND toolbar, UINT_PTR ctrlId, int item, wchar_t* buffer,
                                  int chars) {
  NMTBGETINFOTIPW info = {};
  info.hdr.hwndFrom = toolbar;
  info.hdr.idFrom = ctrlId;
  info.hdr.code = TBN_GETINFOTIPW;
  info.pszText = buffer;
  info.cchTextMax = chars;
  info.iItem = item;
  ::SendMessageW(parent, WM_NOTIFY, ctrlId, reinterpret_cast<LPARAM>(&info));
  return buffer;
}

}  // namespace qlrtest
