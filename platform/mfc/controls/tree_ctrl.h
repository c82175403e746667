// CTreeCtrl: a tree-view control. Every method is the plain message; the
// control keeps all state.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/mfc/controls/image_list.h"
#include "platform/mfc/window/wnd.h"

class CTreeCtrl : public CWnd {
  DECLARE_DYNAMIC(CTreeCtrl)

 public:
  CTreeCtrl() = default;
  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  HTREEITEM InsertItem(LPTVINSERTSTRUCTW lpInsertStruct);
  HTREEITEM InsertItem(UINT nMask, LPCWSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                       UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
  HTREEITEM InsertItem(LPCWSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                       HTREEITEM hInsertAfter = TVI_LAST);
  HTREEITEM InsertItem(LPCWSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
  BOOL DeleteItem(HTREEITEM hItem) { return Send(TVM_DELETEITEM, 0, hItem) != 0; }
  BOOL DeleteAllItems() { return Send(TVM_DELETEITEM, 0, TVI_ROOT) != 0; }

  BOOL GetItem(TVITEMW* pItem) const { return Send(TVM_GETITEMW, 0, pItem) != 0; }
  BOOL SetItem(TVITEMW* pItem) { return Send(TVM_SETITEMW, 0, pItem) != 0; }
  DWORD_PTR GetItemData(HTREEITEM hItem) const;
  BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
  UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
  BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
  // The check box is state image 2 (checked) or 1 (unchecked).
  BOOL GetCheck(HTREEITEM hItem) const;
  BOOL SetCheck(HTREEITEM hItem, BOOL fCheck = TRUE);
  // The whole text, however long.
  CString GetItemText(HTREEITEM hItem) const;
  // At most nSize - 1 characters and a terminator; answers the count.
  int GetItemText(HTREEITEM hItem, LPWSTR lpszText, int nSize) const;
  BOOL SetItemText(HTREEITEM hItem, LPCWSTR lpszItem);

  // Navigation (TVM_GETNEXTITEM).
  HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const;
  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
  HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
  HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUS); }
  HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
  HTREEITEM GetNextVisibleItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXTVISIBLE); }
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  BOOL ItemHasChildren(HTREEITEM hItem) const;

  BOOL Select(HTREEITEM hItem, UINT nCode) { return Send(TVM_SELECTITEM, nCode, hItem) != 0; }
  BOOL SelectItem(HTREEITEM hItem) { return Select(hItem, TVGN_CARET); }
  BOOL EnsureVisible(HTREEITEM hItem) { return Send(TVM_ENSUREVISIBLE, 0, hItem) != 0; }
  BOOL Expand(HTREEITEM hItem, UINT nCode) { return Send(TVM_EXPAND, nCode, hItem) != 0; }
  BOOL SortChildrenCB(LPTVSORTCB pSort) { return Send(TVM_SORTCHILDRENCB, 0, pSort) != 0; }

  BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;
  HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const;

  BOOL SetInsertMark(HTREEITEM hItem, BOOL fAfter = TRUE) { return Send(TVM_SETINSERTMARK, fAfter, hItem) != 0; }
  COLORREF SetInsertMarkColor(COLORREF clrNew) { return Color(TVM_SETINSERTMARKCOLOR, clrNew); }
  COLORREF GetBkColor() const { return static_cast<COLORREF>(Send(TVM_GETBKCOLOR, 0, 0)); }
  COLORREF SetBkColor(COLORREF clr) { return Color(TVM_SETBKCOLOR, clr); }
  COLORREF SetTextColor(COLORREF clr) { return Color(TVM_SETTEXTCOLOR, clr); }
  COLORREF SetLineColor(COLORREF clrNew = CLR_DEFAULT) { return Color(TVM_SETLINECOLOR, clrNew); }
  // nImageList: TVSIL_NORMAL or TVSIL_STATE; answers the list it replaced.
  HIMAGELIST SetImageList(CImageList* pImageList, int nImageList);

  // The label editor (a temporary wrapper), or null.
  CWnd* EditLabel(HTREEITEM hItem);
  CWnd* GetEditControl() const;
  // A new image list the caller deletes, or null.
  CImageList* CreateDragImage(HTREEITEM hItem);

 private:
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  template <typename T>
  LRESULT Send(UINT message, WPARAM wParam, T* lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, reinterpret_cast<LPARAM>(lParam));
  }
  COLORREF Color(UINT message, COLORREF clr) {
    return static_cast<COLORREF>(::SendMessageW(m_hWnd, message, 0, static_cast<LPARAM>(clr)));
  }
};
