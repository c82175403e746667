#include "editor_settings/helpers/toolbar_ctrl_ex.h"

#include "foundation/localization/localized_strings.h"

IMPLEMENT_DYNAMIC(CToolBarCtrlEx, CToolBarCtrl)

BEGIN_MESSAGE_MAP(CToolBarCtrlEx, CToolBarCtrl)
  ON_NOTIFY_REFLECT(TBN_GETINFOTIPW, OnGetInfoTip)
  ON_WM_CREATE()
END_MESSAGE_MAP()

void CToolBarButtonCmdUI::SetStateBits(BYTE bits, bool on) {
  if (!m_pOwner || !m_pOwner->m_hWnd) return;
  // Read by index (the button being updated), written by id.
  TBBUTTON button = {};
  if (!::SendMessageW(m_pOwner->m_hWnd, TB_GETBUTTON, m_nIndex, reinterpret_cast<LPARAM>(&button))) return;
  BYTE next = static_cast<BYTE>(on ? (button.fsState | bits) : (button.fsState & ~bits));
  if (next != button.fsState) ::SendMessageW(m_pOwner->m_hWnd, TB_SETSTATE, m_nID, MAKELPARAM(next, 0));
}

void CToolBarButtonCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  SetStateBits(TBSTATE_ENABLED, bOn != FALSE);
}

void CToolBarButtonCmdUI::SetCheck(int nCheck) {
  SetStateBits(TBSTATE_CHECKED, nCheck == 1);
  SetStateBits(TBSTATE_INDETERMINATE, nCheck == 2);
}

int CToolBarCtrlEx::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CToolBarCtrl::OnCreate(lpCreateStruct) == -1) return -1;
  SetExtendedStyle(GetExtendedStyle() | TBSTYLE_EX_DRAWDDARROWS);
  return 0;
}

void CToolBarCtrlEx::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  if (!m_hWnd) return;
  CCmdTarget* target = pTarget ? pTarget : GetOwner();
  if (!target) return;
  CToolBarButtonCmdUI state(this);
  const int count = GetButtonCount();
  state.m_nIndexMax = static_cast<UINT>(count);
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    if (!::SendMessageW(m_hWnd, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button))) continue;
    if (button.fsStyle & BTNS_SEP) continue;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nID = static_cast<UINT>(button.idCommand);
    // The toolbar's own update handler, when it has one, decides alone.
    if (CToolBarCtrl::OnCmdMsg(0, static_cast<int>(MAKELONG(0xFFFF, WM_REFLECT_BASE + WM_COMMAND)), &state,
                               nullptr))
      continue;
    state.DoUpdate(target, bDisableIfNoHndler);
  }
  if (CWnd* window = dynamic_cast<CWnd*>(target); window && window->m_hWnd)
    window->UpdateDialogControls(target, bDisableIfNoHndler);
}

CRect CToolBarCtrlEx::GetButtonRect(UINT id) const {
  CRect rect(-1, -1, -1, -1);
  if (!m_hWnd || !GetRect(static_cast<int>(id), &rect)) return CRect(-1, -1, -1, -1);
  return rect;
}

std::wstring CToolBarCtrlEx::GetButtonTip(UINT id) { return GetCommandLongPrompt(id); }

void CToolBarCtrlEx::OnGetInfoTip(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* info = reinterpret_cast<NMTBGETINFOTIPW*>(pNMHDR);
  CopyInfoTip(info, GetButtonTip(static_cast<UINT>(info->iItem)));
  *pResult = 0;
}

std::wstring GetCommandLongPrompt(UINT id) {
  CLngString text;
  text.LoadString(id);
  const std::wstring& all = text.Text();
  return all.substr(0, all.find(L'\n'));
}

void CopyInfoTip(NMTBGETINFOTIPW* info, const std::wstring& tip) {
  if (!info || !info->pszText || info->cchTextMax <= 0) return;
  const size_t room = static_cast<size_t>(info->cchTextMax) - 1;
  const size_t n = tip.size() < room ? tip.size() : room;
  tip.copy(info->pszText, n);
  info->pszText[n] = L'\0';
}

LRESULT PaintToolBarBackground(NMHDR* pNMHDR, int sysColorIndex) {
  auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(pNMHDR);
  if (draw->nmcd.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
  RECT client = {};
  ::GetClientRect(pNMHDR->hwndFrom, &client);
  ::FillRect(draw->nmcd.hdc, &client, ::GetSysColorBrush(sysColorIndex));
  return CDRF_NOTIFYITEMDRAW;
}
