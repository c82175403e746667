// Window objects with message maps: CWindowImpl<T, TBase, TWinTraits>.
//
// A window is tied to its object through a window property (no code thunks,
// so it is the same on 32 and 64 bits). Several objects may subclass one
// window; each gets its own window procedure, so a foreign subclass between
// two of ours still reaches the right object.
//
//   class CMyWnd : public CWindowImpl<CMyWnd> {
//    public:
//     DECLARE_WND_CLASS(nullptr)            // automatically named class
//     BEGIN_MSG_MAP(CMyWnd)
//       MESSAGE_HANDLER(WM_CREATE, OnCreate)
//     END_MSG_MAP()
//   };
#pragma once
#include <windows.h>

#include "platform/atl/message_map.h"
#include "platform/atl/window.h"

// The window class of a window object; registered on first Create.
struct CWndClassInfo {
  WNDCLASSEXW m_wc;
  const wchar_t* m_lpszOrigName;  // system class to superclass, or null
  WNDPROC pWndProc;               // the superclassed class's own procedure
  const wchar_t* m_lpszCursorID;
  BOOL m_bSystemCursor;
  ATOM m_atom;
  wchar_t m_szAutoName[32];  // "QLR:" + address when the class has no name

  // Registers once; superProc receives the procedure the default
  // processing must call (DefWindowProcW, or the superclassed one).
  ATOM Register(WNDPROC* superProc);
};

#define DECLARE_WND_CLASS_EX(WndClassName, style, bkgnd)                                       \
  static CWndClassInfo& GetWndClassInfo() {                                                   \
    static CWndClassInfo wc = {                                                               \
        {sizeof(WNDCLASSEXW), static_cast<UINT>(style), nullptr, 0, 0, nullptr, nullptr,      \
         nullptr, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>((bkgnd) + 1)), nullptr,       \
         WndClassName, nullptr},                                                              \
        nullptr, nullptr, IDC_ARROW, TRUE, 0, L""};                                           \
    return wc;                                                                                \
  }

#define DECLARE_WND_CLASS(WndClassName) \
  DECLARE_WND_CLASS_EX(WndClassName, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW)

// A new class built from an existing (e.g. system) class: same styles,
// brush and extra bytes; messages the map leaves go to the original class's
// procedure.
#define DECLARE_WND_SUPERCLASS(WndClassName, OrigWndClassName)                                \
  static CWndClassInfo& GetWndClassInfo() {                                                   \
    static CWndClassInfo wc = {{sizeof(WNDCLASSEXW), 0, nullptr, 0, 0, nullptr, nullptr,      \
                                nullptr, nullptr, nullptr, WndClassName, nullptr},            \
                               OrigWndClassName, nullptr, nullptr, TRUE, 0, L""};             \
    return wc;                                                                                \
  }

template <DWORD t_dwStyle = 0, DWORD t_dwExStyle = 0>
class CWinTraits {
 public:
  static DWORD GetWndStyle(DWORD style) { return style == 0 ? t_dwStyle : style; }
  static DWORD GetWndExStyle(DWORD exStyle) { return exStyle == 0 ? t_dwExStyle : exStyle; }
};

typedef CWinTraits<WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0> CControlWinTraits;
typedef CWinTraits<WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_APPWINDOW |
                                                                                WS_EX_WINDOWEDGE>
    CFrameWinTraits;
typedef CWinTraits<WS_OVERLAPPEDWINDOW | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                   WS_EX_MDICHILD>
    CMDIChildWinTraits;
typedef CWinTraits<0, 0> CNullTraits;

// Rectangle argument: a RECT, a pointer to one, or null for the default.
struct CRectArg {
  CRectArg(const RECT* rect = nullptr) : m_rect(rect) {}
  CRectArg(const RECT& rect) : m_rect(&rect) {}
  CRectArg(std::nullptr_t) : m_rect(nullptr) {}
  const RECT* m_rect;
};

// Menu or child-window id argument.
struct CMenuOrId {
  CMenuOrId(HMENU menu) : m_value(reinterpret_cast<UINT_PTR>(menu)) {}
  CMenuOrId(UINT id = 0) : m_value(id) {}
  CMenuOrId(int id) : m_value(static_cast<UINT_PTR>(static_cast<UINT>(id))) {}
  UINT_PTR m_value;
};

struct WindowBinding;  // the property record behind a window (window_impl.cpp)

// The part of a window object that does not depend on its types: binding,
// dispatch, default processing, sub- and unsubclassing.
class CWindowImplCore : public CMessageMap {
 public:
  const MSG* m_pCurrentMsg = nullptr;
  WNDPROC m_pfnSuperWindowProc = ::DefWindowProcW;

  CWindowImplCore(const CWindowImplCore&) = delete;
  CWindowImplCore& operator=(const CWindowImplCore&) = delete;

  // The message being handled (null outside a handler).
  const MSG* GetCurrentMessage() const { return m_pCurrentMsg; }
  // Default processing: the next object subclassing the same window, the
  // replaced or superclassed procedure, or DefWindowProcW.
  LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefWindowProc();  // of the current message

  // Routes an existing window's messages through this object.
  BOOL SubclassWindow(HWND hWnd);
  // Gives the window its previous procedure back. Without force it fails
  // while another procedure was installed after ours (it would be cut out).
  HWND UnsubclassWindow(BOOL force = FALSE);

  virtual WNDPROC GetWindowProc();
  // Called after WM_NCDESTROY, when the object no longer has a window. An
  // object created with new may delete itself here.
  virtual void OnFinalMessage(HWND hWnd);

  // The object bound to a window at the outermost level, or null.
  static CWindowImplCore* FromHandle(HWND hWnd);

 protected:
  explicit CWindowImplCore(HWND* hwndMember) : m_phWnd(hwndMember) {}
  virtual ~CWindowImplCore();

  HWND CreateImpl(CWndClassInfo& info, HWND parent, const RECT* rect, const wchar_t* title,
                  DWORD style, DWORD exStyle, UINT_PTR idOrMenu, void* createParam);
  // Dialog objects: binds like a created window, dispatches like a dialog.
  void BindForCreation();
  void EndCreation();

  friend struct WindowBinding;
  friend class CWindowImplDispatch;
  HWND* m_phWnd;
  DWORD m_dwState = 0;
  int m_slot = -1;  // position in the window's chain of objects
  bool m_isDialog = false;
  CWindowImplCore* m_prevCreating = nullptr;
};

template <class TBase = CWindow>
class CWindowImplRoot : public TBase, public CWindowImplCore {
 public:
  CWindowImplRoot() : CWindowImplCore(&this->TBase::m_hWnd) {}
  using CWindowImplCore::DefWindowProc;
};

template <class T, class TBase = CWindow, class TWinTraits = CControlWinTraits>
class CWindowImpl : public CWindowImplRoot<TBase> {
 public:
  DECLARE_WND_CLASS(nullptr)

  static DWORD GetWndStyle(DWORD style) { return TWinTraits::GetWndStyle(style); }
  static DWORD GetWndExStyle(DWORD exStyle) { return TWinTraits::GetWndExStyle(exStyle); }

  // A style or extended style of 0 takes the traits' default (CNullTraits
  // keeps 0). Without a rectangle the system's default place and size.
  HWND Create(HWND hWndParent, CRectArg rect = nullptr, const wchar_t* windowName = nullptr,
              DWORD style = 0, DWORD exStyle = 0, CMenuOrId menuOrId = 0U,
              void* createParam = nullptr) {
    return this->CreateImpl(T::GetWndClassInfo(), hWndParent, rect.m_rect, windowName,
                            T::GetWndStyle(style), T::GetWndExStyle(exStyle), menuOrId.m_value,
                            createParam);
  }
};
