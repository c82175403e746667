#include "history/pane/history_list_ctrl.h"

#include <windowsx.h>

#include "foundation/localization/dialog_fonts.h"
#include "history/pane/pane_texts.h"

POINT PlaceTipBesideItem(const RECT& item, SIZE tip, const RECT& screen) {
  const LONG midX = screen.left + (screen.right - screen.left) / 2;
  const LONG midY = screen.top + (screen.bottom - screen.top) / 2;
  POINT pt;
  pt.x = item.right < midX ? item.right : item.left - tip.cx;
  pt.y = item.top < midY ? item.top : item.bottom - tip.cy;
  if (pt.x < 0) pt.x = 0;
  if (pt.y < 0) pt.y = 0;
  return pt;
}

bool LayoutListHint(const RECT& client, int itemCount, int lastRowBottom, int rowHeight,
                    int captionHeight, ListHintLayout* layout) {
  RECT fill = client;
  int top;
  if (itemCount <= 0) {
    top = client.top + 2 * captionHeight;
  } else {
    if (client.bottom - lastRowBottom <= rowHeight) return false;
    fill.top = lastRowBottom;
    top = lastRowBottom + rowHeight;
  }
  layout->fill = fill;
  layout->textTop = top;
  return true;
}

CHistoryListCtrl::~CHistoryListCtrl() {
  if (m_tipIcon) DestroyIcon(m_tipIcon);
  ResetFonts();
}

void CHistoryListCtrl::SetPaneQueries(QueryFlag isMaximised, QueryNumber captionHeight,
                                      void* context) {
  m_isMaximised = isMaximised;
  m_captionHeight = captionHeight;
  m_context = context;
}

void CHistoryListCtrl::SetTipItem(int item, HICON titleIcon) {
  m_tipItem = item;
  if (m_tipIcon && m_tipIcon != titleIcon) DestroyIcon(m_tipIcon);
  m_tipIcon = titleIcon;
}

void CHistoryListCtrl::ResetFonts() {
  for (HFONT& font : m_fonts) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
}

HFONT CHistoryListCtrl::RowFontFor(RowFont which) {
  if (which == kRowFontNormal) return nullptr;
  if (m_fonts[which]) return m_fonts[which];
  HFONT base = m_hWnd ? reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)) : nullptr;
  if (!base) base = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW font = {};
  if (!GetObjectW(base, sizeof(font), &font)) return nullptr;
  font.lfHeight = font.lfHeight < 0 ? font.lfHeight - 8 : font.lfHeight + 8;
  font.lfWeight = (which & kRowFontNewest) ? FW_BOLD : FW_NORMAL;
  font.lfUnderline = (which & kRowFontHovered) ? TRUE : FALSE;
  m_fonts[which] = CreateFontIndirectW(&font);
  return m_fonts[which];
}

LRESULT CHistoryListCtrl::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  LVHITTESTINFO hit = {};
  hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (::SendMessageW(m_hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) >= 0) {
    handled = FALSE;
    return 0;
  }
  // The empty area drags the whole pane.
  ::SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
  ::ReleaseCapture();
  ::SendMessageW(::GetParent(m_hWnd), WM_SYSCOMMAND, 0xF012, 0);
  return 0;
}

LRESULT CHistoryListCtrl::OnPaintHint(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  DrawHint();
  return result;
}

void CHistoryListCtrl::DrawHint() {
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  int count = static_cast<int>(::SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
  int lastBottom = client.top;
  int rowHeight = 0;
  if (count > 0) {
    RECT first = {LVIR_BOUNDS};
    RECT last = {LVIR_BOUNDS};
    ::SendMessageW(m_hWnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    ::SendMessageW(m_hWnd, LVM_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
    rowHeight = first.bottom - first.top;
    lastBottom = last.bottom;
  }
  int caption = m_captionHeight ? m_captionHeight(m_context) : 0;
  ListHintLayout layout;
  if (!LayoutListHint(client, count, lastBottom, rowHeight, caption, &layout)) return;
  HDC dc = ::GetDC(m_hWnd);
  if (!dc) return;
  FillRect(dc, &layout.fill, GetSysColorBrush(COLOR_WINDOW));
  std::wstring hint = EmptyListHint();
  HGDIOBJ oldFont = nullptr;
  if (HFONT italic = GetItalicDialogFont()) oldFont = SelectObject(dc, italic);
  SetTextColor(dc, RGB(0, 128, 0));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  RECT text = layout.fill;
  text.top = layout.textTop;
  DrawTextW(dc, hint.c_str(), static_cast<int>(hint.size()), &text, DT_CENTER | DT_NOPREFIX);
  if (oldFont) SelectObject(dc, oldFont);
  ::ReleaseDC(m_hWnd, dc);
}

bool CHistoryListCtrl::PlaceTip(HWND tip) {
  if (m_isMaximised && m_isMaximised(m_context)) return false;
  if (m_tipItem < 0) return false;
  RECT item = {LVIR_BOUNDS};
  if (!::SendMessageW(m_hWnd, LVM_GETITEMRECT, m_tipItem, reinterpret_cast<LPARAM>(&item)))
    return false;
  ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&item), 2);
  RECT tipRect = {};
  ::GetWindowRect(tip, &tipRect);
  RECT screen;
  screen.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  screen.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  SIZE size = {tipRect.right - tipRect.left, tipRect.bottom - tipRect.top};
  POINT pt = PlaceTipBesideItem(item, size, screen);
  ::SetWindowPos(tip, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

LRESULT CHistoryListCtrl::OnNotify(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  HWND tips = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, LVM_GETTOOLTIPS, 0, 0));
  if (header && tips && header->hwndFrom == tips && header->code == TTN_SHOW) {
    // TRUE keeps the tip where it was put.
    if (PlaceTip(tips)) return TRUE;
  }
  return DefWindowProc(msg, wParam, lParam);
}

COLORREF ShadeColor(COLORREF background) {
  if ((background & 0xFFFFFF) == 0) return RGB(20, 20, 20);
  auto lower = [](int channel) { return channel >= 20 ? channel - 20 : 0; };
  return RGB(lower(GetRValue(background)), lower(GetGValue(background)), lower(GetBValue(background)));
}

RowLook DecideRowLook(int row, bool hovered, bool isProtected, bool hasHtml, COLORREF listBk) {
  RowLook look;
  const bool newest = row == 0;
  look.shaded = (row % 2) == 1;
  if (!hovered && isProtected) {
    look.setTextBk = true;
    look.textBk = GetSysColor(COLOR_INFOBK);
  } else if (look.shaded) {
    look.setTextBk = true;
    look.textBk = ShadeColor(listBk);
  }
  look.font = static_cast<RowFont>((newest ? kRowFontNewest : 0) | (hovered ? kRowFontHovered : 0));
  if (!hovered && (isProtected || newest)) look.marker = isProtected ? 206 : 207;
  look.htmlMarker = hasHtml;
  return look;
}
