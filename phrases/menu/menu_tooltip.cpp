#include "phrases/menu/menu_tooltip.h"

#include <commctrl.h>

#include "foundation/localization/localized_strings.h"
#include "foundation/logging/log.h"
#include "foundation/text/text_basics.h"

namespace {

// Posted by a delay thread to the tip window: show the tip of item
// (wParam) of menu (lParam) when it is still the current item. Posting
// keeps the delay threads from ever blocking on the menu's thread.
constexpr UINT kMsgShowDelayed = WM_APP + 0x3A1;
const wchar_t kTipClass[] = L"MenuToolTip";

WNDPROC g_systemTipProc = nullptr;
ATOM g_tipClass = 0;
CMenuToolTip* g_current = nullptr;

struct DelayBlock {
  CMenuToolTip* tip;
  UINT item;
  HMENU menu;
  HWND window;
  HANDLE cancel;
};

// The per-thread hooks that forward menu messages of windows below the
// owner to the owner. Under Wine every message sent on a thread with a
// call-window hook costs a trip to the server, so that hook is in place
// only while a menu loop runs: a message filter hook, which costs nothing
// outside modal loops, puts it in at the loop's first message (before the
// message that makes the first selection is handled) and it takes itself
// away when the loop ends.
struct HookState {
  HHOOK filter = nullptr;    // armed: waits for a menu loop
  HHOOK callWnd = nullptr;   // in place while a menu loop runs
  HWND owner = nullptr;
  CMenuToolTip* tip = nullptr;
};
thread_local HookState t_hook;
thread_local int t_pauses = 0;

void RemoveCallWndHook() {
  if (t_hook.callWnd) UnhookWindowsHookEx(t_hook.callWnd);
  t_hook.callWnd = nullptr;
}

LRESULT CALLBACK CallWndHook(int code, WPARAM wParam, LPARAM lParam) {
  HookState& s = t_hook;
  HHOOK self = s.callWnd;
  if (code == HC_ACTION && lParam && s.owner) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    bool below = call->hwnd != s.owner && IsChild(s.owner, call->hwnd);
    bool menuMessage = call->message == WM_MENUSELECT ||
                       (call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU);
    if (menuMessage && below) {
      LRESULT result = CallNextHookEx(self, code, wParam, lParam);
      SendMessageW(s.owner, call->message, call->wParam, call->lParam);
      return result;
    }
    if (call->message == WM_EXITMENULOOP) {
      // The loop's last message (after the closing WM_MENUSELECT): one menu
      // loop runs on a thread at a time, so nothing more is to be forwarded.
      if (s.tip) s.tip->HideTip();
      LRESULT result = CallNextHookEx(self, code, wParam, lParam);
      RemoveCallWndHook();
      return result;
    }
  }
  return CallNextHookEx(self, code, wParam, lParam);
}

// Menu loops call it with MSGF_MENU for each message they take, before
// handling it; dialog and scroll loops with other codes.
LRESULT CALLBACK MenuLoopFilter(int code, WPARAM wParam, LPARAM lParam) {
  HookState& s = t_hook;
  if (code == MSGF_MENU && !s.callWnd && s.tip) {
    s.callWnd = SetWindowsHookExW(WH_CALLWNDPROC, CallWndHook, nullptr, GetCurrentThreadId());
    if (!s.callWnd)
      LogError(L"SetWindowsHookEx WH_CALLWNDPROC error=" + IntToStr(static_cast<int>(GetLastError())));
  }
  return CallNextHookEx(s.filter, code, wParam, lParam);
}

void ArmMenuLoopFilter() {
  if (t_hook.filter) return;
  t_hook.filter = SetWindowsHookExW(WH_MSGFILTER, MenuLoopFilter, nullptr, GetCurrentThreadId());
  if (!t_hook.filter) LogError(L"SetWindowsHookEx WH_MSGFILTER error=" + IntToStr(static_cast<int>(GetLastError())));
}

void DisarmMenuLoopFilter() {
  RemoveCallWndHook();
  if (t_hook.filter) UnhookWindowsHookEx(t_hook.filter);
  t_hook.filter = nullptr;
}

TOOLINFOW MakeToolInfo(HWND owner) {
  TOOLINFOW info = {};
  info.cbSize = sizeof(info);
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(owner);
  return info;
}

// A copy of the system tooltip class with our own procedure, once per
// process; null when it cannot be made (the system class is used then).
const wchar_t* TipClass(HINSTANCE instance, WNDPROC proc) {
  if (g_tipClass) return kTipClass;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(nullptr, TOOLTIPS_CLASSW, &wc)) return nullptr;
  g_systemTipProc = wc.lpfnWndProc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.lpszClassName = kTipClass;
  wc.style &= ~CS_GLOBALCLASS;
  g_tipClass = RegisterClassExW(&wc);
  if (!g_tipClass) LogError(L"RegisterClassEx MenuToolTip error=" + IntToStr(static_cast<int>(GetLastError())));
  return g_tipClass ? kTipClass : nullptr;
}

}  // namespace

UINT GetMenuTipQueryMessage() {
  static UINT message = RegisterWindowMessageW(L"9176C785-52C0-432a-AB51-C8439932297C");
  return message;
}

CMenuTipHookPause::CMenuTipHookPause() {
  ++t_pauses;
  DisarmMenuLoopFilter();
}

CMenuTipHookPause::~CMenuTipHookPause() {
  // A tip destroyed meanwhile took its hook state with it.
  if (--t_pauses == 0 && t_hook.tip) ArmMenuLoopFilter();
}

bool IsMenuTipHookInstalled() { return t_hook.callWnd != nullptr; }
bool IsMenuTipHookArmed() { return t_hook.filter != nullptr; }

CMenuToolTip* GetCurrentMenuToolTip() { return g_current; }
void SetCurrentMenuToolTip(CMenuToolTip* tip) { g_current = tip; }

CMenuToolTip::CMenuToolTip()
    : m_cancel(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_defaultText(L"No Text associated"),
      m_screenWidth(GetSystemMetrics(SM_CXSCREEN)),
      m_screenHeight(GetSystemMetrics(SM_CYSCREEN)) {}

CMenuToolTip::~CMenuToolTip() {
  if (g_current == this) g_current = nullptr;
  if (m_cancel) SetEvent(m_cancel);
  WaitForDelayThreads();
  DestroyTip();
  if (m_cancel) CloseHandle(m_cancel);
}

void CMenuToolTip::WaitForDelayThreads() {
  // The delay threads only wait and post; the cancel event ends their wait
  // at once. Sent messages are still served meanwhile, so nothing that
  // sends to this thread can hold the wait up.
  DWORD start = GetTickCount();
  while (m_pending > 0 && GetTickCount() - start < 10000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

LRESULT CALLBACK CMenuToolTip::TipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CMenuToolTip* self = reinterpret_cast<CMenuToolTip*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == kMsgShowDelayed) {
    if (self && static_cast<UINT>(self->m_currentItem) == static_cast<UINT>(wParam)) {
      HMENU menu = reinterpret_cast<HMENU>(lParam);
      if (IsMenu(menu))
        self->ShowFor(menu, static_cast<UINT>(wParam));
      else
        self->Deactivate();
    }
    return 0;
  }
  if (self && self->HideOnMouse() && (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN)) {
    LRESULT result = CallWindowProcW(g_systemTipProc, hwnd, msg, wParam, lParam);
    SendMessageW(hwnd, TTM_POP, 0, 0);
    ShowWindow(hwnd, SW_HIDE);
    return result;
  }
  LRESULT result = CallWindowProcW(g_systemTipProc, hwnd, msg, wParam, lParam);
  // The pointer over the tip: it gives way.
  if (msg == WM_NCHITTEST && result == HTCLIENT) PostMessageW(hwnd, TTM_POP, 0, 0);
  return result;
}

bool CMenuToolTip::Create(HWND owner, const wchar_t* text, HINSTANCE instance, DWORD style, const wchar_t* title) {
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_BAR_CLASSES};
  if (!InitCommonControlsEx(&init)) return false;
  DestroyTip();
  m_owner = owner;
  m_instance = instance ? instance : GetModuleHandleW(nullptr);
  const wchar_t* cls = TipClass(m_instance, TipProc);
  m_tip = CreateWindowExW(0, cls ? cls : TOOLTIPS_CLASSW, L"", style | WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, m_instance, nullptr);
  if (!m_tip) {
    LogError(L"CMenuToolTip::Create CreateWindowEx error=" + IntToStr(static_cast<int>(GetLastError())));
    return false;
  }
  SetWindowLongPtrW(m_tip, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (!cls) {
    // A window of the system class gets our procedure by subclassing, so
    // that delayed tips and the hide-on-mouse rule work on it too.
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TipProc)));
    if (!g_systemTipProc) g_systemTipProc = previous;
  }
  if (text != LPSTR_TEXTCALLBACKW) m_defaultText = text && *text ? text : L"No Text associated";
  TOOLINFOW info = MakeToolInfo(owner);
  info.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
  info.hinst = m_instance;
  info.lpszText = const_cast<wchar_t*>(m_defaultText.c_str());
  SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(m_tip, TTM_SETMAXTIPWIDTH, 0, 300);
  if (title && *title) SendMessageW(m_tip, TTM_SETTITLEW, TTI_INFO, reinterpret_cast<LPARAM>(title));
  if (m_hookWanted && !t_hook.tip) {
    t_hook.owner = owner;
    t_hook.tip = this;
    if (t_pauses == 0) ArmMenuLoopFilter();
  }
  return true;
}

void CMenuToolTip::DestroyTip() {
  if (t_hook.tip == this) {
    DisarmMenuLoopFilter();
    t_hook = HookState();
  }
  if (!m_tip) return;
  SetWindowLongPtrW(m_tip, GWLP_USERDATA, 0);
  SendMessageW(m_tip, TTM_POP, 0, 0);
  ShowWindow(m_tip, SW_HIDE);
  DestroyWindow(m_tip);
  m_tip = nullptr;
  m_active = false;
}

bool CMenuToolTip::IsSysCommandId(UINT id) {
  switch (id) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_CLOSE:
    case SC_RESTORE:
      return true;
    default:
      return false;
  }
}

void CMenuToolTip::SetTipTitle(const std::wstring& title, UINT id, HICON icon) {
  if (!m_tip) return;
  if (!icon) icon = GetItemIcon(id);
  SendMessageW(m_tip, TTM_SETTITLEW, reinterpret_cast<WPARAM>(icon), reinterpret_cast<LPARAM>(title.c_str()));
  m_hasTitle = !title.empty();
}

void CMenuToolTip::Activate(bool on) {
  if (on && IsDisabled()) return;
  if (!m_tip) return;
  TOOLINFOW info = MakeToolInfo(m_owner);
  SendMessageW(m_tip, TTM_TRACKACTIVATE, on ? TRUE : FALSE, reinterpret_cast<LPARAM>(&info));
  m_active = on;
}

void CMenuToolTip::HideTip() {
  if (!m_tip) return;
  SendMessageW(m_tip, TTM_POP, 0, 0);
  ShowWindow(m_tip, SW_HIDE);
}

void CMenuToolTip::Deactivate() {
  if (!m_tip) return;
  RECT r;
  GetWindowRect(m_tip, &r);
  SendMessageW(m_tip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
  Activate(false);
}

bool CMenuToolTip::GetItemText(std::wstring&, UINT, HMENU, std::wstring&) { return false; }

void CMenuToolTip::HandleMenuSelect(UINT, WPARAM wParam, LPARAM lParam) {
  UINT item = LOWORD(wParam);
  UINT flags = HIWORD(wParam);
  HMENU menu = reinterpret_cast<HMENU>(lParam);
  bool closing = flags == 0xFFFF && !menu;
  bool eligible = !(flags & MF_SEPARATOR) && !(flags & MF_POPUP) && !closing && !IsSysCommandId(item);
  if (item == 0 || !eligible) {
    InterlockedExchange(&m_currentItem, 0);
    Activate(false);
    return;
  }
  if (IsDisabled()) return;
  if (menu) {
    wchar_t text[1025] = {};
    GetMenuStringW(menu, item, text, 1024, MF_BYCOMMAND);
    std::wstring title = text;
    ReplaceText(title, L"&", L"");
    size_t tab = title.find(L'\t');
    if (tab != std::wstring::npos && tab > 0) title = title.substr(0, tab) + L"\t[" + title.substr(tab + 1) + L"]";
    if (!title.empty()) SetTipTitle(title, item);
  }
  if (ShowAtOnce(item)) {
    InterlockedExchange(&m_currentItem, static_cast<LONG>(item));
    ShowFor(menu, item);
    return;
  }
  Activate(false);
  InterlockedExchange(&m_currentItem, static_cast<LONG>(item));
  if (!m_tip) return;
  DelayBlock* block = new DelayBlock{this, item, menu, m_tip, m_cancel};
  HANDLE thread = CreateThread(nullptr, 0, DelayThread, block, CREATE_SUSPENDED, nullptr);
  if (!thread) {
    delete block;
    return;
  }
  InterlockedIncrement(&m_pending);
  ResumeThread(thread);
  CloseHandle(thread);
}

DWORD WINAPI CMenuToolTip::DelayThread(void* param) {
  DelayBlock* block = static_cast<DelayBlock*>(param);
  CMenuToolTip* tip = block->tip;
  if (WaitForSingleObject(block->cancel, kMenuTipDelayMs) == WAIT_TIMEOUT &&
      static_cast<UINT>(InterlockedCompareExchange(&tip->m_currentItem, 0, 0)) == block->item)
    PostMessageW(block->window, kMsgShowDelayed, block->item, reinterpret_cast<LPARAM>(block->menu));
  delete block;
  InterlockedDecrement(&tip->m_pending);
  return 0;
}

void CMenuToolTip::HandleEnterIdle(UINT, WPARAM wParam, LPARAM lParam) {
  if (wParam != MSGF_MENU || !lParam) return;
  m_menuWindow = reinterpret_cast<HWND>(lParam);
  if (m_currentItem && m_menu && m_active) Place(m_menu, static_cast<UINT>(m_currentItem));
}

void CMenuToolTip::ShowFor(HMENU menu, UINT item) {
  if (!m_tip) return;
  std::wstring text, title;
  HICON icon = nullptr;
  bool answered = false;
  if (m_owner && item) {
    CMenuTipQuery query = {};
    query.id = item;
    answered = SendMessageW(m_owner, GetMenuTipQueryMessage(), 0, reinterpret_cast<LPARAM>(&query)) != 0;
    if (answered) {
      text = query.text;
      title = query.title;
      icon = query.icon;
    }
  }
  if (!answered) GetItemText(text, item, menu, title);
  TOOLINFOW info = MakeToolInfo(m_owner);
  info.hinst = m_instance;
  info.lpszText = const_cast<wchar_t*>(text.empty() ? m_defaultText.c_str() : text.c_str());
  SendMessageW(m_tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  if (!IsMenu(menu)) return;
  if (!title.empty()) SetTipTitle(title, item, icon);
  m_menu = menu;
  m_item = item;
  Place(menu, item);
  Activate(true);
}

void CMenuToolTip::Place(HMENU menu, UINT item) {
  int pos = FindMenuItemPosById(menu, item);
  RECT r;
  if (pos < 0 || !GetMenuItemRect(m_menuWindow, menu, static_cast<UINT>(pos), &r)) return;
  RECT tipRect = {};
  GetWindowRect(m_tip, &tipRect);
  int tipWidth = tipRect.right - tipRect.left;
  int tipHeight = tipRect.bottom - tipRect.top;
  bool balloon = (GetWindowLongW(m_tip, GWL_STYLE) & TTS_BALLOON) != 0;
  POINT p;
  p.y = balloon ? r.top + (r.bottom - r.top) / 2 : r.top + GetSystemMetrics(SM_CYBORDER);
  p.x = r.right < m_screenWidth * 2 / 3 ? r.right + GetSystemMetrics(SM_CXBORDER)
                                         : r.left - tipWidth - GetSystemMetrics(SM_CXBORDER);
  if (!balloon && p.y + tipHeight > m_screenHeight) p.y = r.bottom - tipHeight - GetSystemMetrics(SM_CYBORDER);
  AdjustTipPosition(p, menu, item);
  SendMessageW(m_tip, TTM_TRACKPOSITION, 0, MAKELPARAM(p.x, p.y));
  SetWindowPos(m_tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMenuToolTip::AdjustTipPosition(POINT&, HMENU, UINT) {}

bool CMenuToolTipDelegate::GetItemText(std::wstring& text, UINT id, HMENU, std::wstring&) {
  text = GetCommandToolTip(id);
  return !text.empty();
}

std::wstring GetCommandToolTip(UINT id) {
  CLngString text;
  text.LoadString(id);
  std::wstring result = text.Text();
  size_t lf = result.find(L'\n');
  if (lf != std::wstring::npos && lf > 0) result.resize(lf);
  return result;
}

bool InsertMenuStringItem(HMENU menu, const wchar_t* text, UINT id, UINT position) {
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING | MIIM_ID | MIIM_FTYPE;
  info.fType = MFT_STRING;
  info.wID = id;
  info.dwTypeData = const_cast<wchar_t*>(text);
  return InsertMenuItemW(menu, position, TRUE, &info) != FALSE;
}

int FindMenuItemPosById(HMENU menu, UINT id) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (GetMenuItemID(menu, i) == id) return i;
  return -1;
}

int FindMenuItemPosFromEnd(UINT id, HMENU menu) {
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i)
    if (GetMenuItemID(menu, i) == id) return i;
  return -1;
}
