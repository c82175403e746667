// CCmdUI: the state of one command's user-interface item (a menu item, a
// bar button, a dialog control) while its update handler runs. Handlers
// call Enable, SetCheck, SetRadio and SetText; bars subclass it to apply
// the state to their own items.
#pragma once
#include <windows.h>

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
 public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  UINT m_nID = 0;
  UINT m_nIndex = 0;        // menu position, or the bar's item index
  CMenu* m_pMenu = nullptr;  // the menu of the item, when a menu item
  CMenu* m_pSubMenu = nullptr;  // the popup that the item opens, if any
  CWnd* m_pOther = nullptr;  // the control or bar, when not a menu item
  UINT m_nIndexMax = 0;
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;

  virtual void Enable(BOOL bOn = TRUE);
  virtual void SetCheck(int nCheck = 1);  // 0 clear, 1 checked, 2 indeterminate
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCWSTR lpszText);
  // The handler declines: routing goes on to the next target.
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Asks pTarget for the state; when no handler called Enable and
  // bDisableIfNoHndler is set, the item is disabled unless a command
  // handler exists. System commands (0xF000 and above) are never disabled
  // that way. Answers whether an update handler ran.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// Records the state instead of showing it: used to ask whether a menu or
// accelerator command is enabled before it runs.
class CTestCmdUI : public CCmdUI {
 public:
  BOOL m_bEnabled = TRUE;
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCWSTR) override {}
};

// Updates every item of a popup menu through pTarget (the frame's
// WM_INITMENUPOPUP work): items with an id below 0xF000 are disabled when
// bAutoMenuEnable is set and nobody handles them; a popup item takes the
// id of its first item.
void AfxUpdateMenuPopup(CCmdTarget* pTarget, CMenu* pPopup, BOOL bAutoMenuEnable);
