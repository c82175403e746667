// CComboBox: a combo box. Every method is the plain message; indices are
// CB_ERR (-1) when there is none.
#pragma once
#include <windows.h>

#include "platform/mfc/gdi/font.h"
#include "platform/mfc/window/wnd.h"

class CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)

 public:
  CComboBox() = default;
  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int AddString(LPCWSTR lpszString) { return static_cast<int>(SendText(CB_ADDSTRING, 0, lpszString)); }
  int InsertString(int nIndex, LPCWSTR lpszString) {
    return static_cast<int>(SendText(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), lpszString));
  }
  int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT, 0, 0)); }
  void ResetContent() { Send(CB_RESETCONTENT, 0, 0); }
  DWORD_PTR GetItemData(int nIndex) const {
    return static_cast<DWORD_PTR>(Send(CB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0));
  }
  int SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return static_cast<int>(Send(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
  }
  int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL, 0, 0)); }
  int SetCurSel(int nSelect) { return static_cast<int>(Send(CB_SETCURSEL, static_cast<WPARAM>(nSelect), 0)); }
  void ShowDropDown(BOOL bShowIt = TRUE) { Send(CB_SHOWDROPDOWN, bShowIt, 0); }
  using CWnd::SetFont;
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE) { SetFont(pFont ? pFont->GetSafeHandle() : nullptr, bRedraw); }

 private:
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  LRESULT SendText(UINT message, WPARAM wParam, LPCWSTR lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, reinterpret_cast<LPARAM>(lParam));
  }
};
