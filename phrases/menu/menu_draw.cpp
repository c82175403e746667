#include "phrases/menu/menu_draw.h"

#include <map>
#include <string>

#include "foundation/files/file_version.h"
#include "foundation/logging/exception_guard.h"
#include "foundation/logging/log.h"
#include "foundation/ui/icons.h"
#include "phrases/menu/menu_commands.h"
#include "phrases/menu/menu_item_data.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kBandText = 0x7FAAFF;
constexpr int kBandWidth = 24;

struct MenuDrawState {
  HMENU menu = nullptr;
  HWND tracker = nullptr;
  int itemHeight = 18;
  bool sideBand = false;
  HBRUSH grey = nullptr;
  HFONT bandFont = nullptr;
  HICON programIcon = nullptr;
  std::wstring bandText;
  bool hasBase = false;
  LOGFONTW base = {};
  HFONT fonts[8] = {};
  std::map<int, HICON> icons;
  HDC measureDc = nullptr;  // kept: making one per item costs more than the measuring
};

MenuDrawState& State() {
  static MenuDrawState state;
  return state;
}

// The bodies below run under the exception guard, which jumps out of them
// on a fault: they own nothing with a destructor (fixed buffers, handles
// released in the same body), and what needs strings is made before.
void DrawTextAt(HDC dc, const wchar_t* text, RECT rect, UINT format) {
  DrawTextW(dc, text, -1, &rect, format);
}

// What a painting needs that is made outside the guard.
struct ItemPaint {
  HICON icon = nullptr;
  HICON grey = nullptr;  // the icon greyed for a disabled item, freed after
};

void PrepareSideBand() {
  MenuDrawState& s = State();
  if (!s.programIcon) s.programIcon = LoadIconSize(GetModuleHandleW(nullptr), 128, 16);
  if (!s.bandText.empty()) return;
  CFileVersionInfo version(GetModuleHandleW(nullptr));
  s.bandText = version.ProductName.empty() ? L"Quillora" : version.ProductName;
  std::wstring number = version.GetProductVersion();
  if (!number.empty()) s.bandText += L" " + number;
}

int TextWidth(HDC dc, const wchar_t* text, int length) {
  SIZE size = {};
  GetTextExtentPoint32W(dc, text, length, &size);
  return size.cx;
}

void DrawSideBand(HDC dc, HMENU menu, HWND owner) {
  MenuDrawState& s = State();
  int height = 0;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    RECT r;
    if (GetMenuItemRect(owner, menu, static_cast<UINT>(i), &r)) height += r.bottom - r.top;
  }
  if (!s.grey) s.grey = CreateSolidBrush(0xE3E3E3);
  RECT band = {0, 0, 22, height};
  FillRect(dc, &band, s.grey);
  if (s.programIcon) DrawIconEx(dc, 4, height - 18, s.programIcon, 16, 16, 0, nullptr, DI_NORMAL);
  if (!s.bandFont)
    s.bandFont = CreateFontW(-18, 0, 900, 900, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
  HGDIOBJ old = SelectObject(dc, s.bandFont);
  COLORREF oldColour = SetTextColor(dc, kBandText);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, 0, height - 24, s.bandText.c_str(), static_cast<int>(s.bandText.size()));
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColour);
  SelectObject(dc, old);
}

void DrawItem(DRAWITEMSTRUCT* item, const ItemPaint& paint) {
  MenuDrawState& s = State();
  CMenuItemData* data = reinterpret_cast<CMenuItemData*>(item->itemData);
  HDC dc = item->hDC;
  RECT r = item->rcItem;
  bool selected = (item->itemState & ODS_SELECTED) != 0;
  bool disabled = (item->itemState & ODS_GRAYED) != 0;
  bool special = IsSpecialCommandId(item->itemID) && !data->IsPopup() && !data->IsSeparator();

  HBRUSH background = nullptr;
  HBRUSH stripe = nullptr;
  COLORREF text;
  if (selected) {
    background = GetSysColorBrush(COLOR_HIGHLIGHT);
    text = GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_HIGHLIGHTTEXT);
  } else {
    int baseIndex = data->historyFlag ? COLOR_INFOBK : COLOR_MENU;
    if (data->position % 2 == 1) {
      stripe = CreateSolidBrush(StripeColour(GetSysColor(baseIndex)));
      background = stripe;
    } else {
      background = GetSysColorBrush(baseIndex);
    }
    if (disabled)
      text = GetSysColor(COLOR_GRAYTEXT);
    else if (data->historyFlag)
      text = GetSysColor(COLOR_INFOTEXT);
    else if (data->highlight)
      text = kRed;
    else
      text = GetSysColor(COLOR_MENUTEXT);
  }

  HMENU menu = reinterpret_cast<HMENU>(item->hwndItem);
  if (IsCurrentPhraseMenu(menu)) {
    if (!s.sideBand) {
      s.sideBand = true;
      DrawSideBand(dc, menu, s.tracker);
    }
    r.left += kBandWidth;
  }

  if (!data->IsPopup() && !data->IsSeparator() && !special) {
    if (HICON icon = paint.icon) {
      HICON grey = paint.grey;
      int d = selected ? 0 : 1;
      RECT iconBack = {r.left + 1 - d, r.top - d, r.left + 20, r.bottom};
      FillRect(dc, &iconBack, background);
      int grow = selected && !disabled ? 1 : 0;
      DrawIconEx(dc, r.left + 1 - grow, r.top - grow, grey ? grey : icon, 16 + 4 * grow, 16 + 4 * grow, 0, nullptr,
                 DI_NORMAL);
    }
    r.left += 18;
  }

  FillRect(dc, &r, background);
  COLORREF oldText = SetTextColor(dc, special && !selected && !disabled ? kGreen : text);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, GetMenuFont(GetMenuItemFontStyle(special, data->dataType)));

  RECT t = r;
  t.left += 8;
  if (!data->IsSeparator()) {
    bool numbered = (data->historyFlag || data->lastUsedIndex >= 0) && !data->IsPopup();
    if (numbered) {
      int number = data->historyFlag ? static_cast<int>(data->commandId) - static_cast<int>(kHistoryFirstId - 1)
                                     : data->lastUsedIndex + 1;
      wchar_t label[16];
      const int length = swprintf(label, 16, L"%d.", number);
      COLORREF before = SetTextColor(dc, kBlue);
      DrawTextAt(dc, label, t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      SetTextColor(dc, before);
      t.left += TextWidth(dc, label, length > 0 ? length : 0);
    }
    if (numbered || (data->IsPopup() && data->historyFlag)) t.left += TextWidth(dc, L"  ", 2);
    const wchar_t* caption = data->GetCaption();
    if (caption) DrawTextAt(dc, caption, t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (caption && data->markerPosition >= 0 && !data->IsPopup()) {
      int chars = std::min(data->markerPosition, static_cast<std::int32_t>(wcslen(caption)));
      int x = t.left + TextWidth(dc, caption, chars);
      HPEN pen = CreatePen(PS_SOLID, 1, selected ? kRed : kBlue);
      HGDIOBJ oldPen = SelectObject(dc, pen);
      MoveToEx(dc, x - 3, r.bottom - 5, nullptr);
      LineTo(dc, x, r.bottom - 8);
      LineTo(dc, x + 3, r.bottom - 5);
      SelectObject(dc, oldPen);
      DeleteObject(pen);
    }
  } else {
    int middle = (r.top + r.bottom) / 2;
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, r.left + 11, middle, nullptr);
    LineTo(dc, r.right - 1, middle);
    SelectObject(dc, oldPen);
  }

  if (const wchar_t* hint = data->GetHint()) {
    RECT h = r;
    h.right -= 3;
    COLORREF before = SetTextColor(dc, selected ? kRed : kBlue);
    if (data->IsSeparator()) {
      wchar_t label[kMenuItemTextChars + 2];
      const int length = swprintf(label, kMenuItemTextChars + 2, L" %ls ", hint);
      SIZE size = {};
      GetTextExtentPoint32W(dc, label, length > 0 ? length : 0, &size);
      RECT back = {h.right - size.cx - 2, h.top, h.right + 2, h.bottom};
      FillRect(dc, &back, background);
      DrawTextAt(dc, label, h, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    } else {
      DrawTextAt(dc, hint, h, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    SetTextColor(dc, before);
  }

  if (data->highlight || data->lastUsedIndex == 0) {
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }

  SelectObject(dc, oldFont);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldText);
  if (stripe) DeleteObject(stripe);
}

void MeasureItem(MEASUREITEMSTRUCT* item) {
  CMenuItemData* data = reinterpret_cast<CMenuItemData*>(item->itemData);
  MenuDrawState& s = State();
  wchar_t text[2 * kMenuItemTextChars];
  const int length = swprintf(text, 2 * kMenuItemTextChars, L"%ls%ls", data->GetCaption() ? data->GetCaption() : L"",
                              data->GetHint() ? data->GetHint() : L"");
  int width = 100;
  if (length > 0) {
    if (!s.measureDc) s.measureDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(s.measureDc, GetMenuFont(0));
    width = TextWidth(s.measureDc, text, length);
    SelectObject(s.measureDc, old);
  }
  item->itemWidth = static_cast<UINT>(width + 29);
  int height = s.itemHeight;
  bool bareSeparator = data->IsSeparator() && !data->GetHint();
  if (bareSeparator) {
    item->itemHeight = static_cast<UINT>(height < 3 ? height / 2 : height * 2 / 3);
    return;
  }
  if (data->IsPopup()) height += 4;
  item->itemHeight = static_cast<UINT>(height + 4);
}

}  // namespace

void ResetMenuDrawing() {
  MenuDrawState& s = State();
  s.menu = nullptr;
  s.tracker = nullptr;
  s.sideBand = false;
}

void SetCurrentPhraseMenu(HMENU menu, HWND tracker) {
  State().menu = menu;
  State().tracker = tracker;
}

bool IsCurrentPhraseMenu(HMENU menu) { return menu && menu == State().menu; }
HWND GetCurrentMenuTracker() { return State().tracker; }

void ReadMenuItemHeight() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    State().itemHeight = metrics.iMenuHeight;
}

int GetMenuItemHeight() { return State().itemHeight; }
void ResetSideBand() { State().sideBand = false; }
bool IsSideBandDrawn() { return State().sideBand; }

void SetMenuFontBase(const LOGFONTW* font) {
  MenuDrawState& s = State();
  ReleaseMenuFonts();
  s.hasBase = font != nullptr;
  if (font) s.base = *font;
}

HFONT GetMenuFont(int style) {
  MenuDrawState& s = State();
  style &= 7;
  if (s.fonts[style]) return s.fonts[style];
  LOGFONTW font = s.base;
  if (!s.hasBase) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    font = metrics.lfMenuFont;
  }
  font.lfWeight = (style & kMenuFontBold) ? FW_BOLD : FW_NORMAL;
  font.lfItalic = (style & kMenuFontItalic) ? TRUE : FALSE;
  font.lfUnderline = (style & kMenuFontUnderline) ? TRUE : FALSE;
  s.fonts[style] = CreateFontIndirectW(&font);
  return s.fonts[style];
}

void ReleaseMenuFonts() {
  if (State().measureDc) DeleteDC(State().measureDc);
  State().measureDc = nullptr;
  for (HFONT& font : State().fonts) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
}

HICON GetMenuKindIcon(int kind) {
  MenuDrawState& s = State();
  auto it = s.icons.find(kind);
  if (it != s.icons.end()) return it->second;
  HICON icon = nullptr;
  UINT resource = GetMenuIconResource(kind);
  if (kind == 0)
    icon = GetTxtFileIcon();
  else if (resource)
    icon = LoadIconSize(GetModuleHandleW(nullptr), resource, 16);
  s.icons[kind] = icon;
  return icon;
}

void FreeMenuKindIcons() {
  for (auto& entry : State().icons)
    if (entry.second) DestroyIcon(entry.second);
  State().icons.clear();
}

COLORREF StripeColour(COLORREF base) {
  if (base == RGB(0, 0, 0)) return RGB(4, 4, 4);
  auto lower = [](int c) { return c >= 4 ? c - 4 : 0; };
  return RGB(lower(GetRValue(base)), lower(GetGValue(base)), lower(GetBValue(base)));
}

BOOL MeasureMenuItem(MEASUREITEMSTRUCT* item) {
  // Item data that is no record of this process is not the phrase menu's.
  if (!item || !item->itemData) {
    LogError(L"M_INFO is NULL on MeasureImpl");
    return FALSE;
  }
  if (!IsMenuItemRecord(item->itemData)) return FALSE;
  auto body = [&] { MeasureItem(item); };
  if (!RunGuardedReported(L"ERROR: Exception in IDataNeededHander_MenuSelf::OnMenuMEASUREITEM", body)) return FALSE;
  return TRUE;
}

BOOL DrawMenuItem(DRAWITEMSTRUCT* item) {
  if (!item || !IsMenuItemRecord(item->itemData)) return FALSE;
  const CMenuItemData* data = reinterpret_cast<const CMenuItemData*>(item->itemData);
  ItemPaint paint;
  const bool special = IsSpecialCommandId(item->itemID) && !data->IsPopup() && !data->IsSeparator();
  if (!data->IsPopup() && !data->IsSeparator() && !special) {
    paint.icon = GetMenuKindIcon(GetMenuIconKind(data->dataType, data->GetCommandText()));
    if (paint.icon && (item->itemState & ODS_GRAYED)) paint.grey = CreateGrayIcon(paint.icon);
  }
  if (IsCurrentPhraseMenu(reinterpret_cast<HMENU>(item->hwndItem))) PrepareSideBand();
  auto body = [&] { DrawItem(item, paint); };
  const bool drawn = RunGuardedReported(L"ERROR: Exception in IDataNeededHander_MenuSelf::OnMenuDRAWITEMSTRUCT", body);
  if (paint.grey) DestroyIcon(paint.grey);
  return drawn ? TRUE : FALSE;
}
