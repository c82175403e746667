#include "phrases/menu/menu_draw.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "phrases/menu/menu_commands.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/store/phrase_node.h"
#include "tests/support/test_support.h"

namespace {

// A 32-bit canvas that items are painted on.
struct Canvas {
  Canvas(int width, int height) : width(width), height(height) {
    BITMAPINFO info = qlrtest::TopDownBitmapInfo(width, height);
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    old = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const {
    GdiFlush();
    DWORD p = bits[y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  bool Has(COLORREF colour, int x0, int y0, int x1, int y1) const {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (At(x, y) == colour) return true;
    return false;
  }
  void Paint(CMenuItemData* data, UINT id, UINT state, HMENU menu = nullptr) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_MENU;
    item.itemID = id;
    item.itemState = state;
    item.hwndItem = reinterpret_cast<HWND>(menu);
    item.hDC = dc;
    item.rcItem = {0, 0, width, height};
    item.itemData = reinterpret_cast<ULONG_PTR>(data);
    ASSERT_TRUE(DrawMenuItem(&item));
  }
  int width, height;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  DWORD* bits = nullptr;
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);

TEST(MenuDrawTest, MeasuresByKind) {
  ReadMenuItemHeight();
  int h = GetMenuItemHeight();
  ASSERT_GT(h, 2);
  struct Case {
    std::uint32_t kind;
    const wchar_t* caption;
    const wchar_t* hint;
    int height;
  } cases[] = {
      {0, L"Caption", nullptr, h + 4},
      {kMenuItemPopup, L"Folder", nullptr, h + 8},
      {kMenuItemSeparator, nullptr, nullptr, h * 2 / 3},
      {kMenuItemSeparator, nullptr, L"Other commands", h + 4},
  };
  for (const Case& c : cases) {
    CMenuItemData data;
    data.kindFlags = c.kind;
    data.SetCaption(c.caption);
    data.SetHint(c.hint);
    MEASUREITEMSTRUCT item = {};
    item.CtlType = ODT_MENU;
    item.itemData = reinterpret_cast<ULONG_PTR>(&data);
    ASSERT_TRUE(MeasureMenuItem(&item));
    EXPECT_EQ(static_cast<UINT>(c.height), item.itemHeight) << c.kind;
    EXPECT_GT(item.itemWidth, 29u);
  }
  CMenuItemData empty;
  MEASUREITEMSTRUCT item = {};
  item.itemData = reinterpret_cast<ULONG_PTR>(&empty);
  MeasureMenuItem(&item);
  EXPECT_EQ(129u, item.itemWidth);
  CMenuItemData longer;
  longer.SetCaption(L"Caption");
  longer.SetHint(L"+RU");
  MEASUREITEMSTRUCT wider = {};
  wider.itemData = reinterpret_cast<ULONG_PTR>(&longer);
  MeasureMenuItem(&wider);
  CMenuItemData shorter;
  shorter.SetCaption(L"Caption");
  MEASUREITEMSTRUCT narrow = {};
  narrow.itemData = reinterpret_cast<ULONG_PTR>(&shorter);
  MeasureMenuItem(&narrow);
  EXPECT_GT(wider.itemWidth, narrow.itemWidth);

  // Item data that is no live record of this process (none, junk, a
  // record freed, another object) is neither measured nor drawn.
  CMenuItemData* freed = new CMenuItemData();
  const ULONG_PTR gone = reinterpret_cast<ULONG_PTR>(freed);
  delete freed;
  for (ULONG_PTR junk : {ULONG_PTR(0), ULONG_PTR(0x12345678), gone, reinterpret_cast<ULONG_PTR>(&wider)}) {
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_MENU;
    measure.itemData = junk;
    EXPECT_FALSE(MeasureMenuItem(&measure)) << junk;
    EXPECT_EQ(0u, measure.itemWidth) << junk;
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_MENU;
    draw.hDC = reinterpret_cast<HDC>(junk);
    draw.itemData = junk;
    EXPECT_FALSE(DrawMenuItem(&draw)) << junk;
  }
}

TEST(MenuDrawTest, ColoursFramesNumbersAndLabels) {
  ResetMenuDrawing();
  // The last used phrase: red text and a red frame from where its icon ends.
  {
    Canvas canvas(240, 24);
    CMenuItemData data;
    data.SetCaption(L"Highlighted");
    data.highlight = 1;
    canvas.Paint(&data, 1, 0);
    EXPECT_EQ(kRed, canvas.At(18, 0));
    EXPECT_EQ(kRed, canvas.At(239, 23));
    EXPECT_TRUE(canvas.Has(kRed, 30, 4, 120, 20));
  }
  // A history entry: its number in blue.
  {
    Canvas canvas(240, 24);
    CMenuItemData data;
    data.SetCaption(L"entry");
    data.historyFlag = 1;
    data.commandId = kHistoryFirstId + 4;
    canvas.Paint(&data, kHistoryFirstId + 4, 0);
    EXPECT_TRUE(canvas.Has(kBlue, 26, 2, 50, 22));
  }
  // A fixed command: green text and no icon.
  {
    Canvas canvas(240, 24);
    CMenuItemData data;
    data.SetCaption(L"Technical Support");
    canvas.Paint(&data, kCmdSupport, 0);
    EXPECT_TRUE(canvas.Has(kGreen, 8, 2, 120, 22));
  }
  // A disabled item: grey text, selected or not.
  for (UINT state : {static_cast<UINT>(ODS_GRAYED), static_cast<UINT>(ODS_GRAYED | ODS_SELECTED)}) {
    Canvas canvas(240, 24);
    CMenuItemData data;
    data.SetCaption(L"Disabled");
    canvas.Paint(&data, 3, state);
    EXPECT_TRUE(canvas.Has(GetSysColor(COLOR_GRAYTEXT), 26, 2, 120, 22)) << state;
  }
  // A labelled separator: the line on the left, the blue label on the right.
  {
    Canvas canvas(240, 20);
    CMenuItemData data;
    data.kindFlags = kMenuItemSeparator;
    data.SetHint(L"Other commands");
    canvas.Paint(&data, 0, 0);
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(20, 10));
    EXPECT_TRUE(canvas.Has(kBlue, 120, 2, 240, 18));
    EXPECT_FALSE(canvas.Has(kBlue, 0, 0, 60, 20));
  }
}

TEST(MenuDrawTest, IconsGrowWhenSelectedAndStripes) {
  ResetMenuDrawing();
  for (bool selected : {false, true}) {
    Canvas canvas(200, 24);
    CMenuItemData data;
    data.SetCaption(L"Program");
    data.dataType = kDataTypeExec;
    data.SetCommandText(L"notepad.exe");
    canvas.Paint(&data, 5, selected ? ODS_SELECTED : 0);
    // The program icon's dark blue frame reaches columns 17 and 18 only when grown to 20x20.
    bool grown = canvas.Has(RGB(40, 60, 140), 17, 0, 19, 24);
    EXPECT_TRUE(canvas.Has(RGB(40, 60, 140), 2, 0, 16, 24));
    EXPECT_EQ(selected, grown);
  }
  struct Case {
    COLORREF base, stripe;
  } cases[] = {{RGB(240, 240, 240), RGB(236, 236, 236)},
               {RGB(0, 0, 0), RGB(4, 4, 4)},
               {RGB(2, 100, 3), RGB(0, 96, 0)}};
  for (const Case& c : cases) EXPECT_EQ(c.stripe, StripeColour(c.base));
  // Fonts: one per style, made once.
  EXPECT_EQ(GetMenuFont(kMenuFontBold), GetMenuFont(kMenuFontBold));
  EXPECT_NE(GetMenuFont(kMenuFontBold), GetMenuFont(kMenuFontItalic));
  LOGFONTW font = {};
  GetObjectW(GetMenuFont(kMenuFontUnderline | kMenuFontItalic), sizeof(font), &font);
  EXPECT_TRUE(font.lfUnderline);
  EXPECT_TRUE(font.lfItalic);
  EXPECT_EQ(FW_NORMAL, font.lfWeight);
  LOGFONTW base = {};
  base.lfHeight = -20;
  wcscpy(base.lfFaceName, L"Tahoma");
  SetMenuFontBase(&base);
  GetObjectW(GetMenuFont(kMenuFontBold), sizeof(font), &font);
  EXPECT_EQ(-20, font.lfHeight);
  EXPECT_EQ(FW_BOLD, font.lfWeight);
  SetMenuFontBase(nullptr);
  ReleaseMenuFonts();
  FreeMenuKindIcons();
}

}  // namespace
