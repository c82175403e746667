#include "platform/mfc/window/cmd_ui.h"

#include "platform/mfc/window/wnd.h"

namespace {

bool IsCheckableButton(HWND hWnd) {
  wchar_t cls[16] = {};
  ::GetClassNameW(hWnd, cls, 16);
  if (::lstrcmpiW(cls, L"Button") != 0) return false;
  UINT type = static_cast<UINT>(::GetWindowLongPtrW(hWnd, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
         type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

}  // namespace

void AfxBeginUpdateHandler(void* pCmdUI) {
  if (pCmdUI) static_cast<CCmdUI*>(pCmdUI)->m_bContinueRouting = FALSE;
}

bool AfxUpdateHandlerTook(void* pCmdUI) {
  return !pCmdUI || !static_cast<CCmdUI*>(pCmdUI)->m_bContinueRouting;
}

void CCmdUI::Enable(BOOL bOn) {
  if (m_pMenu) {
    if (m_pMenu->m_hMenu)
      m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther && m_pOther->m_hWnd) {
    HWND h = m_pOther->m_hWnd;
    // A control that is disabled while it has the focus would leave the
    // keyboard stranded: the focus moves on to the next control first.
    if (!bOn && ::GetFocus() == h) {
      HWND parent = ::GetParent(h);
      if (parent) ::SendMessageW(parent, WM_NEXTDLGCTL, 0, FALSE);
    }
    ::EnableWindow(h, bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (m_pMenu) {
    if (m_pMenu->m_hMenu) m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther && m_pOther->m_hWnd && IsCheckableButton(m_pOther->m_hWnd)) {
    ::SendMessageW(m_pOther->m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0);
  }
}

void CCmdUI::SetRadio(BOOL bOn) {
  if (m_pMenu && m_pMenu->m_hMenu) {
    MENUITEMINFOW mii = {sizeof(mii)};
    mii.fMask = MIIM_FTYPE;
    if (::GetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii)) {
      mii.fType = bOn ? (mii.fType | MFT_RADIOCHECK) : (mii.fType & ~MFT_RADIOCHECK);
      ::SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii);
    }
  }
  SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCWSTR lpszText) {
  if (!lpszText) lpszText = L"";
  if (m_pMenu) {
    if (!m_pMenu->m_hMenu) return;
    MENUITEMINFOW mii = {sizeof(mii)};
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = const_cast<LPWSTR>(lpszText);
    ::SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii);
  } else if (m_pOther && m_pOther->m_hWnd) {
    ::SetWindowTextW(m_pOther->m_hWnd, lpszText);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  // No id, or the "no id" of static labels: nothing to ask.
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF || !pTarget) return TRUE;
  m_bEnableChanged = FALSE;
  m_bContinueRouting = FALSE;
  BOOL handled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
  if (bDisableIfNoHndler && !m_bEnableChanged && m_nID < 0xF000) {
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    BOOL hasHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
    Enable(hasHandler);
  }
  return handled;
}

void AfxUpdateMenuPopup(CCmdTarget* pTarget, CMenu* pPopup, BOOL bAutoMenuEnable) {
  if (!pTarget || !pPopup || !pPopup->m_hMenu) return;
  CCmdUI state;
  state.m_pMenu = pPopup;
  state.m_nIndexMax = static_cast<UINT>(pPopup->GetMenuItemCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    UINT id = pPopup->GetMenuItemID(state.m_nIndex);
    if (id == 0) continue;  // separator
    if (id == static_cast<UINT>(-1)) {
      // A popup item is updated as its first item; it is never
      // auto-disabled, so an empty-looking popup still opens.
      CMenu* sub = pPopup->GetSubMenu(state.m_nIndex);
      if (!sub) continue;
      id = sub->GetMenuItemID(0);
      if (id == 0 || id == static_cast<UINT>(-1)) continue;
      state.m_nID = id;
      state.m_pSubMenu = sub;
      state.DoUpdate(pTarget, FALSE);
    } else {
      state.m_nID = id;
      state.m_pSubMenu = nullptr;
      state.DoUpdate(pTarget, bAutoMenuEnable);
    }
    // A handler may have removed items: continue behind the current one.
    UINT count = static_cast<UINT>(pPopup->GetMenuItemCount());
    if (count < state.m_nIndexMax) {
      UINT removed = state.m_nIndexMax - count;
      state.m_nIndex = state.m_nIndex >= removed ? state.m_nIndex - removed : 0;
      while (state.m_nIndex + 1 < count && pPopup->GetMenuItemID(state.m_nIndex + 1) == state.m_nID)
        ++state.m_nIndex;
    }
    state.m_nIndexMax = count;
  }
}
