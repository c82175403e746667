// CImageList: owns an image list handle and destroys it with the object.
#pragma once
#include <windows.h>

#include <commctrl.h>

class CImageList {
 public:
  CImageList() = default;
  ~CImageList() { DeleteImageList(); }
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  HIMAGELIST m_hImageList = nullptr;
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  operator HIMAGELIST() const { return m_hImageList; }

  // flags: ILC_COLOR32 | ILC_MASK and the like; false (logged) on failure
  // or when the object already holds a list.
  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  BOOL Attach(HIMAGELIST hImageList);
  HIMAGELIST Detach();
  BOOL DeleteImageList();

  int Add(HICON hIcon) { return ::ImageList_ReplaceIcon(m_hImageList, -1, hIcon); }  // index or -1
  COLORREF SetBkColor(COLORREF cr) { return ::ImageList_SetBkColor(m_hImageList, cr); }
  int GetImageCount() const { return ::ImageList_GetImageCount(m_hImageList); }
};

// The handle of a list the caller may not have (null gives null).
inline HIMAGELIST AfxImageListHandle(const CImageList* pImageList) {
  return pImageList ? pImageList->m_hImageList : nullptr;
}
