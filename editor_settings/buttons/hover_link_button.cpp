#include "editor_settings/buttons/hover_link_button.h"

#include <commctrl.h>

#include "editor_settings/buttons/buttons_names.h"
#include "editor_settings/buttons/hyperlink.h"
#include "foundation/ui/theme.h"

namespace qlr_editor {

namespace {

constexpr int kMinTipWidth = 240;

bool HasCheckMark(DWORD style) {
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return true;
    default:
      return false;
  }
}

}  // namespace

BEGIN_MESSAGE_MAP(CHoverLinkButton, CButton)
  ON_WM_CTLCOLOR_REFLECT()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSELEAVE()
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONDOWN()
  ON_MESSAGE(WM_SETFONT, OnSetFontMessage)
END_MESSAGE_MAP()

void CHoverLinkButton::PreSubclassWindow() {
  CButton::PreSubclassWindow();
  if (m_setUp) return;
  m_setUp = true;
  // A themed check box ignores the caption colour.
  SetWindowThemeSafe(m_hWnd, L"", L"");
}

void CHoverLinkButton::MakeToolTip() {
  if (m_tipMade || !m_hWnd) return;
  m_tipMade = true;
  if (!m_toolTip.Create(this)) return;
  m_toolTip.Activate(TRUE);
  m_toolTip.AddTool(this, L"");
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  int width = client.right - client.left;
  m_toolTip.SetMaxTipWidth(width > kMinTipWidth ? width : kMinTipWidth);
}

HBRUSH CHoverLinkButton::CtlColor(CDC* pDC, UINT nCtlColor) {
  if (nCtlColor != CTLCOLOR_BTN && nCtlColor != CTLCOLOR_STATIC) return nullptr;
  ::SetTextColor(pDC->GetSafeHdc(), RGB(0, 0, 255));
  ::SetBkColor(pDC->GetSafeHdc(), ::GetSysColor(COLOR_BTNFACE));
  return ::GetSysColorBrush(COLOR_BTNFACE);
}

RECT CHoverLinkButton::GetCaptionBox() const {
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  RECT text = {0, 0, 0, 0};
  HDC dc = ::GetDC(m_hWnd);
  if (!dc) return RECT{};
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
  CString caption = GetWindowTextString();
  ::DrawTextW(dc, caption.GetString(), caption.GetLength(), &text, DT_CALCRECT | DT_SINGLELINE);
  if (old) ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);

  int clientWidth = client.right - client.left;
  int width = text.right - text.left;
  if (width > clientWidth) width = clientWidth;
  int height = text.bottom - text.top;
  DWORD style = GetStyle();
  DWORD align = style & BS_CENTER;
  RECT box = {};
  if (align == BS_CENTER) {
    int offset = (clientWidth - width) / 2;
    box.left = offset > 0 ? offset : 0;
  } else if (align == BS_RIGHT) {
    box.left = clientWidth - width;
  }
  box.right = box.left + width;
  if (HasCheckMark(style)) {
    int check = ::GetSystemMetrics(SM_CXMENUCHECK);
    if (style & BS_LEFTTEXT) {
      if (align == BS_RIGHT) ::OffsetRect(&box, -check, 0);
      if (box.right > clientWidth - check) box.right = clientWidth - check;
    } else if (align != BS_CENTER && align != BS_RIGHT) {
      ::OffsetRect(&box, check, 0);
    }
  }
  box.top = (client.bottom - height) / 2;
  if (box.top < 0) box.top = 0;
  box.bottom = box.top + height;
  return box;
}

HFONT CHoverLinkButton::NormalFont() {
  if (!m_normalFont) m_normalFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  return m_normalFont;
}

void CHoverLinkButton::ApplyHoverFont() {
  HFONT normal = NormalFont();
  HFONT font = normal;
  if (m_hover) {
    if (!m_underlineFont.GetSafeHandle()) {
      LOGFONTW lf = {};
      ::GetObjectW(normal ? static_cast<HGDIOBJ>(normal) : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
      lf.lfUnderline = TRUE;
      m_underlineFont.CreateFontIndirect(&lf);
    }
    font = m_underlineFont.GetSafeHandle();
  }
  m_changingFont = true;
  ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  m_changingFont = false;
}

void CHoverLinkButton::OnMouseMove(UINT, CPoint point) {
  MakeToolTip();
  RECT box = GetCaptionBox();
  POINT pt = {point.x, point.y};
  bool hover = ::PtInRect(&box, pt) != FALSE;
  if (hover != m_hover) {
    m_hover = hover;
    if (!m_tracking) {
      TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
      m_tracking = ::TrackMouseEvent(&track) != FALSE;
    }
    ApplyHoverFont();
  }
  Default();
}

void CHoverLinkButton::OnMouseLeave() {
  m_tracking = false;
  if (m_hover) {
    m_hover = false;
    ApplyHoverFont();
  }
  Default();
}

BOOL CHoverLinkButton::OnSetCursor(CWnd*, UINT, UINT) {
  if (!m_hover) return static_cast<BOOL>(Default());
  ::SetCursor(CHyperLink::GetHandCursor());
  return TRUE;
}

void CHoverLinkButton::OnLButtonDown(UINT, CPoint) {
  if (!m_hover) {
    Default();
    return;
  }
  ::ReleaseCapture();
  NMHDR header = {};
  header.hwndFrom = m_hWnd;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  header.code = kHoverLinkClickedCode;
  ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

LRESULT CHoverLinkButton::OnSetFontMessage(WPARAM wParam, LPARAM) {
  if (m_changingFont) return Default();
  // A new font from outside becomes the normal one; the underlined one is
  // made from it again when needed.
  m_normalFont = reinterpret_cast<HFONT>(wParam);
  LRESULT result = Default();
  m_underlineFont.DeleteObject();
  if (m_hover) ApplyHoverFont();
  return result;
}

BOOL CHoverLinkButton::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST) MakeToolTip();
  if (m_toolTip.GetSafeHwnd()) {
    if (m_hover)
      m_toolTip.RelayEvent(pMsg);
    else
      m_toolTip.SendMessage(TTM_POP);
  }
  return CButton::PreTranslateMessage(pMsg);
}

}  // namespace qlr_editor
