// How a window's messages reach handlers: window-message entries, commands
// with their update check, control notifications reflected to the control
// first, and the command state of child controls.
#include <string>

#include "foundation/logging/log.h"
#include "foundation/system/trusted_messages.h"
#include "platform/mfc/window/cmd_ui.h"
#include "platform/mfc/window/wnd.h"

namespace {

bool IsPushButton(HWND hWnd) {
  wchar_t cls[16] = {};
  ::GetClassNameW(hWnd, cls, 16);
  if (::lstrcmpiW(cls, L"Button") != 0) return false;
  UINT type = static_cast<UINT>(::GetWindowLongPtrW(hWnd, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    // The header is a pointer: only from this thread's own controls.
    if (!lParam || !AfxIsMessageFromOwnThread() || !IsOwnNotification(lParam)) return FALSE;
    LRESULT result = 0;
    if (!OnNotify(wParam, lParam, &result)) return FALSE;
    *pResult = result;
    return TRUE;
  }
  // A control's colours and owner drawing are offered to its own object
  // first; a colour handler that gives no brush leaves them to this window.
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC && lParam) {
    LRESULT result = 0;
    if (SendChildNotify(reinterpret_cast<HWND>(lParam), message, wParam, lParam, &result)) {
      *pResult = result;
      return TRUE;
    }
  }
  if (message == WM_DRAWITEM && lParam && AfxIsMessageFromOwnThread()) {
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    LRESULT result = 0;
    if (item->CtlType != ODT_MENU && SendChildNotify(item->hwndItem, message, wParam, lParam, &result)) {
      *pResult = TRUE;
      return TRUE;
    }
  }
  if (message == WM_NCDESTROY) {
    OnNcDestroy();
    *pResult = 0;
    return TRUE;
  }
  const AFX_MSGMAP_ENTRY* entry = FindWindowEntry(GetMessageMap(), message);
  if (!entry) return FALSE;
  AFX_CALL call = {message, wParam, lParam, 0, 0, nullptr};
  entry->pfn(this, call);
  *pResult = call.result;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);
  if (!control) {
    // A menu item or accelerator: a command whose update handler disables
    // it is dropped, as the user could not have chosen it.
    if (nID == 0) return FALSE;
    CTestCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
    if (!state.m_bEnabled) return TRUE;
    nCode = CN_COMMAND;
  } else {
    // The control's own object sees its notification first.
    if (SendChildNotify(control, WM_COMMAND, wParam, lParam, nullptr)) return TRUE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
  if (!header) return FALSE;
  if (header->hwndFrom && SendChildNotify(header->hwndFrom, WM_NOTIFY, header->idFrom, lParam, pResult))
    return TRUE;
  AFX_NOTIFY notify = {pResult, header};
  UINT nID = static_cast<UINT>(header->idFrom);
  return OnCmdMsg(nID, static_cast<int>(MAKELONG(header->code, WM_NOTIFY)), &notify, nullptr);
}

BOOL CWnd::SendChildNotify(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  CWnd* child = FromHandlePermanent(hWndChild);
  if (!child) return FALSE;
  return child->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND) {
    int code = HIWORD(wParam);
    return OnCmdMsg(0, static_cast<int>(MAKELONG(code, WM_REFLECT_BASE + WM_COMMAND)), nullptr, nullptr);
  }
  if (message == WM_NOTIFY) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    LRESULT local = 0;
    AFX_NOTIFY notify = {pResult ? pResult : &local, header};
    return OnCmdMsg(0, static_cast<int>(MAKELONG(header->code, WM_REFLECT_BASE + WM_NOTIFY)), &notify,
                    nullptr);
  }
  // Every colour kind reaches one reflected entry with the kind as lParam.
  UINT reflected = WM_REFLECT_BASE + message;
  WPARAM wReflected = wParam;
  LPARAM lReflected = lParam;
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    reflected = WM_REFLECT_CTLCOLOR;
    lReflected = static_cast<LPARAM>(message - WM_CTLCOLORMSGBOX);
  }
  const AFX_MSGMAP_ENTRY* entry = FindWindowEntry(GetMessageMap(), reflected);
  if (!entry) return FALSE;
  AFX_CALL call = {reflected, wReflected, lReflected, 0, 0, nullptr};
  bool took = entry->pfn(this, call);
  if (pResult) *pResult = call.result;
  return took;
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  CCmdUI state;
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
    state.m_nID = static_cast<UINT>(::GetDlgCtrlID(child));
    CWnd* object = FromHandlePermanent(child);
    state.m_pOther = object ? object : FromHandle(child);
    // The control's own update handler, when it has one, decides alone.
    if (object && object->OnCmdMsg(0, static_cast<int>(MAKELONG(0xFFFF, WM_REFLECT_BASE + WM_COMMAND)), &state,
                                   nullptr))
      continue;
    // Check boxes, radio buttons, labels and edits keep their state when
    // nobody handles them; only a push button stands for a command.
    state.DoUpdate(pTarget, bDisableIfNoHndler && IsPushButton(child));
  }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
    CWnd* object = FromHandlePermanent(child);
    if (!bOnlyPerm) {
      ::SendMessageW(child, message, wParam, lParam);
    } else if (object) {
      AfxCallWndProc(object, child, message, wParam, lParam);
    }
    if (bDeep && ::GetTopWindow(child)) {
      CWnd* wrapper = FromHandle(child);
      wrapper->SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
    }
  }
}

int CWnd::SetDlgCtrlID(int nID) {
  return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(nID)));
}

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_STYLE));
  DWORD next = (style & ~dwRemove) | dwAdd;
  if (style == next) return FALSE;
  ::SetWindowLongPtrW(hWnd, GWL_STYLE, static_cast<LONG_PTR>(next));
  if (nFlags)
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_EXSTYLE));
  DWORD next = (style & ~dwRemove) | dwAdd;
  if (style == next) return FALSE;
  ::SetWindowLongPtrW(hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(next));
  if (nFlags)
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) { return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags); }
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
}

CWnd* CWnd::GetOwner() const {
  return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent();
}

CWnd* CWnd::GetTopLevelParent() const {
  HWND top = m_hWnd;
  for (HWND next; (next = ::GetParent(top)) != nullptr && (::GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD);)
    top = next;
  return FromHandle(top);
}

void CWnd::GetWindowText(CString& rString) const { rString = GetWindowTextString(); }

CString CWnd::GetWindowTextString() const {
  int length = ::GetWindowTextLengthW(m_hWnd);
  CString text;
  if (length > 0) {
    wchar_t* buffer = text.GetBuffer(length + 1);
    int got = ::GetWindowTextW(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer(got > 0 ? got : 0);
  }
  return text;
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
  return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
  ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
}
