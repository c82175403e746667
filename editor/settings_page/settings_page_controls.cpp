// The page's controls by id. GetDlgItem asks the window server for the
// list of all the page's children each time (about 110 of them), and a
// fill looks up controls hundreds of times: one walk over the children
// keeps them all.
#include "editor/settings_page/settings_page.h"

#include <string>

#include "editor/settings_page/settings_page_helpers.h"
#include "foundation/logging/log.h"

HWND CSettingsPage::Control(int id) const {
  if (!m_hWnd) return nullptr;
  if (m_controls.empty()) {
    // The first child of an id is the one GetDlgItem finds.
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
      m_controls.emplace(::GetDlgCtrlID(child), child);
  }
  const auto at = m_controls.find(id);
  // A kept handle must still be this page's child of that id (a control
  // may have been destroyed and another one made in its place).
  if (at != m_controls.end() && ::GetParent(at->second) == m_hWnd && ::GetDlgCtrlID(at->second) == id)
    return at->second;
  HWND found = ::GetDlgItem(m_hWnd, id);
  if (found)
    m_controls[id] = found;
  else if (at != m_controls.end())
    m_controls.erase(at);
  return found;
}

bool CSettingsPage::SubclassControl(CWnd& wrapper, int id) {
  HWND control = Control(id);
  if (!control) {
    LogError(L"CSettingsPage: no control " + std::to_wstring(id));
    return false;
  }
  return wrapper.SubclassWindow(control) != FALSE;
}

LRESULT CSettingsPage::CallControl(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
  return CallProcedure(Control(id), message, wParam, lParam);
}
