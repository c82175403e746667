#include "platform/mfc/gdi/dc.h"

#include "platform/mfc/window/wnd.h"

namespace {

int SlotOf(HGDIOBJ hObject) {
  switch (::GetObjectType(hObject)) {
    case OBJ_FONT: return 0;
    case OBJ_BRUSH: return 1;
    case OBJ_BITMAP: return 2;
    case OBJ_PEN: return 3;
    default: return -1;
  }
}

}  // namespace

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
  if (!m_hDC || !hObject) return nullptr;
  HGDIOBJ old = ::SelectObject(m_hDC, hObject);
  if (m_trackSelections && old && old != HGDI_ERROR) {
    int slot = SlotOf(hObject);
    if (slot >= 0 && !m_original[slot]) m_original[slot] = old;
  }
  return old == HGDI_ERROR ? nullptr : old;
}

void CDC::RestoreSelections() {
  for (HGDIOBJ& original : m_original) {
    if (original && m_hDC) ::SelectObject(m_hDC, original);
    original = nullptr;
  }
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  COLORREF before = ::SetBkColor(m_hDC, clr);
  ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
  ::SetBkColor(m_hDC, before);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  RECT r = {x, y, x + cx, y + cy};
  FillSolidRect(&r, clr);
}

CSize CDC::GetTextExtent(LPCWSTR lpszString, int nCount) const {
  SIZE size = {0, 0};
  if (!m_hDC || !lpszString || nCount < 0 || !::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &size))
    return CSize(0, 0);
  return CSize(size);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
  m_hDC = ::BeginPaint(m_hWnd, &m_ps);
  m_trackSelections = true;
}

CPaintDC::~CPaintDC() {
  RestoreSelections();
  ::EndPaint(m_hWnd, &m_ps);
  m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
  m_hDC = ::GetDC(m_hWnd);
  m_trackSelections = true;
}

CClientDC::~CClientDC() {
  RestoreSelections();
  if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
  m_hDC = nullptr;
}
