// The editor's markup tooltip: a popup, balloon-shaped with an anchor or a
// plain rectangle, that shows a text of the HTML drawer's markup with a
// background effect, a border, a soft shadow, fading and live links. The
// owner registers tools (windows, optionally with a rectangle) and relays
// its thread's mouse and key messages; the tooltip decides when to show,
// move and hide. Any text can also be shown at a point on demand.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "htmldraw/html_text_drawer.h"
#include "htmldraw/work_bitmap.h"
#include "platform/mfc/window/wnd.h"

// Which optional fields a tool record sets itself; the others take the
// tooltip's defaults when the tip is shown.
enum PPToolMask : UINT {
  kPPMaskHandle = 0x01,
  kPPMaskEffect = 0x02,  // effect and granularity
  kPPMaskColors = 0x04,
  kPPMaskDirection = 0x08,
  kPPMaskBehaviour = 0x10,
  kPPMaskTransparency = 0x20,
};

// Behaviour flags of a tip.
enum PPToolBehaviour : UINT {
  kPPShowAgain = 0x01,      // a hidden tip forgets its tool, so it shows again on the next move
  kPPFollowCursor = 0x02,   // moves inside the tool move the tip and restart the autopop
  kPPRestartOnMove = 0x04,  // moves inside the tool restart the autopop
  kPPKeepOverTip = 0x08,    // the cursor over the tip restarts the autopop instead of hiding it
  kPPNoAutopop = 0x10,      // stays until hidden explicitly, by a click or a key
};

// Placement codes: the high bits say where the tip lies, the low two where
// the anchor sits along its edge (near the left or top end, near the right
// or bottom end, centred on the point).
enum PPDirection : int {
  kPPBelow = 0,   // anchor on the top edge
  kPPAbove = 16,  // anchor on the bottom edge
  kPPRight = 32,  // anchor on the left edge
  kPPLeft = 48,   // anchor on the right edge
  kPPAnchorNear = 0,
  kPPAnchorFar = 1,
  kPPAnchorCentre = 2,
};

// Indexes of the geometry values.
enum PPGeometry : int {
  kPPCornerWidth = 0,
  kPPCornerHeight = 1,
  kPPMarginX = 2,
  kPPMarginY = 3,
  kPPAnchorWidth = 4,
  kPPAnchorHeight = 5,
  kPPAnchorDistance = 6,
  kPPGeometryCount = 9,
};

// Delay kinds of SetDelayTime.
enum PPDelay : int {
  kPPDelayAutopop = 2,
  kPPDelayInitial = 3,
  kPPDelayFadeIn = 4,
  kPPDelayFadeOut = 5,
  kPPDelayWatch = 6,
};

// One tool; copied by value.
struct PPToolRecord {
  UINT id = 0;
  RECT rect = {0, 0, 0, 0};  // client coordinates of its window; empty: the whole window
  std::wstring text;
  UINT mask = 0;
  UINT handle = 0;  // carried for the caller; the tooltip does not draw it
  int direction = 0;
  int effect = 0;
  UINT behaviour = 0;
  BYTE granularity = 0;
  BYTE transparency = 0;
  COLORREF colorBegin = 0;
  COLORREF colorMiddle = 0;
  COLORREF colorEnd = 0;
};

// The notification sent to the notify window before a tip is laid out; the
// receiver may change the record (its text above all).
constexpr UINT kPPNotifyDisplay = 0x464;
struct PPToolTipDisplay {
  NMHDR hdr;
  HWND hwndTool;
  LPPOINT pt;
  PPToolRecord* ti;
};

// The drawer asks for a redraw (hovered link changed) with this message.
constexpr UINT kPPRedrawRequest = 0x465;

constexpr wchar_t kPPToolTipClass[] = L"CPPToolTip";

class CPPToolTip : public CWnd {
 public:
  enum State { kHidden = 0, kAppearing = 1, kShown = 2, kDisappearing = 3 };
  enum Timer : UINT_PTR { kTimerShow = 256, kTimerHide = 257, kTimerFadeIn = 258, kTimerFadeOut = 259,
                          kTimerWatch = 260 };
  enum Mode { kModeNone = 0, kModeFixed = 1 };

  CPPToolTip();
  ~CPPToolTip() override;

  // The popup, owned by parent; 0 when it was not created (also when the
  // window class could not be registered).
  BOOL Create(CWnd* parent, BOOL balloon = TRUE);
  BOOL Create(HWND parent, BOOL balloon = TRUE);
  BOOL DestroyWindow() override;

  // A tool: an equal rectangle of the same window replaces the record.
  void AddTool(HWND window, const std::wstring& text, const RECT* rect = nullptr, UINT id = 0);
  void AddTool(CWnd* window, const std::wstring& text, const RECT* rect = nullptr, UINT id = 0) {
    AddTool(window ? window->GetSafeHwnd() : nullptr, text, rect, id);
  }
  // Every message of the owner's thread, before it is dispatched.
  void RelayMessage(const MSG* msg);
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // Shows text at once at a screen point, with an icon before it when one
  // is given (the caller keeps the icon). Mouse moves neither move nor hide
  // it and it has no autopop.
  void ShowTextAt(POINT point, const std::wstring& text, HICON icon = nullptr);
  void HideTip();
  void Pop();

  void SetDelayTime(int kind, UINT ms);
  void SetBehaviour(UINT flags) { m_defaults.behaviour = flags; }
  UINT GetBehaviour() const { return m_defaults.behaviour; }
  void SetDirection(int code) { m_defaults.direction = code; }
  void SetColorBk(COLORREF color) { SetColorBk(color, color, color); }
  void SetColorBk(COLORREF begin, COLORREF middle, COLORREF end);
  // A zero width, height or brush leaves the border off. A given brush is
  // copied; the caller keeps its own.
  void SetBorder(COLORREF color, int width = 1, int height = 1);
  void SetBorder(HBRUSH brush, int width = 1, int height = 1);
  // Darkness of 100 and more is stored as 100.
  void SetShadow(int offsetX, int offsetY, int darknessPercent = 50, BOOL enabled = TRUE, int blurX = 7,
                 int blurY = 7);
  // An index of kPPGeometryCount or more is ignored.
  void SetSize(int index, int value);
  int GetSize(int index) const;
  void SetDefaultSizes(BOOL balloon = TRUE);
  void SetNotify(BOOL notify = TRUE);
  void SetRedrawOnRequest(BOOL redraw = TRUE) { m_redrawOnRequest = redraw != FALSE; }
  void SetWindowInfoMode(BOOL on = TRUE) { m_windowInfoMode = on != FALSE; }

  // The embedded drawer: the owner sets its link message target, image
  // list and maximum width directly.
  CHtmlTextDrawer& GetHtmlDrawer() { return m_drawer; }

  // What the window shows now.
  int GetState() const { return m_state; }
  int GetTransparency() const { return m_transparency; }
  int GetShadowDarkness() const { return m_shadowDarkness; }
  int GetActualDirection() const { return m_direction; }
  HWND GetDisplayedTool() const { return m_displayedWindow; }
  const PPToolRecord& GetDisplayedRecord() const { return m_displayed; }
  const std::vector<PPToolRecord>* GetTools(HWND window) const;

  // Frames the region with the border brush and sizes.
  virtual void DrawBorder(HDC dc, HRGN region);

 protected:
  void OnTimer(UINT_PTR id);
  void OnPaint();
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  void OnActivateApp(BOOL active, DWORD threadId);
  LRESULT OnRedrawRequest(WPARAM, LPARAM);
  LRESULT OnPopRequest(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

 private:
  // Relay.
  void OnRelayedMouseMove(POINT point);
  bool IsOverTip(POINT point) const;
  HWND FindToolWindow(POINT point) const;
  const PPToolRecord* FindTool(HWND window, POINT point) const;
  void ForgetDeadTools();
  void RestartAutopop(UINT behaviour);
  void MoveTipBy(int dx, int dy);

  // Steps.
  void ShowRequest(HWND window, const PPToolRecord& record, bool useDelay, int mode);
  void ShowStep();
  void HideStep();
  void FadeInStep();
  void FadeOutStep();
  void WatchStep();
  void ForgetDisplayed();

  // Building and drawing (tooltip_build.cpp, tooltip_paint.cpp).
  bool BuildTip(POINT point);
  void FillDefaults(PPToolRecord& record) const;
  bool MakeBackground(SIZE window, int direction);
  void TakeScreenCopy();
  void DropTip();
  void DrawTip(HDC target);
  void Redraw();
  int ShadowDx() const;
  int ShadowDy() const;

  // The drawer lays a tip out at the tip's width, the owner's maximum width
  // or less, in the measure and in every draw alike.
  class LayoutWidthScope {
   public:
    LayoutWidthScope(CHtmlTextDrawer& drawer, int width) : m_drawer(drawer), m_saved(drawer.MaxWidth()) {
      drawer.SetMaxWidth(width);
    }
    ~LayoutWidthScope() { m_drawer.SetMaxWidth(m_saved); }
    LayoutWidthScope(const LayoutWidthScope&) = delete;
    LayoutWidthScope& operator=(const LayoutWidthScope&) = delete;

   private:
    CHtmlTextDrawer& m_drawer;
    int m_saved;
  };

  CHtmlTextDrawer m_drawer;
  HWND m_parent = nullptr;
  HWND m_notifyWindow = nullptr;
  bool m_redrawOnRequest = true;
  bool m_windowInfoMode = false;
  bool m_classReady = false;
  POINT m_lastPoint = {LONG_MIN, LONG_MIN};

  HWND m_displayedWindow = nullptr;
  int m_displayedMode = kModeNone;
  PPToolRecord m_displayed;
  bool m_restartWithDelay = false;
  bool m_showAfterHide = false;
  HWND m_pendingWindow = nullptr;
  int m_pendingMode = kModeNone;
  PPToolRecord m_pending;

  int m_direction = kPPAbove;
  int m_transparency = 0;
  int m_state = kHidden;

  WorkBitmap m_background;
  WorkBitmap m_screenCopy;
  HBRUSH m_borderBrush = nullptr;
  int m_borderWidth = 1;
  int m_borderHeight = 1;
  bool m_shadowEnabled = true;
  int m_shadowX = 6;
  int m_shadowY = 6;
  int m_shadowBlurX = 7;
  int m_shadowBlurY = 7;
  int m_shadowDarkness = 50;
  HRGN m_tipRegion = nullptr;

  UINT m_autopop = 5000;
  UINT m_initial = 500;
  UINT m_fadeInStep = 0;
  UINT m_fadeOutStep = 0;
  UINT m_watch = 100;
  PPToolRecord m_defaults;
  bool m_fadeInEnabled = true;
  bool m_fadeOutEnabled = true;
  int m_geometry[kPPGeometryCount] = {};

  int m_layoutWidth = 0;
  RECT m_textRect = {0, 0, 0, 0};
  RECT m_tipRect = {0, 0, 0, 0};
  RECT m_windowRect = {0, 0, 0, 0};  // screen coordinates
  std::map<HWND, std::vector<PPToolRecord>> m_tools;
};
