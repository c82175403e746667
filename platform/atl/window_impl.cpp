#include "platform/atl/window_impl.h"

#include <cwchar>
#include <mutex>

#include "foundation/system/trusted_messages.h"
#include "platform/atl/app_module.h"

namespace {

constexpr DWORD kSubclassed = 0x1;
constexpr DWORD kDestroyed = 0x2;  // WM_NCDESTROY seen, final message pending
constexpr DWORD kDying = 0x4;      // the object is being destructed
// Bound for a creation whose WM_CREATE (a dialog's WM_INITDIALOG) has not
// come yet. The creation messages arrive once, from the creating call on
// this thread; any later one was sent by someone else, with a record whose
// parameters mean nothing here, and would set the object up a second time.
constexpr DWORD kCreating = 0x8;

bool IsCreationMessage(UINT m) { return m == WM_NCCREATE || m == WM_CREATE || m == WM_INITDIALOG; }

thread_local CWindowImplCore* t_creating = nullptr;

ATOM BindingAtom() {
  static ATOM atom = ::GlobalAddAtomW(L"QLR.WindowObjects");
  return atom;
}

}  // namespace

// The objects tied to one window, kept in a window property. Slot k is
// served by window procedure k; an object that left its place in the middle
// of a chain leaves a pass-through slot that calls the procedure it had
// replaced.
struct WindowBinding {
  static constexpr int kMaxSlots = 8;
  struct Slot {
    CWindowImplCore* obj;
    WNDPROC super;
    bool subclassed;
  };
  Slot slots[kMaxSlots] = {};
  int count = 0;

  static WindowBinding* Get(HWND hWnd) {
    return static_cast<WindowBinding*>(::GetPropW(hWnd, MAKEINTATOM(BindingAtom())));
  }
  static WindowBinding* GetOrCreate(HWND hWnd) {
    WindowBinding* b = Get(hWnd);
    if (b) return b;
    b = new WindowBinding;
    if (!::SetPropW(hWnd, MAKEINTATOM(BindingAtom()), b)) {
      delete b;
      return nullptr;
    }
    return b;
  }
  static void FreeIfEmpty(HWND hWnd) {
    WindowBinding* b = Get(hWnd);
    if (!b) return;
    for (int i = 0; i < b->count; ++i) {
      if (b->slots[i].obj) return;
    }
    ::RemovePropW(hWnd, MAKEINTATOM(BindingAtom()));
    delete b;
  }
};

class CWindowImplDispatch {
 public:
  static LRESULT Window(int k, HWND h, UINT m, WPARAM w, LPARAM l);
  static INT_PTR Dialog(HWND h, UINT m, WPARAM w, LPARAM l);
  static WindowBinding* BindCreating(HWND h, bool dialog);
  static void Leave(CWindowImplCore* obj, const MSG* old, HWND h);
  static void AfterNcDestroy(HWND h, int upTo);
  static void Finalize(CWindowImplCore* obj, HWND h);
};

namespace {

template <int K>
LRESULT CALLBACK WindowProcAt(HWND h, UINT m, WPARAM w, LPARAM l) {
  return CWindowImplDispatch::Window(K, h, m, w, l);
}

const WNDPROC kProcs[WindowBinding::kMaxSlots] = {
    WindowProcAt<0>, WindowProcAt<1>, WindowProcAt<2>, WindowProcAt<3>,
    WindowProcAt<4>, WindowProcAt<5>, WindowProcAt<6>, WindowProcAt<7>};

}  // namespace

WindowBinding* CWindowImplDispatch::BindCreating(HWND h, bool dialog) {
  CWindowImplCore* obj = t_creating;
  if (!obj || obj->m_isDialog != dialog) return nullptr;
  WindowBinding* b = WindowBinding::GetOrCreate(h);
  if (!b) return nullptr;
  t_creating = nullptr;
  obj->m_dwState |= kCreating;
  b->slots[0] = {obj, obj->m_pfnSuperWindowProc, false};
  b->count = 1;
  obj->m_slot = 0;
  *obj->m_phWnd = h;
  return b;
}

void CWindowImplDispatch::Finalize(CWindowImplCore* obj, HWND h) {
  bool dying = (obj->m_dwState & kDying) != 0;
  *obj->m_phWnd = nullptr;
  obj->m_slot = -1;
  obj->m_dwState &= ~(kDestroyed | kSubclassed);
  if (!dying) obj->OnFinalMessage(h);  // may delete the object
}

// Ends one message of an object; the final message waits until the
// outermost message of the object is done, so that a handler that destroys
// its own window never runs on a deleted object.
void CWindowImplDispatch::Leave(CWindowImplCore* obj, const MSG* old, HWND h) {
  obj->m_pCurrentMsg = old;
  if (old == nullptr && (obj->m_dwState & kDestroyed)) Finalize(obj, h);
}

void CWindowImplDispatch::AfterNcDestroy(HWND h, int upTo) {
  WindowBinding* b = WindowBinding::Get(h);
  if (!b) return;
  for (int i = 0; i <= upTo && i < b->count; ++i) {
    CWindowImplCore* obj = b->slots[i].obj;
    if (!obj) continue;
    b->slots[i].obj = nullptr;
    obj->m_dwState |= kDestroyed;
    if (obj->m_pCurrentMsg == nullptr) Finalize(obj, h);
  }
  WindowBinding::FreeIfEmpty(h);
}

LRESULT CWindowImplDispatch::Window(int k, HWND h, UINT m, WPARAM w, LPARAM l) {
  // Message maps read a notice's header: only this thread's own notices.
  if (m == WM_NOTIFY && !IsOwnNotification(l)) return ::DefWindowProcW(h, m, w, l);
  WindowBinding* b = WindowBinding::Get(h);
  if (!b && k == 0) b = BindCreating(h, false);
  if (!b || k >= b->count) return ::DefWindowProcW(h, m, w, l);
  if (IsCreationMessage(m) && !(b->slots[0].obj && (b->slots[0].obj->m_dwState & kCreating))) return 0;
  if (m == WM_CREATE) b->slots[0].obj->m_dwState &= ~kCreating;

  WindowBinding::Slot slot = b->slots[k];
  CWindowImplCore* obj = slot.obj;
  LRESULT result = 0;
  if (!obj || (obj->m_dwState & kDying)) {
    result = ::CallWindowProcW(slot.super, h, m, w, l);
  } else {
    MSG msg = {h, m, w, l, 0, {0, 0}};
    const MSG* old = obj->m_pCurrentMsg;
    obj->m_pCurrentMsg = &msg;
    if (!obj->ProcessWindowMessage(h, m, w, l, result, 0)) result = obj->DefWindowProc(m, w, l);
    if (m == WM_NCDESTROY) {
      obj->m_pCurrentMsg = old;
      AfterNcDestroy(h, k);
      return result;
    }
    Leave(obj, old, h);
    return result;
  }
  if (m == WM_NCDESTROY) AfterNcDestroy(h, k);
  return result;
}

INT_PTR CWindowImplDispatch::Dialog(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NOTIFY && !IsOwnNotification(l)) return FALSE;
  WindowBinding* b = WindowBinding::Get(h);
  if (!b) b = BindCreating(h, true);
  CWindowImplCore* obj = b && b->count > 0 ? b->slots[0].obj : nullptr;
  if (!obj || !obj->m_isDialog || (obj->m_dwState & kDying)) {
    if (m == WM_NCDESTROY) AfterNcDestroy(h, 0);
    return FALSE;
  }
  // A dialog procedure sees no WM_NCCREATE or WM_CREATE of its own.
  if (IsCreationMessage(m) && (m != WM_INITDIALOG || !(obj->m_dwState & kCreating))) return FALSE;
  if (m == WM_INITDIALOG) obj->m_dwState &= ~kCreating;
  MSG msg = {h, m, w, l, 0, {0, 0}};
  const MSG* old = obj->m_pCurrentMsg;
  obj->m_pCurrentMsg = &msg;
  LRESULT result = 0;
  INT_PTR ret = FALSE;
  if (obj->ProcessWindowMessage(h, m, w, l, result, 0)) {
    switch (m) {
      // These return their result directly instead of through DWLP_MSGRESULT.
      case WM_COMPAREITEM:
      case WM_VKEYTOITEM:
      case WM_CHARTOITEM:
      case WM_INITDIALOG:
      case WM_QUERYDRAGICON:
      case WM_CTLCOLORMSGBOX:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORDLG:
      case WM_CTLCOLORSCROLLBAR:
      case WM_CTLCOLORSTATIC:
        ret = static_cast<INT_PTR>(result);
        break;
      default:
        if (m != WM_NCDESTROY && ::IsWindow(h)) ::SetWindowLongPtrW(h, DWLP_MSGRESULT, result);
        ret = TRUE;
        break;
    }
  }
  if (m == WM_NCDESTROY) {
    obj->m_pCurrentMsg = old;
    AfterNcDestroy(h, 0);
    return ret;
  }
  Leave(obj, old, h);
  return ret;
}

INT_PTR CALLBACK QlrDialogProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  return CWindowImplDispatch::Dialog(h, m, w, l);
}

ATOM CWndClassInfo::Register(WNDPROC* superProc) {
  static std::mutex lock;
  std::lock_guard<std::mutex> guard(lock);
  if (m_atom == 0) {
    HINSTANCE inst = GetModuleInstanceHandle();
    const wchar_t* name = m_wc.lpszClassName;
    if (!name) {
      swprintf(m_szAutoName, sizeof(m_szAutoName) / sizeof(m_szAutoName[0]), L"QLR:%p",
               static_cast<void*>(this));
      name = m_szAutoName;
    }
    if (m_lpszOrigName) {
      WNDCLASSEXW orig = {};
      orig.cbSize = sizeof(orig);
      if (!::GetClassInfoExW(nullptr, m_lpszOrigName, &orig) &&
          !::GetClassInfoExW(inst, m_lpszOrigName, &orig)) {
        return 0;
      }
      pWndProc = orig.lpfnWndProc;
      m_wc = orig;
      m_wc.cbSize = sizeof(m_wc);
      m_wc.style &= ~CS_GLOBALCLASS;
    } else {
      pWndProc = ::DefWindowProcW;
      if (!m_wc.hCursor && m_lpszCursorID) {
        m_wc.hCursor = ::LoadCursorW(m_bSystemCursor ? nullptr : inst, m_lpszCursorID);
      }
    }
    m_wc.lpszClassName = name;
    m_wc.lpfnWndProc = kProcs[0];
    m_wc.hInstance = inst;
    m_atom = ::RegisterClassExW(&m_wc);
    if (!m_atom && ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
      WNDCLASSEXW existing = {};
      existing.cbSize = sizeof(existing);
      m_atom = static_cast<ATOM>(::GetClassInfoExW(inst, name, &existing));
    }
  }
  if (superProc) *superProc = pWndProc;
  return m_atom;
}

CWindowImplCore::~CWindowImplCore() {
  HWND h = *m_phWnd;
  if (!h || m_slot < 0 || !::IsWindow(h)) return;
  // The window must not outlive its object: a subclassed window gets its
  // procedure back, an own window is destroyed.
  m_dwState |= kDying;
  if (m_dwState & kSubclassed) {
    UnsubclassWindow(TRUE);
  } else {
    ::DestroyWindow(h);
  }
}

LRESULT CWindowImplCore::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (m_isDialog && m_slot == 0) return 0;  // the dialog manager does the default work
  HWND h = m_pCurrentMsg ? m_pCurrentMsg->hwnd : *m_phWnd;
  return ::CallWindowProcW(m_pfnSuperWindowProc, h, msg, wParam, lParam);
}

LRESULT CWindowImplCore::DefWindowProc() {
  if (!m_pCurrentMsg) return 0;
  return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

WNDPROC CWindowImplCore::GetWindowProc() { return kProcs[m_slot > 0 ? m_slot : 0]; }

void CWindowImplCore::OnFinalMessage(HWND) {}

CWindowImplCore* CWindowImplCore::FromHandle(HWND hWnd) {
  WindowBinding* b = hWnd ? WindowBinding::Get(hWnd) : nullptr;
  if (!b) return nullptr;
  for (int i = b->count - 1; i >= 0; --i) {
    if (b->slots[i].obj) return b->slots[i].obj;
  }
  return nullptr;
}

HWND CWindowImplCore::CreateImpl(CWndClassInfo& info, HWND parent, const RECT* rect,
                                 const wchar_t* title, DWORD style, DWORD exStyle,
                                 UINT_PTR idOrMenu, void* createParam) {
  if (*m_phWnd) return nullptr;
  ATOM atom = info.Register(&m_pfnSuperWindowProc);
  if (!atom) return nullptr;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
  if (rect) {
    x = rect->left;
    y = rect->top;
    cx = rect->right - rect->left;
    cy = rect->bottom - rect->top;
  }
  m_isDialog = false;
  BindForCreation();
  HWND h = ::CreateWindowExW(exStyle, MAKEINTATOM(atom), title, style, x, y, cx, cy, parent,
                             reinterpret_cast<HMENU>(idOrMenu), GetModuleInstanceHandle(),
                             createParam);
  EndCreation();
  return h;
}

void CWindowImplCore::BindForCreation() {
  m_prevCreating = t_creating;
  t_creating = this;
}

void CWindowImplCore::EndCreation() {
  m_dwState &= ~kCreating;
  t_creating = m_prevCreating;
  m_prevCreating = nullptr;
}

BOOL CWindowImplCore::SubclassWindow(HWND hWnd) {
  if (*m_phWnd || !::IsWindow(hWnd)) return FALSE;
  DWORD pid = 0;
  // Another process's window procedure cannot be replaced from here.
  if (!::GetWindowThreadProcessId(hWnd, &pid) || pid != ::GetCurrentProcessId()) return FALSE;
  WindowBinding* b = WindowBinding::GetOrCreate(hWnd);
  if (!b) return FALSE;
  if (b->count >= WindowBinding::kMaxSlots) return FALSE;
  int k = b->count;
  WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
  b->slots[k] = {this, current, true};
  b->count = k + 1;
  ::SetLastError(0);
  WNDPROC old = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(kProcs[k])));
  if (!old) {
    b->slots[k] = {};
    b->count = k;
    WindowBinding::FreeIfEmpty(hWnd);
    return FALSE;
  }
  b->slots[k].super = old;
  m_pfnSuperWindowProc = old;
  m_slot = k;
  m_dwState |= kSubclassed;
  *m_phWnd = hWnd;
  return TRUE;
}

HWND CWindowImplCore::UnsubclassWindow(BOOL) {
  HWND h = *m_phWnd;
  if (!h || !(m_dwState & kSubclassed) || m_slot < 0) return nullptr;
  WindowBinding* b = WindowBinding::Get(h);
  if (!b || m_slot >= b->count || b->slots[m_slot].obj != this) return nullptr;
  b->slots[m_slot].obj = nullptr;
  // Unwind from the top while the top slot is ours, empty and installed;
  // a slot below a foreign procedure stays as a pass-through.
  while (b->count > 0) {
    WindowBinding::Slot& top = b->slots[b->count - 1];
    if (top.obj || !top.subclassed) break;
    WNDPROC installed = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(h, GWLP_WNDPROC));
    if (installed != kProcs[b->count - 1]) break;
    ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(top.super));
    top = {};
    --b->count;
  }
  if (b->count == 0) {
    ::RemovePropW(h, MAKEINTATOM(BindingAtom()));
    delete b;
  }
  *m_phWnd = nullptr;
  m_slot = -1;
  m_dwState &= ~kSubclassed;
  return h;
}
