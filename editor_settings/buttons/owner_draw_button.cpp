#include "editor_settings/buttons/owner_draw_button.h"

namespace qlr_editor {

BEGIN_MESSAGE_MAP(COwnerDrawButton, CButton)
  ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
  ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
END_MESSAGE_MAP()

void COwnerDrawButton::PreSubclassWindow() {
  CButton::PreSubclassWindow();
  m_type = GetStyle() & BS_TYPEMASK;
  if (m_type == BS_OWNERDRAW) return;  // attached twice: the first type stays
  m_isPush = m_type == BS_PUSHBUTTON || m_type == BS_DEFPUSHBUTTON;
  m_isDefault = m_type == BS_DEFPUSHBUTTON;
  ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW, SWP_FRAMECHANGED);
}

LRESULT COwnerDrawButton::OnGetDlgCode(WPARAM, LPARAM) {
  LRESULT code = Default();
  if (m_type == BS_RADIOBUTTON || m_type == BS_AUTORADIOBUTTON) code |= DLGC_RADIOBUTTON;
  if (m_type == BS_GROUPBOX) return DLGC_STATIC;
  if (m_isPush) {
    code &= ~static_cast<LRESULT>(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    code |= m_isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
  }
  return code;
}

LRESULT COwnerDrawButton::OnSetStyle(WPARAM wParam, LPARAM lParam) {
  UINT type = static_cast<UINT>(wParam) & BS_TYPEMASK;
  if (type == BS_DEFPUSHBUTTON) m_isDefault = true;
  if (type == BS_PUSHBUTTON) m_isDefault = false;
  // The dialog manager moves the default by style; the control stays
  // owner-drawn and repaints to show the change.
  WPARAM style = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW;
  LRESULT result = DefWindowProc(BM_SETSTYLE, style, lParam);
  if (LOWORD(lParam)) Invalidate(FALSE);
  return result;
}

}  // namespace qlr_editor
