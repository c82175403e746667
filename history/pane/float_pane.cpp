#include "history/pane/float_pane.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "history/actions/version_text.h"
#include "history/capture/clipboard_handler.h"
#include "history/pane/pane_texts.h"
#include "platform/atl/app_module.h"
#include "settings/settings.h"

namespace {

constexpr wchar_t kPosKey[] = L"FloatPaneRect_TOPLEFT";
constexpr wchar_t kTitleSuffix[] = L" : Clipboard History";
constexpr wchar_t kProductName[] = L"Quillora";

RECT VirtualScreen() {
  RECT r;
  r.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  r.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  r.right = r.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  r.bottom = r.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  return r;
}

RECT WorkArea() {
  RECT r = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

bool CursorInWindow(HWND hwnd) {
  POINT pt = {};
  RECT rect = {};
  return GetCursorPos(&pt) && GetWindowRect(hwnd, &rect) && PtInRect(&rect, pt);
}

struct SlideRecord {
  HWND window;
  bool smooth;
  HANDLE slideEvent;
  LPARAM generation;
};

// Moves the left edge of the collapsing bar right until it is the caption
// width, keeping the right edge. Each step is made by the pane's own thread,
// which ends the slide once the pane is expanded again or collapsed anew (a
// step made after an expansion would shrink the expanded pane).
DWORD WINAPI SlideThread(void* param) {
  std::unique_ptr<SlideRecord> record(static_cast<SlideRecord*>(param));
  SetEvent(record->slideEvent);
  int step = 2;
  const int increment = record->smooth ? 2 : 6;
  const DWORD pause = record->smooth ? 10 : 40;
  for (;;) {
    // The window may be destroyed meanwhile: then there is nothing to move.
    DWORD_PTR moved = 0;
    if (!SendMessageTimeoutW(record->window, pane_ids::kSlideStep, static_cast<WPARAM>(step), record->generation,
                             SMTO_ABORTIFHUNG, 5000, &moved) ||
        !moved)
      break;
    step += increment;
    Sleep(pause);
  }
  if (IsWindow(record->window)) SetWindowTopmost(record->window, true);
  ResetEvent(record->slideEvent);
  return 0;
}

struct BlinkRecord {
  HWND window;
  HANDLE blinkEvent;
};

DWORD WINAPI BlinkThread(void* param) {
  std::unique_ptr<BlinkRecord> record(static_cast<BlinkRecord*>(param));
  for (int cycle = 0; cycle < 3; ++cycle) {
    LPARAM last = cycle == 2 ? 1 : 0;
    if (!IsWindow(record->window)) break;
    SendMessageW(record->window, pane_ids::kBlinkStep, 1, last);
    Sleep(100);
    if (!IsWindow(record->window)) break;
    SendMessageW(record->window, pane_ids::kBlinkStep, 0, last);
    Sleep(100);
  }
  SetEvent(record->blinkEvent);
  return 0;
}

}  // namespace

void FitPaneRectOnScreen(PaneRect& rect, int screenWidth, int screenHeight) {
  std::int64_t left = rect.left;
  std::int64_t top = rect.top;
  if (left + rect.width > screenWidth) left = static_cast<std::int64_t>(screenWidth) - rect.width;
  if (top + rect.height > screenHeight) top = static_cast<std::int64_t>(screenHeight) - rect.height;
  if (left < 0 || top < 0) return;
  rect.left = static_cast<int>(left);
  rect.top = static_cast<int>(top);
}

POINT ReachablePanePosition(POINT saved, const RECT& screen, int width, int height) {
  auto clamp = [](std::int64_t v, std::int64_t lo, std::int64_t hi) {
    if (hi < lo) hi = lo;
    return static_cast<LONG>(std::min(std::max(v, lo), hi));
  };
  POINT pt;
  pt.x = clamp(saved.x, screen.left, static_cast<std::int64_t>(screen.right) - width);
  pt.y = clamp(saved.y, screen.top, static_cast<std::int64_t>(screen.bottom) - height);
  return pt;
}

CQLRFloatPane::CQLRFloatPane(CMenuToolTip* menuToolTips, CQLRDLLService* targetService)
    : m_menuToolTips(menuToolTips),
      m_targetService(targetService),
      m_slideEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_resizer(std::make_unique<CNoBorderResizer>(&m_hWnd)),
      m_hover(std::make_unique<CListViewHover>()),
      m_blinkEvent(CreateEventW(nullptr, FALSE, TRUE, nullptr)),
      m_toolbar(pane_ids::kItemCount) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  const int ids[2] = {206, 207};
  for (int i = 0; i < 2; ++i) {
    m_markerIcons[i] = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(ids[i]), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), 0));
  }
  m_htmlMarker = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(234), IMAGE_ICON, 10, 10, 0));
}

CQLRFloatPane::~CQLRFloatPane() {
  if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
  if (m_imageList) ImageList_Destroy(m_imageList);
  for (HICON icon : m_markerIcons) {
    if (icon) DestroyIcon(icon);
  }
  if (m_htmlMarker) DestroyIcon(m_htmlMarker);
  if (m_collapsedIcon) DestroyIcon(m_collapsedIcon);
  if (m_captionFont) DeleteObject(m_captionFont);
}

bool CQLRFloatPane::Create(CQLRWndClipboardHandler* source, bool activate, bool flash) {
  m_source = source;
  m_activate = activate ? 1 : 0;
  RECT screen = VirtualScreen();
  POINT saved = {GetSystemMetrics(SM_CXVIRTUALSCREEN) - pane_ids::kDefaultWidth,
                 pane_ids::kDefaultTop};
  CQLRSettings::ReadWindowPos(kPosKey, saved);
  POINT pos = ReachablePanePosition(saved, screen, pane_ids::kDefaultWidth, pane_ids::kDefaultHeight);
  RECT rect = {pos.x, pos.y, pos.x + pane_ids::kDefaultWidth, pos.y + pane_ids::kDefaultHeight};
  std::wstring title = std::wstring(kProductName) + kTitleSuffix;
  HWND hwnd = CWindowImpl::Create(nullptr, rect, title.c_str(), WS_POPUP | WS_CLIPCHILDREN,
                                  WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  m_collapsePlace.pending = false;
  if (hwnd) {
    // The place kept is the expanded pane's, whose right edge the caption
    // bar keeps: a bar left near the screen's left edge stands for a pane
    // partly off the screen. The pane opens on the screen, but when it
    // slides to its caption from there, the bar goes back exactly where it
    // was, as long as it can be reached there.
    const int bar = CollapsedWidth();
    RECT wider = screen;
    if (bar > 0 && bar < pane_ids::kDefaultWidth) wider.left -= pane_ids::kDefaultWidth - bar;
    POINT exact = ReachablePanePosition(saved, wider, pane_ids::kDefaultWidth, pane_ids::kDefaultHeight);
    if (saved.x >= wider.left && exact.x != pos.x) m_collapsePlace = {true, pos, exact.x};
  }
  if (hwnd && flash) Flash();
  return hwnd != nullptr;
}

LRESULT CQLRFloatPane::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(module, MAKEINTRESOURCEW(128));
  SendMessageW(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  SendMessageW(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  if (!m_toolbar.CreateIn(m_hWnd)) return -1;
  RECT client = {};
  GetClientRect(&client);
  ::SetWindowPos(m_toolbar, nullptr, 0, 0, client.right, pane_ids::kToolbarHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  RECT bar = {};
  ::GetWindowRect(m_toolbar, &bar);
  int top = bar.bottom - bar.top;
  m_list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                               LVS_SHAREIMAGELISTS | LVS_OWNERDATA | LVS_NOCOLUMNHEADER,
                           2, top, std::max(0, static_cast<int>(client.right) - 4),
                           std::max(0, static_cast<int>(client.bottom) - top - 2), m_hWnd,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(pane_ids::kListId)),
                           module, nullptr);
  if (!m_list) return -1;
  m_listCtrl.SubclassWindow(m_list);
  SetupList();
  UINT mask = static_cast<UINT>(::SendMessageW(m_list, LVM_GETCALLBACKMASK, 0, 0));
  ::SendMessageW(m_list, LVM_SETCALLBACKMASK, mask & ~LVIS_SELECTED, 0);
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE);
  // The translucent look only: the posted Minimize To Caption below collapses
  // the pane once it is shown, and collapsing here first would make that
  // toggle open it again.
  if (!m_activate) ApplyActivation(false, false);
  ::SetFocus(m_list);
  if (CAppModule* app = CAppModule::Current()) {
    if (CMessageLoop* loop = app->GetMessageLoop()) loop->AddIdleHandler(this);
  }
  m_resizer->Attach(1);
  ModifyStyle(WS_CAPTION, 0, SWP_FRAMECHANGED);
  PostMessageW(WM_NCPAINT, 1, 0);
  UpdateToolbarButtons();
  // Shown without taking the focus when the pane was asked to stay inactive.
  ShowWindow(m_activate ? SW_SHOW : SW_SHOWNA);
  m_toolbarTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, 0, 0, 0, 0,
                                 m_hWnd, nullptr, module, nullptr);
  if (m_toolbarTip) {
    ::SendMessageW(m_toolbarTip, TTM_ACTIVATE, TRUE, 0);
    std::wstring text = GetProgramVersionTextShort() + L" - " + PaneString(142);
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_toolbar.m_hWnd);
    tool.lpszText = &text[0];
    ::SendMessageW(m_toolbarTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  PostMessageW(WM_COMMAND, pane_ids::kMinimizeToCaption, 0);
  AddObserver(this);
  AddAppEventListener(this);
  return 0;
}

LRESULT CQLRFloatPane::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  RemoveObserver(this);
  RemoveAppEventListener(this);
  if (CAppModule* app = CAppModule::Current()) {
    if (CMessageLoop* loop = app->GetMessageLoop()) loop->RemoveIdleHandler(this);
  }
  m_hover->Detach();
  KillTimer(pane_ids::kHoverEndTimer);
  for (UINT_PTR timer : {pane_ids::kCopyTimer, pane_ids::kPasteTimer, pane_ids::kReselectTimer}) KillTimer(timer);
  m_source = nullptr;
  m_list = nullptr;
  m_toolbarTip = nullptr;
  m_quickTip = nullptr;
  m_captions.clear();
  handled = FALSE;
  return 0;
}

int CQLRFloatPane::CaptionHeight() const {
  RECT bar = {};
  if (m_toolbar.m_hWnd) ::GetWindowRect(m_toolbar, &bar);
  int height = bar.bottom - bar.top;
  if (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_THICKFRAME) height += 5 * GetSystemMetrics(SM_CYBORDER);
  return height;
}

LRESULT CQLRFloatPane::OnSize(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  if (wParam == SIZE_MINIMIZED) return 0;
  int width = LOWORD(lParam);
  int height = HIWORD(lParam);
  // A user-resized bar taller than the caption counts as expanded; sizes
  // made by a show-mode change itself do not.
  if (!m_changingMode && height > CaptionHeight()) m_showMode = 0;
  if (m_toolbar.m_hWnd)
    ::SetWindowPos(m_toolbar, nullptr, 0, 0, width, pane_ids::kToolbarHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  if (m_list) {
    RECT bar = {};
    ::GetWindowRect(m_toolbar, &bar);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&bar), 2);
    ::SetWindowPos(m_list, nullptr, 2, bar.bottom, std::max(0, width - 4),
                   std::max(0, height - static_cast<int>(bar.bottom) - 2),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    FitListColumn();
  }
  return 0;
}

void CQLRFloatPane::ApplyActivation(bool active, bool collapse) {
  if (active) {
    RemoveLayeredStyle(m_hWnd);
    if (m_list) ::SetFocus(m_list);
    return;
  }
  SetLayeredStyle(m_hWnd);
  m_layered.SetLayeredWindowAttributes(m_hWnd, 0, pane_ids::kInactiveAlpha, LWA_ALPHA);
  if (CoversWorkArea()) MoveToSaved();
  if (collapse && !m_fixed && m_showMode == 0) SetShowMode(1, false);
}

LRESULT CQLRFloatPane::OnActivate(UINT, WPARAM wParam, LPARAM, BOOL&) {
  ApplyActivation(LOWORD(wParam) != WA_INACTIVE, true);
  return 0;
}

LRESULT CQLRFloatPane::OnWindowPosChanging(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
  if (m_showMode == 1 && !(pos->flags & SWP_NOSIZE)) pos->cy = CaptionHeight();
  handled = FALSE;
  return 0;
}

LRESULT CQLRFloatPane::OnWindowPosChanged(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  if (IsIconic() || !IsWindowVisible() || CoversWorkArea()) return result;
  RECT rect = {};
  GetWindowRect(&rect);
  int left = rect.left;
  int top = rect.top;
  if (m_showMode == 1) {
    // The collapsed bar keeps the expanded pane's right edge: the place to
    // remember is the expanded one, so the pane does not drift at each start.
    if (!IsSliding()) {
      m_saved.left = rect.right - m_saved.width;
      m_saved.top = rect.top;
    }
    left = m_saved.left;
    top = m_saved.top;
  }
  CQLRSettings::WriteWindowPos(kPosKey, left, top);
  return result;
}

bool CQLRFloatPane::IsSliding() const {
  return WaitForSingleObject(m_slideEvent.Get(), 0) == WAIT_OBJECT_0;
}

bool CQLRFloatPane::IsBlinking() const {
  // The question must not consume the auto-reset event.
  if (WaitForSingleObject(m_blinkEvent.Get(), 0) != WAIT_OBJECT_0) return true;
  SetEvent(m_blinkEvent.Get());
  return false;
}

bool CQLRFloatPane::CoversWorkArea() const {
  RECT rect = {};
  RECT work = WorkArea();
  return m_hWnd && ::GetWindowRect(m_hWnd, &rect) && EqualRect(&rect, &work);
}

void CQLRFloatPane::MoveToSaved() {
  ::SetWindowPos(m_hWnd, nullptr, m_saved.left, m_saved.top, m_saved.width, m_saved.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQLRFloatPane::SetShowMode(int mode, bool smooth) {
  if (mode == m_showMode || !m_hWnd) return;
  m_showMode = mode;
  ++m_slideGeneration;  // a slide still running ends at its next step
  m_changingMode = true;
  if (mode == 1) {
    // The style alone: a frame change now would size the pane as expanded.
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) | WS_BORDER);
    RECT rect = {};
    GetWindowRect(&rect);
    m_saved = {rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top};
    // Still where it opened: the place the user left it is taken back.
    UINT move = SWP_NOMOVE;
    if (m_collapsePlace.pending && rect.left == m_collapsePlace.opened.x && rect.top == m_collapsePlace.opened.y) {
      m_saved.left = m_collapsePlace.left;
      move = 0;
    }
    m_collapsePlace.pending = false;
    ::SetWindowPos(m_hWnd, nullptr, m_saved.left, m_saved.top, rect.right - rect.left, CaptionHeight(),
                   move | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_resizer->Detach();
    if (IsWindowVisible()) StartCaptionSlide(smooth);
  } else {
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER));
    FitPaneRectOnScreen(m_saved, GetSystemMetrics(SM_CXVIRTUALSCREEN),
                        GetSystemMetrics(SM_CYVIRTUALSCREEN));
    ::SetWindowPos(m_hWnd, nullptr, m_saved.left, m_saved.top, m_saved.width, m_saved.height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_saved.width = 0;
    m_saved.height = 0;
    m_resizer->Attach(1);
  }
  m_changingMode = false;
  UpdateToolbarButtons();
  m_toolbar.SetCollapsedLook(mode == 1);
}

int CQLRFloatPane::CollapsedWidth() const {
  RECT window = {};
  RECT button = {};
  if (!m_hWnd || !::GetWindowRect(m_hWnd, &window)) return 0;
  if (!m_toolbar.GetButtonScreenRect(pane_ids::kMinimizeToCaption, button)) return 0;
  return window.right - button.right + 5;
}

void CQLRFloatPane::StartCaptionSlide(bool smooth) {
  const int width = CollapsedWidth();
  if (width <= 0) return;
  m_slideTargetWidth = width;
  auto* record = new SlideRecord{m_hWnd, smooth, m_slideEvent.Get(), m_slideGeneration};
  // Signalled before the thread runs, so a move made meanwhile is seen as
  // part of the slide.
  SetEvent(m_slideEvent.Get());
  HANDLE thread = CreateThread(nullptr, 0, SlideThread, record, 0, nullptr);
  if (thread) {
    CloseHandle(thread);
  } else {
    ResetEvent(m_slideEvent.Get());
    delete record;
  }
}

void CQLRFloatPane::ShowCollapsed() {
  SetShowMode(1, false);
  ShowWindow(SW_SHOWNA);
}

void CQLRFloatPane::SetFixed(bool fixed) {
  m_fixed = fixed ? 1 : 0;
  m_toolbar.SetFixedLook(fixed);
}

void CQLRFloatPane::Flash() {
  if (!m_hWnd || !IsWindow()) return;
  if (WaitForSingleObject(m_blinkEvent.Get(), 0) != WAIT_OBJECT_0) return;
  auto* record = new BlinkRecord{m_hWnd, m_blinkEvent.Get()};
  HANDLE thread = CreateThread(nullptr, 0, BlinkThread, record, 0, nullptr);
  if (thread) {
    CloseHandle(thread);
  } else {
    delete record;
    SetEvent(m_blinkEvent.Get());
  }
}

LRESULT CQLRFloatPane::OnSlideStep(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  if (m_showMode != 1 || lParam != m_slideGeneration) return 0;
  RECT rect = {};
  GetWindowRect(&rect);
  const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  if (rect.right > screenWidth) OffsetRect(&rect, screenWidth - rect.right, 0);
  const int step = static_cast<int>(wParam);
  const int width = rect.right - rect.left - step;
  if (step <= 0 || width <= m_slideTargetWidth) return 0;
  return ::SetWindowPos(m_hWnd, nullptr, rect.left + step, rect.top, width, rect.bottom - rect.top,
                        SWP_NOZORDER | SWP_NOACTIVATE)
             ? 1
             : 0;
}

LRESULT CQLRFloatPane::OnBlinkStep(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  m_toolbar.SetAlert(lParam == 0);
  const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  if (wParam == 1) {
    if (m_showMode == 1) ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, flags);
  } else {
    SetWindowTopmost(m_hWnd, true);
  }
  return 0;
}

LRESULT CQLRFloatPane::OnItemCount(UINT, WPARAM, LPARAM, BOOL&) {
  return m_list ? ::SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0) : 0;
}

LRESULT CQLRFloatPane::OnSetShowModeMessage(UINT, WPARAM wParam, LPARAM, BOOL&) {
  // Any process may send this: only the two modes are taken.
  if (wParam != 0 && wParam != 1) return 0;
  SetShowMode(static_cast<int>(wParam), false);
  return 1;
}

void CQLRFloatPane::CollapseOnEscape() {
  HWND focus = ::GetFocus();
  if (m_showMode == 0 && focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus)))
    SetShowMode(1, true);
}

LRESULT CQLRFloatPane::OnKeyUp(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != VK_ESCAPE) {
    handled = FALSE;
    return 0;
  }
  CollapseOnEscape();
  return 0;
}

LRESULT CQLRFloatPane::OnNcLButtonDblClk(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != HTCAPTION) {
    handled = FALSE;
    return 0;
  }
  if (m_showMode == 1) {
    SetShowMode(0, false);
  } else if (!CoversWorkArea()) {
    RECT rect = {};
    GetWindowRect(&rect);
    m_saved = {rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top};
    RECT work = WorkArea();
    ::SetWindowPos(m_hWnd, nullptr, work.left, work.top, work.right - work.left,
                   work.bottom - work.top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    MoveToSaved();
  }
  return 0;
}

LRESULT CQLRFloatPane::OnNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  RECT close = {};
  POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (m_toolbar.GetButtonScreenRect(pane_ids::kClose, close) && PtInRect(&close, pt))
    return HTCLOSE;
  return DefWindowProc(msg, wParam, lParam);
}

void CQLRFloatPane::OnToolbarHover() {
  if (GetKeyState(VK_LBUTTON) & 0x8000) return;
  if (m_showMode != 1 || !CursorInWindow(m_hWnd)) return;
  SetShowMode(0, false);
  if (m_list) {
    HWND tips = reinterpret_cast<HWND>(::SendMessageW(m_list, LVM_GETTOOLTIPS, 0, 0));
    if (tips) ::SendMessageW(tips, TTM_POP, 0, 0);
  }
  if (m_toolbarTip) ::SendMessageW(m_toolbarTip, TTM_POP, 0, 0);
  SetTimer(pane_ids::kHoverEndTimer, pane_ids::kHoverEndTimerMs);
}

LRESULT CQLRFloatPane::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  // The pane's children notify from this thread; an address sent by another
  // thread or process is never read.
  if (InSendMessageEx(nullptr) & ISMEX_SEND) {
    handled = FALSE;
    return 0;
  }
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header && header->hwndFrom == m_toolbar.m_hWnd && header->code == 0) {
    OnToolbarHover();
    return 0;
  }
  if (header && header->hwndFrom == m_toolbar.m_hWnd && header->code == NM_RCLICK &&
      reinterpret_cast<NMMOUSE*>(header)->dwItemSpec == static_cast<DWORD_PTR>(-1)) {
    // A right click (or Ctrl + click) on the caption outside its buttons,
    // at the point of the click.
    const DWORD at = GetMessagePos();
    POINT pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    ShowCaptionMenu(pt);
    return 1;
  }
  if (header && header->hwndFrom == m_toolbar.m_hWnd) {
    switch (header->code) {
      case NM_CUSTOMDRAW:
        return OnCaptionCustomDraw(reinterpret_cast<NMTBCUSTOMDRAW*>(header));
      case TBN_GETINFOTIPW:
        OnButtonTip(reinterpret_cast<NMTBGETINFOTIPW*>(header));
        return 0;
      case TBN_DROPDOWN:
        return OnToolbarDropDown(reinterpret_cast<NMTOOLBARW*>(header));
      default:
        break;
    }
  }
  LRESULT result = 0;
  if (header && m_list && header->hwndFrom == m_list && OnListNotify(header, &result)) return result;
  handled = FALSE;
  return 0;
}

LRESULT CQLRFloatPane::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  switch (wParam) {
    case pane_ids::kCopyTimer:
      OnCopyTimer();
      return 0;
    case pane_ids::kPasteTimer:
      OnPasteTimer();
      return 0;
    case pane_ids::kReselectTimer:
      OnReselectTimer();
      return 0;
    default:
      break;
  }
  if (wParam != pane_ids::kHoverEndTimer) {
    handled = FALSE;
    return 0;
  }
  // A pane the user fixed meanwhile stays open.
  if (m_fixed || m_showMode != 0) {
    KillTimer(pane_ids::kHoverEndTimer);
  } else if (!CursorInWindow(m_hWnd)) {
    SetShowMode(1, false);
    KillTimer(pane_ids::kHoverEndTimer);
  }
  return 0;
}

LRESULT CQLRFloatPane::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  const bool fromToolbar = m_toolbar.m_hWnd && reinterpret_cast<HWND>(lParam) == m_toolbar.m_hWnd;
  if (!RunPaneCommand(LOWORD(wParam), fromToolbar)) handled = FALSE;
  return 0;
}

void CQLRFloatPane::UpdateToolbarButtons() {
  if (!m_toolbar.m_hWnd) return;
  bool recording = m_source && ::IsWindow(m_source->GetHwnd());
  m_toolbar.SetKeepState(recording);
  m_toolbar.EnableButton(pane_ids::kKeep, m_source != nullptr);
  m_toolbar.EnableButton(pane_ids::kCopy, m_list != nullptr);
}

BOOL CQLRFloatPane::OnIdle() {
  UpdateToolbarButtons();
  return FALSE;
}

void CQLRFloatPane::OnObserverNotify(int code, int) {
  if (code == 0) UpdateToolbarButtons();
}

void CQLRFloatPane::OnAppEvent(int code, int param) {
  if (!m_hWnd) return;
  if (code == 0) {
    if (m_list) ::InvalidateRect(m_list, nullptr, TRUE);
    ::InvalidateRect(m_toolbar, nullptr, TRUE);
  } else if (code == 1 && (param == 1 || param == 5 || param == 8)) {
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}
