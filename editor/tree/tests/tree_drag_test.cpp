#include <gtest/gtest.h>

#include "editor/tree/tests/tree_test_util.h"

using namespace treetest;

namespace {

class TreeDragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ShowDisabled(true);
    ASSERT_TRUE(MakeTree(tree, host));
    CommandList& top = store.Commands();
    AddPhrase(top, 1, L"dragged");
    AddPhrase(top, 2, L"target", true, 1);
    CQLRCommand& folder = AddFolder(top, 3, L"C:\\f\\Closed");
    AddPhrase(*folder.GetChildren(), 4, L"inside");
    tree.FillFromStore(store);
    tree.SetOwnerNotify(host.m_hWnd, host.ownerMessage);
    originalProc = ::GetWindowLongPtrW(tree.m_hWnd, GWLP_WNDPROC);
  }

  // The tree's begin-drag notification, through the parent as the control sends it.
  void BeginDrag(HTREEITEM item) {
    NMTREEVIEWW info = {};
    info.hdr = {tree.m_hWnd, 100, static_cast<UINT>(TVN_BEGINDRAGW)};
    info.itemNew.hItem = item;
    info.itemNew.lParam = static_cast<LPARAM>(tree.GetItemId(item));
    host.SendMessage(WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&info));
  }
  POINT Where(HTREEITEM item, UINT wanted) {
    RECT row = {};
    tree.GetItemRect(item, &row, FALSE);
    for (int x = row.left; x < row.right; ++x) {
      UINT flags = 0;
      POINT pt = {x, (row.top + row.bottom) / 2};
      if (tree.HitTest(CPoint(pt), &flags) == item && (flags & wanted)) return pt;
    }
    ADD_FAILURE() << "no such place on the item";
    return {0, 0};
  }
  void Move(POINT pt) { tree.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y)); }
  void Release(POINT pt) { tree.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y)); }
  void ExpectEnded() {
    EXPECT_FALSE(tree.GetDragController().IsDragging());
    EXPECT_FALSE(CTreeDragController::IsSubclassing(tree.m_hWnd));
    EXPECT_EQ(originalProc, ::GetWindowLongPtrW(tree.m_hWnd, GWLP_WNDPROC));
    EXPECT_NE(tree.m_hWnd, ::GetCapture());
    EXPECT_EQ(nullptr, tree.GetDragController().GetDragCursor());
    EXPECT_EQ(nullptr, tree.GetDragController().GetDropTarget());
  }

  RecordingHost host;
  CPhraseTreeCtrl tree;
  CCommandFolder store;
  LONG_PTR originalProc = 0;
};

TEST_F(TreeDragTest, MoveAsksOwnerHoverExpandsReleaseDrops) {
  HTREEITEM dragged = tree.FindItemById(1);
  HTREEITEM folder = tree.FindItemById(3);
  BeginDrag(dragged);
  CTreeDragController& drag = tree.GetDragController();
  ASSERT_TRUE(drag.IsDragging());
  EXPECT_EQ(CTreeDragController::kDefaultOptions, drag.GetOptions());
  EXPECT_EQ(14u, drag.GetOptions());
  EXPECT_TRUE(CTreeDragController::IsSubclassing(tree.m_hWnd));
  EXPECT_EQ(tree.m_hWnd, ::GetCapture());
  EXPECT_EQ(dragged, drag.GetDraggedItem());

  Move(Where(folder, TVHT_ONITEMICON));
  ASSERT_EQ(1u, host.CountDrags(kTreeDragCanDrop));
  EXPECT_EQ(folder, host.drags.back().target.target);
  EXPECT_EQ(dragged, host.drags.back().target.dragged);
  EXPECT_EQ(folder, drag.GetDropTarget());
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return (tree.GetItemState(folder, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; },
                                 5000))
      << "a hover over a closed folder opens it";

  HTREEITEM target = tree.FindItemById(2);
  POINT drop = Where(target, TVHT_ONITEMLABEL);
  Move(drop);
  Release(drop);
  ASSERT_EQ(1u, host.CountDrags(kTreeDragDropped));
  EXPECT_EQ(target, host.drags.back().target.target);
  EXPECT_EQ(dragged, host.drags.back().target.dragged);
  EXPECT_EQ(drop.x, host.drags.back().target.point.x);
  ExpectEnded();
  // After the drag the tree's messages no longer reach the controller.
  size_t asked = host.drags.size();
  Move(drop);
  EXPECT_EQ(asked, host.drags.size());
}

TEST_F(TreeDragTest, HoverOnTheLabelDoesNotExpandAndRefusalClearsTheTarget) {
  HTREEITEM folder = tree.FindItemById(3);
  BeginDrag(tree.FindItemById(1));
  Move(Where(folder, TVHT_ONITEMLABEL));
  host.canDrop = false;
  Move(Where(tree.FindItemById(2), TVHT_ONITEMLABEL));
  EXPECT_EQ(nullptr, tree.GetDragController().GetDropTarget()) << "the owner refused";
  qlrtest::PumpUntil([] { return false; }, 700);
  EXPECT_FALSE(tree.GetItemState(folder, TVIS_EXPANDED) & TVIS_EXPANDED);
  tree.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ExpectEnded();
  EXPECT_EQ(0u, host.CountDrags(kTreeDragDropped));
}

TEST_F(TreeDragTest, EndsWithoutDropOnEscapeCaptureLossSelfAndOutside) {
  // Escape.
  BeginDrag(tree.FindItemById(1));
  Move(Where(tree.FindItemById(2), TVHT_ONITEMLABEL));
  tree.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ExpectEnded();

  // Capture taken by another window: the drag ends a moment later.
  BeginDrag(tree.FindItemById(1));
  ASSERT_TRUE(tree.GetDragController().IsDragging());
  ::SetCapture(host.m_hWnd);
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return !tree.GetDragController().IsDragging(); }, 5000));
  ::ReleaseCapture();
  ExpectEnded();

  // Dropped on itself.
  BeginDrag(tree.FindItemById(1));
  POINT self = Where(tree.FindItemById(1), TVHT_ONITEMLABEL);
  Move(self);
  Release(self);
  ExpectEnded();

  // Dropped outside the control.
  BeginDrag(tree.FindItemById(1));
  Move({-40, 500});
  Release({-40, 500});
  ExpectEnded();
  EXPECT_EQ(0u, host.CountDrags(kTreeDragDropped));

  // A second start while one runs is refused; the tree going away ends it.
  BeginDrag(tree.FindItemById(1));
  EXPECT_FALSE(tree.GetDragController().Start(tree.m_hWnd, tree.FindItemById(2)));
  EXPECT_EQ(tree.FindItemById(1), tree.GetDragController().GetDraggedItem());
  tree.DestroyWindow();
  EXPECT_FALSE(tree.GetDragController().IsDragging());
}

class RecordingDrag : public CTreeDragController {
 public:
  void OnKeyDown(UINT key, POINT) override { keys.push_back(key); }
  void OnKeyUp(UINT key, POINT) override { keys.push_back(key | 0x10000); }
  void OnDrop(HTREEITEM dragged, HTREEITEM target, POINT) override {
    drops.push_back(target);
    (void)dragged;
  }
  std::wstring GetTipText(HTREEITEM) override { return L"drop here"; }
  std::vector<UINT> keys;
  std::vector<HTREEITEM> drops;
};

TEST(TreeDragControllerTest, KeysScrollingAndAPlainTree) {
  CControlHost host;
  HWND tree = ::CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, 0, 0, 200, 120,
                                host.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, tree);
  std::vector<HTREEITEM> items;
  for (int i = 0; i < 60; ++i) {
    TVINSERTSTRUCTW insert = {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    std::wstring text = L"item " + std::to_wstring(i);
    insert.item.pszText = const_cast<LPWSTR>(text.c_str());
    items.push_back(reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0,
                                                                reinterpret_cast<LPARAM>(&insert))));
  }
  RecordingDrag drag;
  EXPECT_FALSE(drag.Start(nullptr, items[0]));
  EXPECT_FALSE(drag.Start(tree, nullptr));
  drag.SetOptions(drag.GetOptions() | CTreeDragController::kOptionTrackTip);
  // A tree without images may give no drag image: the drag runs on with the arrow.
  ASSERT_TRUE(drag.Start(tree, items[0]));
  ::SendMessageW(tree, WM_KEYDOWN, VK_CONTROL, 0);
  ::SendMessageW(tree, WM_KEYUP, VK_CONTROL, 0);
  EXPECT_EQ((std::vector<UINT>{VK_CONTROL, VK_CONTROL | 0x10000}), drag.keys);

  // Near the bottom edge the tree scrolls down.
  RECT client = {};
  ::GetClientRect(tree, &client);
  ::SendMessageW(tree, WM_MOUSEMOVE, 0, MAKELPARAM(40, client.bottom - 3));
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0) !=
                                                reinterpret_cast<LRESULT>(items[0]); },
                                 5000));
  ::SendMessageW(tree, WM_LBUTTONUP, 0, MAKELPARAM(40, 5));
  ASSERT_EQ(1u, drag.drops.size());
  EXPECT_NE(nullptr, drag.drops[0]);
  EXPECT_FALSE(drag.IsDragging());
  EXPECT_EQ(nullptr, drag.GetDragCursor());
  ::DestroyWindow(tree);
}

}  // namespace
