#include "platform/mfc/controls/list_ctrl.h"

#include "platform/mfc/controls/control_classes.h"
#include "platform/mfc/controls/item_text.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!AfxEnsureCommonControls(ICC_LISTVIEW_CLASSES)) return FALSE;
  return CWnd::Create(WC_LISTVIEWW, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) {
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_FMT;
  column.fmt = nFormat;
  column.pszText = const_cast<LPWSTR>(lpszColumnHeading);
  if (nWidth != -1) {
    column.mask |= LVCF_WIDTH;
    column.cx = nWidth;
  }
  if (nSubItem != -1) {
    column.mask |= LVCF_SUBITEM;
    column.iSubItem = nSubItem;
  }
  return InsertColumn(nCol, &column);
}

int CListCtrl::InsertColumn(int nCol, const LVCOLUMNW* pColumn) {
  return static_cast<int>(Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(nCol), pColumn));
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
  return Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(cx, 0)) != 0;
}

int CListCtrl::InsertItem(const LVITEMW* pItem) { return static_cast<int>(Send(LVM_INSERTITEMW, 0, pItem)); }

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCWSTR lpszText) {
  LVITEMW item = {};
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPWSTR>(lpszText);
  return Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(nItem), &item) != 0;
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
  return AfxReadItemText([&](wchar_t* buffer, int size) {
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    item.pszText = buffer;
    item.cchTextMax = size;
    Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(nItem), &item);
  });
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPWSTR lpszText, int nLen) const {
  return AfxCopyToBuffer(GetItemText(nItem, nSubItem), lpszText, nLen);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = nItem;
  return Send(LVM_GETITEMW, 0, &item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
  LVITEMW item = {};
  item.state = nState;
  item.stateMask = nMask;
  return Send(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), &item) != 0;
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
  return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), static_cast<LPARAM>(nMask)));
}

HIMAGELIST CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
  return reinterpret_cast<HIMAGELIST>(
      Send(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType), AfxImageListHandle(pImageList)));
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
  // The message takes the part wanted in the rectangle it fills.
  lpRect->left = static_cast<LONG>(nCode);
  return Send(LVM_GETITEMRECT, static_cast<WPARAM>(nItem), lpRect) != 0;
}
