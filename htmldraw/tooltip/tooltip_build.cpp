// Building a tip: the record's defaults, the owner's last word, the measure,
// the placement, the region, the background and the window.
#include <algorithm>

#include "foundation/system/handles.h"
#include "htmldraw/tooltip/pp_tooltip.h"
#include "htmldraw/tooltip/tip_placement.h"

namespace {

RECT VirtualScreen() {
  int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

RECT WorkAreaAt(POINT point) {
  MONITORINFO info = {sizeof(info)};
  if (GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
  RECT work = {};
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return work;
  return VirtualScreen();
}

bool IsVerticalSide(int direction) { return (direction & 0x30) < kPPRight; }

// The rounded tip joined with the anchor triangle (apex at the anchor).
HRGN MakeTipRegion(const RECT& tip, const TipPlacement& place, const int* geometry) {
  const int cw = geometry[kPPCornerWidth], ch = geometry[kPPCornerHeight];
  HRGN region = cw || ch ? CreateRoundRectRgn(tip.left, tip.top, tip.right + 1, tip.bottom + 1, cw, ch)
                         : CreateRectRgnIndirect(&tip);
  const int base = geometry[kPPAnchorWidth];
  if (!region || base <= 0 || geometry[kPPAnchorHeight] <= 0) return region;
  const int side = place.direction & 0x30;
  POINT points[3] = {place.anchor, {}, {}};
  if (IsVerticalSide(place.direction)) {
    // The base overlaps the tip's edge by a pixel, so the two join.
    int edge = side == kPPBelow ? tip.top + 1 : tip.bottom - 1;
    int low = tip.left + cw / 2, high = std::max<int>(low, tip.right - cw / 2 - base);
    int start = std::clamp<int>(place.anchor.x - base / 2, low, high);
    points[1] = {start, edge};
    points[2] = {start + base, edge};
  } else {
    int edge = side == kPPRight ? tip.left + 1 : tip.right - 1;
    int low = tip.top + ch / 2, high = std::max<int>(low, tip.bottom - ch / 2 - base);
    int start = std::clamp<int>(place.anchor.y - base / 2, low, high);
    points[1] = {edge, start};
    points[2] = {edge, start + base};
  }
  if (HRGN triangle = CreatePolygonRgn(points, 3, WINDING)) {
    CombineRgn(region, region, triangle, RGN_OR);
    DeleteObject(triangle);
  }
  return region;
}

}  // namespace

void CPPToolTip::FillDefaults(PPToolRecord& record) const {
  if (!(record.mask & kPPMaskHandle)) record.handle = m_defaults.handle;
  if (!(record.mask & kPPMaskEffect)) {
    record.effect = m_defaults.effect;
    record.granularity = m_defaults.granularity;
  }
  if (!(record.mask & kPPMaskColors)) {
    record.colorBegin = m_defaults.colorBegin;
    record.colorMiddle = m_defaults.colorMiddle;
    record.colorEnd = m_defaults.colorEnd;
  }
  if (!(record.mask & kPPMaskDirection)) record.direction = m_defaults.direction;
  if (!(record.mask & kPPMaskBehaviour)) record.behaviour = m_defaults.behaviour;
  if (!(record.mask & kPPMaskTransparency)) record.transparency = m_defaults.transparency;
  record.transparency = std::min<BYTE>(record.transparency, 100);
}

int CPPToolTip::ShadowDx() const { return m_shadowEnabled ? m_shadowX : 0; }
int CPPToolTip::ShadowDy() const { return m_shadowEnabled ? m_shadowY : 0; }

bool CPPToolTip::BuildTip(POINT point) {
  FillDefaults(m_pending);
  if (m_notifyWindow && ::IsWindow(m_notifyWindow)) {
    PPToolTipDisplay display = {};
    display.hdr.hwndFrom = m_hWnd;
    display.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd));
    display.hdr.code = kPPNotifyDisplay;
    display.hwndTool = m_pendingWindow;
    display.pt = &point;
    display.ti = &m_pending;
    ::SendMessageW(m_notifyWindow, WM_NOTIFY, display.hdr.idFrom, reinterpret_cast<LPARAM>(&display));
  }
  DropTip();
  if (m_pending.text.empty() || !m_hWnd) return false;

  // A tip never outgrows the work area: a long text wraps at its width and
  // is cut at its height.
  const int anchor = m_geometry[kPPAnchorHeight];
  const bool vertical = IsVerticalSide(m_pending.direction);
  const RECT work = WorkAreaAt(point);
  const int roomX = work.right - work.left - (vertical ? 0 : anchor) - ShadowDx();
  const int roomY = work.bottom - work.top - (vertical ? anchor : 0) - ShadowDy();
  const int mx = std::clamp(m_geometry[kPPMarginX], 0, std::max(0, (roomX - 1) / 2));
  const int my = std::clamp(m_geometry[kPPMarginY], 0, std::max(0, (roomY - 1) / 2));
  const int maxWidth = std::max(1, roomX - 2 * mx);
  const int maxHeight = std::max(1, roomY - 2 * my);
  m_layoutWidth = m_drawer.MaxWidth() > 0 ? std::min(m_drawer.MaxWidth(), maxWidth) : maxWidth;
  SIZE text = {0, 0};
  {
    WindowDC screen(nullptr);
    LayoutWidthScope scope(m_drawer, m_layoutWidth);
    if (screen) text = m_drawer.Measure(screen.Get(), m_pending.text.c_str());
  }
  if (text.cx <= 0 || text.cy <= 0) return false;
  text.cx = std::min<LONG>(text.cx, maxWidth);
  text.cy = std::min<LONG>(text.cy, maxHeight);
  m_textRect = {mx, my, mx + text.cx, my + text.cy};
  m_tipRect = {0, 0, text.cx + 2 * mx, text.cy + 2 * my};

  TipPlacement place = PlaceTip(point, SIZE{m_tipRect.right, m_tipRect.bottom}, m_pending.direction, anchor,
                                m_geometry[kPPAnchorDistance], VirtualScreen());
  m_direction = place.direction;
  OffsetRect(&m_textRect, place.tipOffset.x, place.tipOffset.y);
  OffsetRect(&m_tipRect, place.tipOffset.x, place.tipOffset.y);
  m_tipRegion = MakeTipRegion(m_tipRect, place, m_geometry);
  const SIZE window = {place.window.cx + ShadowDx(), place.window.cy + ShadowDy()};
  m_windowRect = {place.origin.x, place.origin.y, place.origin.x + window.cx, place.origin.y + window.cy};
  if (!m_tipRegion || !MakeBackground(window, place.direction)) {
    DropTip();
    return false;
  }
  m_transparency = m_fadeInEnabled && m_fadeInStep ? 100 : m_pending.transparency;

  HRGN windowRegion = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(windowRegion, m_tipRegion, nullptr, RGN_COPY);
  if (ShadowDx() || ShadowDy()) {
    HRGN shadow = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(shadow, m_tipRegion, nullptr, RGN_COPY);
    OffsetRgn(shadow, ShadowDx(), ShadowDy());
    CombineRgn(windowRegion, windowRegion, shadow, RGN_OR);
    DeleteObject(shadow);
  }
  TakeScreenCopy();
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_windowRect.left, m_windowRect.top, window.cx, window.cy,
                 SWP_NOACTIVATE);
  ::SetWindowRgn(m_hWnd, windowRegion, FALSE);  // the window owns the region now
  ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
  // Painted now: the paint makes this tip the displayed one before the next
  // relayed message is looked at.
  ::UpdateWindow(m_hWnd);
  return true;
}

bool CPPToolTip::MakeBackground(SIZE window, int direction) {
  if (!m_background.Create(window.cx, window.cy)) return false;
  HDC dc = m_background.Dc();
  m_drawer.GetEffectPainter().FillRectEffect(dc, m_pending.effect, m_tipRect, m_pending.colorBegin,
                                             m_pending.colorMiddle, m_pending.colorEnd, m_pending.granularity, 0);
  // The anchor band repeats the tip's edge line.
  const RECT& t = m_tipRect;
  const int tipWidth = t.right - t.left, tipHeight = t.bottom - t.top;
  switch (direction & 0x30) {
    case kPPBelow: StretchBlt(dc, t.left, 0, tipWidth, t.top, dc, t.left, t.top, tipWidth, 1, SRCCOPY); break;
    case kPPAbove:
      StretchBlt(dc, t.left, t.bottom, tipWidth, window.cy - t.bottom, dc, t.left, t.bottom - 1, tipWidth, 1,
                 SRCCOPY);
      break;
    case kPPRight: StretchBlt(dc, 0, t.top, t.left, tipHeight, dc, t.left, t.top, 1, tipHeight, SRCCOPY); break;
    default:
      StretchBlt(dc, t.right, t.top, window.cx - t.right, tipHeight, dc, t.right - 1, t.top, 1, tipHeight,
                 SRCCOPY);
      break;
  }
  GdiFlush();
  return true;
}

void CPPToolTip::TakeScreenCopy() {
  WindowDC screen(nullptr);
  const int width = m_windowRect.right - m_windowRect.left, height = m_windowRect.bottom - m_windowRect.top;
  if (!screen || !CopyToWorkBitmap(m_screenCopy, screen.Get(), m_windowRect.left, m_windowRect.top, width, height))
    m_screenCopy.Create(width, height);  // blends against black rather than not at all
}

void CPPToolTip::DropTip() {
  if (m_tipRegion) DeleteObject(m_tipRegion);
  m_tipRegion = nullptr;
  if (HBITMAP bitmap = m_background.Detach()) DeleteObject(bitmap);
  if (HBITMAP bitmap = m_screenCopy.Detach()) DeleteObject(bitmap);
}

void CPPToolTip::MoveTipBy(int dx, int dy) {
  if ((!dx && !dy) || !::IsWindowVisible(m_hWnd)) return;
  // The copy of the screen is taken again at the new place, with the tip
  // out of the way.
  ::ShowWindow(m_hWnd, SW_HIDE);
  OffsetRect(&m_windowRect, dx, dy);
  TakeScreenCopy();
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_windowRect.left, m_windowRect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::UpdateWindow(m_hWnd);
}
