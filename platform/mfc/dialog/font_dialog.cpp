#include "platform/mfc/dialog/font_dialog.h"

CFontDialog::CFontDialog(const LOGFONTW* lplfInitial, DWORD dwFlags, CWnd* pParentWnd)
    : m_cf(), m_lf(), m_pParentWnd(pParentWnd) {
  m_cf.lStructSize = sizeof(m_cf);
  m_cf.lpLogFont = &m_lf;
  m_cf.Flags = dwFlags | CF_SCREENFONTS;
  if (lplfInitial) {
    m_lf = *lplfInitial;
    m_lf.lfFaceName[LF_FACESIZE - 1] = L'\0';  // a preset from a file may lack its end
    m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
  }
}

INT_PTR CFontDialog::DoModal() {
  m_cf.hwndOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : ::GetActiveWindow();
  return ::ChooseFontW(&m_cf) ? IDOK : IDCANCEL;
}
