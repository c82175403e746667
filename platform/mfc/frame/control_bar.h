// CControlBar: a bar along an edge of its frame (status bar and, later,
// toolbars and docking panes). The bar keeps its framework style in
// m_dwStyle (the CBRS_ bits, never part of the window style), answers the
// frame's layout with its fixed size and refreshes its items in the idle
// pass through OnUpdateCmdUI. Commands, notifications and owner-draw
// messages that the bar does not handle go on to its owner.
#pragma once
#include <windows.h>

#include "platform/mfc/frame/bar_layout.h"
#include "platform/mfc/window/wnd.h"

class CDC;
class CDockBar;
class CDockContext;
class CFrameWnd;

constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_FLOAT_MULTI = 0x0040;
constexpr DWORD CBRS_BORDER_3D = 0x0080;
constexpr DWORD CBRS_HIDE_INPLACE = 0x0008;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD CBRS_FLOATING = 0x0001;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
constexpr DWORD CBRS_ALL = 0x0040FFFF;
constexpr DWORD CBRS_NOALIGN = 0;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

// Modes of CalcDynamicLayout.
constexpr DWORD LM_STRETCH = 0x01;   // span the whole dock side
constexpr DWORD LM_HORZ = 0x02;      // horizontal layout
constexpr DWORD LM_MRUWIDTH = 0x04;  // the most recently used width
constexpr DWORD LM_HORZDOCK = 0x08;  // docked in a horizontal dock bar
constexpr DWORD LM_VERTDOCK = 0x10;  // docked in a vertical dock bar
constexpr DWORD LM_LENGTHY = 0x20;   // nLength is a height, not a width
constexpr DWORD LM_COMMIT = 0x40;    // the answer becomes the bar's size

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)

 public:
  CControlBar() = default;

  ~CControlBar() override;

  DWORD m_dwStyle = 0;  // CBRS_ bits
  DWORD m_dwDockStyle = 0;  // the sides it may dock on (CBRS_ALIGN_ bits)
  CFrameWnd* m_pDockSite = nullptr;  // the frame that docks it
  CDockBar* m_pDockBar = nullptr;    // the dock bar holding it, docked or floating
  CDockContext* m_pDockContext = nullptr;  // dragging and floating; made by EnableDocking

  DWORD GetBarStyle() const { return m_dwStyle; }
  virtual void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle & CBRS_ALL; }
  BOOL IsVisible() const;
  // In a mini frame rather than on a side of the frame.
  BOOL IsFloating() const;
  // Allows docking on the CBRS_ALIGN_ sides given (0: never docks).
  void EnableDocking(DWORD dwDockStyle);

  // The bar's size along its edge: with bStretch it spans the whole side.
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  // The size for a length along the bar (-1: its own) in a LM_ mode;
  // this base answers the fixed layout.
  virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
  // Paints the CBRS_BORDER_ edges inside rect (window coordinates) and
  // takes them off it.
  void DrawBorders(CDC* pDC, CRect& rect);
  // Refreshes the bar's items from pTarget (the frame and its routing).
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The bar's item (a button) under a client point, or -1: a press there
  // is the item's, not a drag of the bar.
  virtual int ItemFromPoint(CPoint) const { return -1; }

 protected:
  // Stores the CBRS_ bits, creates the window with the others.
  BOOL CreateBar(LPCWSTR lpszClassName, DWORD dwStyle, CWnd* pParentWnd, UINT nID);
  LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  // The bar leaves its dock bar and its frame's list.
  void OnDestroy();
  // Docked bars drag with the left button and toggle docking on a double
  // click (both only with a docking context).
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnLButtonDblClk(UINT nFlags, CPoint point);
  // The frame whose commands the bar's items stand for.
  CFrameWnd* GetTargetFrame() const;
  DECLARE_MESSAGE_MAP()
};
