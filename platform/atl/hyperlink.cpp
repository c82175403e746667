#include "platform/atl/hyperlink.h"

#include <shellapi.h>

#include "foundation/system/shell_open.h"

namespace {

constexpr COLORREF kLinkColor = RGB(0, 0, 255);

}  // namespace

namespace qlr_atl {

CHyperLink::~CHyperLink() {
  if (m_hWnd) UnsubclassWindow(TRUE);
  if (m_linkFont) ::DeleteObject(m_linkFont);
}

BOOL CHyperLink::SubclassWindow(HWND hWnd) {
  if (!CWindowImplCore::SubclassWindow(hWnd)) return FALSE;
  if (m_label.empty()) m_label = GetWindowText();
  // Clicks must reach the control.
  ModifyStyle(0, SS_NOTIFY);
  MakeLinkFont();
  Invalidate();
  return TRUE;
}

void CHyperLink::SetLabel(const wchar_t* label) {
  m_label = label ? label : L"";
  if (m_hWnd) {
    SetWindowText(m_label.c_str());
    Invalidate();
  }
}

void CHyperLink::SetHyperLink(const wchar_t* url) {
  m_url = url ? url : L"";
  if (m_hWnd && m_label.empty()) Invalidate();
}

bool CHyperLink::Navigate() {
  if (m_url.empty()) return false;
  return ShellOpen(m_hWnd, L"open", m_url.c_str(), nullptr, nullptr, SW_SHOWNORMAL) > 32;
}

void CHyperLink::MakeLinkFont() {
  HFONT base = m_hWnd ? GetFont() : nullptr;
  if (!base) base = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW lf = {};
  ::GetObjectW(base, sizeof(lf), &lf);
  lf.lfUnderline = TRUE;
  if (m_linkFont) ::DeleteObject(m_linkFont);
  m_linkFont = ::CreateFontIndirectW(&lf);
}

LRESULT CHyperLink::OnSetFont(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  LRESULT r = DefWindowProc();
  MakeLinkFont();
  bHandled = TRUE;
  return r;
}

RECT CHyperLink::TextRect(HDC dc) {
  RECT client;
  GetClientRect(&client);
  RECT text = client;
  HGDIOBJ old = ::SelectObject(dc, m_linkFont);
  ::DrawTextW(dc, ShownText().c_str(), -1, &text, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  ::SelectObject(dc, old);
  int width = text.right - text.left;
  DWORD style = GetStyle();
  if ((style & SS_TYPEMASK) == SS_RIGHT) {
    text.right = client.right;
    text.left = client.right - width;
  } else if ((style & SS_TYPEMASK) == SS_CENTER) {
    text.left = (client.left + client.right - width) / 2;
    text.right = text.left + width;
  }
  return text;
}

LRESULT CHyperLink::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  // The parent chooses the background, as for any static control.
  HBRUSH brush = reinterpret_cast<HBRUSH>(::SendMessageW(
      GetParent(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hWnd)));
  RECT client;
  GetClientRect(&client);
  ::FillRect(dc, &client, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
  RECT text = TextRect(dc);
  HGDIOBJ old = ::SelectObject(dc, m_linkFont);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kLinkColor);
  ::DrawTextW(dc, ShownText().c_str(), -1, &text, DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::EndPaint(m_hWnd, &ps);
  return 0;
}

LRESULT CHyperLink::OnSetCursor(UINT, WPARAM, LPARAM, BOOL&) {
  ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
  return TRUE;
}

LRESULT CHyperLink::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  m_pressed = true;
  SetCapture();
  return 0;
}

LRESULT CHyperLink::OnLButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&) {
  if (!m_pressed) return 0;
  m_pressed = false;
  ::ReleaseCapture();
  POINT pt = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
  RECT client;
  GetClientRect(&client);
  if (::PtInRect(&client, pt)) Navigate();
  return 0;
}

}  // namespace qlr_atl
