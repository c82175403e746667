// The document translated into the HTML drawer's markup: block elements
// break lines, tables stay tables, links and widgets become drawer links
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

struct PageMarkup {
  std::wstring markup;
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
};

PageMarkup TranslateDocument(const Document& doc, const MarkupOptions& options);

// Reads a mark of the form written in PageMarkup; false for anything else.
bool ParseMark(const std::wstring& text, MarkKind& kind, size_t& index);

}  // namespace hl
