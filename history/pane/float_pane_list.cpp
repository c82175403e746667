// The history pane's list: its setup, the display and info-tip callbacks,
// the owner-drawn rows, the hover answers and the quick-copy tip.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "foundation/ui/theme.h"
#include "foundation/ui/window_helpers.h"
#include "history/capture/clipboard_handler.h"
#include "history/pane/float_pane.h"
#include "history/pane/pane_texts.h"
#include "history/store/history_caption.h"

namespace {

constexpr int kImageSize = 24;
constexpr int kHoveredImage = 5;
constexpr UINT kIdsQuickCopy = 291;

HICON ShellIconOf(const wchar_t* extension, bool small) {
  SHFILEINFOW info = {};
  UINT flags = SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | (small ? SHGFI_SMALLICON : 0);
  if (!SHGetFileInfoW(extension, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), flags)) return nullptr;
  return info.hIcon;
}

// Adds the icon (a stand-in when missing, so the numbering stays) and frees it.
void AddImage(HIMAGELIST images, HICON icon, bool owned) {
  if (!icon) {
    icon = LoadIconW(nullptr, IDI_APPLICATION);
    owned = false;
  }
  ImageList_AddIcon(images, icon);
  if (owned) DestroyIcon(icon);
}

HICON ResourceIcon(int id, int size) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

}  // namespace

bool CQLRFloatPane::IsMaximisedQuery(void* self) {
  return static_cast<CQLRFloatPane*>(self)->CoversWorkArea();
}

int CQLRFloatPane::CaptionHeightQuery(void* self) {
  return static_cast<CQLRFloatPane*>(self)->CaptionHeight();
}

void CQLRFloatPane::SetupList() {
  ::SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  COLORREF menu = GetSysColor(COLOR_MENU);
  ::SendMessageW(m_list, LVM_SETBKCOLOR, 0, menu);
  ::SendMessageW(m_list, LVM_SETTEXTBKCOLOR, 0, menu);
  ::SendMessageW(m_list, LVM_SETTEXTCOLOR, 0, GetSysColor(COLOR_MENUTEXT));
  if (m_imageList) ImageList_Destroy(m_imageList);
  m_imageList = ImageList_Create(kImageSize, kImageSize, ILC_COLOR32 | ILC_MASK, 6, 1);
  if (m_imageList) {
    ImageList_SetBkColor(m_imageList, menu);
    AddImage(m_imageList, ResourceIcon(223, kImageSize), true);
    AddImage(m_imageList, ShellIconOf(L".txt", true), true);
    AddImage(m_imageList, ShellIconOf(L".bnd", false), true);
    AddImage(m_imageList, ShellIconOf(L".bmp", false), true);
    AddImage(m_imageList, ResourceIcon(234, kImageSize), true);
    AddImage(m_imageList, ResourceIcon(242, kImageSize), true);
  }
  ::SendMessageW(m_list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_imageList));
  const DWORD ex = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
  ::SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(L"Data");
  column.cx = 100;
  ::SendMessageW(m_list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  m_listCtrl.SetPaneQueries(&CQLRFloatPane::IsMaximisedQuery, &CQLRFloatPane::CaptionHeightQuery, this);
  m_listCtrl.ResetFonts();
  RefreshList();
  FitListColumn();
  if (HWND tips = reinterpret_cast<HWND>(::SendMessageW(m_list, LVM_GETTOOLTIPS, 0, 0))) {
    RECT window = {};
    GetWindowRect(&window);
    ::SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, window.right - window.left);
    ::SetWindowLongPtrW(tips, GWL_STYLE, ::GetWindowLongPtrW(tips, GWL_STYLE) | TTS_ALWAYSTIP);
    ::SetWindowPos(tips, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  m_hover->Attach(m_list, m_hWnd);
}

void CQLRFloatPane::FitListColumn() {
  if (!m_list) return;
  RECT client = {};
  ::GetClientRect(m_list, &client);
  ::SendMessageW(m_list, LVM_SETCOLUMNWIDTH, 0, client.right - client.left);
}

void CQLRFloatPane::RefreshList() {
  if (!m_source || !m_list) return;
  int count = m_source->GetItemCount();
  ::SendMessageW(m_list, LVM_SETITEMCOUNT, count, 0);
  if (count > 0) ::SendMessageW(m_list, LVM_ENSUREVISIBLE, 0, FALSE);
  if (m_toolbar.m_hWnd) ::InvalidateRect(m_toolbar, nullptr, TRUE);
  // Cached texts of items that left the history go once they outnumber it.
  if (m_captions.size() > static_cast<size_t>(2 * count + 16)) m_captions.clear();
  std::wstring title = HistoryPaneTitle(count);
  wchar_t current[101] = {};
  ::GetWindowTextW(m_hWnd, current, 101);
  if (title.compare(0, 100, current) != 0) ::SetWindowTextW(m_hWnd, title.c_str());
}

void CQLRFloatPane::Invalidate() {
  m_captions.clear();
  if (!m_list) return;
  // Count, rows, caption and title: whoever changed the history.
  RefreshList();
  if (!m_source) ::SendMessageW(m_list, LVM_SETITEMCOUNT, 0, 0);
  ::InvalidateRect(m_list, nullptr, TRUE);
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

std::wstring CQLRFloatPane::ListText(int index) {
  const CCHItem* item = m_source ? m_source->GetItem(index) : nullptr;
  if (!item) return std::wstring();
  auto found = m_captions.find(item);
  if (found != m_captions.end() && found->second.number == item->number &&
      found->second.editCount == item->editCount)
    return found->second.text;
  std::wstring text = ListCaptionText(m_source->GetHistoryItemCaption(index, 0, false));
  m_captions[item] = CachedCaption{item->number, item->editCount, text};
  return text;
}

bool CQLRFloatPane::OnListNotify(NMHDR* header, LRESULT* result) {
  switch (header->code) {
    case LVN_GETDISPINFOW:
      OnDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(header));
      return true;
    case LVN_GETINFOTIPW:
      OnInfoTip(reinterpret_cast<NMLVGETINFOTIPW*>(header));
      return true;
    case NM_CUSTOMDRAW:
      *result = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
      return true;
    case LVN_KEYDOWN:
      if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_ESCAPE) CollapseOnEscape();
      return true;
    case LVN_BEGINDRAG:
      SendMessageW(WM_SYSCOMMAND, 0xF012, 0);
      return true;
    case hover_ids::kHoverStart: {
      int item = reinterpret_cast<NMLISTHOVER*>(header)->item;
      ::SendMessageW(m_list, LVM_REDRAWITEMS, item, item);
      HWND tips = reinterpret_cast<HWND>(::SendMessageW(m_list, LVM_GETTOOLTIPS, 0, 0));
      if (tips && ::IsWindowVisible(tips) && m_listCtrl.TipItem() == item) ShowQuickCopyTip(item);
      return true;
    }
    case hover_ids::kHoverEnd: {
      int item = reinterpret_cast<NMLISTHOVER*>(header)->item;
      HideQuickCopyTip();
      ::SendMessageW(m_list, LVM_REDRAWITEMS, item, item);
      return true;
    }
    case hover_ids::kIconClick:
      HideQuickCopyTip();
      CopyItem(reinterpret_cast<NMLISTHOVER*>(header)->item, true);
      return true;
    case NM_DBLCLK: {
      int item = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
      if (item < 0) return true;
      ::SendMessageW(m_list, LVM_SETSELECTIONMARK, 0, item);
      StartCopyAndPaste();
      return true;
    }
    case NM_RCLICK: {
      POINT pt = {};
      GetCursorPos(&pt);
      ShowItemMenu(pt, false);
      return true;
    }
    default:
      return false;
  }
}

void CQLRFloatPane::OnDisplayInfo(NMLVDISPINFOW* info) {
  LVITEMW& lv = info->item;
  if (lv.iItem < 0) return;
  const CCHItem* item = m_source ? m_source->GetItem(lv.iItem) : nullptr;
  if (lv.mask & LVIF_TEXT) {
    std::wstring text;
    if (item && lv.iSubItem == 0 && item->kind != kHistoryKindBitmap) text = ListText(lv.iItem);
    CopyToBuffer(text, lv.pszText, lv.cchTextMax);
  }
  if (lv.mask & LVIF_IMAGE) lv.iImage = HistoryItemImage(item, m_hover->HotItem() == lv.iItem);
}

std::wstring CQLRFloatPane::PrepareInfoTip(int index) {
  const CCHItem* item = m_source ? m_source->GetItem(index) : nullptr;
  if (!item) return std::wstring();
  std::wstring listText = ListText(index);
  std::wstring details = HistoryItemDetails(*item, listText);
  if (details.empty()) return details;
  HWND tips = reinterpret_cast<HWND>(::SendMessageW(m_list, LVM_GETTOOLTIPS, 0, 0));
  HICON icon = m_imageList ? ImageList_GetIcon(m_imageList, HistoryItemImage(item, false), ILD_NORMAL)
                           : nullptr;
  m_listCtrl.SetTipItem(index, icon);
  if (tips) {
    ::SendMessageW(tips, TTM_SETTIPTEXTCOLOR, GetSysColor(COLOR_INFOTEXT), 0);
    SetControlTextCut(tips, listText, reinterpret_cast<WPARAM>(icon ? icon : reinterpret_cast<HICON>(TTI_INFO)));
  }
  return details;
}

void CQLRFloatPane::OnInfoTip(NMLVGETINFOTIPW* info) {
  std::wstring details = PrepareInfoTip(info->iItem);
  if (!details.empty()) CopyToBuffer(details, info->pszText, info->cchTextMax);
}

void CQLRFloatPane::RebuildInfoTip(int index) {
  if (!m_list || m_listCtrl.TipItem() != index) return;
  HWND tips = reinterpret_cast<HWND>(::SendMessageW(m_list, LVM_GETTOOLTIPS, 0, 0));
  if (!tips || !::IsWindowVisible(tips)) return;
  TTTOOLINFOW tool = {};
  tool.cbSize = sizeof(tool);
  if (!::SendMessageW(tips, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) return;
  std::wstring details = PrepareInfoTip(index);
  if (details.empty()) return;
  tool.lpszText = &details[0];
  ::SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT CQLRFloatPane::OnCustomDraw(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      int row = static_cast<int>(draw->nmcd.dwItemSpec);
      const CCHItem* item = m_source ? m_source->GetItem(row) : nullptr;
      COLORREF bk = static_cast<COLORREF>(::SendMessageW(m_list, LVM_GETBKCOLOR, 0, 0));
      RowLook look = DecideRowLook(row, m_hover->HotItem() == row, item && item->IsProtected(),
                                   item && item->HasHtml(true), bk);
      if (look.setTextBk) draw->clrTextBk = look.textBk;
      LRESULT result = CDRF_NOTIFYPOSTPAINT;
      if (HFONT font = m_listCtrl.RowFontFor(look.font)) {
        SelectObject(draw->nmcd.hdc, font);
        result |= CDRF_NEWFONT;
      }
      return result;
    }
    case CDDS_ITEMPOSTPAINT:
      DrawRowParts(draw);
      return CDRF_DODEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

void CQLRFloatPane::DrawRowParts(NMLVCUSTOMDRAW* draw) {
  const int row = static_cast<int>(draw->nmcd.dwItemSpec);
  const CCHItem* item = m_source ? m_source->GetItem(row) : nullptr;
  if (!item) return;
  HDC dc = draw->nmcd.hdc;
  const bool hovered = m_hover->HotItem() == row;
  COLORREF bk = static_cast<COLORREF>(::SendMessageW(m_list, LVM_GETBKCOLOR, 0, 0));
  RowLook look = DecideRowLook(row, hovered, item->IsProtected(), item->HasHtml(true), bk);
  RECT icon = {LVIR_ICON};
  ::SendMessageW(m_list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&icon));
  if (look.htmlMarker && m_htmlMarker)
    DrawIconEx(dc, icon.right - 14, icon.bottom - 14, m_htmlMarker, 10, 10, 0, nullptr, DI_NORMAL);
  if (look.marker) {
    HICON marker = m_markerIcons[look.marker == 206 ? 0 : 1];
    if (marker) DrawIconEx(dc, icon.right - 18, icon.bottom - 18, marker, 16, 16, 0, nullptr, DI_NORMAL);
  }
  RECT label = {LVIR_LABEL};
  ::SendMessageW(m_list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&label));
  const bool selected =
      (::SendMessageW(m_list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  if (selected) {
    FillRect(dc, &label, GetSysColorBrush(COLOR_HIGHLIGHT));
  } else if (look.shaded) {
    HBRUSH shaded = CreateSolidBrush(ShadeColor(bk));
    FillRect(dc, &label, shaded);
    DeleteObject(shaded);
  } else {
    FillRect(dc, &label, GetSysColorBrush(COLOR_MENU));
  }
  HFONT font = m_listCtrl.RowFontFor(look.font);
  HGDIOBJ old = SelectObject(dc, font ? font : reinterpret_cast<HFONT>(::SendMessageW(m_list, WM_GETFONT, 0, 0)));
  std::wstring number = FormatItemNumber(row + 1);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? GetSysColor(COLOR_WINDOW) : RGB(0, 0, 255));
  RECT numberRect = label;
  numberRect.left += 2;
  numberRect.right += 4;
  DrawTextW(dc, number.c_str(), static_cast<int>(number.size()), &numberRect,
            DT_SINGLELINE | DT_VCENTER);
  SIZE extent = {};
  GetTextExtentPoint32W(dc, number.c_str(), static_cast<int>(number.size()), &extent);
  RECT text = label;
  text.left += extent.cx + extent.cx / 2;
  text.top += 1;
  text.bottom -= 1;
  if (item->kind == kHistoryKindBitmap) {
    RECT area = text;
    InflateRect(&area, -1, -1);
    HBRUSH back = CreateSolidBrush(bk);
    FillRect(dc, &area, back);
    DeleteObject(back);
    HDC memory = CreateCompatibleDC(dc);
    BITMAP info = {};
    if (memory && GetObjectW(item->Bitmap(), sizeof(info), &info) == sizeof(info)) {
      HGDIOBJ previous = SelectObject(memory, item->Bitmap());
      int width = std::min<LONG>(info.bmWidth, area.right - area.left);
      int height = std::min<LONG>(info.bmHeight < 0 ? -info.bmHeight : info.bmHeight, area.bottom - area.top);
      if (width > 0 && height > 0) BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
      SelectObject(memory, previous);
    }
    if (memory) DeleteDC(memory);
  } else {
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                              : static_cast<COLORREF>(::SendMessageW(m_list, LVM_GETTEXTCOLOR, 0, 0)));
    std::wstring caption = ListText(row);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  SelectObject(dc, old);
}

void CQLRFloatPane::ShowQuickCopyTip(int item) {
  if (!m_quickTip) {
    m_quickTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_BALLOON, 0, 0, 0, 0, m_hWnd,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!m_quickTip) return;
    SetWindowThemeSafe(m_quickTip, L"", L"");
    HICON icon = ResourceIcon(242, 32);
    ::SendMessageW(m_quickTip, TTM_SETTITLEW, reinterpret_cast<WPARAM>(icon ? icon : reinterpret_cast<HICON>(TTI_INFO)),
                   reinterpret_cast<LPARAM>(L" "));
    if (icon) DestroyIcon(icon);
    std::wstring text = PaneString(kIdsQuickCopy);
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    // Shown at a point of our choosing: a tracking tool placed absolutely.
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    tool.lpszText = &text[0];
    ::SendMessageW(m_quickTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  RECT icon = {LVIR_ICON};
  if (!::SendMessageW(m_list, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&icon))) return;
  POINT pt = {icon.right - 8, icon.bottom - 8};
  ::ClientToScreen(m_list, &pt);
  TOOLINFOW tool = {};
  tool.cbSize = sizeof(tool);
  tool.hwnd = m_hWnd;
  tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
  ::SendMessageW(m_quickTip, TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x, pt.y));
  ::SendMessageW(m_quickTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void CQLRFloatPane::HideQuickCopyTip() {
  if (!m_quickTip) return;
  TOOLINFOW tool = {};
  tool.cbSize = sizeof(tool);
  tool.hwnd = m_hWnd;
  tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
  ::SendMessageW(m_quickTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

bool CQLRFloatPane::IsQuickCopyTipShown() const {
  return m_quickTip && ::IsWindowVisible(m_quickTip);
}
