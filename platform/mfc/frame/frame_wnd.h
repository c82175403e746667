// CFrameWnd: a top-level window with a menu, accelerators, control bars
// along its edges and one view (id AFX_IDW_PANE_FIRST) filling the rest.
// Commands go to the active view (and through it to the document and the
// template), then to the frame, then to the application. The idle pass
// refreshes the title, the layout and the bars' items.
#pragma once
#include <windows.h>

#include <vector>

#include "platform/mfc/doc/create_context.h"
#include "platform/mfc/res/afx_ids.h"
#include "platform/mfc/window/wnd.h"

class CControlBar;
class CDockBar;
class CDocument;
class CMiniDockFrameWnd;
class CView;

// Frame styles, kept in the window style's class-specific bits.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;  // the document's title goes into the caption
constexpr DWORD FWS_PREFIXTITLE = 0x00004000;  // ... in front of the application's
constexpr DWORD FWS_SNAPTOBARS = 0x00002000;

// Sent to a frame to show a prompt: wParam a string id, or lParam a text.
constexpr UINT WM_SETMESSAGESTRING = 0x0362;

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)

 public:
  CFrameWnd() = default;
  ~CFrameWnd() override;

  static const CRect rectDefault;

  using CWnd::Create;
  BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCWSTR lpszMenuName = nullptr,
              DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
  // Menu, accelerators, icon and title (the part of the string before its
  // first "\n") of one resource id. Missing menu, accelerators or icon are
  // logged and left out.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
  // Initial updates of the views, the active view, the title; shows the
  // frame when asked.
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
  virtual void ActivateFrame(int nCmdShow = -1);

  // The active view; null when none or when it is gone.
  CView* GetActiveView() const;
  virtual void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
  virtual CDocument* GetActiveDocument();

  // Layout: control bars take the edges, the pane the rest.
  virtual void RecalcLayout(BOOL bNotify = TRUE);
  void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = 0, LPRECT lpRectParam = nullptr,
                      LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);
  // A bar of this frame by its id: its own children and every bar it docks
  // or floats.
  CControlBar* GetControlBar(UINT nID) const;
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);

  // Docking. EnableDocking makes one dock bar for each CBRS_ALIGN_ side
  // given (AFX_IDW_DOCKBAR_TOP...). A bar docks only on a side that both
  // it and the frame allow; nDockBarID 0 takes the first such side (top,
  // bottom, left, right). lpRect (screen) places it in a row; without one
  // it starts a row of its own.
  void EnableDocking(DWORD dwDockStyle);
  BOOL DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  // Moves the bar into a mini frame whose window starts at point (screen);
  // dwStyle gives its CBRS_ALIGN_ layout (0: horizontal).
  BOOL FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = 0);
  CDockBar* GetDockBar(UINT nDockBarID) const;
  // The dock bar id of the first side in dwStyle's CBRS_ALIGN_ bits that
  // has a dock bar, or 0.
  UINT FirstDockBarID(DWORD dwStyle) const;
  // Bars register here when made on this frame and leave when destroyed.
  void AddControlBar(CControlBar* pBar);
  void RemoveControlBar(CControlBar* pBar);
  const std::vector<CControlBar*>& ControlBars() const { return m_listControlBars; }

  // Title.
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  void DelayUpdateFrameTitle() { m_nIdleFlags |= idleTitle; }
  void DelayRecalcLayout() { m_nIdleFlags |= idleLayout; }
  const CString& GetTitle() const { return m_strTitle; }
  void SetTitle(LPCWSTR lpszTitle) { m_strTitle = lpszTitle; }

  // Status prompts.
  void SetMessageText(LPCWSTR lpszText);
  void SetMessageText(UINT nID);
  // The prompt of a command: its string up to the first "\n".
  virtual void GetMessageString(UINT nID, CString& rMessage) const;
  CWnd* GetMessageBar() const;

  virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void PostNcDestroy() override { delete this; }

  BOOL m_bAutoMenuEnable = TRUE;  // items without a handler are disabled
  HMENU m_hMenuDefault = nullptr;  // the menu of the frame's resource
  HACCEL m_hAccelTable = nullptr;
  CString m_strTitle;
  UINT m_nIDTracking = AFX_IDS_IDLEMESSAGE;  // the prompt to show: the menu item under the mouse
  UINT m_nIDLastMessage = 0;  // the prompt shown
  enum IdleFlags : UINT { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
  UINT m_nIdleFlags = 0;

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnSize(UINT nType, int cx, int cy);
  void OnSetFocus(CWnd* pOldWnd);
  void OnClose();
  void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  void OnEnterIdle(UINT nWhy, CWnd* pWho);
  LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
  BOOL OnBarCheck(UINT nID);
  void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
  // The tooltip of a bar's button: the text after the "\n" of its
  // command's string (the whole string when there is none).
  BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

 private:
  friend class CView;
  CView* GetActiveViewPointer() const { return m_pViewActive; }
  void DestroyMiniFrames();
  CMiniDockFrameWnd* CreateMiniFrame(CControlBar* pBar, DWORD dwStyle);
  void ForgetEmptyMiniFrames();
  std::vector<CControlBar*> m_listControlBars;
  std::vector<HWND> m_miniFrames;  // by handle: they delete themselves
  CView* m_pViewActive = nullptr;
  HWND m_hWndViewActive = nullptr;  // to tell a live active view from a gone one
  HICON m_hIcon = nullptr;
  DECLARE_MESSAGE_MAP()
};
