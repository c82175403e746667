#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

#include "editor/store/command_order.h"
#include "editor/tree/tests/tree_test_util.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "htmldraw/tooltip/tree_item_tooltip.h"

using namespace treetest;

namespace {

// The phrase tip windows that belong to the tree's top-level window.
std::vector<HWND> TipWindows(HWND tree) {
  struct Search {
    HWND owner;
    std::vector<HWND> found;
  } search = {::GetAncestor(tree, GA_ROOT), {}};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t cls[64] = {};
        ::GetClassNameW(window, cls, 64);
        if (::GetWindow(window, GW_OWNER) == s->owner && wcscmp(cls, kPPToolTipClass) == 0)
          s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class TreeFillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ShowDisabled(true);
    ASSERT_TRUE(MakeTree(tree, host));
  }
  void TearDown() override { ShowDisabled(true); }

  RecordingHost host;
  CPhraseTreeCtrl tree;
  CCommandFolder store;
};

TEST_F(TreeFillTest, StyleAndImagesOfTheControl) {
  DWORD style = tree.GetStyle();
  EXPECT_EQ(0x0927u, style & 0x0FFFu);
  EXPECT_NE(0, tree.SendMessage(TVM_GETIMAGELIST, TVSIL_STATE)) << "check box images";
  EXPECT_EQ(GetFileTypeImageList()->GetSafeHandle(),
            reinterpret_cast<HIMAGELIST>(tree.SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL)));
  // The phrase tip's window comes with the mouse, once.
  EXPECT_EQ(0u, TipWindows(tree.m_hWnd).size()) << "made before it was needed";
  tree.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  tree.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
  const std::vector<HWND> tips = TipWindows(tree.m_hWnd);
  ASSERT_EQ(1u, tips.size());
  ASSERT_NE(nullptr, tree.GetItemToolTip());
  EXPECT_EQ(tips[0], tree.GetItemToolTip()->m_hWnd);
}

TEST_F(TreeFillTest, TopLevelPhrasesFirstAndFoldersFirstInside) {
  CommandList& top = store.Commands();
  CQLRCommand& folderB = AddFolder(top, 1, L"C:\\phrases\\Beta", 5);
  AddPhrase(*folderB.GetChildren(), 2, L"inner phrase");
  CQLRCommand& sub = AddFolder(*folderB.GetChildren(), 3, L"C:\\phrases\\Beta\\Sub\\");
  AddPhrase(*sub.GetChildren(), 4, L"deep");
  AddPhrase(top, 5, L"late phrase", true, 9);
  AddFolder(top, 6, L"C:\\phrases\\Alpha", 1);
  AddPhrase(*top.back().GetChildren(), 7, L"alpha child");
  AddPhrase(top, 8, L"early phrase", true, 2);
  AddPhrase(top, 9, L"high sort", true, 0x80000000u);  // unsigned order
  // The store keeps folders first inside a folder.
  SortCommands(*folderB.GetChildren(), false);
  tree.FillFromStore(store);

  EXPECT_EQ((std::vector<std::uint32_t>{8, 5, 9, 6, 1}), ChildIds(tree, TVI_ROOT));
  HTREEITEM beta = tree.FindItemById(1);
  ASSERT_NE(nullptr, beta);
  EXPECT_EQ((std::vector<std::uint32_t>{3, 2}), ChildIds(tree, beta));
  EXPECT_EQ(L"Beta", ItemText(tree, beta));
  EXPECT_EQ(L"Sub", ItemText(tree, tree.FindItemById(3))) << "a trailing backslash is no component";
  EXPECT_EQ(L"deep", ItemText(tree, tree.FindItemById(4)));
  EXPECT_EQ(tree.FindItemById(3), tree.GetParentItem(tree.FindItemById(4)));
  EXPECT_FALSE(tree.IsFilling());
}

TEST_F(TreeFillTest, CheckStateBoldAndImagesByType) {
  CommandList& top = store.Commands();
  AddPhrase(top, 1, L"on", true, 0, kDataTypeText);
  AddPhrase(top, 2, L"off", false, 1, kDataTypeRtf);
  AddPhrase(top, 3, L"program", true, 2, kDataTypeExec);
  AddPhrase(top, 4, L"odd type", true, 3, 77);
  CQLRCommand& folder = AddFolder(top, 5, L"C:\\f\\Folder");
  AddPhrase(*folder.GetChildren(), 6, L"child");
  tree.FillFromStore(store);

  TVITEMW on = ReadItem(tree, tree.FindItemById(1));
  EXPECT_EQ(INDEXTOSTATEIMAGEMASK(2), on.state & TVIS_STATEIMAGEMASK);
  EXPECT_TRUE(on.state & TVIS_BOLD);
  EXPECT_EQ(kImagePlainText, on.iImage);
  TVITEMW off = ReadItem(tree, tree.FindItemById(2));
  EXPECT_EQ(INDEXTOSTATEIMAGEMASK(1), off.state & TVIS_STATEIMAGEMASK);
  EXPECT_FALSE(off.state & TVIS_BOLD);
  EXPECT_EQ(kImageRichText, off.iImage);
  EXPECT_EQ(kImageApp, ReadItem(tree, tree.FindItemById(3)).iImage);
  EXPECT_EQ(kImageFolder, ReadItem(tree, tree.FindItemById(4)).iImage);

  HTREEITEM folderItem = tree.FindItemById(5);
  EXPECT_EQ(kImageFolder, ReadItem(tree, folderItem).iImage);
  tree.Expand(folderItem, TVE_EXPAND);
  TVITEMW open = ReadItem(tree, folderItem);
  EXPECT_EQ(kImageFolderOpen, open.iImage);
  EXPECT_EQ(kImageFolderOpen, open.iSelectedImage);
  tree.Expand(folderItem, TVE_COLLAPSE);
  NMTREEVIEWW expanded = {};
  expanded.hdr = {tree.m_hWnd, 100, static_cast<UINT>(TVN_ITEMEXPANDEDW)};
  expanded.action = TVE_COLLAPSE;
  expanded.itemNew.hItem = folderItem;
  host.SendMessage(WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&expanded));
  EXPECT_EQ(kImageFolder, ReadItem(tree, folderItem).iImage);
}

TEST_F(TreeFillTest, DisabledAndEmptyFoldersStayOutWhenUncheckedAreHidden) {
  CommandList& top = store.Commands();
  AddPhrase(top, 1, L"shown");
  AddPhrase(top, 2, L"hidden", false);
  CQLRCommand& allOff = AddFolder(top, 3, L"C:\\f\\AllOff");
  AddPhrase(*allOff.GetChildren(), 4, L"off child", false);
  CQLRCommand& inner = AddFolder(*allOff.GetChildren(), 5, L"C:\\f\\AllOff\\Inner");
  AddPhrase(*inner.GetChildren(), 6, L"off grandchild", false);
  AddFolder(top, 7, L"C:\\f\\Empty");
  CQLRCommand& mixed = AddFolder(top, 8, L"C:\\f\\Mixed");
  AddPhrase(*mixed.GetChildren(), 9, L"on child");
  AddPhrase(*mixed.GetChildren(), 10, L"off child", false);

  ShowDisabled(false);
  tree.FillFromStore(store);
  EXPECT_EQ((std::vector<std::uint32_t>{1, 8}), ChildIds(tree, TVI_ROOT));
  for (std::uint32_t gone : {2u, 3u, 4u, 5u, 6u, 7u, 10u}) EXPECT_EQ(nullptr, tree.FindItemById(gone)) << gone;
  EXPECT_EQ((std::vector<std::uint32_t>{9}), ChildIds(tree, tree.FindItemById(8)));

  ShowDisabled(true);
  tree.FillFromStore(store);
  EXPECT_EQ((std::vector<std::uint32_t>{1, 2, 3, 7, 8}), ChildIds(tree, TVI_ROOT));
  EXPECT_NE(nullptr, tree.FindItemById(6));
  // A folder with nothing enabled below it shows unchecked.
  EXPECT_EQ(INDEXTOSTATEIMAGEMASK(1), ReadItem(tree, tree.FindItemById(3)).state & TVIS_STATEIMAGEMASK);
}

TEST(TreeRefreshTest, RefreshKeepsSelectionExpansionAndScroll) {
  // Shown: a hidden tree under Wine does not scroll to a first visible item.
  RecordingHost host(true);
  CPhraseTreeCtrl tree;
  ASSERT_TRUE(MakeTree(tree, host));
  CCommandFolder store;
  ShowDisabled(true);
  CommandList& top = store.Commands();
  for (std::uint32_t i = 0; i < 40; ++i) AddPhrase(top, 100 + i, L"phrase " + std::to_wstring(i), true, i);
  CQLRCommand& open = AddFolder(top, 1, L"C:\\f\\Open");
  CQLRCommand& nested = AddFolder(*open.GetChildren(), 2, L"C:\\f\\Open\\Nested");
  AddPhrase(*nested.GetChildren(), 3, L"nested phrase");
  CQLRCommand& closed = AddFolder(top, 4, L"C:\\f\\Closed");
  AddPhrase(*closed.GetChildren(), 5, L"closed phrase");
  tree.FillFromStore(store);
  tree.ExpandWithParents(tree.FindItemById(2));
  EXPECT_TRUE(tree.GetItemState(tree.FindItemById(1), TVIS_EXPANDED) & TVIS_EXPANDED);

  // With a selection: it stays, scrolled to the top.
  tree.SelectItem(tree.FindItemById(120));
  store.Commands().front().SetMenuName(L"renamed");
  tree.Refresh(store);
  EXPECT_EQ(120u, tree.GetSelectedId());
  RECT shown = {};
  EXPECT_TRUE(tree.GetItemRect(tree.FindItemById(120), &shown, FALSE)) << "scrolled into view";
  EXPECT_TRUE(tree.GetItemState(tree.FindItemById(1), TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_TRUE(tree.GetItemState(tree.FindItemById(2), TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_FALSE(tree.GetItemState(tree.FindItemById(4), TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_EQ(L"renamed", ItemText(tree, tree.FindItemById(100)));

  // An expanded selected folder stays expanded.
  tree.SelectItem(tree.FindItemById(2));
  tree.Refresh(store);
  EXPECT_EQ(2u, tree.GetSelectedId());
  EXPECT_TRUE(tree.GetItemState(tree.FindItemById(2), TVIS_EXPANDED) & TVIS_EXPANDED);

  // Without one: the first visible item stays.
  tree.SelectItem(nullptr);
  tree.Select(tree.FindItemById(110), TVGN_FIRSTVISIBLE);
  ASSERT_EQ(110u, tree.GetItemId(tree.GetFirstVisibleItem()));
  tree.Refresh(store);
  EXPECT_EQ(kNoRecordId, tree.GetSelectedId());
  EXPECT_EQ(110u, tree.GetItemId(tree.GetFirstVisibleItem()));
}

TEST_F(TreeFillTest, ItemLookupFollowsInsertAndDelete) {
  AddPhrase(store.Commands(), 1, L"one");
  tree.FillFromStore(store);
  HTREEITEM added = tree.InsertItem(L"added", 50, nullptr, true, kImagePlainText, false);
  ASSERT_NE(nullptr, added);
  EXPECT_EQ(added, tree.FindItemById(50));
  EXPECT_EQ(added, tree.GetRootItem()) << "inserted first";
  EXPECT_EQ(50u, tree.GetItemId(added));
  tree.DeleteItem(added);
  EXPECT_EQ(nullptr, tree.FindItemById(50)) << "a deleted item is not handed out";
  EXPECT_EQ(nullptr, tree.FindItemById(12345));
  EXPECT_EQ(kNoRecordId, tree.GetItemId(nullptr));
  // The lookups by subtree: an item lies in its own subtree and its
  // parent's, not in a sibling's.
  HTREEITEM folder = tree.InsertItem(L"folder", 60, nullptr, false, 0, false);
  HTREEITEM inner = tree.InsertItem(L"inner", 61, folder, false, 0, false);
  HTREEITEM other = tree.InsertItem(L"other", 62, nullptr, false, 0, false);
  EXPECT_EQ(inner, FindTreeItemFromRoot(tree, 61));
  EXPECT_EQ(inner, FindTreeItemInSubtree(tree, folder, 61));
  EXPECT_EQ(inner, FindTreeItemInSubtree(tree, inner, 61));
  EXPECT_EQ(inner, FindTreeItemInSubtree(tree, nullptr, 61));
  EXPECT_EQ(nullptr, FindTreeItemInSubtree(tree, other, 61));
  EXPECT_EQ(nullptr, FindTreeItemInSubtree(tree, folder, 12345));
  // An item whose record is gone has no record (drawn red, see the drawing tests).
  EXPECT_EQ(nullptr, tree.GetRecord(tree.InsertItem(L"orphan", 77, nullptr, false, 0, false)));
}

TEST_F(TreeFillTest, LargeDeepAndOddInput) {
  CommandList& top = store.Commands();
  CQLRCommand& big = AddFolder(top, 1, L"C:\\f\\Big");
  for (std::uint32_t i = 0; i < 10000; ++i) AddPhrase(*big.GetChildren(), 1000 + i, L"p" + std::to_wstring(i));
  CommandList* list = &top;
  std::wstring path = L"C:\\f\\Deep";
  std::uint32_t deepest = 0;
  for (std::uint32_t depth = 0; depth < 60; ++depth) {
    path += L"\\d" + std::to_wstring(depth);
    CQLRCommand& folder = AddFolder(*list, 20000 + depth, path);
    deepest = 20000 + depth;
    list = folder.GetChildren();
  }
  AddPhrase(*list, 30000, L"bottom");
  std::wstring odd = L"A&B\tC \x05D0\x05D1\x05D2 ";
  while (odd.size() < 60) odd += L"&";
  CQLRCommand& oddRecord = AddPhrase(top, 40000, odd);
  oddRecord.SetUsageCount(2147483647);
  tree.FillFromStore(store);

  EXPECT_EQ(10000 + 60 + 1 + 1 + 1, static_cast<int>(tree.SendMessage(TVM_GETCOUNT)));
  EXPECT_EQ(10999u, tree.GetItemId(tree.FindItemById(10999)));
  HTREEITEM bottom = tree.FindItemById(30000);
  ASSERT_NE(nullptr, bottom);
  int depth = 0;
  for (HTREEITEM item = bottom; (item = tree.GetParentItem(item)) != nullptr;) ++depth;
  EXPECT_EQ(60, depth);
  EXPECT_EQ(deepest, tree.GetItemId(tree.GetParentItem(bottom)));
  tree.ExpandWithParents(bottom);
  tree.EnsureVisible(bottom);
  tree.UpdateWindow();  // paints the deep item and the odd label with their counts
  EXPECT_EQ(odd, ItemText(tree, tree.FindItemById(40000)));
}

}  // namespace
