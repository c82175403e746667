// The window object of the history pane's list: dragging its empty area
// moves the pane, an empty or short list shows a usage hint below its rows,
// the info tip opens beside its item, and it keeps the row fonts.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/atl/window_impl.h"

// Where the tip of an item (screen rectangle) opens: right of the item when
// its right edge lies in the left half of the virtual screen, else left of
// it; top at the item's top in the upper half, else bottom at its bottom.
// Negative coordinates become 0.
POINT PlaceTipBesideItem(const RECT& item, SIZE tip, const RECT& virtualScreen);

// The empty-list hint: the area it fills and the top of its text, or false
// when the rows leave no room (less than one row free below the last).
struct ListHintLayout {
  RECT fill;
  int textTop;
};
bool LayoutListHint(const RECT& client, int itemCount, int lastRowBottom, int rowHeight,
                    int captionHeight, ListHintLayout* layout);

// Fonts of the rows: newest (bold), hovered (underlined), both; each 8
// units larger than the list's font.
enum RowFont { kRowFontNormal = 0, kRowFontNewest = 1, kRowFontHovered = 2, kRowFontBoth = 3 };

class CHistoryListCtrl : public CWindowImpl<CHistoryListCtrl> {
 public:
  typedef bool (*QueryFlag)(void* context);
  typedef int (*QueryNumber)(void* context);

  CHistoryListCtrl() = default;
  ~CHistoryListCtrl() override;

  BEGIN_MSG_MAP(CHistoryListCtrl)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnPaintHint)
    MESSAGE_HANDLER(WM_PAINT, OnPaintHint)
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
  END_MSG_MAP()

  // The pane's own tests: maximised to the work area, and its caption height.
  void SetPaneQueries(QueryFlag isMaximised, QueryNumber captionHeight, void* context);
  // The item whose info tip is current, and the tip title's icon (owned).
  void SetTipItem(int item, HICON titleIcon);
  int TipItem() const { return m_tipItem; }
  // Null for kRowFontNormal; made from the list's font on first use.
  HFONT RowFontFor(RowFont which);
  // Fonts follow the list's font again (after a font change).
  void ResetFonts();

 private:
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaintHint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);
  void DrawHint();
  bool PlaceTip(HWND tip);

  int m_tipItem = -1;
  HICON m_tipIcon = nullptr;
  HFONT m_fonts[4] = {};
  QueryFlag m_isMaximised = nullptr;
  QueryNumber m_captionHeight = nullptr;
  void* m_context = nullptr;
};

// What the item pre-paint of a row sets, and which markers its post-paint
// draws.
struct RowLook {
  bool setTextBk = false;
  COLORREF textBk = 0;
  RowFont font = kRowFontNormal;
  int marker = 0;  // icon resource of the corner marker, 0 for none
  bool htmlMarker = false;
  bool shaded = false;  // the label gets the shaded background
};
// The list background lowered by 20 per channel (raised by 20 when black).
COLORREF ShadeColor(COLORREF background);
RowLook DecideRowLook(int row, bool hovered, bool isProtected, bool hasHtml, COLORREF listBk);
