// The editor's toolbar controls: drop-down arrows, tips from the string
// table, and buttons that follow their commands' update handlers.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "platform/mfc/controls/toolbar_ctrl.h"
#include "platform/mfc/window/cmd_ui.h"

class CToolBarCtrlEx;

// The state of one button while its update handler runs: m_nIndex is the
// button's index, m_nID its command.
class CToolBarButtonCmdUI : public CCmdUI {
 public:
  explicit CToolBarButtonCmdUI(CToolBarCtrlEx* owner) : m_pOwner(owner) {}
  void Enable(BOOL bOn = TRUE) override;
  void SetCheck(int nCheck = 1) override;
  void SetRadio(BOOL bOn = TRUE) override { SetCheck(bOn ? 1 : 0); }
  void SetText(LPCWSTR) override {}

  CToolBarCtrlEx* m_pOwner;

 private:
  // Writes the state only when it differs: each write repaints.
  void SetStateBits(BYTE bits, bool on);
};

class CToolBarCtrlEx : public CToolBarCtrl {
  DECLARE_DYNAMIC(CToolBarCtrlEx)

 public:
  CToolBarCtrlEx() = default;
  ~CToolBarCtrlEx() override = default;

  // Every button that is not a separator asks its command's update
  // handler: the toolbar's own reflected update first, then pTarget's
  // routing; a command nobody handles is disabled when
  // bDisableIfNoHndler is set. Then the target's dialog controls follow.
  // A null target stands for the owner (set with SetOwner), else the parent.
  void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

  // All four values -1 for an unknown id.
  CRect GetButtonRect(UINT id) const;
  BOOL SetButtonState(UINT id, UINT state) { return SetState(static_cast<int>(id), state); }
  // TBSTATE_ flags, or -1 for an unknown id.
  int GetButtonState(UINT id) const { return GetState(static_cast<int>(id)); }

  // The tip of a button: the localised text of its command up to the first
  // line feed (the long prompt), or all of it when it has none.
  virtual std::wstring GetButtonTip(UINT id);

 protected:
  int OnCreate(LPCREATESTRUCT lpCreateStruct);
  void OnGetInfoTip(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()
};

// The long prompt of a command: its localised text up to the first line feed.
std::wstring GetCommandLongPrompt(UINT id);
// Copies the tip into the caller's buffer, cut to its size and terminated;
// a buffer of no characters is left alone.
void CopyInfoTip(NMTBGETINFOTIPW* info, const std::wstring& tip);
// The pre-paint step of a toolbar's custom draw: fills the client area with
// the system colour and asks for the item steps; later steps draw as usual.
LRESULT PaintToolBarBackground(NMHDR* pNMHDR, int sysColorIndex);
