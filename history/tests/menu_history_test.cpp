#include <gtest/gtest.h>

#include <windows.h>

#include "history/clipboard_handler.h"
#include "history/menu_history.h"
#include "history/tests/handler_parent.h"
#include "phrases/menu_builder.h"
#include "phrases/menu_commands.h"
#include "phrases/menu_item_data.h"
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
