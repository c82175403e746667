#include <gtest/gtest.h>

#include <windows.h>

#include "history/actions/menu_history.h"
#include "history/capture/clipboard_handler.h"
#include "history/store/history_caption.h"
#include "history/tests/handler_parent.h"
#include "phrases/menu/menu_builder.h"
#include "phrases/menu/menu_commands.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/tests/menu_test_util.h"

using namespace histtest;

namespace {

class MenuHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options.spyMethod = kSpyMethodListener;
    options.folder = folder.Path();
    handler.SetOptions(options);
    ASSERT_TRUE(handler.Create(parent.hwnd, kHandlerId, false));
  }
  void TearDown() override { handler.Destroy(); }
  void Fill(int n) {
    for (int i = 0; i < n; ++i) handler.Queue().Append(MakeText(L"entry " + std::to_wstring(i) + L"\r\nmore"));
  }
  HMENU Build(int maxItems) {
    CPhraseMenuRequest request;
    request.history = &history;
    request.options = menutest::NoExtras();
    request.options.insertHistory = true;
    request.options.maxHistoryItems = maxItems;
    return CPhraseMenuBuilder(request).Build();
  }
  static void Free(HMENU menu) {
    FreeMenuItemData(menu);
    DestroyMenu(menu);
  }

  HistoryFolder folder;
  HandlerParent parent;
  ClipboardHandlerOptions options;
  CQLRWndClipboardHandler handler;
  CHandlerMenuHistory history{[this] { return &handler; }};
};

TEST_F(MenuHistoryTest, LiveEntriesFillTheMenuAndMoreHistory) {
  Fill(20);
  HMENU menu = Build(0);
  std::vector<menutest::Item> items = menutest::Items(menu);
  ASSERT_EQ(items.size(), 16u);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(items[i].id, kHistoryFirstId + i);
  EXPECT_EQ(items[0].caption.find(L"entry 19"), 0u);  // newest first
  ASSERT_TRUE(items[15].popup);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 15)), 5);
  // The captions were cached in the items for the next menu.
  EXPECT_FALSE(handler.GetItem(0)->menuCaption.empty());
  Free(menu);
}

TEST_F(MenuHistoryTest, TheMenuLimitCountsShownAgainstAllEntries) {
  Fill(25);
  CPhraseMenuRequest request;
  request.history = &history;
  request.options = menutest::NoExtras();
  request.options.insertHistory = true;
  request.options.maxHistoryItems = 10;
  // A phrase before the history: the section gets its labelled separator.
  CPhraseStore store;
  store.Nodes().push_back(menutest::Phrase(1, L"Phrase", L"text"));
  request.store = &store;
  HMENU menu = CPhraseMenuBuilder(request).Build();
  std::vector<menutest::Item> items = menutest::Items(menu);
  ASSERT_EQ(items.size(), 12u);
  EXPECT_EQ(items[1].caption, MenuString(kIdsClipboardHistory) + L" [10/25]");
  EXPECT_EQ(items[2].id, kHistoryFirstId);
  EXPECT_EQ(items[11].id, kHistoryFirstId + 9);
  Free(menu);
}

TEST_F(MenuHistoryTest, AChoiceFindsTheEntryTheMenuShowed) {
  Fill(3);
  CCHItem* oldest = handler.GetItem(2);
  CCHItem* newest = handler.GetItem(0);
  EXPECT_EQ(history.ShownItem(0), newest);  // no menu yet: the queue as it is
  history.SetLocked(true);
  history.SetLocked(false);
  // A capture after the menu closed moves every entry down by one.
  ASSERT_TRUE(handler.Queue().Add(MakeText(L"came later").release(), 30));
  EXPECT_EQ(history.ShownItem(0), newest);
  EXPECT_EQ(history.ShownItem(2), oldest);
  EXPECT_EQ(history.ShownItem(3), nullptr);
  EXPECT_EQ(history.ShownItem(-1), nullptr);
  // An entry deleted since is not replaced by its neighbour.
  ASSERT_TRUE(handler.DeleteItems({1}, false));  // the old newest
  EXPECT_EQ(history.ShownItem(0), nullptr);
  EXPECT_EQ(history.ShownItem(2), oldest);
  history.ForgetShown();
  EXPECT_STREQ(history.ShownItem(0)->Text(), L"came later");
}

TEST_F(MenuHistoryTest, EntriesGiveTheirTextOrRtfForInsertion) {
  std::wstring text;
  int type = -1;
  EXPECT_TRUE(HistoryItemInsertText(*MakeText(L"wide \u00e9\r\nline"), &text, &type));
  EXPECT_EQ(text, L"wide \u00e9\r\nline");
  EXPECT_EQ(type, 0);
  EXPECT_TRUE(HistoryItemInsertText(*MakeBytes(kHistoryKindAnsi, "ansi text", true), &text, &type));
  EXPECT_EQ(text, L"ansi text");
  EXPECT_EQ(type, 0);
  // RTF keeps its bytes one per character, whatever the code page says.
  const std::string rtf = "{\\rtf1\\ansi \xe9\xff\\par}";
  EXPECT_TRUE(HistoryItemInsertText(*MakeBytes(kHistoryKindRtf, rtf, true), &text, &type));
  EXPECT_EQ(text, std::wstring(L"{\\rtf1\\ansi \u00e9\u00ff\\par}"));
  EXPECT_EQ(type, 1);
  // Unterminated data ends at the buffer.
  auto cut = MakeBytes(kHistoryKindRtf, "{\\rtf1 x}", false);
  EXPECT_TRUE(HistoryItemInsertText(*cut, &text, &type));
  EXPECT_EQ(text, L"{\\rtf1 x}");
  text = L"untouched";
  EXPECT_FALSE(HistoryItemInsertText(*MakeBitmapItem(4, 4, RGB(1, 2, 3), RGB(4, 5, 6)), &text, &type));
  EXPECT_FALSE(HistoryItemInsertText(*MakeBytes(kHistoryKindBrindle, "raw", false), &text, &type));
  EXPECT_FALSE(HistoryItemInsertText(*MakeBytes(kHistoryKindHtml, "<b>x</b>", true), &text, &type));
  EXPECT_EQ(text, L"untouched");
}

TEST_F(MenuHistoryTest, ACaptureWhileTheMenuIsOpenIsDroppedWithItsData) {
  options.kinds.on[2] = true;  // bitmaps, whose copies are GDI objects
  handler.SetOptions(options);
  Fill(1);
  ASSERT_TRUE(qlrtest::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000, 10));
  EmptyClipboard();
  ASSERT_NE(SetClipboardData(CF_BITMAP, MakeBitmap(8, 8, RGB(0, 0, 255), RGB(255, 0, 0))), nullptr);
  CloseClipboard();
  history.SetLocked(true);
  // The first read may leave the system's own copy of the clipboard behind.
  handler.OnClipboardChanged(ClipboardChangeInfo{}, 0);
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 5; ++i) handler.OnClipboardChanged(ClipboardChangeInfo{}, 0);
  EXPECT_EQ(handler.GetItemCount(), 1);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
  history.SetLocked(false);
  handler.OnClipboardChanged(ClipboardChangeInfo{}, 0);
  ASSERT_EQ(handler.GetItemCount(), 2);
  EXPECT_EQ(handler.GetItem(0)->kind, kHistoryKindBitmap);
}

TEST_F(MenuHistoryTest, TheQueueIsLockedWhileTheMenuIsShown) {
  Fill(1);
  history.SetLocked(true);
  auto item = MakeText(L"captured while open");
  EXPECT_FALSE(handler.Queue().Add(item.get(), 30));  // the caller keeps it
  EXPECT_EQ(handler.GetItemCount(), 1);
  history.SetLocked(false);
  EXPECT_TRUE(handler.Queue().Add(item.release(), 30));
  EXPECT_EQ(handler.GetItemCount(), 2);
}

}  // namespace
