// CFont: an owned font.
#pragma once
#include <windows.h>

#include "platform/mfc/gdi/gdi_object.h"

class CFont : public CGdiObject {
 public:
  HFONT GetSafeHandle() const { return static_cast<HFONT>(m_hObject); }
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }

  // False when the font cannot be made or the wrapper holds one already.
  BOOL CreateFontIndirect(const LOGFONTW* lpLogFont) {
    return !m_hObject && lpLogFont && Attach(::CreateFontIndirectW(lpLogFont));
  }
  // Zero when the wrapper holds no font.
  int GetLogFont(LOGFONTW* pLogFont) const {
    return m_hObject ? GetObject(sizeof(LOGFONTW), pLogFont) : 0;
  }
};
