// CListCtrl: a list-view control. Every method is the plain message; the
// control keeps all state.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/mfc/controls/image_list.h"
#include "platform/mfc/window/wnd.h"

class CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)

 public:
  CListCtrl() = default;
  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // nSubItem -1: the column's own index.
  int InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                   int nSubItem = -1);
  int InsertColumn(int nCol, const LVCOLUMNW* pColumn);
  BOOL SetColumnWidth(int nCol, int cx);  // or LVSCW_AUTOSIZE(_USEHEADER)

  int InsertItem(const LVITEMW* pItem);  // index or -1
  int InsertItem(int nItem, LPCWSTR lpszItem) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    return InsertItem(&item);
  }
  BOOL SetItemText(int nItem, int nSubItem, LPCWSTR lpszText);
  // The whole text, however long.
  CString GetItemText(int nItem, int nSubItem) const;
  // At most nLen - 1 characters and a terminator; answers the count.
  int GetItemText(int nItem, int nSubItem, LPWSTR lpszText, int nLen) const;
  BOOL DeleteAllItems() { return Send(LVM_DELETEALLITEMS, 0, 0) != 0; }
  int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0)); }
  DWORD_PTR GetItemData(int nItem) const;
  BOOL SetItemData(int nItem, DWORD_PTR dwData) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = static_cast<LPARAM>(dwData);
    return Send(LVM_SETITEMW, 0, &item) != 0;
  }

  // The check box is the state image: mask 0xF000 (LVIS_STATEIMAGEMASK),
  // 1 unchecked, 2 checked, 0 none.
  BOOL SetItemState(int nItem, UINT nState, UINT nMask);
  UINT GetItemState(int nItem, UINT nMask) const;

  // nImageListType: LVSIL_SMALL, LVSIL_NORMAL or LVSIL_STATE; answers the
  // list it replaced.
  HIMAGELIST SetImageList(CImageList* pImageList, int nImageListType);
  // nCode: LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL or LVIR_SELECTBOUNDS.
  BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
  // Answers the extended style it replaced.
  DWORD SetExtendedStyle(DWORD dwNewStyle) {
    return static_cast<DWORD>(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
  }
  COLORREF GetTextColor() const { return static_cast<COLORREF>(Send(LVM_GETTEXTCOLOR, 0, 0)); }
  BOOL Arrange(UINT nCode) { return Send(LVM_ARRANGE, nCode, 0) != 0; }

 private:
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  template <typename T>
  LRESULT Send(UINT message, WPARAM wParam, T* lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, reinterpret_cast<LPARAM>(lParam));
  }
};
