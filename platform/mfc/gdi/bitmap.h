// CBitmap: an owned bitmap.
#pragma once
#include <windows.h>

#include "platform/mfc/gdi/gdi_object.h"

class CBitmap : public CGdiObject {
 public:
  HBITMAP GetSafeHandle() const { return static_cast<HBITMAP>(m_hObject); }
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

  // A bitmap resource of the program.
  BOOL LoadBitmap(UINT nIDResource) {
    return !m_hObject &&
           Attach(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nIDResource), IMAGE_BITMAP, 0, 0, 0));
  }
  BOOL CreateCompatibleBitmap(HDC hDC, int nWidth, int nHeight) {
    return !m_hObject && Attach(::CreateCompatibleBitmap(hDC, nWidth, nHeight));
  }
  int GetBitmap(BITMAP* pBitMap) const { return m_hObject ? GetObject(sizeof(BITMAP), pBitMap) : 0; }
};
