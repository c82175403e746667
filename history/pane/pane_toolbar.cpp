#include "history/pane/pane_toolbar.h"

#include <windowsx.h>

namespace {

struct ButtonDef {
  int command;  // 0: separator
  int image;
  BYTE style;
};

const ButtonDef kButtons[] = {
    {0, 0, BTNS_SEP},
    {static_cast<int>(pane_ids::kFixPane), 6, BTNS_BUTTON},
    {static_cast<int>(pane_ids::kKeep), 3, BTNS_CHECK},
    {static_cast<int>(pane_ids::kCopy), 4, BTNS_BUTTON},
    {static_cast<int>(pane_ids::kEditPhrases), 2, BTNS_WHOLEDROPDOWN},
    {0, 0, BTNS_SEP},
    {static_cast<int>(pane_ids::kMinimizeToCaption), 1, BTNS_BUTTON},
    {static_cast<int>(pane_ids::kClose), 0, BTNS_BUTTON},
};

// Icons of the images 0..6, in image order.
const int kImageIcons[] = {211, 212, 213, 225, 215, 217, 241};

}  // namespace

CPaneToolbar::~CPaneToolbar() {
  if (m_images) ImageList_Destroy(m_images);
}

bool CPaneToolbar::CreateIn(HWND pane) {
  RECT zero = {0, 0, 0, 0};
  HWND hwnd = Create(pane, zero, nullptr, WS_CHILD | TBSTYLE_TOOLTIPS | CCS_TOP, WS_EX_TOPMOST,
                     pane_ids::kToolbarId);
  if (!hwnd) return false;
  ::ShowWindow(hwnd, SW_SHOW);
  return true;
}

int CPaneToolbar::StretchWidth(int clientWidth, int buttonCount) {
  return clientWidth - pane_ids::kButtonWidth * buttonCount + 29;
}

LRESULT CPaneToolbar::OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  if (result == -1) return result;
  m_images = ImageList_Create(14, 14, ILC_COLOR32 | ILC_MASK, 7, 1);
  HINSTANCE module = GetModuleHandleW(nullptr);
  for (int id : kImageIcons) {
    HICON icon = static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, 14, 14, LR_DEFAULTCOLOR));
    // A program without the icon still keeps the image numbering.
    if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
    if (m_images) ImageList_AddIcon(m_images, icon);
  }
  ::SendMessageW(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ::SendMessageW(m_hWnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images));
  TBBUTTON buttons[sizeof(kButtons) / sizeof(kButtons[0])] = {};
  for (size_t i = 0; i < sizeof(kButtons) / sizeof(kButtons[0]); ++i) {
    buttons[i].iBitmap = kButtons[i].command ? kButtons[i].image : 0;
    buttons[i].idCommand = kButtons[i].command;
    buttons[i].fsStyle = kButtons[i].style;
    buttons[i].fsState = (i == 5) ? 0 : TBSTATE_ENABLED;
  }
  ::SendMessageW(m_hWnd, TB_ADDBUTTONSW, sizeof(kButtons) / sizeof(kButtons[0]),
                 reinterpret_cast<LPARAM>(buttons));
  HWND tips = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, TB_GETTOOLTIPS, 0, 0));
  if (tips) ::SetWindowLongPtrW(tips, GWL_STYLE, ::GetWindowLongPtrW(tips, GWL_STYLE) | TTS_ALWAYSTIP);
  return result;
}

int CPaneToolbar::ButtonAt(LPARAM lParam) const {
  POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  int index = static_cast<int>(::SendMessageW(m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
  if (index < 0) return -1;
  TBBUTTON button = {};
  if (!::SendMessageW(m_hWnd, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button))) return -1;
  return (button.fsStyle & BTNS_SEP) ? -1 : index;
}

LRESULT CPaneToolbar::OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  if (ButtonAt(lParam) >= 0) {
    handled = FALSE;
    return 0;
  }
  (void)msg;
  if (wParam & MK_CONTROL) {
    // Ctrl + click opens the caption menu, as a right click does.
    NMMOUSE click = {};
    click.hdr = {m_hWnd, pane_ids::kToolbarId, static_cast<UINT>(NM_RCLICK)};
    click.dwItemSpec = static_cast<DWORD_PTR>(-1);
    click.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, pane_ids::kToolbarId, reinterpret_cast<LPARAM>(&click));
    return 0;
  }
  ::PostMessageW(::GetParent(m_hWnd), WM_SYSCOMMAND, 0xF012, 0);
  return 0;
}

LRESULT CPaneToolbar::OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  ::ReleaseCapture();
  return DefWindowProc(msg, wParam, lParam);
}

LRESULT CPaneToolbar::OnLButtonDblClk(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  if (ButtonAt(lParam) >= 0) {
    handled = FALSE;
    return 0;
  }
  ::ReleaseCapture();
  HWND pane = ::GetParent(m_hWnd);
  RECT rect = {};
  ::GetWindowRect(pane, &rect);
  int x = rect.left + (rect.right - rect.left) / 2;
  int y = rect.top + GetSystemMetrics(SM_CYSMCAPTION) / 2;
  ::PostMessageW(pane, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(x, y));
  return 0;
}

LRESULT CPaneToolbar::OnSetCursor(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  if (LOWORD(lParam) == HTCLIENT) {
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    if (ButtonAt(MAKELPARAM(pt.x, pt.y)) < 0) {
      ::SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
      return TRUE;
    }
  }
  handled = FALSE;
  return 0;
}

void CPaneToolbar::Fit() {
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  int count = static_cast<int>(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
  TBBUTTONINFOW info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_SIZE | TBIF_BYINDEX;
  // A pane narrower than its buttons gives a negative width: keep the
  // caption area at the left edge with a zero-wide separator.
  int width = StretchWidth(client.right - client.left, count);
  info.cx = static_cast<WORD>(width < 0 ? 0 : width);
  ::SendMessageW(m_hWnd, TB_SETBUTTONINFOW, 0, reinterpret_cast<LPARAM>(&info));
}

LRESULT CPaneToolbar::OnSize(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  Fit();
  return result;
}

LRESULT CPaneToolbar::OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&) {
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  HDC dc = reinterpret_cast<HDC>(wParam);
  if (m_alert) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &client, red);
    DeleteObject(red);
  } else {
    FillRect(dc, &client, GetSysColorBrush(m_colorIndex));
  }
  return 1;
}

LRESULT CPaneToolbar::OnMouseMove(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  if (m_hoverTimer == 0) {
    m_hoverTimer = ::SetTimer(m_hWnd, pane_ids::kHoverTimer, pane_ids::kHoverTimerMs, nullptr);
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
    m_tracking = TrackMouseEvent(&track) != FALSE;
  }
  return result;
}

LRESULT CPaneToolbar::OnMouseLeave(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  m_tracking = false;
  m_hoverTimer = 0;
  return result;
}

LRESULT CPaneToolbar::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != pane_ids::kHoverTimer) {
    handled = FALSE;
    return 0;
  }
  if (m_menuOpen) return 0;
  ::KillTimer(m_hWnd, pane_ids::kHoverTimer);
  m_hoverTimer = 0;
  POINT pt = {};
  RECT rect = {};
  ::GetCursorPos(&pt);
  ::GetWindowRect(m_hWnd, &rect);
  if (PtInRect(&rect, pt)) {
    NMHDR header = {m_hWnd, pane_ids::kToolbarId, 0};
    ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, pane_ids::kToolbarId,
                   reinterpret_cast<LPARAM>(&header));
  }
  return 0;
}

void CPaneToolbar::SetAlert(bool on) {
  if (m_alert == on) return;
  m_alert = on;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CPaneToolbar::SetKeepState(bool recording) {
  if (!m_hWnd) return;
  ::SendMessageW(m_hWnd, TB_CHECKBUTTON, pane_ids::kKeep, MAKELPARAM(recording ? TRUE : FALSE, 0));
  int index = recording ? COLOR_WINDOW : COLOR_GRAYTEXT;
  if (index != m_colorIndex) {
    m_colorIndex = index;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
  }
}

void CPaneToolbar::SetCollapsedLook(bool collapsed) {
  if (!m_hWnd) return;
  TBBUTTONINFOW info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_IMAGE;
  info.iImage = collapsed ? 5 : 1;
  ::SendMessageW(m_hWnd, TB_SETBUTTONINFOW, pane_ids::kMinimizeToCaption,
                 reinterpret_cast<LPARAM>(&info));
  ::SendMessageW(m_hWnd, TB_PRESSBUTTON, pane_ids::kMinimizeToCaption,
                 MAKELPARAM(collapsed ? TRUE : FALSE, 0));
}

void CPaneToolbar::SetFixedLook(bool fixed) {
  if (m_hWnd)
    ::SendMessageW(m_hWnd, TB_PRESSBUTTON, pane_ids::kFixPane, MAKELPARAM(fixed ? TRUE : FALSE, 0));
}

void CPaneToolbar::EnableButton(UINT command, bool on) {
  if (m_hWnd) ::SendMessageW(m_hWnd, TB_ENABLEBUTTON, command, MAKELPARAM(on ? TRUE : FALSE, 0));
}

bool CPaneToolbar::GetButtonScreenRect(UINT command, RECT& rect) const {
  if (!m_hWnd || !::SendMessageW(m_hWnd, TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect)))
    return false;
  ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return true;
}
