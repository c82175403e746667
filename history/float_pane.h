// The floating clipboard-history pane: a borderless topmost tool window with
// the caption toolbar and the item list. It is expanded (caption and list) or
// collapsed to a short caption bar at its right end, collapses when it loses
// the focus unless fixed, expands while the mouse rests on the caption and is
// translucent while inactive.
#pragma once
#include <windows.h>

#include <memory>

#include "foundation/handles.h"
#include "foundation/listeners.h"
#include "foundation/resizer.h"
#include "foundation/window_helpers.h"
#include "history/pane_toolbar.h"
#include "platform/atl/message_loop.h"
#include "platform/atl/window_impl.h"

class CMenuToolTip;
class CQLRDLLService;
class CQLRWndClipboardHandler;

namespace pane_ids {
constexpr UINT kBlinkStep = WM_APP + 1;
constexpr UINT kItemCount = WM_APP + 2;
constexpr UINT kSetShowMode = WM_APP + 3;
constexpr UINT_PTR kHoverEndTimer = 2336;
constexpr UINT kHoverEndTimerMs = 3000;
constexpr int kDefaultWidth = 300;
constexpr int kDefaultHeight = 170;
constexpr int kDefaultTop = 40;
constexpr BYTE kInactiveAlpha = 204;
}  // namespace pane_ids

// Kept rectangle of the expanded pane: {width, height, left, top}.
struct PaneRect {
  int width = 0;
  int height = 0;
  int left = 0;
  int top = 0;
};

// Shifts the rectangle left/up to end inside a screen of that size; leaves
// it unchanged when a shift would give a negative coordinate.
void FitPaneRectOnScreen(PaneRect& rect, int screenWidth, int screenHeight);
// A saved top-left from the settings, brought where a pane of that size can
// be reached on the virtual screen {left, top, width, height}. Any int input.
POINT ReachablePanePosition(POINT saved, const RECT& virtualScreen, int width, int height);

class CQLRFloatPane : public CWindowImpl<CQLRFloatPane, CWindow, CNullTraits>,
                      public CIdleHandler,
                      public IObserver,
                      public IAppEventListener {
 public:
  DECLARE_WND_CLASS(L"QuilloraFloatPane")

  CQLRFloatPane(CMenuToolTip* menuToolTips, CQLRDLLService* targetService);
  ~CQLRFloatPane() override;

  BEGIN_MSG_MAP(CQLRFloatPane)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
    MESSAGE_HANDLER(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
    MESSAGE_HANDLER(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
    MESSAGE_HANDLER(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
    MESSAGE_HANDLER(WM_NCHITTEST, OnNcHitTest)
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(pane_ids::kBlinkStep, OnBlinkStep)
    MESSAGE_HANDLER(pane_ids::kItemCount, OnItemCount)
    MESSAGE_HANDLER(pane_ids::kSetShowMode, OnSetShowModeMessage)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseNoAction)
    MESSAGE_HANDLER(WM_MOUSEHOVER, OnMouseNoAction)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseNoAction)
  END_MSG_MAP()

  bool Create(CQLRWndClipboardHandler* source, bool activate, bool flash);
  void SetShowMode(int mode, bool smooth);
  void ShowCollapsed();
  void Flash();
  int ShowMode() const { return m_showMode; }
  bool IsFixed() const { return m_fixed != 0; }
  void SetFixed(bool fixed);
  bool IsBlinking() const;
  bool IsSliding() const;
  int CaptionHeight() const;
  const PaneRect& SavedRect() const { return m_saved; }
  CPaneToolbar& Toolbar() { return m_toolbar; }
  HWND List() const { return m_list; }

  BOOL OnIdle() override;
  void OnObserverNotify(int code, int state) override;
  void OnAppEvent(int code, int param) override;

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnActivate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnWindowPosChanging(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnWindowPosChanged(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnKeyUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNcLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNcHitTest(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnBlinkStep(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnItemCount(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetShowModeMessage(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseNoAction(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

  void ApplyActivation(bool active, bool collapse);
  void UpdateToolbarButtons();
  void StartCaptionSlide(bool smooth);
  bool CoversWorkArea() const;
  void MoveToSaved();
  void OnToolbarHover();
  void CollapseOnEscape();

  CMenuToolTip* m_menuToolTips;
  CQLRDLLService* m_targetService;
  int m_pendingItem = -1;
  UniqueHandle m_slideEvent;
  PaneRect m_saved;
  std::unique_ptr<CNoBorderResizer> m_resizer;
  int m_fixed = 0;
  UniqueHandle m_blinkEvent;
  HICON m_markerIcons[2] = {nullptr, nullptr};
  int m_showMode = 0;
  HIMAGELIST m_imageList = nullptr;
  HWND m_list = nullptr;
  CQLRWndClipboardHandler* m_source = nullptr;
  CPaneToolbar m_toolbar;
  HWND m_toolbarTip = nullptr;
  int m_activate = 0;
  bool m_changingMode = false;
  CLayeredWindow m_layered;
};
