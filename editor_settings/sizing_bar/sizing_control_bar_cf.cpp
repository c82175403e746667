#include "editor_settings/sizing_bar/sizing_control_bar_cf.h"

IMPLEMENT_DYNAMIC(CSizingControlBarCF, CSizingControlBarG)

BEGIN_MESSAGE_MAP(CSizingControlBarCF, CSizingControlBarG)
  ON_WM_SETTEXT()
END_MESSAGE_MAP()

namespace {

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// The caption font at 8.5 points, turned by escapement tenths of a degree.
HFONT MakeCaptionFont(HDC dc, int escapement) {
  LOGFONTW lf = {};
  lf.lfHeight = -::MulDiv(85, ::GetDeviceCaps(dc, LOGPIXELSY), 720);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfEscapement = lf.lfOrientation = escapement;
  const std::wstring face = CSizingControlBarCF::CaptionFaceName();
  wcsncpy_s(lf.lfFaceName, face.c_str(), _TRUNCATE);
  return ::CreateFontIndirectW(&lf);
}

}  // namespace

std::wstring CSizingControlBarCF::CaptionFaceName() {
  static const std::wstring face = [] {
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(lf.lfFaceName, L"Tahoma");
    bool found = false;
    HDC dc = ::GetDC(nullptr);
    if (dc) {
      ::EnumFontFamiliesExW(dc, &lf, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
      ::ReleaseDC(nullptr, dc);
    }
    return std::wstring(found ? L"Tahoma" : L"Arial");
  }();
  return face;
}

LRESULT CSizingControlBarCF::OnSetText(WPARAM, LPARAM) {
  LRESULT result = Default();
  RedrawNonClient();
  return result;
}

void CSizingControlBarCF::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CSizingControlBarG::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
  HWND focus = ::GetFocus();
  const BOOL inside = focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
  if (inside != m_bActive) {
    m_bActive = inside;
    RedrawNonClient();
  }
}

void CSizingControlBarCF::NcPaintGripper(CDC* pDC, CRect rcClient) {
  if (!HasGripper()) return;
  HDC dc = pDC->GetSafeHdc();
  const bool horz = IsHorzDocked() != FALSE;
  // The band: beside the client area when docked horizontally, above it otherwise.
  CRect band = horz ? CRect(rcClient.left - m_cyGripper, rcClient.top, rcClient.left - 1, rcClient.bottom)
                    : CRect(rcClient.left, rcClient.top - m_cyGripper, rcClient.right, rcClient.top - 1);
  // Active and inactive captions share the button face (a gradient between
  // the same colour is that colour).
  pDC->FillSolidRect(&band, ::GetSysColor(COLOR_BTNFACE));
  const CString title = GetWindowTextString();
  HFONT font = MakeCaptionFont(dc, horz ? 900 : 0);
  if (font && !title.IsEmpty()) {
    HGDIOBJ old = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    // Text ends before the close button.
    CRect clip = band;
    if (horz) clip.top = m_rcClose.bottom + 1;
    else clip.right = m_rcClose.left - 1;
    ::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    if (horz) ::ExtTextOutW(dc, band.left, band.bottom - 2, 0, nullptr, title.GetString(),
                            static_cast<UINT>(title.GetLength()), nullptr);
    else ::ExtTextOutW(dc, band.left + 2, band.top, 0, nullptr, title.GetString(),
                       static_cast<UINT>(title.GetLength()), nullptr);
    ::SelectClipRgn(dc, nullptr);
    ::SelectObject(dc, old);
  }
  if (font) ::DeleteObject(font);
  PaintCloseButton(pDC);
}
