// CFontDialog: the system's font dialog over a LOGFONTW that the caller
// may preset; on OK the chosen font is in m_lf.
#pragma once
#include <windows.h>

#include <commdlg.h>

#include "platform/mfc/window/wnd.h"

class CFontDialog {
 public:
  // lplfInitial (may be null) presets the dialog; dwFlags adds CF_ flags
  // to CF_SCREENFONTS (CF_INITTOLOGFONTSTRUCT is added with a preset).
  explicit CFontDialog(const LOGFONTW* lplfInitial = nullptr, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                       CWnd* pParentWnd = nullptr);

  // IDOK or IDCANCEL (a failure of the dialog cancels).
  INT_PTR DoModal();
  void GetCurrentFont(LPLOGFONTW lplf) const { *lplf = m_lf; }
  CString GetFaceName() const { return CString(m_lf.lfFaceName); }
  // The size in tenths of a point, as the dialog chose it.
  int GetSize() const { return m_cf.iPointSize; }

  CHOOSEFONTW m_cf;
  LOGFONTW m_lf;

 private:
  CWnd* m_pParentWnd;
};
