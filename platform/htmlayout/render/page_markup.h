// The document translated into the HTML drawer's markup: block elements
// break lines, blocks with boxes (margins, padding, borders, backgrounds,
// widths) become one-cell drawer tables, floats beside each other the cells
// of one row, absolute elements overlays of their own, tables stay tables, links and widgets become drawer links
// whose message names them, so that the drawn link areas tell where each
// one is. Page text can never become drawer tags, and no attribute that
// loads a module or takes a raw handle is ever written: images are local
// files under the page's base folder (page_images.h) or nothing.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "htmldraw/html_text_drawer.h"
#include "platform/htmlayout/dom.h"

namespace hl {

// The message text of a drawer link: a kind letter and an index.
enum class MarkKind : wchar_t { kLink = L'l', kAnchor = L'n', kWidget = L'w' };

// An absolutely positioned element: laid out on its own and placed by its
// offsets from the edges of the page (-1: not given).
struct PageOverlay {
  std::wstring markup;
  int offset[4] = {-1, -1, -1, -1};  // top right bottom left
  int width = 0;                     // 0: as wide as its contents
};

struct PageMarkup {
  std::wstring markup;
  std::vector<PageOverlay> overlays;
  std::wstring styleSheet;      // the drawer's sheet: its defaults and the page's mapped rules
  std::vector<Node*> links;     // <a href>, by index
  std::vector<Node*> anchors;   // <a name>, by index
  std::vector<Node*> widgets;   // checkboxes and number inputs shown, by index
  COLORREF background = RGB(255, 255, 255);
};

struct MarkupOptions {
  std::wstring imageFolder;  // local folder images may come from; empty: none
  int width = 0;             // the width the page is laid out in
  size_t maxMarkup = CHtmlTextDrawer::kMaxTextChars;  // the drawer lays out no more
  size_t maxCells = 20000;
  size_t maxTableDepth = 8;  // deeper tables flow as text
  size_t maxTagDepth = 64;   // deeper elements give their text only
  size_t maxOverlays = 16;   // further absolute elements stay in the flow
};

PageMarkup TranslateDocument(const Document& doc, const MarkupOptions& options);

// Reads a mark of the form written in PageMarkup; false for anything else.
bool ParseMark(const std::wstring& text, MarkKind& kind, size_t& index);

}  // namespace hl
