// CListView: a view that is a list-view control (window class
// SysListView32). GetListCtrl gives the control's wrapper on the view's
// own window.
#pragma once
#include "platform/mfc/controls/list_ctrl.h"
#include "platform/mfc/doc/view.h"

class CListView : public CView {
  DECLARE_DYNCREATE(CListView)

 public:
  CListView() = default;

  CListCtrl& GetListCtrl() const;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void OnDraw(CDC*) override {}

 protected:
  void OnPaint() { Default(); }  // the control paints itself

 private:
  // A second wrapper of the view's window, not in the handle map: the
  // view's object keeps the window's messages.
  mutable CListCtrl m_listCtrl;
  DECLARE_MESSAGE_MAP()
};
