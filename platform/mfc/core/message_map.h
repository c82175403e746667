// The message-map macros. A class declares its map with
// DECLARE_MESSAGE_MAP() and lists its entries in the .cpp file:
//
//   BEGIN_MESSAGE_MAP(CMyWnd, CWnd)
//     ON_WM_CREATE()
//     ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
//     ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateFileOpen)
//     ON_REGISTERED_MESSAGE(g_myMessage, OnMyMessage)
//   END_MESSAGE_MAP()
//
// Handlers are named without class or '&'. Each entry carries a small
// function that unpacks the message into the handler's parameters, so the
// handler's signature is checked by the compiler.
#pragma once
#include "platform/mfc/core/cmd_target.h"

#define DECLARE_MESSAGE_MAP()                                  \
 public:                                                       \
  static const AFX_MSGMAP* GetThisMessageMap();                \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                       \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                  \
    typedef theClass ThisClass;                                                      \
    typedef baseClass TheBaseClass;                                                  \
    static const AFX_MSGMAP_ENTRY kEntries_[] = {

#define END_MESSAGE_MAP()                                                    \
  {0, 0, 0, 0, 0, nullptr, nullptr}};                                        \
  static const AFX_MSGMAP kMap_ = {&TheBaseClass::GetThisMessageMap, kEntries_}; \
  return &kMap_;                                                             \
  }

#define QLR_THUNK_(...)                                      \
  [](CCmdTarget* t_, AFX_CALL& c_) -> bool {                 \
    ThisClass* p_ = static_cast<ThisClass*>(t_);             \
    (void)p_;                                                \
    (void)c_;                                                \
    __VA_ARGS__                                              \
  }

#define QLR_WM_(msg, ...) \
  {kAfxWindowMessage, static_cast<UINT>(msg), 0, 0, 0, nullptr, QLR_THUNK_(__VA_ARGS__ return true;)},

#define QLR_CMD_(msg, code, id, last, ...)                                                \
  {kAfxCommandLevel, static_cast<UINT>(msg), static_cast<UINT>(code), static_cast<UINT>(id), \
   static_cast<UINT>(last), nullptr, QLR_THUNK_(__VA_ARGS__)},

#define QLR_NOTIFY_ static_cast<AFX_NOTIFY*>(c_.pExtra)
// Notification codes travel in 16 bits (MAKELONG(code, message)); negative
// codes such as TVN_SELCHANGED are kept the same way.
#define QLR_CODE16_(code) static_cast<WORD>(code)

// Window messages.
#define ON_MESSAGE(message, memberFxn) QLR_WM_(message, c_.result = p_->memberFxn(c_.wParam, c_.lParam);)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                  \
  {kAfxRegistered, 0, 0, 0, 0, &(nMessageVariable),                         \
   QLR_THUNK_(c_.result = p_->memberFxn(c_.wParam, c_.lParam); return true;)},

#define ON_WM_CREATE() QLR_WM_(WM_CREATE, c_.result = p_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(c_.lParam));)
#define ON_WM_DESTROY() QLR_WM_(WM_DESTROY, p_->OnDestroy();)
#define ON_WM_TIMER() QLR_WM_(WM_TIMER, p_->OnTimer(static_cast<UINT_PTR>(c_.wParam));)
#define ON_WM_SIZE() \
  QLR_WM_(WM_SIZE, p_->OnSize(static_cast<UINT>(c_.wParam), static_cast<short>(LOWORD(c_.lParam)), static_cast<short>(HIWORD(c_.lParam)));)
#define ON_WM_PAINT() QLR_WM_(WM_PAINT, p_->OnPaint();)
#define ON_WM_ERASEBKGND() \
  QLR_WM_(WM_ERASEBKGND, CDC dc_(reinterpret_cast<HDC>(c_.wParam)); c_.result = p_->OnEraseBkgnd(&dc_);)
#define ON_WM_MOUSEMOVE() QLR_WM_(WM_MOUSEMOVE, p_->OnMouseMove(static_cast<UINT>(c_.wParam), CPoint(c_.lParam));)
#define ON_WM_LBUTTONDOWN() QLR_WM_(WM_LBUTTONDOWN, p_->OnLButtonDown(static_cast<UINT>(c_.wParam), CPoint(c_.lParam));)
#define ON_WM_LBUTTONDBLCLK() \
  QLR_WM_(WM_LBUTTONDBLCLK, p_->OnLButtonDblClk(static_cast<UINT>(c_.wParam), CPoint(c_.lParam));)
#define ON_WM_RBUTTONDOWN() QLR_WM_(WM_RBUTTONDOWN, p_->OnRButtonDown(static_cast<UINT>(c_.wParam), CPoint(c_.lParam));)
#define ON_WM_LBUTTONUP() QLR_WM_(WM_LBUTTONUP, p_->OnLButtonUp(static_cast<UINT>(c_.wParam), CPoint(c_.lParam));)
#define QLR_KEY_ARGS_ static_cast<UINT>(c_.wParam), static_cast<UINT>(LOWORD(c_.lParam)), static_cast<UINT>(HIWORD(c_.lParam))
#define ON_WM_KEYDOWN() QLR_WM_(WM_KEYDOWN, p_->OnKeyDown(QLR_KEY_ARGS_);)
#define ON_WM_KEYUP() QLR_WM_(WM_KEYUP, p_->OnKeyUp(QLR_KEY_ARGS_);)
#define ON_WM_CHAR() QLR_WM_(WM_CHAR, p_->OnChar(QLR_KEY_ARGS_);)
#define ON_WM_CONTEXTMENU() \
  QLR_WM_(WM_CONTEXTMENU, p_->OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam)), CPoint(c_.lParam));)
#define ON_WM_INITMENUPOPUP()                                                                       \
  QLR_WM_(WM_INITMENUPOPUP, p_->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(c_.wParam)), \
                                                LOWORD(c_.lParam), HIWORD(c_.lParam));)
#define ON_WM_ENTERIDLE() \
  QLR_WM_(WM_ENTERIDLE, p_->OnEnterIdle(static_cast<UINT>(c_.wParam), CWnd::FromHandle(reinterpret_cast<HWND>(c_.lParam)));)
#define ON_WM_MENUSELECT() \
  QLR_WM_(WM_MENUSELECT, p_->OnMenuSelect(LOWORD(c_.wParam), HIWORD(c_.wParam), reinterpret_cast<HMENU>(c_.lParam));)
#define ON_WM_SYSCOMMAND() QLR_WM_(WM_SYSCOMMAND, p_->OnSysCommand(static_cast<UINT>(c_.wParam), c_.lParam);)
#define ON_WM_PARENTNOTIFY() QLR_WM_(WM_PARENTNOTIFY, p_->OnParentNotify(static_cast<UINT>(c_.wParam), c_.lParam);)
#define ON_WM_WINDOWPOSCHANGED() \
  QLR_WM_(WM_WINDOWPOSCHANGED, p_->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(c_.lParam));)
#define ON_WM_CAPTURECHANGED() \
  QLR_WM_(WM_CAPTURECHANGED, p_->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(c_.lParam)));)
#define ON_WM_SETTEXT() QLR_WM_(WM_SETTEXT, c_.result = p_->OnSetText(c_.wParam, c_.lParam);)
#define ON_WM_SETCURSOR()                                                                        \
  QLR_WM_(WM_SETCURSOR, c_.result = p_->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam)), \
                                                    LOWORD(c_.lParam), HIWORD(c_.lParam));)
#define ON_WM_ACTIVATEAPP() \
  QLR_WM_(WM_ACTIVATEAPP, p_->OnActivateApp(static_cast<BOOL>(c_.wParam), static_cast<DWORD>(c_.lParam));)
#define ON_WM_MOUSELEAVE() QLR_WM_(WM_MOUSELEAVE, p_->OnMouseLeave();)
#define ON_WM_SETFOCUS() QLR_WM_(WM_SETFOCUS, p_->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam)));)
#define ON_WM_MOUSEACTIVATE()                                                                     \
  QLR_WM_(WM_MOUSEACTIVATE, c_.result = p_->OnMouseActivate(CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam)), \
                                                            LOWORD(c_.lParam), HIWORD(c_.lParam));)
#define ON_WM_CLOSE() QLR_WM_(WM_CLOSE, p_->OnClose();)
#define ON_WM_NCHITTEST() QLR_WM_(WM_NCHITTEST, c_.result = p_->OnNcHitTest(CPoint(c_.lParam));)
#define ON_WM_NCCALCSIZE() \
  QLR_WM_(WM_NCCALCSIZE, p_->OnNcCalcSize(static_cast<BOOL>(c_.wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(c_.lParam));)
#define ON_WM_NCPAINT() QLR_WM_(WM_NCPAINT, p_->OnNcPaint();)
#define ON_WM_NCLBUTTONDOWN() \
  QLR_WM_(WM_NCLBUTTONDOWN, p_->OnNcLButtonDown(static_cast<UINT>(c_.wParam), CPoint(c_.lParam));)
#define ON_WM_NCLBUTTONUP() \
  QLR_WM_(WM_NCLBUTTONUP, p_->OnNcLButtonUp(static_cast<UINT>(c_.wParam), CPoint(c_.lParam));)
#define ON_WM_NCLBUTTONDBLCLK() \
  QLR_WM_(WM_NCLBUTTONDBLCLK, p_->OnNcLButtonDblClk(static_cast<UINT>(c_.wParam), CPoint(c_.lParam));)
#define ON_WM_NCMOUSEMOVE() \
  QLR_WM_(WM_NCMOUSEMOVE, p_->OnNcMouseMove(static_cast<UINT>(c_.wParam), CPoint(c_.lParam));)
#define ON_WM_SETTINGCHANGE() \
  QLR_WM_(WM_SETTINGCHANGE, p_->OnSettingChange(static_cast<UINT>(c_.wParam), reinterpret_cast<LPCWSTR>(c_.lParam));)

// Commands and their update requests.
#define ON_COMMAND(id, memberFxn) QLR_CMD_(WM_COMMAND, CN_COMMAND, id, id, p_->memberFxn(); return true;)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
  QLR_CMD_(WM_COMMAND, CN_COMMAND, id, idLast, p_->memberFxn(c_.nID); return true;)
// The handler answers whether it took the command; FALSE lets routing go on.
#define ON_COMMAND_EX(id, memberFxn) QLR_CMD_(WM_COMMAND, CN_COMMAND, id, id, return p_->memberFxn(c_.nID) != FALSE;)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
  QLR_CMD_(WM_COMMAND, CN_COMMAND, id, idLast, return p_->memberFxn(c_.nID) != FALSE;)
// An update handler that calls ContinueRouting lets the search go on.
#define QLR_UPDATE_(memberFxn)                                \
  AfxBeginUpdateHandler(c_.pExtra);                           \
  p_->memberFxn(static_cast<CCmdUI*>(c_.pExtra));             \
  return AfxUpdateHandlerTook(c_.pExtra);
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
  QLR_CMD_(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, QLR_UPDATE_(memberFxn))
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
  QLR_CMD_(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, QLR_UPDATE_(memberFxn))
// A control's own update: asked before its parent's target.
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn)                                   \
  QLR_CMD_(WM_REFLECT_BASE + WM_COMMAND, CN_UPDATE_COMMAND_UI, 0, 0,              \
           p_->memberFxn(static_cast<CCmdUI*>(c_.pExtra)); return true;)

// Control notifications by WM_COMMAND.
#define ON_CONTROL(wNotifyCode, id, memberFxn) QLR_CMD_(WM_COMMAND, QLR_CODE16_(wNotifyCode), id, id, p_->memberFxn(); return true;)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
  QLR_CMD_(WM_COMMAND, QLR_CODE16_(wNotifyCode), id, idLast, p_->memberFxn(c_.nID); return true;)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

// Notifications by WM_NOTIFY: handler(NMHDR*, LRESULT*).
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
  QLR_CMD_(WM_NOTIFY, QLR_CODE16_(wNotifyCode), id, id, p_->memberFxn(QLR_NOTIFY_->pNMHDR, QLR_NOTIFY_->pResult); return true;)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)         \
  QLR_CMD_(WM_NOTIFY, QLR_CODE16_(wNotifyCode), id, idLast,                      \
           p_->memberFxn(c_.nID, QLR_NOTIFY_->pNMHDR, QLR_NOTIFY_->pResult); return true;)
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
  QLR_CMD_(WM_NOTIFY, QLR_CODE16_(wNotifyCode), id, id, return p_->memberFxn(c_.nID, QLR_NOTIFY_->pNMHDR, QLR_NOTIFY_->pResult) != FALSE;)
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
  QLR_CMD_(WM_NOTIFY, QLR_CODE16_(wNotifyCode), id, idLast, return p_->memberFxn(c_.nID, QLR_NOTIFY_->pNMHDR, QLR_NOTIFY_->pResult) != FALSE;)

// Reflected to the control's own object before the parent sees them. The
// plain forms keep the message from the parent; an _EX handler answers
// TRUE to keep it, FALSE to let the parent handle it as well.
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                        \
  QLR_CMD_(WM_REFLECT_BASE + WM_NOTIFY, QLR_CODE16_(wNotifyCode), 0, 0,               \
           p_->memberFxn(QLR_NOTIFY_->pNMHDR, QLR_NOTIFY_->pResult); return true;)
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                     \
  QLR_CMD_(WM_REFLECT_BASE + WM_NOTIFY, QLR_CODE16_(wNotifyCode), 0, 0,               \
           return p_->memberFxn(QLR_NOTIFY_->pNMHDR, QLR_NOTIFY_->pResult) != FALSE;)
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
  QLR_CMD_(WM_REFLECT_BASE + WM_COMMAND, QLR_CODE16_(wNotifyCode), 0, 0, p_->memberFxn(); return true;)
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
  QLR_CMD_(WM_REFLECT_BASE + WM_COMMAND, QLR_CODE16_(wNotifyCode), 0, 0, return p_->memberFxn() != FALSE;)

// A control's own colours: HBRUSH CtlColor(CDC*, UINT nCtlColor); a null
// brush lets the parent answer.
#define ON_WM_CTLCOLOR_REFLECT()                                                               \
  {kAfxWindowMessage, WM_REFLECT_CTLCOLOR, 0, 0, 0, nullptr,                                   \
   QLR_THUNK_(CDC dc_(reinterpret_cast<HDC>(c_.wParam));                                       \
              HBRUSH b_ = p_->CtlColor(&dc_, static_cast<UINT>(c_.lParam));                    \
              c_.result = reinterpret_cast<LRESULT>(b_); return b_ != nullptr;)},
