// The icon-hover tracker and the history list's window object on a real
// list view, driven by synthetic mouse and timer messages.
#include "history/pane/list_view_hover.h"

#include <gtest/gtest.h>

#include <vector>

#include "history/pane/history_list_ctrl.h"
#include "tests/support/test_support.h"

namespace {

using qlrtest::PumpUntil;

std::vector<std::pair<UINT, int>> g_notices;
std::vector<WPARAM> g_sysCommands;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code >= hover_ids::kHoverStart && header->code <= hover_ids::kIconClick)
      g_notices.emplace_back(header->code, reinterpret_cast<NMLISTHOVER*>(lParam)->item);
  }
  if (msg == WM_SYSCOMMAND) {
    g_sysCommands.push_back(wParam);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A parent window with a report list of three rows with icons.
class ListFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    g_notices.clear();
    g_sysCommands.clear();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HoverTestParent";
    RegisterClassW(&wc);
    m_parent = CreateWindowExW(0, L"HoverTestParent", L"", WS_POPUP | WS_VISIBLE, 50, 50, 300, 300,
                               nullptr, nullptr, wc.hInstance, nullptr);
    m_list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300,
                             300, m_parent, reinterpret_cast<HMENU>(1203), wc.hInstance, nullptr);
    m_images = ImageList_Create(24, 24, ILC_COLOR32 | ILC_MASK, 1, 1);
    ImageList_AddIcon(m_images, LoadIconW(nullptr, IDI_APPLICATION));
    SendMessageW(m_list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_images));
    LVCOLUMNW column = {LVCF_WIDTH, 0, 250};
    SendMessageW(m_list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < 3; ++i) {
      LVITEMW item = {LVIF_TEXT | LVIF_IMAGE, i};
      item.pszText = const_cast<wchar_t*>(L"row");
      SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
  }
  void TearDown() override {
    DestroyWindow(m_parent);
    ImageList_Destroy(m_images);
  }
  // The centre of a row's icon, in list client coordinates.
  POINT IconPoint(int row) {
    RECT r = {LVIR_ICON};
    SendMessageW(m_list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  POINT LabelPoint(int row) {
    RECT r = {LVIR_LABEL};
    SendMessageW(m_list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    return POINT{r.left + 20, (r.top + r.bottom) / 2};
  }
  void Move(POINT pt) {
    POINT screen = pt;
    ClientToScreen(m_list, &screen);
    SetCursorPos(screen.x, screen.y);
    // The hover timer reads the cursor: wait until the system reports it there.
    PumpUntil([&] {
      POINT now = {};
      return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    });
    SendMessageW(m_list, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  }
  void Tick() { SendMessageW(m_list, WM_TIMER, hover_ids::kTimer, 0); }

  HWND m_parent = nullptr;
  HWND m_list = nullptr;
  HIMAGELIST m_images = nullptr;
};

using HoverTest = ListFixture;

TEST_F(HoverTest, RestOnAnIconStartsAndLeavingEndsTheHover) {
  CListViewHover hover;
  ASSERT_TRUE(hover.Attach(m_list, m_parent));
  EXPECT_FALSE(hover.Attach(m_list, m_parent));
  EXPECT_EQ(CListViewHover::IconItemAt(m_list, LabelPoint(1)), -1);  // the label is not the icon

  Move(IconPoint(1));
  EXPECT_EQ(hover.PendingItem(), 1);
  EXPECT_TRUE(g_notices.empty());
  // The real timer gives the hover once half a second has passed.
  ASSERT_TRUE(PumpUntil([] { return !g_notices.empty(); }, 3000));
  EXPECT_EQ(g_notices[0], std::make_pair(hover_ids::kHoverStart, 1));
  EXPECT_EQ(hover.HotItem(), 1);
  Move(IconPoint(1));  // still on it: nothing new
  EXPECT_EQ(g_notices.size(), 1u);

  Move(LabelPoint(2));
  ASSERT_EQ(g_notices.size(), 2u);
  EXPECT_EQ(g_notices[1], std::make_pair(hover_ids::kHoverEnd, 1));
  EXPECT_EQ(hover.HotItem(), -1);

  // To another icon directly: the old hover ends, the new one waits.
  Move(IconPoint(0));
  Tick();
  Move(IconPoint(2));
  ASSERT_EQ(g_notices.size(), 4u);
  EXPECT_EQ(g_notices[3], std::make_pair(hover_ids::kHoverEnd, 0));
  EXPECT_EQ(hover.PendingItem(), 2);
}

TEST_F(HoverTest, LeavingBeforeHalfASecondGivesNothing) {
  CListViewHover hover;
  ASSERT_TRUE(hover.Attach(m_list, m_parent));
  Move(IconPoint(0));
  Move(LabelPoint(0));
  EXPECT_EQ(hover.PendingItem(), -1);
  PumpUntil([] { return !g_notices.empty(); }, 900);
  EXPECT_TRUE(g_notices.empty());
}

TEST_F(HoverTest, ButtonOnAnIconIsReportedAndDetachStopsTracking) {
  CListViewHover hover;
  ASSERT_TRUE(hover.Attach(m_list, m_parent));
  POINT pt = IconPoint(2);
  // The list waits for the button's release after a press; it is queued first.
  PostMessageW(m_list, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  SendMessageW(m_list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  ASSERT_FALSE(g_notices.empty());
  EXPECT_EQ(g_notices[0], std::make_pair(hover_ids::kIconClick, 2));

  g_notices.clear();
  Move(IconPoint(1));
  EXPECT_EQ(hover.PendingItem(), 1);
  hover.Detach();
  EXPECT_FALSE(hover.IsAttached());
  EXPECT_EQ(hover.PendingItem(), -1);
  PumpUntil([] { return !g_notices.empty(); }, 900);
  EXPECT_TRUE(g_notices.empty());
  Move(IconPoint(0));  // no longer watched
  EXPECT_EQ(hover.PendingItem(), -1);
  EXPECT_TRUE(hover.Attach(m_list, m_parent));  // and can be attached again
}

using HistoryListTest = ListFixture;

bool g_maximised = false;
bool IsMaximised(void*) { return g_maximised; }
int CaptionHeight(void*) { return 24; }

TEST_F(HistoryListTest, EmptyAreaDragsTheParentAndRowsDoNot) {
  CHistoryListCtrl list;
  ASSERT_TRUE(list.SubclassWindow(m_list));
  POINT pt = LabelPoint(0);
  PostMessageW(m_list, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  SendMessageW(m_list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  PumpUntil([] { return false; }, 100);
  EXPECT_TRUE(g_sysCommands.empty());
  SendMessageW(m_list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 280));
  ASSERT_EQ(g_sysCommands.size(), 1u);
  EXPECT_EQ(g_sysCommands[0], 0xF012u);
}

TEST_F(HistoryListTest, TipMovesBesideItsItemUnlessThePaneIsMaximised) {
  CHistoryListCtrl list;
  ASSERT_TRUE(list.SubclassWindow(m_list));
  list.SetPaneQueries(IsMaximised, CaptionHeight, nullptr);
  HWND tips = reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETTOOLTIPS, 0, 0));
  ASSERT_NE(tips, nullptr);
  SetWindowPos(tips, nullptr, 0, 0, 120, 40, SWP_NOZORDER | SWP_NOACTIVATE);
  NMHDR show = {tips, 0, TTN_SHOW};
  EXPECT_EQ(SendMessageW(m_list, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&show)), 0);  // no item yet
  list.SetTipItem(1, nullptr);
  EXPECT_EQ(SendMessageW(m_list, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&show)), TRUE);
  RECT item = {LVIR_BOUNDS};
  SendMessageW(m_list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  MapWindowPoints(m_list, nullptr, reinterpret_cast<POINT*>(&item), 2);
  RECT tip = {};
  GetWindowRect(tips, &tip);
  // The list lies in the upper left of the screen: the tip opens right of the row.
  EXPECT_EQ(tip.left, item.right);
  EXPECT_EQ(tip.top, item.top);
  g_maximised = true;
  SetWindowPos(tips, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(SendMessageW(m_list, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&show)), 0);
  GetWindowRect(tips, &tip);
  EXPECT_EQ(tip.left, 5);
  g_maximised = false;
}

TEST_F(HistoryListTest, RowFontsAreLargerBoldOrUnderlined) {
  CHistoryListCtrl list;
  ASSERT_TRUE(list.SubclassWindow(m_list));
  SendMessageW(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  LOGFONTW base = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(base), &base);
  EXPECT_EQ(list.RowFontFor(kRowFontNormal), nullptr);
  struct Case {
    RowFont which;
    LONG weight;
    BYTE underline;
  } cases[] = {{kRowFontNewest, FW_BOLD, 0}, {kRowFontHovered, FW_NORMAL, 1}, {kRowFontBoth, FW_BOLD, 1}};
  for (const Case& c : cases) {
    HFONT font = list.RowFontFor(c.which);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(list.RowFontFor(c.which), font);  // kept
    LOGFONTW lf = {};
    GetObjectW(font, sizeof(lf), &lf);
    EXPECT_EQ(lf.lfWeight, c.weight);
    EXPECT_EQ(lf.lfUnderline, c.underline);
    EXPECT_EQ(lf.lfHeight, base.lfHeight < 0 ? base.lfHeight - 8 : base.lfHeight + 8);
  }
}

}  // namespace
