// The tree-item tooltip on a real tree control with the cursor placed for
// real: shown a second after the request on the pending item only.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "htmldraw/tooltip/tests/tooltip_test_util.h"
#include "htmldraw/tooltip/tree_item_tooltip.h"

using namespace tiptest;

namespace {

int g_hitTests = 0;
WNDPROC g_treeProc = nullptr;

LRESULT CALLBACK CountingTreeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TVM_HITTEST) ++g_hitTests;
  return CallWindowProcW(g_treeProc, hwnd, message, wParam, lParam);
}

class TreeItemToolTipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    DestroyWindow(host.tool);
    tree = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                           TVS_LINESATROOT | TVS_CHECKBOXES, 10, 10, 300, 220, host.host, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(tree, nullptr);
    first = Insert(TVI_ROOT, L"First phrase folder");
    Insert(first, L"inside the first");
    second = Insert(TVI_ROOT, L"Second phrase folder");
    Insert(second, L"inside the second");
    UpdateWindow(tree);
    g_treeProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingTreeProc)));
    tip = std::make_unique<CTreeItemToolTip>(tree);
    ASSERT_TRUE(tip->Create(host.host));
    tip->SetDelayTime(kPPDelayAutopop, 100);  // a tree-item tip has none anyway
  }
  void TearDown() override {
    tip.reset();
    if (IsWindow(tree)) SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_treeProc));
  }

  HTREEITEM Insert(HTREEITEM parent, const wchar_t* text) {
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  }

  // A screen point on the item's row where the tree's hit test answers the
  // flag; found by asking the tree itself along the row.
  bool PointWith(HTREEITEM item, UINT flag, POINT& screen) {
    RECT label = {};
    memcpy(&label, &item, sizeof(item));  // the message takes the item in the rectangle
    if (!SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label))) return false;
    RECT client;
    GetClientRect(tree, &client);
    const int y = (label.top + label.bottom) / 2;
    for (int x = 0; x < client.right; ++x) {
      TVHITTESTINFO hit = {};
      hit.pt = {x, y};
      HTREEITEM at = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      if (at == item && (hit.flags & flag)) {
        screen = hit.pt;
        ClientToScreen(tree, &screen);
        return true;
      }
    }
    return false;
  }

  void Request(HTREEITEM item, const std::wstring& text) {
    tip->SetItemTip(1, 2, text, item, CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
  }

  // Waits until the tip's timer asked the tree where the cursor is.
  bool WaitForTheHitTest() {
    return PumpUntil([] { return g_hitTests > 0; });
  }

  ToolHost host;
  HWND tree = nullptr;
  HTREEITEM first = nullptr, second = nullptr;
  std::unique_ptr<CTreeItemToolTip> tip;
};

TEST_F(TreeItemToolTipTest, ShowsTheTextASecondLaterWhileTheCursorRestsOnTheItem) {
  POINT onLabel;
  ASSERT_TRUE(PointWith(first, TVHT_ONITEMLABEL, onLabel));
  ASSERT_TRUE(PlaceCursor(onLabel));
  g_hitTests = 0;
  const ULONGLONG start = GetTickCount64();
  Request(first, L"<b>First</b> folder tip");
  ASSERT_TRUE(PumpUntil([&] { return IsShown(*tip); }, 5000));
  EXPECT_GE(GetTickCount64() - start, 950u);
  EXPECT_EQ(g_hitTests, 1);
  EXPECT_NE(tip->GetDisplayedRecord().text.find(L"<b>First</b> folder tip"), std::wstring::npos);
  EXPECT_NE(tip->GetDisplayedRecord().text.find(L"<icon handle=0x"), std::wstring::npos);
  // Shown at the cursor, and like any tip shown at a point it stays: no
  // autopop, relayed moves leave it alone.
  const RECT placed = WindowRectOf(tip->GetSafeHwnd());
  EXPECT_LE(placed.left, onLabel.x);
  EXPECT_GE(placed.right, onLabel.x);
  POINT elsewhere;
  ASSERT_TRUE(PointWith(second, TVHT_ONITEMLABEL, elsewhere));
  ASSERT_TRUE(RelayMoveTo(*tip, tree, elsewhere));
  PumpFor(300);
  EXPECT_TRUE(IsShown(*tip));
  tip->CancelTip();
  EXPECT_FALSE(IsShown(*tip));
}

TEST_F(TreeItemToolTipTest, NothingShowsWhenTheCursorMovedToAnotherItem) {
  POINT onFirst, onSecond;
  ASSERT_TRUE(PointWith(first, TVHT_ONITEMLABEL, onFirst));
  ASSERT_TRUE(PointWith(second, TVHT_ONITEMLABEL, onSecond));
  ASSERT_TRUE(PlaceCursor(onFirst));
  g_hitTests = 0;
  Request(first, L"first");
  PumpFor(200);
  ASSERT_TRUE(PlaceCursor(onSecond));
  ASSERT_TRUE(WaitForTheHitTest());
  EXPECT_FALSE(IsShown(*tip));
}

TEST_F(TreeItemToolTipTest, TheButtonAndTheStateIconDoNotCountButTheBlankRightOfTheLabelDoes) {
  struct Case {
    UINT flag;
    bool shows;
  } cases[] = {{TVHT_ONITEMBUTTON, false}, {TVHT_ONITEMSTATEICON, false}, {TVHT_ONITEMRIGHT, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flag);
    POINT at;
    ASSERT_TRUE(PointWith(first, c.flag, at)) << "the tree has no such place on the row";
    ASSERT_TRUE(PlaceCursor(at));
    g_hitTests = 0;
    Request(first, L"first");
    ASSERT_TRUE(WaitForTheHitTest());
    EXPECT_EQ(IsShown(*tip), c.shows);
    tip->CancelTip();
  }
  // An empty text starts no wait at all.
  g_hitTests = 0;
  Request(first, L"");
  PumpFor(1300);
  EXPECT_EQ(g_hitTests, 0);
}

TEST_F(TreeItemToolTipTest, ASecondRequestWithinTheSecondRestartsTheWaitForItsOwnItem) {
  POINT onSecond;
  ASSERT_TRUE(PointWith(second, TVHT_ONITEMLABEL, onSecond));
  ASSERT_TRUE(PlaceCursor(onSecond));
  g_hitTests = 0;
  const ULONGLONG firstCall = GetTickCount64();
  Request(first, L"first item text");
  PumpFor(400);
  const ULONGLONG secondCall = GetTickCount64();
  Request(second, L"second item text");
  ASSERT_TRUE(PumpUntil([&] { return IsShown(*tip); }, 5000));
  EXPECT_GE(GetTickCount64() - secondCall, 950u);
  EXPECT_GE(GetTickCount64() - firstCall, 1350u);
  EXPECT_EQ(g_hitTests, 1) << "the first wait was replaced, not run";
  EXPECT_NE(tip->GetDisplayedRecord().text.find(L"second item text"), std::wstring::npos);
  EXPECT_EQ(tip->GetDisplayedRecord().text.find(L"first item text"), std::wstring::npos);
  EXPECT_EQ(tip->GetPendingItem(), second);
}

}  // namespace
