#include "platform/mfc/window/wnd.h"

#include <exception>
#include <memory>
#include <string>
#include <unordered_map>

#include "foundation/logging/log.h"
#include "platform/mfc/app/win_thread.h"
#include "platform/mfc/window/class_names.h"
#include "platform/mfc/window/handle_map.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {

// Per-thread state of the window procedure.
struct WndThreadState {
  MSG current = {};              // the message being handled
  int depth = 0;                 // nesting of our window procedure
  const MSG* dispatched = nullptr;  // the queued message the loop dispatches
  int dispatchDepth = -1;        // depth at which that dispatch started
  // Creation through Create/CreateEx: the object waiting for its window.
  HHOOK cbtHook = nullptr;
  CWnd* creating = nullptr;
  int hookUsers = 0;
  std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
};

WndThreadState& State() {
  thread_local WndThreadState state;
  return state;
}

std::wstring Hex(UINT value) {
  wchar_t text[16];
  swprintf(text, 16, L"0x%04X", value);
  return text;
}

}  // namespace

void AfxBindCreatingWindow(CWnd* pWnd, HWND hWnd) {
  if (pWnd->BindAndSubclass(hWnd)) pWnd->ExpectCreationMessages();
}

bool CWnd::TakeCreationMessage(UINT message) {
  if (!m_bCreating) return false;
  if (message != WM_NCCREATE) m_bCreating = false;
  return true;
}

namespace {

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  WndThreadState& st = State();
  // The first window created after Create armed the hook is the object's;
  // it is bound before it receives WM_NCCREATE, whatever its class.
  if (code == HCBT_CREATEWND && st.creating) {
    CWnd* pWnd = st.creating;
    st.creating = nullptr;
    AfxBindCreatingWindow(pWnd, reinterpret_cast<HWND>(wParam));
  }
  return ::CallNextHookEx(st.cbtHook, code, wParam, lParam);
}

// Arms the hook for one creation; answers the object that waited before
// (a window created from inside another's creation nests).
CWnd* HookCreation(CWnd* pWnd) {
  WndThreadState& st = State();
  if (!st.cbtHook) {
    st.cbtHook = ::SetWindowsHookExW(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId());
    if (!st.cbtHook) LogError(L"SetWindowsHookExW(WH_CBT) failed " + std::to_wstring(::GetLastError()));
  }
  ++st.hookUsers;
  CWnd* before = st.creating;
  st.creating = pWnd;
  return before;
}

void UnhookCreation(CWnd* before) {
  WndThreadState& st = State();
  st.creating = before;
  if (--st.hookUsers == 0 && st.cbtHook) {
    ::UnhookWindowsHookEx(st.cbtHook);
    st.cbtHook = nullptr;
  }
}

}  // namespace

CWnd::~CWnd() {
  if (m_hWnd) {
    // An object that goes away before its window: the window lives on
    // without it and must not call into freed memory.
    HWND h = m_hWnd;
    if (AfxLookupPermanent(h) == this) {
      if (m_pfnSuper && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(h, GWLP_WNDPROC)) == AfxWndProc)
        ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
      AfxRemovePermanent(h, this);
    }
    m_hWnd = nullptr;
  }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return AfxLookupPermanent(hWnd); }

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (!hWnd) return nullptr;
  if (CWnd* p = AfxLookupPermanent(hWnd)) return p;
  auto& temp = State().temporary;
  auto it = temp.find(hWnd);
  if (it != temp.end()) return it->second.get();
  auto wrapper = std::make_unique<CWnd>();
  wrapper->m_hWnd = hWnd;
  CWnd* result = wrapper.get();
  temp.emplace(hWnd, std::move(wrapper));
  return result;
}

void CWnd::DeleteTempMap() {
  auto& temp = State().temporary;
  // A wrapper owns no window: clear the handle so its destructor leaves
  // the window alone.
  for (auto& entry : temp) entry.second->m_hWnd = nullptr;
  temp.clear();
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (!hWndNew || m_hWnd) return FALSE;
  if (!AfxAddPermanent(hWndNew, this)) {
    LogError(L"CWnd::Attach: the window already has an object");
    return FALSE;
  }
  m_hWnd = hWndNew;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (h) AfxRemovePermanent(h, this);
  m_hWnd = nullptr;
  return h;
}

bool CWnd::BindAndSubclass(HWND hWnd) {
  if (!Attach(hWnd)) return false;
  PreSubclassWindow();
  WNDPROC old = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
  // Our own procedure as "the one before" would call itself forever.
  m_pfnSuper = old != AfxWndProc ? old : ::DefWindowProcW;
  return true;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!hWnd || !::IsWindow(hWnd)) return FALSE;
  return BindAndSubclass(hWnd) ? TRUE : FALSE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  HWND control = pParent ? ::GetDlgItem(pParent->m_hWnd, nID) : nullptr;
  if (!control) {
    LogError(L"SubclassDlgItem: no control " + std::to_wstring(nID));
    return FALSE;
  }
  return SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow() {
  if (!m_hWnd) return nullptr;
  if (m_pfnSuper) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) {
    if (!AfxEnsureWndClass(kAfxWndClass)) return FALSE;
    cs.lpszClass = kAfxWndClass;
  }
  return TRUE;
}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  if (m_hWnd) {
    LogError(L"CWnd::CreateEx: the object already has a window");
    return FALSE;
  }
  CREATESTRUCT cs = {};
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = dwStyle;
  cs.x = x;
  cs.y = y;
  cs.cx = nWidth;
  cs.cy = nHeight;
  cs.hwndParent = hWndParent;
  cs.hMenu = nIDorHMenu;
  cs.hInstance = ::GetModuleHandleW(nullptr);
  cs.lpCreateParams = lpParam;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  CWnd* before = HookCreation(this);
  HWND h = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                             cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  DWORD error = ::GetLastError();
  UnhookCreation(before);
  if (!h) {
    // A window that failed in WM_CREATE was destroyed and has run
    // PostNcDestroy, which may have deleted this object: touch nothing.
    LogError(std::wstring(L"CreateWindowExW ") + (IS_INTRESOURCE(cs.lpszClass) ? L"#" : cs.lpszClass) +
             L" failed " + std::to_wstring(error));
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcW(m_pfnSuper ? m_pfnSuper : ::DefWindowProcW, m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& m = State().current;
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

void CWnd::OnNcDestroy() {
  // The end of the thread's main window ends the thread's loop.
  CWinThread* thread = AfxGetThread();
  if (thread && thread->m_pMainWnd == this) {
    ::PostQuitMessage(0);
    thread->m_pMainWnd = nullptr;
  }
  Default();
  // The procedure stays ours until the window is gone; later messages find
  // no object and get the default handling.
  Detach();
  m_pfnSuper = nullptr;
  PostNcDestroy();
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

const MSG* AfxGetCurrentMessage() { return &State().current; }

void AfxNoteDispatch(const MSG* pMsg) {
  WndThreadState& st = State();
  st.dispatched = pMsg;
  st.dispatchDepth = pMsg ? st.depth : -1;
}

bool AfxIsMessageFromOwnThread() {
  // Sent by another thread or process (the reply is still awaited, or
  // already given).
  if (::InSendMessageEx(nullptr) != ISMEX_NOSEND) return false;
  // A queued message straight from the loop was posted, possibly by any
  // process.
  const WndThreadState& st = State();
  if (st.dispatched && st.depth == st.dispatchDepth + 1) {
    const MSG& d = *st.dispatched;
    const MSG& c = st.current;
    if (d.hwnd == c.hwnd && d.message == c.message && d.wParam == c.wParam && d.lParam == c.lParam)
      return false;
  }
  return true;
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // A dialog's WM_INITDIALOG is taken where its dialog procedure gets it.
  if ((message == WM_NCCREATE || message == WM_CREATE) && !pWnd->TakeCreationMessage(message)) return 0;
  if (message == WM_INITDIALOG && !pWnd->m_bCreating) return 0;
  WndThreadState& st = State();
  const MSG saved = st.current;
  st.current = {hWnd, message, wParam, lParam, 0, {0, 0}};
  ++st.depth;
  WNDPROC super = pWnd->m_pfnSuper ? pWnd->m_pfnSuper : ::DefWindowProcW;
  LRESULT result = 0;
  // No exception may leave a window procedure: the system code between
  // here and the loop cannot unwind.
  const wchar_t* what = nullptr;
  std::string detail;
  try {
    result = pWnd->WindowProc(message, wParam, lParam);
  } catch (const std::exception& e) {
    what = L"exception";
    detail = e.what();
  } catch (...) {
    what = L"unknown exception";
  }
  if (what) {
    std::wstring text = std::wstring(L"window procedure: ") + what + L" in message " + Hex(message);
    if (!detail.empty()) text += L": " + std::wstring(detail.begin(), detail.end());
    LogError(text);
    // The object may be half torn down: unbind the handle only.
    if (message == WM_NCDESTROY && AfxLookupPermanent(hWnd) == pWnd) AfxRemovePermanent(hWnd, pWnd);
    result = ::CallWindowProcW(super, hWnd, message, wParam, lParam);
  }
  --st.depth;
  st.current = saved;
  return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = AfxLookupPermanent(hWnd);
  if (!pWnd) return ::DefWindowProcW(hWnd, message, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}
