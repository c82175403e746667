// The tooltip window: its class, settings, tools and window messages.
#include "htmldraw/tooltip/pp_tooltip.h"

#include <commctrl.h>

#include <algorithm>

#include "foundation/logging/log.h"
#include "htmldraw/tooltip/tooltip_class.h"

namespace {

// Geometry presets: balloon, then rectangle.
constexpr int kBalloonSizes[kPPGeometryCount] = {16, 16, 12, 12, 12, 16, 16, 0, 0};
constexpr int kRectangleSizes[kPPGeometryCount] = {0, 0, 3, 1, 0, 0, 0, 0, 0};

}  // namespace

BEGIN_MESSAGE_MAP(CPPToolTip, CWnd)
  ON_WM_TIMER()
  ON_WM_PAINT()
  ON_WM_SETCURSOR()
  ON_WM_ACTIVATEAPP()
  ON_MESSAGE(kPPRedrawRequest, OnRedrawRequest)
  ON_MESSAGE(TTM_POP, OnPopRequest)
END_MESSAGE_MAP()

CPPToolTip::CPPToolTip() {
  COLORREF info = GetSysColor(COLOR_INFOBK);
  m_defaults.colorBegin = m_defaults.colorMiddle = m_defaults.colorEnd = info;
  m_defaults.direction = kPPAbove;
  m_borderBrush = CreateSolidBrush(GetSysColor(COLOR_INFOTEXT));
  SetDefaultSizes(TRUE);
  // A class that cannot be registered is remembered, not thrown: Create
  // then answers 0.
  m_classReady = EnsureToolTipClass();
}

CPPToolTip::~CPPToolTip() {
  if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
  DropTip();
  if (m_borderBrush) DeleteObject(m_borderBrush);
}

BOOL CPPToolTip::Create(CWnd* parent, BOOL balloon) {
  return Create(parent ? parent->GetSafeHwnd() : nullptr, balloon);
}

BOOL CPPToolTip::Create(HWND parent, BOOL balloon) {
  if (!m_classReady) m_classReady = EnsureToolTipClass();
  if (!m_classReady) {
    LogError(L"CPPToolTip::Create: no window class");
    return FALSE;
  }
  m_parent = parent;
  if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPPToolTipClass, nullptr, WS_POPUP, 0, 0, 0, 0, parent,
                nullptr))
    return FALSE;
  SetDefaultSizes(balloon);
  m_drawer.SetNotify(m_hWnd, kPPRedrawRequest, 0);
  SetTimer(kTimerWatch, m_watch);
  return TRUE;
}

BOOL CPPToolTip::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  Pop();
  KillTimer(kTimerWatch);
  m_drawer.SetNotify(nullptr, 0, 0);
  return CWnd::DestroyWindow();
}

void CPPToolTip::AddTool(HWND window, const std::wstring& text, const RECT* rect, UINT id) {
  if (!window) return;
  PPToolRecord record;
  record.id = id;
  if (rect) record.rect = *rect;
  record.text = text;
  std::vector<PPToolRecord>& list = m_tools[window];
  for (PPToolRecord& existing : list) {
    if (EqualRect(&existing.rect, &record.rect)) {
      existing = record;
      return;
    }
  }
  list.push_back(record);
}

const std::vector<PPToolRecord>* CPPToolTip::GetTools(HWND window) const {
  auto it = m_tools.find(window);
  return it == m_tools.end() ? nullptr : &it->second;
}

void CPPToolTip::SetDelayTime(int kind, UINT ms) {
  switch (kind) {
    case kPPDelayAutopop: m_autopop = ms; break;
    case kPPDelayInitial: m_initial = ms; break;
    case kPPDelayFadeIn: m_fadeInStep = ms; break;
    case kPPDelayFadeOut: m_fadeOutStep = ms; break;
    case kPPDelayWatch:
      m_watch = ms;
      if (m_hWnd) {
        KillTimer(kTimerWatch);
        if (ms) SetTimer(kTimerWatch, ms);
      }
      break;
    default: break;
  }
}

void CPPToolTip::SetColorBk(COLORREF begin, COLORREF middle, COLORREF end) {
  m_defaults.colorBegin = begin;
  m_defaults.colorMiddle = middle;
  m_defaults.colorEnd = end;
}

void CPPToolTip::SetBorder(COLORREF color, int width, int height) {
  if (m_borderBrush) DeleteObject(m_borderBrush);
  m_borderBrush = CreateSolidBrush(color);
  m_borderWidth = std::max(width, 0);
  m_borderHeight = std::max(height, 0);
}

void CPPToolTip::SetBorder(HBRUSH brush, int width, int height) {
  if (m_borderBrush) DeleteObject(m_borderBrush);
  m_borderBrush = nullptr;
  LOGBRUSH logBrush = {};
  if (brush && GetObjectW(brush, sizeof(logBrush), &logBrush) == sizeof(logBrush))
    m_borderBrush = CreateBrushIndirect(&logBrush);
  m_borderWidth = std::max(width, 0);
  m_borderHeight = std::max(height, 0);
}

void CPPToolTip::SetShadow(int offsetX, int offsetY, int darknessPercent, BOOL enabled, int blurX, int blurY) {
  // The window grows by the offsets, so they stay small and non-negative.
  m_shadowX = std::clamp(offsetX, 0, 100);
  m_shadowY = std::clamp(offsetY, 0, 100);
  m_shadowDarkness = std::clamp(darknessPercent, 0, 100);
  m_shadowEnabled = enabled != FALSE;
  m_shadowBlurX = std::clamp(blurX, 0, 100);
  m_shadowBlurY = std::clamp(blurY, 0, 100);
}

void CPPToolTip::SetSize(int index, int value) {
  if (index < 0 || index >= kPPGeometryCount) return;
  // Larger values would leave no room for the text on any screen.
  m_geometry[index] = std::clamp(value, 0, 200);
}

int CPPToolTip::GetSize(int index) const {
  return index >= 0 && index < kPPGeometryCount ? m_geometry[index] : 0;
}

void CPPToolTip::SetDefaultSizes(BOOL balloon) {
  const int* preset = balloon ? kBalloonSizes : kRectangleSizes;
  std::copy(preset, preset + kPPGeometryCount, m_geometry);
}

void CPPToolTip::SetNotify(BOOL notify) { m_notifyWindow = notify ? m_parent : nullptr; }

void CPPToolTip::DrawBorder(HDC dc, HRGN region) {
  if (!m_borderBrush || m_borderWidth <= 0 || m_borderHeight <= 0 || !region) return;
  FrameRgn(dc, region, m_borderBrush, m_borderWidth, m_borderHeight);
}

BOOL CPPToolTip::PreTranslateMessage(MSG* pMsg) {
  RelayMessage(pMsg);
  return CWnd::PreTranslateMessage(pMsg);
}

void CPPToolTip::OnTimer(UINT_PTR id) {
  switch (id) {
    case kTimerShow: ShowStep(); break;
    case kTimerHide: HideStep(); break;
    case kTimerFadeIn: FadeInStep(); break;
    case kTimerFadeOut: FadeOutStep(); break;
    case kTimerWatch: WatchStep(); break;
    default: CWnd::OnTimer(id); break;
  }
}

void CPPToolTip::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  m_displayedWindow = m_pendingWindow;
  m_displayedMode = m_pendingMode;
  m_displayed = m_pending;
  if (dc) DrawTip(dc);
  EndPaint(m_hWnd, &ps);
}

BOOL CPPToolTip::OnSetCursor(CWnd*, UINT, UINT) {
  POINT point;
  GetCursorPos(&point);
  ::ScreenToClient(m_hWnd, &point);
  if (!m_drawer.OnSetCursor(point)) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  return TRUE;
}

void CPPToolTip::OnActivateApp(BOOL active, DWORD) {
  if (!active) Pop();
}

// Owners hide the tip as they would a common tooltip's (a double-click in
// the phrase tree does).
LRESULT CPPToolTip::OnPopRequest(WPARAM, LPARAM) {
  Pop();
  return 0;
}

LRESULT CPPToolTip::OnRedrawRequest(WPARAM, LPARAM) {
  if (m_redrawOnRequest) Redraw();
  return 0;
}
