#include <gtest/gtest.h>

#include "editor/tree/tests/tree_test_util.h"
#include "editor/tree/tree_item_text.h"
#include "editor_settings/helpers/ui_helpers.h"

using namespace treetest;

namespace {

TreeCountWords English() { return {L"childrens", L"times", L"title only"}; }

TEST(TreeTextTest, CountTexts) {
  CQLRCommand folder;
  folder.MakeFolder();
  AddPhrase(*folder.GetChildren(), 1, L"a");
  AddPhrase(*folder.GetChildren(), 2, L"b", false);
  AddPhrase(*folder.GetChildren(), 3, L"c");
  EXPECT_EQ(L"2/3 childrens", BuildCountText(folder, English()));
  CQLRCommand empty;
  empty.MakeFolder();
  EXPECT_EQ(L"0/0 childrens", BuildCountText(empty, English()));

  CQLRCommand phrase;
  EXPECT_EQ(L"", BuildCountText(phrase, English())) << "never used: no count";
  phrase.SetUsageCount(5);
  EXPECT_EQ(L"[5 times]", BuildCountText(phrase, English()));
  phrase.SetUseTitleOnly(true);
  EXPECT_EQ(L"[5 times], title only", BuildCountText(phrase, English()));
  phrase.SetUsageCount(0);
  EXPECT_EQ(L"title only", BuildCountText(phrase, English()));
  phrase.SetUseTitleOnly(false);
  phrase.SetUsageCount(2147483647);
  EXPECT_EQ(L"[2147483647 times]", BuildCountText(phrase, English()));

  // Without a language file the program's own words are used.
  TreeCountWords words = LoadTreeCountWords();
  EXPECT_EQ(L"childrens", words.children);
  EXPECT_EQ(L"times", words.times);
  EXPECT_EQ(L"title only", words.titleOnly);
}

TEST(TreeTextTest, SeparatorLinePlaces) {
  RECT label = {20, 40, 80, 56};
  RECT next = {30, 60, 90, 76};
  RECT touching = {30, 56, 90, 72};
  RECT previous = {30, 20, 90, 36};
  EXPECT_EQ(58, SeparatorLineY(label, &next, true));
  EXPECT_EQ(59, SeparatorLineY(label, &touching, true)) << "a middle of 0 counts as 3";
  EXPECT_EQ(59, SeparatorLineY(label, nullptr, true));
  EXPECT_EQ(38, SeparatorLineY(label, &previous, false));
  EXPECT_EQ(37, SeparatorLineY(label, nullptr, false));
}

class TreeDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ShowDisabled(true);
    ASSERT_TRUE(MakeTree(tree, host));
    CommandList& top = store.Commands();
    AddPhrase(top, 1, L"enabled", true, 0).SetUsageCount(5);
    AddPhrase(top, 2, L"disabled", false, 1).m_flagsMenu = kFlagSeparatorAfter | kFlagSeparatorBefore;
    AddPhrase(top, 3, L"separated", true, 2).m_flagsMenu = kFlagSeparatorBefore;
    CQLRCommand& folder = AddFolder(top, 4, L"C:\\f\\Folder");
    AddPhrase(*folder.GetChildren(), 5, L"child").SetUseTitleOnly(true);
    tree.FillFromStore(store);
    dc = ::CreateCompatibleDC(nullptr);
    ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  }
  void TearDown() override { ::DeleteDC(dc); }

  // One draw stage as the control sends it, through the parent's reflection.
  LRESULT Stage(DWORD stage, HTREEITEM item, NMTVCUSTOMDRAW* draw) {
    *draw = {};
    draw->nmcd.hdr.hwndFrom = tree.m_hWnd;
    draw->nmcd.hdr.idFrom = 100;
    draw->nmcd.hdr.code = NM_CUSTOMDRAW;
    draw->nmcd.dwDrawStage = stage;
    draw->nmcd.hdc = dc;
    draw->nmcd.dwItemSpec = reinterpret_cast<DWORD_PTR>(item);
    ::GetClientRect(tree.m_hWnd, &draw->nmcd.rc);
    return host.SendMessage(WM_NOTIFY, 100, reinterpret_cast<LPARAM>(draw));
  }

  RecordingHost host;
  CPhraseTreeCtrl tree;
  CCommandFolder store;
  HDC dc = nullptr;
};

TEST_F(TreeDrawTest, ItemColoursFontsAndPostPaintRequest) {
  NMTVCUSTOMDRAW draw;
  EXPECT_EQ(CDRF_NOTIFYITEMDRAW, Stage(CDDS_PREPAINT, nullptr, &draw));

  HFONT plain = static_cast<HFONT>(::GetCurrentObject(dc, OBJ_FONT));
  EXPECT_EQ(CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT, Stage(CDDS_ITEMPREPAINT, tree.FindItemById(1), &draw));
  EXPECT_EQ(::GetSysColor(COLOR_MENU), draw.clrTextBk);
  EXPECT_EQ(::GetSysColor(COLOR_MENUTEXT), draw.clrText);
  EXPECT_EQ(plain, ::GetCurrentObject(dc, OBJ_FONT)) << "a checked item keeps the font";

  Stage(CDDS_ITEMPREPAINT, tree.FindItemById(2), &draw);
  HFONT strike = tree.GetStrikeOutFont();
  ASSERT_NE(nullptr, strike);
  EXPECT_EQ(strike, ::GetCurrentObject(dc, OBJ_FONT));
  LOGFONTW font = {};
  ::GetObjectW(strike, sizeof(font), &font);
  EXPECT_TRUE(font.lfStrikeOut);
  EXPECT_EQ(strike, tree.GetStrikeOutFont()) << "made once";

  // Selected while the tree has no focus: the info colours.
  ::SelectObject(dc, plain);
  tree.SelectItem(tree.FindItemById(3));
  ::SetFocus(nullptr);
  Stage(CDDS_ITEMPREPAINT, tree.FindItemById(3), &draw);
  EXPECT_EQ(::GetSysColor(COLOR_INFOBK), draw.clrTextBk);
  EXPECT_EQ(::GetSysColor(COLOR_INFOTEXT), draw.clrText);

  // An item whose record went away: red text, and the post-paint draws nothing.
  HTREEITEM orphan = tree.InsertItem(L"orphan", 999, nullptr, false, 0, true);
  Stage(CDDS_ITEMPREPAINT, orphan, &draw);
  EXPECT_EQ(RGB(255, 0, 0), draw.clrText);
  EXPECT_EQ(CDRF_DODEFAULT, Stage(CDDS_ITEMPOSTPAINT, orphan, &draw));
  for (std::uint32_t id : {1u, 2u, 3u, 4u}) Stage(CDDS_ITEMPOSTPAINT, tree.FindItemById(id), &draw);

  // While a label is edited the post-paint is not asked for.
  tree.SetFocus();
  tree.ModifyStyle(0, TVS_EDITLABELS);
  CWnd* edit = tree.EditLabel(tree.FindItemById(1));
  if (edit && tree.GetEditControl()) {
    EXPECT_EQ(CDRF_NEWFONT, Stage(CDDS_ITEMPREPAINT, tree.FindItemById(1), &draw));
    tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE);
  } else {
    ADD_FAILURE() << "no label editor";
  }
}

TEST_F(TreeDrawTest, FocusedSelectionAndWholePaints) {
  RecordingHost shown(true);
  CPhraseTreeCtrl visible;
  ASSERT_TRUE(MakeTree(visible, shown, 101));
  visible.FillFromStore(store);
  visible.SelectItem(visible.FindItemById(1));
  visible.SetFocus();
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return ::GetFocus() == visible.m_hWnd; }, 5000));
  NMTVCUSTOMDRAW draw = {};
  draw.nmcd.hdr = {visible.m_hWnd, 101, static_cast<UINT>(NM_CUSTOMDRAW)};
  draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
  draw.nmcd.hdc = dc;
  draw.nmcd.dwItemSpec = reinterpret_cast<DWORD_PTR>(visible.FindItemById(1));
  shown.SendMessage(WM_NOTIFY, 101, reinterpret_cast<LPARAM>(&draw));
  EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), draw.clrTextBk);
  EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHTTEXT), draw.clrText);

  // Whole paints through the control, with separators, counts and an
  // item without a record.
  visible.ExpandWithParents(visible.FindItemById(5));
  visible.InsertItem(L"orphan", 999, nullptr, false, 0, false);
  HDC screen = ::GetDC(visible.m_hWnd);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 400, 280);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  visible.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  ::RedrawWindow(visible.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(visible.m_hWnd, screen);
  EXPECT_TRUE(::IsWindow(visible.m_hWnd));
}

TEST_F(TreeDrawTest, EmptyTreeText) {
  const CEmptyTreePainter& painter = tree.GetEmptyPainter();
  EXPECT_FALSE(painter.IsTextShown());
  CCommandFolder none;
  tree.FillFromStore(none);
  EXPECT_TRUE(painter.IsTextShown());
  EXPECT_EQ(L"Right click to add new phrase", painter.GetText());
  EXPECT_EQ(kIdsEmptyTree, painter.GetStringId());
  tree.Invalidate();
  tree.UpdateWindow();
}

}  // namespace
