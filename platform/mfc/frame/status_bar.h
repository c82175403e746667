// CStatusBar: the frame's status line on the common status control. Pane 0
// (ID_SEPARATOR) is the message pane and takes the width the others leave;
// the other panes are indicators, as wide as their string and showing it
// while their command is enabled (the frame enables CAPS, NUM and SCRL
// while those keys are toggled on).
#pragma once
#include <windows.h>

#include <vector>

#include "platform/mfc/frame/control_bar.h"
#include "platform/mfc/res/afx_ids.h"

class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)

 public:
  CStatusBar() = default;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
              UINT nID = AFX_IDW_STATUS_BAR);
  // Panes by command id; each indicator shows the string of its id.
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
  int GetCount() const { return static_cast<int>(m_panes.size()); }
  UINT GetItemID(int nIndex) const;
  int CommandToIndex(UINT nIDFind) const;
  BOOL SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate = TRUE);
  CString GetPaneText(int nIndex) const;
  // Enabled panes show their text; a disabled one shows nothing.
  void EnablePane(int nIndex, BOOL bEnable);
  BOOL IsPaneEnabled(int nIndex) const;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

 protected:
  void OnSize(UINT nType, int cx, int cy);
  LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);

 private:
  struct Pane {
    UINT id = 0;
    int width = 0;  // of the text, for indicators
    bool enabled = true;
    CString text;
  };
  void UpdateParts();
  void ShowPane(int nIndex);
  int MeasureText(const CString& text) const;

  std::vector<Pane> m_panes;
  DECLARE_MESSAGE_MAP()
};
