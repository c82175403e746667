#include "editor_settings/helpers/window_text_painter.h"

#include "editor_settings/helpers/editor_fonts.h"
#include "foundation/localization/localized_strings.h"

CWindowTextPainter::CWindowTextPainter(HWND window)
    : m_window(window), m_font(editor::GetDialogFont()) {}

std::wstring CWindowTextPainter::GetText() const {
  if (!m_stringId) return std::wstring();
  CLngString text;
  if (!text.LoadString(m_stringId)) return std::wstring();
  return text.Text();
}

void CWindowTextPainter::Paint(HDC dc) {
  if (!dc || !m_window || !::IsWindow(m_window)) return;
  std::wstring text = GetText();
  if (text.empty()) return;
  RECT rc;
  ::GetClientRect(m_window, &rc);
  int saved = ::SaveDC(dc);
  ::FillRect(dc, &rc, ::GetSysColorBrush(GetBackgroundColorIndex()));
  if (m_font) ::SelectObject(dc, m_font);
  ::SetTextColor(dc, GetTextColor());
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::RestoreDC(dc, saved);
}

void CWindowTextPainter::SetFont(HFONT font) {
  m_font = font;
  if (m_window && ::IsWindow(m_window)) ::InvalidateRect(m_window, nullptr, TRUE);
}

void CWindowTextPainter::SetStringId(UINT id) {
  if (id == m_stringId) return;
  m_stringId = id;
  if (IsTextShown() && m_window && ::IsWindow(m_window)) ::InvalidateRect(m_window, nullptr, TRUE);
}
