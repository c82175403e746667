// The editor's thin control classes over the framework layer's wrappers
// (its toolbar control is in toolbar_ctrl_ex.h).
#pragma once
#include "platform/mfc/bars/rebar.h"
#include "platform/mfc/controls/tab_ctrl.h"
#include "platform/mfc/controls/tree_ctrl.h"

// The settings tab bar's control.
class CTabCtrlEx : public CTabCtrl {
 public:
  CTabCtrlEx() = default;
  ~CTabCtrlEx() override = default;
  // The tab's lParam, or -1 when the tab cannot be read.
  LPARAM GetItemParam(int index) const;
};

// The base of the phrase tree control; no messages of its own.
class CTreeCtrlEx : public CTreeCtrl {
 public:
  CTreeCtrlEx() = default;
  ~CTreeCtrlEx() override = default;
};

// The main frame's rebar: its background is the button face, whatever the
// bands leave uncovered.
class CReBarEx : public CReBar {
 public:
  CReBarEx() = default;
  ~CReBarEx() override = default;

 protected:
  BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()
};
