#include "editor/toolbars/tooltip_title.h"

#include <commctrl.h>

namespace {

constexpr size_t kTitleKeep = 97;

}  // namespace

std::wstring MakeToolTipTitle(const std::wstring& title) {
  if (title.size() <= kTitleKeep) return title;
  return title.substr(0, kTitleKeep) + L"\u2026";
}

BOOL SetToolTipTitle(HWND tooltip, const std::wstring& title, UINT_PTR icon) {
  if (!tooltip) return FALSE;
  const std::wstring shown = MakeToolTipTitle(title);
  return ::SendMessageW(tooltip, TTM_SETTITLEW, icon, reinterpret_cast<LPARAM>(shown.c_str())) != 0;
}
