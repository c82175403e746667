#include "editor_settings/buttons/color_label.h"

#include "platform/mfc/gdi/dc.h"

namespace qlr_editor {

namespace {

constexpr int kCornerEllipse = 6;

}  // namespace

BEGIN_MESSAGE_MAP(CColorLabel, CStatic)
  ON_WM_CTLCOLOR_REFLECT()
  ON_WM_PAINT()
  ON_WM_SETTEXT()
END_MESSAGE_MAP()

CColorLabel::CColorLabel()
    : m_textColour(::GetSysColor(COLOR_WINDOWTEXT)), m_bkColour(::GetSysColor(COLOR_BTNFACE)) {}

HBRUSH CColorLabel::BackgroundBrush() {
  if (!m_bkBrush.GetSafeHandle()) m_bkBrush.CreateSolidBrush(m_bkColour);
  return m_bkBrush.GetSafeHandle();
}

HBRUSH CColorLabel::CtlColor(CDC* pDC, UINT nCtlColor) {
  if (nCtlColor != CTLCOLOR_STATIC) return nullptr;
  HDC dc = pDC->GetSafeHdc();
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  ::FillRect(dc, &client, BackgroundBrush());
  ::SetBkColor(dc, m_bkColour);
  ::SetTextColor(dc, m_textColour);
  return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CColorLabel::OnPaint() {
  if (!m_rounded) {
    Default();
    return;
  }
  CPaintDC paint(this);
  HDC dc = paint.GetSafeHdc();
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  // The outline in the fill colour, so the box covers the whole client area.
  HPEN pen = ::CreatePen(PS_SOLID, 1, m_bkColour);
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  HGDIOBJ oldBrush = ::SelectObject(dc, BackgroundBrush());
  ::RoundRect(dc, client.left, client.top, client.right, client.bottom, kCornerEllipse, kCornerEllipse);
  ::SelectObject(dc, oldBrush);
  ::SelectObject(dc, oldPen);
  ::DeleteObject(pen);

  CString text = GetWindowTextString();
  HFONT font = m_font.GetSafeHandle() ? m_font.GetSafeHandle() : GetFont();
  HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, m_textColour);
  DWORD style = GetStyle();
  UINT format = DT_NOPREFIX;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER:
      format |= DT_CENTER;
      break;
    case SS_RIGHT:
      format |= DT_RIGHT;
      break;
    default:
      format |= DT_LEFT;
      break;
  }
  format |= (style & SS_CENTERIMAGE) ? DT_SINGLELINE | DT_VCENTER : DT_WORDBREAK;
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  ::DrawTextW(dc, text.GetString(), text.GetLength(), &client, format);
  if (oldFont) ::SelectObject(dc, oldFont);
}

LRESULT CColorLabel::OnSetText(WPARAM, LPARAM) {
  LRESULT result = Default();
  Repaint();
  return result;
}

void CColorLabel::SetLabelFont(const LOGFONTW& font, COLORREF textColour, BOOL redraw) {
  m_textColour = textColour;
  SetLabelFont(font, redraw);
}

void CColorLabel::SetLabelFont(const LOGFONTW& font, BOOL redraw) {
  CFont next;
  if (!next.CreateFontIndirect(&font)) return;
  // The control takes the new font before the old one goes.
  HFONT handle = static_cast<HFONT>(next.Detach());
  if (m_hWnd) ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(handle), FALSE);
  m_font.DeleteObject();
  m_font.Attach(handle);
  if (redraw) Repaint();
}

void CColorLabel::SetBkColour(COLORREF colour, BOOL redraw) {
  m_bkColour = colour;
  m_bkBrush.DeleteObject();
  if (redraw) Repaint();
}

void CColorLabel::SetRounded(bool rounded, BOOL redraw) {
  m_rounded = rounded;
  if (redraw) Repaint();
}

void CColorLabel::Repaint() {
  if (!m_hWnd || !::IsWindow(m_hWnd)) return;
  constexpr UINT kFlags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
  HWND parent = ::GetParent(m_hWnd);
  if (parent) {
    RECT under = {};
    ::GetWindowRect(m_hWnd, &under);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&under), 2);
    ::RedrawWindow(parent, &under, nullptr, kFlags);
  }
  ::RedrawWindow(m_hWnd, nullptr, nullptr, kFlags);
}

}  // namespace qlr_editor
