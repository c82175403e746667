// The phrase tree's custom drawing and its empty-tree text.
#include "editor/tree/phrase_tree_ctrl.h"
#include "editor/tree/tree_item_text.h"
#include "editor_settings/helpers/editor_fonts.h"

void CPhraseTreeCtrl::OnCustomDraw(NMHDR* header, LRESULT* result) {
  auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(header);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      *result = CDRF_NOTIFYITEMDRAW;
      return;
    case CDDS_ITEMPREPAINT:
      *result = ItemPrePaint(draw);
      return;
    case CDDS_ITEMPOSTPAINT:
      ItemPostPaint(draw);
      *result = CDRF_DODEFAULT;
      return;
    default:
      *result = CDRF_DODEFAULT;
  }
}

LRESULT CPhraseTreeCtrl::ItemPrePaint(NMTVCUSTOMDRAW* draw) {
  auto item = reinterpret_cast<HTREEITEM>(draw->nmcd.dwItemSpec);
  if (GetItemState(item, TVIS_SELECTED) & TVIS_SELECTED) {
    bool focused = ::GetFocus() == m_hWnd;
    draw->clrTextBk = ::GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_INFOBK);
    draw->clrText = ::GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_INFOTEXT);
  } else {
    draw->clrTextBk = ::GetSysColor(COLOR_MENU);
    draw->clrText = ::GetSysColor(COLOR_MENUTEXT);
  }
  if (!GetCheck(item)) {
    if (HFONT font = GetStrikeOutFont()) ::SelectObject(draw->nmcd.hdc, font);
  }
  // An item whose record went away is shown, in red.
  if (!GetRecord(item)) draw->clrText = RGB(255, 0, 0);
  LRESULT result = CDRF_NEWFONT;
  if (!GetEditControl()) result |= CDRF_NOTIFYPOSTPAINT;
  return result;
}

void CPhraseTreeCtrl::ItemPostPaint(NMTVCUSTOMDRAW* draw) {
  auto item = reinterpret_cast<HTREEITEM>(draw->nmcd.dwItemSpec);
  const CQLRCommand* record = GetRecord(item);
  if (!record) return;
  RECT label = {};
  if (!GetItemRect(item, &label, TRUE)) return;
  RECT client = {};
  GetClientRect(&client);
  HDC dc = draw->nmcd.hdc;
  std::wstring text = BuildCountText(*record, LoadTreeCountWords());
  if (!text.empty()) {
    RECT box = {label.right + 10, label.top, client.right, label.bottom};
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(dc, record->IsEnabled() ? GetColorBlue() : ::GetSysColor(COLOR_GRAYTEXT));
    HGDIOBJ oldFont = ::SelectObject(dc, editor::GetNormalDialogFont());
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, oldFont);
    ::SetTextColor(dc, oldColor);
    ::SetBkMode(dc, oldMode);
  }
  DrawSeparators(dc, item, *record, label, client);
}

void CPhraseTreeCtrl::DrawSeparators(HDC dc, HTREEITEM item, const CQLRCommand& record, const RECT& label,
                                     const RECT& client) {
  // The bits as the tray program's menu reads them, so that a line shows
  // where the menu puts its separator.
  bool after = record.IsSeparatorAfter();
  bool before = record.IsSeparatorBefore();
  if (before) {
    const CQLRCommand* previous = GetRecord(GetPrevSiblingItem(item));
    if (previous && previous->IsSeparatorAfter()) before = false;
  }
  if (!after && !before) return;
  HPEN dark = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
  HPEN white = ::CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  HGDIOBJ oldPen = ::SelectObject(dc, dark);
  auto line = [&](int y) {
    ::SelectObject(dc, dark);
    ::MoveToEx(dc, label.left, y, nullptr);
    ::LineTo(dc, client.right - 4, y);
    ::SelectObject(dc, white);
    ::MoveToEx(dc, label.left, y + 1, nullptr);
    ::LineTo(dc, client.right - 4, y + 1);
  };
  RECT neighbour = {};
  if (after) {
    HTREEITEM next = GetNextVisibleItem(item);
    bool has = next && GetItemRect(next, &neighbour, TRUE);
    line(SeparatorLineY(label, has ? &neighbour : nullptr, true));
  }
  if (before) {
    HTREEITEM prev = GetNextItem(item, TVGN_PREVIOUSVISIBLE);
    bool has = prev && GetItemRect(prev, &neighbour, TRUE);
    line(SeparatorLineY(label, has ? &neighbour : nullptr, false));
  }
  ::SelectObject(dc, oldPen);
  ::DeleteObject(dark);
  ::DeleteObject(white);
}

void CPhraseTreeCtrl::OnPaint() {
  if (!m_emptyPainter.IsTextShown()) {
    Default();
    return;
  }
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  if (dc) m_emptyPainter.Paint(dc);
  ::EndPaint(m_hWnd, &paint);
}
