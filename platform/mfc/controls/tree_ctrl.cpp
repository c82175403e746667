#include "platform/mfc/controls/tree_ctrl.h"

#include "platform/mfc/controls/control_classes.h"
#include "platform/mfc/controls/item_text.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!AfxEnsureCommonControls(ICC_TREEVIEW_CLASSES)) return FALSE;
  return CWnd::Create(WC_TREEVIEWW, nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCTW lpInsertStruct) {
  return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, lpInsertStruct));
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCWSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  TVINSERTSTRUCTW tvis = {};
  tvis.hParent = hParent;
  tvis.hInsertAfter = hInsertAfter;
  tvis.item.mask = nMask;
  tvis.item.pszText = const_cast<LPWSTR>(lpszItem);
  tvis.item.iImage = nImage;
  tvis.item.iSelectedImage = nSelectedImage;
  tvis.item.state = nState;
  tvis.item.stateMask = nStateMask;
  tvis.item.lParam = lParam;
  return InsertItem(&tvis);
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
  return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0,
                    hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
  TVITEMW item = {};
  item.mask = TVIF_PARAM;
  item.hItem = hItem;
  return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
  TVITEMW item = {};
  item.mask = TVIF_PARAM;
  item.hItem = hItem;
  item.lParam = static_cast<LPARAM>(dwData);
  return SetItem(&item);
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const {
  return static_cast<UINT>(Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem), nStateMask)) & nStateMask;
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
  TVITEMW item = {};
  item.mask = TVIF_STATE;
  item.hItem = hItem;
  item.state = nState;
  item.stateMask = nStateMask;
  return SetItem(&item);
}

BOOL CTreeCtrl::GetCheck(HTREEITEM hItem) const {
  return (GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12) == 2;
}

BOOL CTreeCtrl::SetCheck(HTREEITEM hItem, BOOL fCheck) {
  return SetItemState(hItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), TVIS_STATEIMAGEMASK);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
  return AfxReadItemText([&](wchar_t* buffer, int size) {
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = buffer;
    item.cchTextMax = size;
    if (!GetItem(&item)) buffer[0] = L'\0';
  });
}

int CTreeCtrl::GetItemText(HTREEITEM hItem, LPWSTR lpszText, int nSize) const {
  return AfxCopyToBuffer(GetItemText(hItem), lpszText, nSize);
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCWSTR lpszItem) {
  TVITEMW item = {};
  item.mask = TVIF_TEXT;
  item.hItem = hItem;
  item.pszText = const_cast<LPWSTR>(lpszItem);
  return SetItem(&item);
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const {
  return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, nCode, hItem));
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
  TVITEMW item = {};
  item.mask = TVIF_CHILDREN;
  item.hItem = hItem;
  return GetItem(&item) && item.cChildren != 0;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
  // The message takes the item in the rectangle it fills.
  *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
  return Send(TVM_GETITEMRECT, bTextOnly, lpRect) != 0;
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  TVHITTESTINFO info = {};
  info.pt = pt;
  HTREEITEM hItem = HitTest(&info);
  if (pFlags) *pFlags = info.flags;
  return hItem;
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* pHitTestInfo) const {
  return reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, pHitTestInfo));
}

HIMAGELIST CTreeCtrl::SetImageList(CImageList* pImageList, int nImageList) {
  return reinterpret_cast<HIMAGELIST>(Send(TVM_SETIMAGELIST, nImageList, AfxImageListHandle(pImageList)));
}

CWnd* CTreeCtrl::EditLabel(HTREEITEM hItem) {
  return FromHandle(reinterpret_cast<HWND>(Send(TVM_EDITLABELW, 0, hItem)));
}

CWnd* CTreeCtrl::GetEditControl() const {
  return FromHandle(reinterpret_cast<HWND>(Send(TVM_GETEDITCONTROL, 0, 0)));
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM hItem) {
  HIMAGELIST h = reinterpret_cast<HIMAGELIST>(Send(TVM_CREATEDRAGIMAGE, 0, hItem));
  if (!h) return nullptr;
  CImageList* list = new CImageList;
  list->Attach(h);
  return list;
}
