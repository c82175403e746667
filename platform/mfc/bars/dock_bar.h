// CDockBar: one side of a frame (or the inside of a mini frame) that holds
// control bars in rows. Docked bars are its children. A horizontal dock
// bar (top, bottom) stacks rows downwards and lines its bars up from left
// to right; a vertical one (left, right) stacks columns. Neighbouring
// bars and rows overlap by 2 pixels, so their borders meet.
#pragma once
#include <windows.h>

#include <vector>

#include "platform/mfc/frame/control_bar.h"

class CDockBar : public CControlBar {
  DECLARE_DYNAMIC(CDockBar)

 public:
  explicit CDockBar(BOOL bFloating = FALSE) : m_bFloating(bFloating) {}
  ~CDockBar() override;

  // dwStyle: the side (CBRS_ALIGN_ bit) plus window styles; nID one of the
  // AFX_IDW_DOCKBAR_ ids.
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

  BOOL m_bFloating;
  BOOL m_bAutoDelete = FALSE;  // the frame's own dock bars go with their windows
  void PostNcDestroy() override {
    if (m_bAutoDelete) delete this;
  }
  // The bars in rows: a null entry ends each row, and the list starts with
  // one, so a row is what lies between two nulls.
  std::vector<CControlBar*> m_arrBars;
  // The free rectangle (the frame's client coordinates) this dock bar was
  // given at the last layout pass; empty before the first.
  CRect m_rectLayout;

  BOOL IsHorzDock() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0 || m_bFloating; }
  // Adds the bar: a new last row without lpRect; with lpRect (screen) into
  // the row under the rectangle's centre, ordered by its position along
  // the row, or a new row at that place. The bar becomes a child.
  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  // Takes the bar out; a row left empty goes too.
  BOOL RemoveControlBar(CControlBar* pBar);
  int FindBar(const CControlBar* pBar) const;
  int GetBarCount() const;
  // The bars of pBar's row in order (the visible ones when asked).
  void GetRowBars(const CControlBar* pBar, std::vector<CControlBar*>& row, bool bVisibleOnly = true) const;
  // Among the visible bars of its row.
  BOOL IsFirstInRow(const CControlBar* pBar) const;
  BOOL IsLastInRow(const CControlBar* pBar) const;
  // Ends a row in front of the bar at nPos (no effect when one is there).
  void InsertRowBreak(int nPos);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

 protected:
  LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  void OnDestroy();
  // Places the visible bars for a side of the given length; answers the
  // extent across the rows.
  int LayoutRows(int nLength, bool bMove);
  CSize BarSize(CControlBar* pBar) const;
  DECLARE_MESSAGE_MAP()
};
