// A device context as handlers receive it. It owns nothing: the handle
// stays the caller's.
#pragma once
#include <windows.h>

class CDC {
 public:
  CDC() = default;
  explicit CDC(HDC hDC) : m_hDC(hDC) {}
  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }

  HDC m_hDC = nullptr;
};
