// The visual-style functions the themed buttons draw with, one holder for
// the process. Each answers "themes off" or fails when the theme library
// or the function is missing, so callers fall back to the classic look.
#pragma once
#include <windows.h>

#include "foundation/ui/theme.h"

namespace qlr_editor {

class CThemeFunctions {
 public:
  bool IsThemeActive() const;
  bool IsAppThemed() const;
  HTHEME_SAFE OpenThemeData(HWND hWnd, const wchar_t* classList) const;
  HRESULT CloseThemeData(HTHEME_SAFE theme) const;
  HRESULT DrawThemeBackground(HTHEME_SAFE theme, HDC dc, int part, int state, const RECT* rect,
                              const RECT* clip) const;
  HRESULT DrawThemeParentBackground(HWND hWnd, HDC dc, const RECT* rect) const;
  HRESULT DrawThemeText(HTHEME_SAFE theme, HDC dc, int part, int state, const wchar_t* text, int length,
                        DWORD flags, DWORD flags2, const RECT* rect) const;
  HRESULT GetThemeBackgroundContentRect(HTHEME_SAFE theme, HDC dc, int part, int state, const RECT* bounds,
                                        RECT* content) const;

  // Tests: behave as on a system without the theme library.
  void SetLibraryMissingForTests(bool missing) { m_missing = missing; }

 private:
  bool m_missing = false;
};

// The holder, alive from start-up to exit.
CThemeFunctions& ThemeFunctions();

}  // namespace qlr_editor
