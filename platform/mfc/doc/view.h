// CView: a child window that shows a document. Created by its frame with a
// CCreateContext, it adds itself to the context's document; it routes
// commands to itself, then to its document; it deletes itself after its
// window is gone and leaves its document and its frame when deleted.
#pragma once
#include <windows.h>

#include "platform/mfc/doc/create_context.h"
#include "platform/mfc/doc/document.h"
#include "platform/mfc/window/wnd.h"

class CFrameWnd;

// Sent to a frame's descendants once the frame has its document.
constexpr UINT WM_INITIALUPDATE = 0x0364;

// The style of a view created by its frame: child, visible, border.
constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)

 public:
  CView() = default;
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }
  CFrameWnd* GetParentFrame() const;

  virtual void OnInitialUpdate();  // the first OnUpdate(NULL, 0, NULL)
  // A change of the document. hint values may carry pointers or id lists.
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
  virtual void OnDraw(CDC* pDC) { (void)pDC; }
  // The frame made this view active (bActivate) or another one.
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void PostNcDestroy() override { delete this; }

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnPaint();
  int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

  CDocument* m_pDocument = nullptr;

 private:
  friend class CDocument;
  // Leaves the frame's active-view place, so no frame keeps a pointer to
  // a view that is going away.
  void LeaveParentFrame();
  DECLARE_MESSAGE_MAP()
};
