#include "platform/mfc/controls/image_list.h"

#include <string>

#include "foundation/logging/log.h"
#include "platform/mfc/controls/control_classes.h"

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  if (m_hImageList) return FALSE;
  AfxEnsureCommonControls(ICC_WIN95_CLASSES);
  m_hImageList = ::ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
  if (!m_hImageList) {
    LogError(L"ImageList_Create failed " + std::to_wstring(::GetLastError()));
    return FALSE;
  }
  return TRUE;
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
  if (!hImageList || m_hImageList) return FALSE;
  m_hImageList = hImageList;
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST h = m_hImageList;
  m_hImageList = nullptr;
  return h;
}

BOOL CImageList::DeleteImageList() {
  if (!m_hImageList) return FALSE;
  BOOL ok = ::ImageList_Destroy(m_hImageList);
  m_hImageList = nullptr;
  return ok;
}
