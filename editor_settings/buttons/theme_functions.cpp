#include "editor_settings/buttons/theme_functions.h"

namespace qlr_editor {

namespace {

CThemeFunctions g_themeFunctions;

}  // namespace

CThemeFunctions& ThemeFunctions() { return g_themeFunctions; }

bool CThemeFunctions::IsThemeActive() const { return !m_missing && IsThemeActiveSafe(); }

bool CThemeFunctions::IsAppThemed() const { return !m_missing && IsAppThemedSafe(); }

HTHEME_SAFE CThemeFunctions::OpenThemeData(HWND hWnd, const wchar_t* classList) const {
  return m_missing ? nullptr : OpenThemeDataSafe(hWnd, classList);
}

HRESULT CThemeFunctions::CloseThemeData(HTHEME_SAFE theme) const {
  if (m_missing || !theme) return E_FAIL;
  return CloseThemeDataSafe(theme) ? S_OK : E_FAIL;
}

HRESULT CThemeFunctions::DrawThemeBackground(HTHEME_SAFE theme, HDC dc, int part, int state, const RECT* rect,
                                             const RECT* clip) const {
  return m_missing ? E_FAIL : DrawThemeBackgroundSafe(theme, dc, part, state, rect, clip);
}

HRESULT CThemeFunctions::DrawThemeParentBackground(HWND hWnd, HDC dc, const RECT* rect) const {
  return m_missing ? E_FAIL : DrawThemeParentBackgroundSafe(hWnd, dc, rect);
}

HRESULT CThemeFunctions::DrawThemeText(HTHEME_SAFE theme, HDC dc, int part, int state, const wchar_t* text,
                                       int length, DWORD flags, DWORD flags2, const RECT* rect) const {
  return m_missing ? E_FAIL : DrawThemeTextSafe(theme, dc, part, state, text, length, flags, flags2, rect);
}

HRESULT CThemeFunctions::GetThemeBackgroundContentRect(HTHEME_SAFE theme, HDC dc, int part, int state,
                                                       const RECT* bounds, RECT* content) const {
  return m_missing ? E_FAIL : GetThemeBackgroundContentRectSafe(theme, dc, part, state, bounds, content);
}

}  // namespace qlr_editor
