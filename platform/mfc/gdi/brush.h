// CBrush: an owned brush.
#pragma once
#include <windows.h>

#include "platform/mfc/gdi/gdi_object.h"

class CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
  HBRUSH GetSafeHandle() const { return static_cast<HBRUSH>(m_hObject); }
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }

  BOOL CreateSolidBrush(COLORREF crColor) { return !m_hObject && Attach(::CreateSolidBrush(crColor)); }
};
