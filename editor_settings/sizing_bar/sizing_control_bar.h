// CSizingControlBar: a dockable pane that the user sizes by dragging its
// inner edge (or the edge it shares with a neighbour in its row), that
// floats in a mini frame, and that keeps its sizes in the application's
// profile. Docked horizontally it answers its horizontal size, docked
// vertically its vertical size, floating its floating size; each never
// below its minimum. CSizingControlBarG adds a gripper with a close
// button, CSizingControlBarCF a caption with the pane's title.
#pragma once
#include <windows.h>

#include <vector>

#include "editor_settings/sizing_bar/sizing_bar_geometry.h"
#include "platform/mfc/afx.h"

// Bar style bit (in m_dwStyle): the first child window fills the client area.
constexpr DWORD SCBS_SIZECHILD = 0x20;

// The profile name under which the editor's frame keeps its panes' sizes:
// loaded when the panes are made, saved when the frame closes.
constexpr wchar_t kEditorBarsProfileName[] = L"Bars";

class CSizingControlBar : public CControlBar {
  DECLARE_DYNAMIC(CSizingControlBar)

 public:
  CSizingControlBar();

  // All three sizes become sizeDefault, then the other Create.
  virtual BOOL Create(LPCWSTR lpszWindowName, CWnd* pParentWnd, CSize sizeDefault, BOOL bHasGripper, UINT nID,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP);
  // The CBRS_ bits of dwStyle become the bar style, the others (with
  // WS_CLIPCHILDREN) the window's.
  virtual BOOL Create(LPCWSTR lpszWindowName, CWnd* pParentWnd, UINT nID,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP);
  // Section "<profile>-SCBar-<id>": sizeHorzCX, sizeHorzCY, sizeVertCX,
  // sizeVertCY, sizeFloatCX, sizeFloatCY. A missing value keeps the size.
  virtual BOOL LoadState(LPCWSTR lpszProfileName);
  virtual BOOL SaveState(LPCWSTR lpszProfileName);
  // Whether the profile holds any of the six sizes.
  BOOL HasSavedState(LPCWSTR lpszProfileName) const;

  BOOL IsHorzDocked() const;
  BOOL IsVertDocked() const;
  BOOL IsFloating() const;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

  CSize m_szHorz, m_szVert, m_szFloat;
  CSize m_szMinHorz, m_szMinVert, m_szMinFloat;
  BOOL m_bDragShowContent = FALSE;  // the system shows windows while they are dragged
  UINT m_nEdgeFlags = 0;            // sizing_bar::kEdge... bits
  bool m_bJustResized = false;      // by the user, since the row was last fitted
  BOOL IsTracking() const { return m_bTracking; }
  // The non-client area as it is painted, into a DC of the window's size.
  void DrawNonClient(HDC hdc);

 protected:
  virtual void StartTracking(UINT nHitTest, CPoint point);
  virtual void StopTracking();
  virtual void OnTrackUpdateSize(CPoint& point);
  virtual void OnTrackInvertTracker();
  virtual void NcPaintGripper(CDC* pDC, CRect rcClient) { (void)pDC, (void)rcClient; }
  virtual void NcPaintExtra(CDC* pDC, CRect rcClient) { (void)pDC, (void)rcClient; }
  // The client rectangle (window coordinates of the parent) for the dock
  // bar given; also renews the edge flags.
  virtual void NcCalcClient(LPRECT pRc, UINT nDockBarID);
  // Every sizing bar of this bar's row takes the row's largest thickness.
  virtual void AlignControlBars();
  virtual HBRUSH GetBackgroundBrush() const;

  sizing_bar::Side CurrentSide() const;
  // This bar's row in the dock bar (visible bars) and as plain sizes.
  void GetRowBars(std::vector<CControlBar*>& bars) const;
  std::vector<sizing_bar::RowBar> RowSizes(const std::vector<CControlBar*>& bars) const;
  void SetRowSizes(const std::vector<CControlBar*>& bars, const std::vector<sizing_bar::RowBar>& sizes);
  // The row's length to fit (the dock bar's layout, or the frame's client area).
  int RowLength() const;
  void FitOwnRow();
  void RedrawNonClient();

  int OnCreate(LPCREATESTRUCT lpcs);
  void OnSize(UINT nType, int cx, int cy);
  void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  LRESULT OnNcHitTest(CPoint point);
  void OnNcPaint();
  void OnNcLButtonDown(UINT nHitTest, CPoint point);
  void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnLButtonUp(UINT nFlags, CPoint point);
  void OnRButtonDown(UINT nFlags, CPoint point);
  void OnCaptureChanged(CWnd* pWnd);
  void OnClose() {}
  void OnSettingChange(UINT uFlags, LPCWSTR lpszSection);
  DECLARE_MESSAGE_MAP()

  // Tracking.
  BOOL m_bTracking = FALSE;
  UINT m_htEdge = 0;
  std::vector<CControlBar*> m_trackRow;
  std::vector<sizing_bar::RowBar> m_trackStart;
  int m_nTrackPosMin = 0, m_nTrackPosMax = 0, m_nTrackPosOld = 0, m_nTrackPos = 0;
  int m_nTrackStartPos = 0;
  size_t m_nTrackIndex = 0;
  bool m_bTrackInner = false;   // the edge facing the frame's centre: the row's thickness
  bool m_bTrackAlongX = false;  // the screen coordinate that moves the edge
  int m_nGrowSign = 1;          // +1 when a larger coordinate grows the bar
  int m_nTrackThickness = 0;    // the row's thickness when tracking began
  // Room the view leaves for the row to grow into.
  int FreeAcross() const;
  UINT m_nDockBarID = 0;  // the dock bar of the last non-client calculation
};
