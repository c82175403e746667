// Device contexts. A plain CDC wraps a handle that stays the caller's (a
// handler's WM_ERASEBKGND context, say). CPaintDC and CClientDC get their
// context from a window and give it back when they go away, after putting
// back the objects selected into it while they held it.
#pragma once
#include <windows.h>

#include "platform/mfc/core/geometry.h"
#include "platform/mfc/core/string.h"
#include "platform/mfc/gdi/bitmap.h"
#include "platform/mfc/gdi/brush.h"
#include "platform/mfc/gdi/font.h"

class CWnd;

class CDC {
 public:
  CDC() = default;
  explicit CDC(HDC hDC) : m_hDC(hDC) {}
  virtual ~CDC() = default;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;
  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }

  // Each answers the object it replaced (null on failure).
  HGDIOBJ SelectObject(HGDIOBJ hObject);
  HFONT SelectObject(CFont* pFont) { return static_cast<HFONT>(SelectObject(pFont ? pFont->GetSafeHandle() : nullptr)); }
  HBRUSH SelectObject(CBrush* pBrush) { return static_cast<HBRUSH>(SelectObject(pBrush ? pBrush->GetSafeHandle() : nullptr)); }
  HBITMAP SelectObject(CBitmap* pBitmap) { return static_cast<HBITMAP>(SelectObject(pBitmap ? pBitmap->GetSafeHandle() : nullptr)); }

  int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
  COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
  COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
  int DrawText(LPCWSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
  }
  int DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
    return DrawText(str.GetString(), str.GetLength(), lpRect, nFormat);
  }
  // Fills with the colour; the background colour is left as it was.
  void FillSolidRect(LPCRECT lpRect, COLORREF clr);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
  // Zero size when it cannot be measured.
  CSize GetTextExtent(LPCWSTR lpszString, int nCount) const;
  CSize GetTextExtent(const CString& str) const { return GetTextExtent(str.GetString(), str.GetLength()); }

 protected:
  // Puts back the first object of each kind that SelectObject replaced.
  void RestoreSelections();
  bool m_trackSelections = false;  // set by the wrappers that own their context

 private:
  HGDIOBJ m_original[4] = {};  // font, brush, bitmap, pen as first replaced
};

// BeginPaint/EndPaint of a window's WM_PAINT.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps = {};

 private:
  HWND m_hWnd;
};

// GetDC/ReleaseDC of a window's client area.
class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* pWnd);
  ~CClientDC() override;

 private:
  HWND m_hWnd;
};
