// Measures and draws a text of the drawer's markup onto a device context,
// keeps the rectangles of the links it drew, answers cursor and click
// questions for them and animates image-list animations. It owns no window:
// the owner (a tooltip) measures, sizes itself, draws in its paint handler and
// forwards mouse and timer events.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "htmldraw/effect_painter.h"
#include "htmldraw/markup_lexer.h"
#include "htmldraw/style_resolver.h"

// One laid-out line. In the measure pass height first holds the largest
// ascent, and becomes ascent + descent when the line ends.
struct HtmlLine {
  int width = 0;
  int height = 0;
  int descent = 0;
  int percentSum = 0;  // percentages of percentage-wide rules on the line
  int align = kAlignLeft;
  int blanks = 0;
  int justify = 0;     // ended by a wrap
};

struct HtmlLinkArea {
  RECT rect;
  int kind;    // kLinkHref or kLinkMsg
  int index;   // links are numbered from 0 in text order
  std::wstring target;
};

struct HtmlTableMeasure;

struct HtmlAnimation {
  int frame = 0;
  int count = 0;
  int tick = 0;
  int speed = 0;  // timer ticks per frame
};

class CHtmlTextDrawer {
 public:
  // Hostile texts cannot grow the lists without bound: text past these is not
  // laid out.
  static constexpr size_t kMaxLines = 100000;
  static constexpr size_t kMaxLinkAreas = 100000;
  static constexpr size_t kMaxAnimations = 100000;
  static constexpr size_t kMaxTables = 100000;
  // Coordinates past this are not laid out (GDI's own limit is 2^27).
  static constexpr int kMaxExtent = 1 << 24;
  // A longer text is drawn up to here: tooltips and pages are far shorter,
  // and layout must stay well under a second whatever it is handed.
  static constexpr size_t kMaxTextChars = 256 * 1024;
  static constexpr int kNoLink = -2;

  CHtmlTextDrawer();
  virtual ~CHtmlTextDrawer();
  CHtmlTextDrawer(const CHtmlTextDrawer&) = delete;
  CHtmlTextDrawer& operator=(const CHtmlTextDrawer&) = delete;

  void SetEnabled(bool enabled) { m_styles.SetEnabled(enabled); }
  void SetDisabledColor(COLORREF color) { m_styles.SetDisabledColor(color); }
  void SetMultiLine(bool multiLine) { m_multiLine = multiLine; }
  // Off for a text whose entities its maker has already resolved (a page's
  // text): "&lt;" then stays four characters.
  void SetEntities(bool entities) { m_entities = entities; }
  // Replaces the link cursor (the old one is destroyed); null loads the
  // default hand again. The drawer owns the cursor it is given.
  void SetHandCursor(HCURSOR cursor);
  // Hover notification: message to window with wParam = the link index (-2
  // when the pointer left every link) and lParam = param. A null window
  // disables it.
  void SetNotify(HWND window, UINT message, LPARAM param);
  // Target of msg links: wParam = pointer to the link text, lParam = param.
  void SetLinkMessage(HWND window, UINT message, LPARAM param);
  // Darkness of 100 and more counts as 100.
  void SetImageShadow(int offsetX, int offsetY, int darkness, bool soft, int blurX, int blurY);
  void SetStyleSheet(const wchar_t* text) { m_styles.SetStyleSheet(text); }
  void SetDefaultStyleSheet() { m_styles.SetDefaultStyleSheet(); }
  // 0 is no wrapping.
  void SetMaxWidth(int width) { m_maxWidth = width < 0 ? 0 : (width > kMaxExtent ? kMaxExtent : width); }
  int MaxWidth() const { return m_maxWidth; }
  // The image list of ilst tags without a source (not owned).
  void SetImageList(HIMAGELIST list, int iconWidth, int iconHeight);
  // The module of iddll images; one the drawer loaded itself is freed when
  // replaced or at destruction.
  void SetResourceModule(HMODULE module);
  bool LoadResourceModule(const wchar_t* path);

  // Prepares the text and measures it (a text that lays out to nothing
  // gives 1 x 1, an empty one 0 x 0).
  SIZE Measure(HDC dc, const wchar_t* text);
  // Draws the text of the last Measure into rect.
  void Draw(HDC dc, const RECT& rect);

  // Opens the link under the point (href through the shell, msg to the link
  // message target).
  void OnClick(POINT point);
  // Hover tracking; true when it set the hand cursor.
  bool OnSetCursor(POINT point);
  // Advances the animations; true when a frame changed.
  bool OnTimer();

  CEffectPainter& GetEffectPainter() { return m_painter; }
  // Line number line (from 0, split at line feeds) of the program's string
  // resource id; empty when either is missing.
  static std::wstring LoadStringLine(UINT id, int line);

  const std::vector<HtmlLine>& Lines() const { return m_lines; }
  const std::vector<HtmlLinkArea>& LinkAreas() const { return m_links; }
  const std::vector<HtmlAnimation>& Animations() const { return m_animations; }
  int HoveredLink() const { return m_hovered; }

 private:
  friend class HtmlFlowLayout;
  friend class HtmlTableLayout;
  enum class Pass { kMeasure, kDraw };

  SIZE Layout(HDC dc, const RECT& area, Pass pass);
  const HtmlLinkArea* LinkAt(POINT point) const;
  void LoadDefaultCursor();
  void FreeResourceModule();

  HtmlStyleResolver m_styles;
  CEffectPainter m_painter;
  std::wstring m_prepared;
  bool m_multiLine = true;
  bool m_entities = true;
  int m_maxWidth = 0;
  int m_tabWidth = 32;

  HWND m_notifyWindow = nullptr;
  UINT m_notifyMessage = 0;
  LPARAM m_notifyParam = 0;
  HWND m_linkWindow = nullptr;
  UINT m_linkMessage = 0;
  LPARAM m_linkParam = 0;
  HCURSOR m_cursor = nullptr;

  HIMAGELIST m_imageList = nullptr;
  int m_iconWidth = 0;
  int m_iconHeight = 0;
  HMODULE m_resourceModule = nullptr;
  bool m_ownsResourceModule = false;

  bool m_shadowSoft = true;
  int m_shadowX = 4;
  int m_shadowY = 4;
  int m_shadowBlurX = 7;
  int m_shadowBlurY = 7;
  int m_shadowDarkness = 50;
  COLORREF m_shadowColor = RGB(127, 127, 127);

  std::vector<HtmlLine> m_lines;
  std::vector<HtmlLinkArea> m_links;
  std::vector<HtmlAnimation> m_animations;
  int m_hovered = kNoLink;

  // The tables of the last measure in the order met, read back by the draw.
  std::vector<std::shared_ptr<HtmlTableMeasure>> m_tables;
  size_t m_tableCursor = 0;
  Pass m_tablePass = Pass::kMeasure;
};
