// When a tip shows, moves and hides: the relayed messages of the owner's
// thread and the show, hide and fade steps.
#include <algorithm>
#include <cwchar>

#include "htmldraw/tooltip/pp_tooltip.h"
#include "htmldraw/tooltip/window_info_page.h"

namespace {

// The screen point of a relayed mouse message (its coordinates are the
// client coordinates of the message's window).
POINT MessagePoint(const MSG* msg) {
  POINT point = {static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
  if (msg->hwnd) ClientToScreen(msg->hwnd, &point);
  return point;
}

bool IsDropDownCombo(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return (GetWindowLongPtrW(window, GWL_STYLE) & 3) == CBS_DROPDOWN && _wcsicmp(name, L"combobox") == 0;
}

}  // namespace

void CPPToolTip::RelayMessage(const MSG* msg) {
  if (!msg || !m_hWnd) return;
  switch (msg->message) {
    case WM_MOUSEMOVE:
      OnRelayedMouseMove(MessagePoint(msg));
      break;
    case WM_LBUTTONDOWN: {
      POINT point = MessagePoint(msg);
      if (IsOverTip(point)) {
        ::ScreenToClient(m_hWnd, &point);
        m_drawer.OnClick(point);
      }
      Pop();
      break;
    }
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MOUSEWHEEL:
      Pop();
      break;
    default:
      break;
  }
}

bool CPPToolTip::IsOverTip(POINT point) const {
  // The tip itself, not its shadow: the shadow of a tip above the cursor
  // reaches down past the point it was shown for.
  if (!m_tipRegion || !::IsWindowVisible(m_hWnd)) return false;
  RECT rect;
  ::GetWindowRect(m_hWnd, &rect);
  return PtInRegion(m_tipRegion, point.x - rect.left, point.y - rect.top) != FALSE;
}

void CPPToolTip::ForgetDeadTools() {
  for (auto it = m_tools.begin(); it != m_tools.end();) {
    if (!::IsWindow(it->first)) it = m_tools.erase(it); else ++it;
  }
  if (m_displayedWindow && !::IsWindow(m_displayedWindow)) ForgetDisplayed();
  if (m_pendingWindow && !::IsWindow(m_pendingWindow)) {
    KillTimer(kTimerShow);
    m_pendingWindow = nullptr;
    m_pending = PPToolRecord();
  }
}

void CPPToolTip::ForgetDisplayed() {
  m_displayedWindow = nullptr;
  m_displayed = PPToolRecord();
}

HWND CPPToolTip::FindToolWindow(POINT point) const {
  HWND at = WindowFromPoint(point);
  HWND parent = at ? ::GetParent(at) : nullptr;
  if (!parent) return nullptr;
  if (IsDropDownCombo(parent)) return parent;
  POINT inParent = point;
  ::ScreenToClient(parent, &inParent);
  HWND child = ChildWindowFromPoint(parent, inParent);
  return child && ::IsWindowEnabled(child) ? child : nullptr;
}

const PPToolRecord* CPPToolTip::FindTool(HWND window, POINT point) const {
  auto it = m_tools.find(window);
  if (it == m_tools.end() || it->second.empty()) return nullptr;
  const std::vector<PPToolRecord>& list = it->second;
  if (list.size() == 1 && IsRectEmpty(&list[0].rect)) return &list[0];
  POINT client = point;
  ::ScreenToClient(window, &client);
  for (const PPToolRecord& record : list)
    if (PtInRect(&record.rect, client)) return &record;
  return nullptr;
}

void CPPToolTip::OnRelayedMouseMove(POINT point) {
  if (m_displayedMode == kModeFixed || m_pendingMode == kModeFixed) return;
  if (point.x == m_lastPoint.x && point.y == m_lastPoint.y) return;
  const POINT before = m_lastPoint;
  m_lastPoint = point;
  ForgetDeadTools();
  const UINT behaviour = m_displayed.behaviour;

  if (IsOverTip(point) && !(behaviour & kPPFollowCursor)) {
    if (behaviour & kPPKeepOverTip) RestartAutopop(behaviour); else HideTip();
    return;
  }

  HWND window = nullptr;
  PPToolRecord found;
  if (m_windowInfoMode) {
    window = WindowUnderPoint(point);
    if (window == m_hWnd) return;  // the tip's own shadow
    if (window) found.text = BuildWindowInfoPage(window, point, m_tools.count(window) != 0);
  } else if ((window = FindToolWindow(point)) != nullptr) {
    const PPToolRecord* record = FindTool(window, point);
    if (record) found = *record; else window = nullptr;
  }

  if (!window) {
    ForgetDisplayed();
    KillTimer(kTimerShow);
    HideTip();
    return;
  }
  if (window == m_displayedWindow && EqualRect(&found.rect, &m_displayed.rect)) {
    if (behaviour & kPPFollowCursor) {
      RestartAutopop(behaviour);
      MoveTipBy(point.x - before.x, point.y - before.y);
    } else if (behaviour & kPPRestartOnMove) {
      RestartAutopop(behaviour);
    } else if (!(behaviour & kPPShowAgain)) {
      HideTip();
    }
    return;
  }
  ShowRequest(window, found, true, kModeNone);
}

void CPPToolTip::RestartAutopop(UINT behaviour) {
  if (m_state != kShown || !m_autopop || (behaviour & kPPNoAutopop)) return;
  SetTimer(kTimerHide, m_autopop);
}

void CPPToolTip::ShowTextAt(POINT point, const std::wstring& text, HICON icon) {
  PPToolRecord record;
  if (icon) {
    wchar_t handle[24];
    swprintf(handle, 24, L"0x%X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(icon)));
    record.text = L"<table><tr><td><icon handle=" + std::wstring(handle) + L"></td><td>" + text +
                  L"</td></tr></table>";
  } else {
    record.text = text;
  }
  record.mask = kPPMaskBehaviour;
  record.behaviour = m_defaults.behaviour | kPPNoAutopop;
  m_lastPoint = point;
  ShowRequest(nullptr, record, false, kModeFixed);
}

void CPPToolTip::HideTip() {
  if (m_state == kAppearing) {
    KillTimer(kTimerFadeIn);
    HideStep();
  } else if (m_state == kShown) {
    HideStep();
  }
}

void CPPToolTip::Pop() {
  m_state = kHidden;
  m_displayedMode = m_pendingMode = kModeNone;
  m_showAfterHide = false;
  if (!m_hWnd) return;
  for (UINT_PTR id : {kTimerShow, kTimerHide, kTimerFadeIn, kTimerFadeOut}) KillTimer(id);
  if (::IsWindowVisible(m_hWnd)) {
    if (m_displayed.behaviour & kPPShowAgain) ForgetDisplayed();
    ShowWindow(SW_HIDE);
  }
  DropTip();
}

void CPPToolTip::ShowRequest(HWND window, const PPToolRecord& record, bool useDelay, int mode) {
  if (!m_hWnd) return;  // its timers would be the thread's
  m_showAfterHide = false;
  if (m_state == kAppearing || m_state == kShown) HideTip();
  m_pendingMode = mode;
  m_pendingWindow = window;
  m_pending = record;
  if (m_state != kHidden) {
    // A fade-out still runs; its end starts this tip.
    m_showAfterHide = true;
    m_restartWithDelay = useDelay && m_initial != 0;
    return;
  }
  if (useDelay && m_initial) SetTimer(kTimerShow, m_initial); else ShowStep();
}

void CPPToolTip::ShowStep() {
  KillTimer(kTimerShow);
  POINT point = m_lastPoint;
  if (m_pendingMode != kModeFixed) GetCursorPos(&point);
  if (point.x != m_lastPoint.x || point.y != m_lastPoint.y) {
    HideTip();
    return;
  }
  if (m_state != kHidden) return;
  // The tool went away while its tip waited.
  if (m_pendingWindow && !::IsWindow(m_pendingWindow)) {
    m_pendingWindow = nullptr;
    m_pendingMode = kModeNone;
    return;
  }
  m_state = kAppearing;
  if (!BuildTip(point)) {
    // Nothing to show (an empty text): the tip stays hidden rather than
    // counting as shown with no window.
    m_state = kHidden;
    m_pendingMode = kModeNone;
    return;
  }
  if (m_fadeInEnabled && m_fadeInStep) {
    SetTimer(kTimerFadeIn, m_fadeInStep);
  } else {
    m_state = kShown;
    if (m_autopop && !(m_pending.behaviour & kPPNoAutopop)) SetTimer(kTimerHide, m_autopop);
  }
}

void CPPToolTip::HideStep() {
  KillTimer(kTimerShow);
  KillTimer(kTimerFadeIn);
  KillTimer(kTimerHide);
  if (m_state == kDisappearing) return;
  m_state = kDisappearing;
  if (m_fadeOutEnabled && m_fadeOutStep) {
    SetTimer(kTimerFadeOut, m_fadeOutStep);
  } else {
    m_transparency = 100;
    FadeOutStep();
  }
}

void CPPToolTip::FadeInStep() {
  m_transparency = m_transparency < 21 ? 0 : m_transparency - 20;
  if (m_transparency <= m_displayed.transparency) {
    m_transparency = m_displayed.transparency;
    KillTimer(kTimerFadeIn);
    m_state = kShown;
    if (m_autopop && !(m_displayed.behaviour & kPPNoAutopop)) SetTimer(kTimerHide, m_autopop);
  }
  Redraw();
}

void CPPToolTip::FadeOutStep() {
  m_transparency = m_transparency < 80 ? m_transparency + 20 : 100;
  if (m_transparency < 100) {
    Redraw();
    return;
  }
  KillTimer(kTimerFadeOut);
  if (m_displayed.behaviour & kPPShowAgain) ForgetDisplayed();
  ShowWindow(SW_HIDE);
  m_state = kHidden;
  DropTip();
  if (m_showAfterHide) {
    m_showAfterHide = false;
    bool delayed = m_restartWithDelay;
    m_restartWithDelay = false;
    if (delayed) SetTimer(kTimerShow, m_initial); else ShowStep();
  } else {
    m_displayedMode = m_pendingMode = kModeNone;
  }
}

void CPPToolTip::WatchStep() {
  // Hidden or still tips cost nothing: the drawer is asked only while an
  // animated tip is on the screen.
  if (m_state != kShown || m_drawer.Animations().empty() || !::IsWindowVisible(m_hWnd)) return;
  if (m_drawer.OnTimer()) Redraw();
}
