// The floating clipboard-history pane: a borderless topmost tool window with
// the caption toolbar and the item list. It is expanded (caption and list) or
// collapsed to a short caption bar at its right end, collapses when it loses
// the focus unless fixed, expands while the mouse rests on the caption and is
// translucent while inactive.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/system/handles.h"
#include "foundation/system/listeners.h"
#include "foundation/ui/resizer.h"
#include "foundation/ui/window_helpers.h"
#include "history/pane/history_list_ctrl.h"
#include "history/pane/list_view_hover.h"
#include "history/pane/pane_caption.h"
#include "history/pane/pane_toolbar.h"
#include "platform/atl/message_loop.h"
#include "platform/atl/window_impl.h"

class CMenuToolTip;
class CQLRDLLService;
class CQLRWndClipboardHandler;
class CCHItem;
class IPaneHost;
struct PaneMenuFacts;

namespace pane_ids {
constexpr UINT kBlinkStep = WM_APP + 1;
constexpr UINT kItemCount = WM_APP + 2;
constexpr UINT kSetShowMode = WM_APP + 3;
constexpr UINT kSlideStep = WM_APP + 4;
constexpr UINT_PTR kHoverEndTimer = 2336;
constexpr UINT kHoverEndTimerMs = 3000;
constexpr int kDefaultWidth = 300;
constexpr int kDefaultHeight = 170;
constexpr int kDefaultTop = 40;
constexpr BYTE kInactiveAlpha = 204;
constexpr UINT_PTR kCopyTimer = 2334;
constexpr UINT_PTR kPasteTimer = 2335;
constexpr UINT_PTR kReselectTimer = 2337;
constexpr UINT kCopyTimerMs = 100;
constexpr UINT kPasteTimerMs = 100;
constexpr UINT kReselectTimerMs = 700;
constexpr UINT kResultBoxMs = 3000;
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
    MESSAGE_HANDLER(WM_SYSCOMMAND, OnSysCommand)
    MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
    MESSAGE_HANDLER(WM_MENURBUTTONUP, OnMenuRButtonUp)
    MESSAGE_HANDLER(WM_MENUSELECT, OnMenuTipMessage)
    MESSAGE_HANDLER(WM_ENTERIDLE, OnMenuTipMessage)
    MESSAGE_HANDLER(WM_EXITMENULOOP, OnMenuTipMessage)
    MESSAGE_HANDLER(pane_ids::kBlinkStep, OnBlinkStep)
    MESSAGE_HANDLER(pane_ids::kSlideStep, OnSlideStep)
    MESSAGE_HANDLER(pane_ids::kItemCount, OnItemCount)
    MESSAGE_HANDLER(pane_ids::kSetShowMode, OnSetShowModeMessage)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseNoAction)
    MESSAGE_HANDLER(WM_MOUSEHOVER, OnMouseNoAction)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseNoAction)
  END_MSG_MAP()

  bool Create(CQLRWndClipboardHandler* source, bool activate, bool flash);
  // The list follows the history: item count, item 0 in view, the title.
  void RefreshList();
  // After the history was cleared or the items' texts changed.
  void Invalidate();
  void SetShowMode(int mode, bool smooth);
  void ShowCollapsed();
  void Flash();
  int ShowMode() const { return m_showMode; }
  bool IsFixed() const { return m_fixed != 0; }
  void SetFixed(bool fixed);
  bool IsBlinking() const;
  bool IsSliding() const;
  int CaptionHeight() const;
  // The width the pane has slid to its caption bar; 0 before the toolbar exists.
  int CollapsedWidth() const;
  const PaneRect& SavedRect() const { return m_saved; }
  CPaneToolbar& Toolbar() { return m_toolbar; }
  HWND List() const { return m_list; }
  CHistoryListCtrl& ListCtrl() { return m_listCtrl; }
  CListViewHover& HoverTracker() { return *m_hover; }
  bool IsQuickCopyTipShown() const;
  bool CoversWorkArea() const;
  // An item's one-line list text, from the pane's caption cache.
  std::wstring ListText(int index);

  // The tray program's services; null in a pane of its own.
  void SetHost(IPaneHost* host) { m_host = host; }
  // The item commands and the commands passed on, as WM_COMMAND runs them;
  // fromToolbar marks the toolbar's buttons.
  bool RunPaneCommand(UINT command, bool fromToolbar);
  // Copies the item (index in the list) onto the clipboard, without paste.
  bool CopyItem(int index, bool sound);
  // What the item menu's rules look at now.
  PaneMenuFacts MenuFacts();
  // Menu resource 205 in the user's language; the caller destroys it.
  HMENU LoadLocalizedItemMenu();
  // The item menu, prepared; the caller destroys it.
  HMENU LoadItemMenu();
  // The menu for a right click at a screen point, or for the keyboard.
  void ShowItemMenu(POINT pt, bool fromKeyboard);
  // The caption menu at a screen point: the window menu with the pane's and
  // the tray's commands appended for the time it is open; the choice is run.
  void ShowCaptionMenu(POINT pt);
  void RunCaptionChoice(UINT choice);
  // The window menu's additions, once per menu.
  void AddToWindowMenu(HMENU menu);
  // The caption toolbar's notifications (pane_caption_draw.cpp).
  LRESULT OnCaptionCustomDraw(NMTBCUSTOMDRAW* draw);
  void OnButtonTip(NMTBGETINFOTIPW* info);
  LRESULT OnToolbarDropDown(NMTOOLBARW* info);
  // The edit button's drop-down, built anew; the caller destroys it.
  HMENU BuildDropDownMenu();
  void RunDropDownChoice(UINT choice);
  // What the caption's last painting showed.
  const CaptionPaint& LastCaptionPaint() const { return m_lastCaption; }
  // The tray menu's caption of a command, localised; empty when the tray
  // menu has no such command.
  std::wstring TrayMenuText(UINT command);
  std::wstring CaptionItemText(UINT command);
  std::uint32_t PendingItemNumber() const { return m_pendingNumber; }

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
  LRESULT OnSysCommand(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnInitMenuPopup(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMenuRButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  // The pane's menus show the tray menu's tooltips.
  LRESULT OnMenuTipMessage(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnBlinkStep(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSlideStep(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnItemCount(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetShowModeMessage(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseNoAction(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  // The list's notifications; false for one the pane leaves alone.
  bool OnListNotify(NMHDR* header, LRESULT* result);
  void SetupList();
  void FitListColumn();
  void OnDisplayInfo(NMLVDISPINFOW* info);
  void OnInfoTip(NMLVGETINFOTIPW* info);
  // The tip's title and icon set for the item; its details returned.
  std::wstring PrepareInfoTip(int index);
  // An open info tip of the item shows its text anew (after an edit).
  void RebuildInfoTip(int index);
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw);
  void DrawRowParts(NMLVCUSTOMDRAW* draw);
  void ShowQuickCopyTip(int item);
  void HideQuickCopyTip();
  static bool IsMaximisedQuery(void* self);
  static int CaptionHeightQuery(void* self);

  struct CachedCaption {
    std::uint32_t number;
    std::uint32_t editCount;
    std::wstring text;
  };

  void ApplyActivation(bool active, bool collapse);
  void PaintCaption(HDC dc);
  LRESULT DrawCloseButton(NMTBCUSTOMDRAW* draw);
  HFONT CaptionFont();
  void UpdateToolbarButtons();
  void StartCaptionSlide(bool smooth);
  void MoveToSaved();
  void OnToolbarHover();
  void CollapseOnEscape();
  // Item commands (pane_commands.cpp).
  int SelectionMark() const;
  std::vector<int> SelectedItems() const;
  const CCHItem* MarkItem() const;
  void PostToTray(UINT command);
  void ReportToTray(const wchar_t* text);
  void StartCopyAndPaste();
  void OnCopyTimer();
  void OnPasteTimer();
  void OnReselectTimer();
  void ScheduleReselect(const CCHItem* item);
  void ProtectSelected();
  void DeleteSelected();
  void ClearItems();
  void UndoLast();
  void EditSelected(UINT command);
  void ShowResultBox(UINT labelId, int total);
  bool SaveItem(int index);
  void SaveSelected();
  void AfterCountChange();

  IPaneHost* m_host = nullptr;
  std::uint32_t m_pendingNumber = 0;
  HMENU m_openItemMenu = nullptr;

  CMenuToolTip* m_menuToolTips;
  CQLRDLLService* m_targetService;
  int m_pendingItem = -1;
  UniqueHandle m_slideEvent;
  PaneRect m_saved;
  // A saved place left of the screen's edge, taken back when the pane
  // slides to its caption from where it opened.
  struct CollapsePlace {
    bool pending = false;
    POINT opened = {};
    int left = 0;
  } m_collapsePlace;
  std::unique_ptr<CNoBorderResizer> m_resizer;
  std::unique_ptr<CListViewHover> m_hover;
  int m_fixed = 0;
  UniqueHandle m_blinkEvent;
  HICON m_markerIcons[2] = {nullptr, nullptr};
  int m_showMode = 0;
  // The slide of the newest collapse; older slides stop at their next step.
  LPARAM m_slideGeneration = 0;
  int m_slideTargetWidth = 0;
  HIMAGELIST m_imageList = nullptr;
  HWND m_list = nullptr;
  CHistoryListCtrl m_listCtrl;
  HICON m_htmlMarker = nullptr;
  HWND m_quickTip = nullptr;
  // List texts by item; checked against the item's number and its edits,
  // so a new item at a freed address is not taken for the old one.
  std::unordered_map<const CCHItem*, CachedCaption> m_captions;
  CQLRWndClipboardHandler* m_source = nullptr;
  CPaneToolbar m_toolbar;
  HWND m_toolbarTip = nullptr;
  int m_activate = 0;
  bool m_changingMode = false;
  CLayeredWindow m_layered;
  HFONT m_captionFont = nullptr;
  HICON m_collapsedIcon = nullptr;
  HMENU m_dropDownMenu = nullptr;
  CaptionPaint m_lastCaption;
};
