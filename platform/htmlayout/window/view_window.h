// What a view shows and how it reacts: the document laid out by the HTML
// drawer, vertical scrolling, the link and widget areas under the mouse,
// the native widgets, and the test hooks.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/system/test_switches.h"
#include "htmldraw/html_text_drawer.h"
#include "platform/htmlayout/render/page_images.h"
#include "platform/htmlayout/render/page_markup.h"
#include "platform/htmlayout/window/view_widgets.h"

namespace hl {

class View;

// Registered message: lParam = a global atom of the href; the first link with
// exactly that href is clicked. Answers 1 when it clicked.
constexpr const wchar_t* kClickByHrefMessage = L"HTMLayout_ClickByHref";

class ViewWindow {
 public:
  static const int kMargin = 5;
  static const int kLineStep = 20;

  explicit ViewWindow(View& view);
  ViewWindow(const ViewWindow&) = delete;
  ViewWindow& operator=(const ViewWindow&) = delete;

  // True when it handled the message (result set).
  bool Handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // A new document: widgets go, the page scrolls to the top.
  void DocumentReplaced();
  // An element's state, attribute or style changed.
  void ElementChanged(const Node* node);
  // The page looks different (a style sheet came): laid out again before
  // the next paint.
  void PageChanged();

  bool ScrollToAnchor(const std::wstring& name);
  void ScrollTo(int y);
  int ScrollY() const { return m_scrollY; }
  int DocumentHeight() { Layout(); return m_docHeight; }

 private:
  struct Area {
    RECT rect;  // document coordinates
    MarkKind kind;
    size_t index;
  };

  struct Overlay {
    std::unique_ptr<CHtmlTextDrawer> drawer;
    RECT rect;  // document coordinates
  };

  void Layout();
  // Measures and draws a markup once into dc, collecting its marked areas.
  SIZE LayoutMarkup(CHtmlTextDrawer& drawer, HDC dc, const std::wstring& markup, RECT& where);
  void LayoutOverlays(HDC dc, int width);
  void Paint();
  void PaintInto(HDC dc);
  void UpdateScrollBar();
  void PlaceWidgets();
  // The element under a client point: a link, a widget, or the body.
  Node* ElementAt(POINT client, const Area** area);
  Node* Body() const;
  void OnScroll(UINT code);
  // Keyboard: Tab and Shift+Tab move the focus between links, Enter
  // follows the focused one.
  UINT DialogCode(const MSG* msg);
  bool NextLink(bool back, size_t* index) const;
  void FocusLink(size_t index);
  void DrawLinkFocus(HDC dc);
  void OnButtonDown(POINT pt, UINT keys);
  void OnButtonUp(POINT pt, UINT keys);
  LRESULT OnClickByHref(LPARAM atom);
  int ClientHeight() const;

  View& m_view;
  HWND m_hwnd;
  CHtmlTextDrawer m_drawer;
  std::vector<Overlay> m_overlays;  // absolute elements, drawn over the page
  PageMarkup m_page;
  std::vector<Area> m_areas;
  ViewWidgets m_widgets;
  bool m_dirty = true;
  int m_layoutWidth = -1;
  int m_docHeight = 0;
  RECT m_drawArea = {0, 0, 0, 0};  // document coordinates of the drawing
  int m_scrollY = 0;
  size_t m_pressedIndex = 0;
  MarkKind m_pressedKind = MarkKind::kLink;
  bool m_pressing = false;
  size_t m_focusLink = kNoFocus;  // index into m_page.links
  static const size_t kNoFocus = static_cast<size_t>(-1);
};

}  // namespace hl
