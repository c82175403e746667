// The tray window owns the history pane: it creates the pane's window on
// request and destroys it to hide the pane.
#include "history/float_pane.h"
#include "tray/tray_window.h"

void CQLRTrayWnd::ShowFloatPane(int mode) {
  if (!m_floatPane) return;
  bool exists = m_floatPane->IsWindow() != FALSE;
  if (exists && (mode == kPaneToggle || mode == kPaneStartUp)) {
    m_floatPane->DestroyWindow();
    if (mode == kPaneToggle) return;
    exists = false;
  }
  if (!exists) {
    bool activate = mode != kPaneStartUp;
    if (!m_floatPane->Create(m_clipboardHandler.get(), activate, mode == kPaneToggle)) return;
  } else if (!m_floatPane->IsWindowVisible()) {
    m_floatPane->ShowWindow(SW_SHOWNA);
  }
  // A freshly created pane still slides to its caption afterwards.
  m_floatPane->SetShowMode(0, false);
  if (mode != kPaneStartUp) {
    ::SetForegroundWindow(*m_floatPane);
    ::SetFocus(*m_floatPane);
    ::SetActiveWindow(*m_floatPane);
  }
}

LRESULT CQLRTrayWnd::OnShowPaneMessage(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (wParam == 1) ShowFloatPane(kPaneActivate);
  return 1;
}
