#include "editor_settings/helpers/bold_check_box.h"

#include "foundation/ui/subclass.h"

namespace {

// Marks the check boxes subclassed here (the registry may hold a window for
// another owner).
constexpr wchar_t kBoldCheckProp[] = L"QuilloraBoldWhenChecked";

void ApplyCheckFont(HWND checkBox, WNDPROC proc) {
  LRESULT state = proc ? ::CallWindowProcW(proc, checkBox, BM_GETCHECK, 0, 0)
                       : ::SendMessageW(checkBox, BM_GETCHECK, 0, 0);
  HFONT font = state == BST_CHECKED ? GetBoldCheckBoxFont()
                                    : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  ::SendMessageW(checkBox, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

LRESULT BoldCheckProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR, BOOL* passOn,
                      WNDPROC previous) {
  if (msg == WM_NCDESTROY) ::RemovePropW(hWnd, kBoldCheckProp);
  if (msg != BM_SETCHECK) return 0;
  *passOn = FALSE;
  LRESULT before = ::CallWindowProcW(previous, hWnd, BM_GETCHECK, 0, 0);
  LRESULT result = ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
  LRESULT after = ::CallWindowProcW(previous, hWnd, BM_GETCHECK, 0, 0);
  if (after != before) ApplyCheckFont(hWnd, previous);
  return result;
}

}  // namespace

HFONT GetBoldCheckBoxFont() {
  static HFONT font = nullptr;
  if (!font) {
    LOGFONTW lf;
    if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf)) {
      lf.lfWeight = FW_BOLD;
      font = ::CreateFontIndirectW(&lf);
    }
  }
  return font;
}

bool SetBoldWhenChecked(HWND checkBox) {
  if (!checkBox || !::IsWindow(checkBox)) return false;
  if (::GetPropW(checkBox, kBoldCheckProp)) return true;
  if (!SubclassWindowProc(checkBox, BoldCheckProc, 0)) return false;
  ::SetPropW(checkBox, kBoldCheckProp, reinterpret_cast<HANDLE>(1));
  ApplyCheckFont(checkBox, nullptr);
  return true;
}
