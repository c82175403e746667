#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "foundation/ui/rich_edit_convert.h"
#include "history/capture/clipboard_handler.h"
#include "history/store/history_caption.h"
#include "history/tests/handler_parent.h"
#include "phrases/insertion/clipboard_ops.h"

using namespace histtest;

namespace {

std::string Ansi(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(HistoryCaption, CutsFirstLinesAndLengths) {
  struct Case {
    std::wstring text;
    int max;
    bool firstLine;
    std::wstring caption;
  } cases[] = {
      {std::wstring(60, L'a'), 50, true, std::wstring(50, L'a') + L"\u2026"},
      {L"one\r\ntwo\r\nthree", 50, true, L"one\u2026"},
      {L"\r\n\tlead\nx", 50, true, L"lead\u2026"},
      {L"\r\n\r\n\n", 50, true, L""},
      {L"short", 50, true, L"short"},
      {L"one\r\ntwo", 0, false, L"one\r\ntwo"},
      // A cut falling inside a surrogate pair keeps the pair out whole.
      {std::wstring(49, L'x') + L"\xD83D\xDE00" + L"tail", 50, true, std::wstring(49, L'x') + L"\u2026"},
      {std::wstring(1 << 20, L'z'), 50, true, std::wstring(50, L'z') + L"\u2026"},
  };
  for (const Case& c : cases) {
    auto item = MakeText(c.text);
    EXPECT_EQ(HistoryItemCaption(*item, c.max, c.firstLine), c.caption) << c.text.substr(0, 20);
  }
  auto ansi = MakeBytes(kHistoryKindAnsi, "plain ansi\r\nmore", true);
  EXPECT_EQ(HistoryItemCaption(*ansi, 50, true), L"plain ansi\u2026");
  auto html = MakeBytes(kHistoryKindHtml, "<b>x</b>", true);
  EXPECT_EQ(HistoryItemCaption(*html, 50, true), L"O-o-ops! Naxer!");
  auto bitmap = MakeBitmapItem(4, 4, RGB(1, 2, 3), RGB(1, 2, 3));
  EXPECT_EQ(HistoryItemCaption(*bitmap, 50, true), L"Bitmap");
}

class HistoryEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHiddenRichEditParent(parent.hwnd);
    options.spyMethod = kSpyMethodListener;
    options.saveHistory = true;
    options.folder = folder.Path();
    handler.SetOptions(options);
    ASSERT_TRUE(handler.Create(parent.hwnd, kHandlerId, false));
  }
  void TearDown() override { handler.Destroy(); }
  // Adds items newest last, so the last one has index 0.
  CCHItem* Add(std::unique_ptr<CCHItem> item) {
    handler.Queue().Append(std::move(item));
    return handler.GetItem(0);
  }
  static bool WaitSaved(CCHItem* item) {
    return qlrtest::PumpUntil([&] { return item->storedState == kStoredSaved && !item->dataPath.empty(); }, 15000);
  }

  HistoryFolder folder;
  HandlerParent parent;
  ClipboardHandlerOptions options;
  CQLRWndClipboardHandler handler;
};

TEST_F(HistoryEditTest, EditsOfPlainTextsChangeTheDataAndAreWrittenAgain) {
  struct Case {
    int kind;
    std::wstring text;
    int edit;  // 0 upper, 1 lower, 2 join, 3 trim
    int result;
    std::wstring after;
  } cases[] = {
      {kHistoryKindUnicode, L"Mixed \u00e4 Case", 0, 1, L"MIXED \u00c4 CASE"},
      {kHistoryKindUnicode, L"Mixed Case", 1, 1, L"mixed case"},
      {kHistoryKindAnsi, L"Mixed Case", 0, 1, L"MIXED CASE"},
      {kHistoryKindAnsi, L"Mixed Case", 1, 1, L"mixed case"},
      {kHistoryKindUnicode, L"one\r\ntwo\n\rthree", 2, 2, L"one two three"},
      {kHistoryKindAnsi, L"one\r\ntwo\n\rthree", 2, 2, L"one two three"},
      {kHistoryKindUnicode, L" \tpad\t \n", 3, 5, L"pad"},
      {kHistoryKindAnsi, L"  pad  ", 3, 4, L"pad"},
      // CR is a blank too.
      {kHistoryKindUnicode, L"\r\n  abc\r\n", 3, 6, L"abc"},
      {kHistoryKindAnsi, L"abc\r\n", 3, 2, L"abc"},
  };
  for (const Case& c : cases) {
    CCHItem* item = c.kind == kHistoryKindUnicode ? Add(MakeText(c.text)) : Add(MakeBytes(c.kind, Ansi(c.text), true));
    item->menuCaption = L"stale";
    item->tipText = L"stale";
    int result = c.edit == 0 ? handler.ChangeItemCase(true, 0)
                 : c.edit == 1 ? handler.ChangeItemCase(false, 0)
                 : c.edit == 2 ? handler.JoinItemLines(0)
                               : handler.TrimItem(0);
    EXPECT_EQ(result, c.result) << c.text;
    EXPECT_EQ(HistoryItemPlainText(*item), c.after);
    EXPECT_EQ(item->storedState, kStoredNot);
    EXPECT_TRUE(item->menuCaption.empty());
    EXPECT_TRUE(item->tipText.empty());
    ASSERT_TRUE(WaitSaved(item)) << c.text;
    std::string bytes = qlrtest::ReadBytes(item->dataPath);
    if (c.kind == kHistoryKindUnicode)
      EXPECT_EQ(bytes, "\xFF\xFE" + std::string(reinterpret_cast<const char*>(c.after.c_str()), (c.after.size() + 1) * 2));
    else
      EXPECT_EQ(bytes.substr(0, c.after.size()), Ansi(c.after));
  }
}

TEST_F(HistoryEditTest, UnchangedTextsStaySavedAndOtherIndexesDoNothing) {
  CCHItem* item = Add(MakeText(L"lone\nbreak"));
  item->storedState = kStoredSaved;
  EXPECT_EQ(handler.JoinItemLines(0), 0);
  EXPECT_EQ(handler.TrimItem(0), 0);
  EXPECT_EQ(item->storedState, kStoredSaved);
  EXPECT_EQ(HistoryItemPlainText(*item), L"lone\nbreak");
  // A case it has already is no edit: the HTML it came with stays, for a
  // text and for a rich text alike.
  item->alternates.push_back(std::shared_ptr<CCHItem>(MakeBytes(kHistoryKindHtml, "<i>lone</i>", true).release()));
  EXPECT_TRUE(handler.ChangeItemCase(false, 0));
  CCHItem* rich = Add(MakeBytes(kHistoryKindRtf, "{\\rtf1\\ansi {\\b BOLD} 42\\par}", true));
  rich->storedState = kStoredSaved;
  rich->alternates.push_back(std::shared_ptr<CCHItem>(MakeBytes(kHistoryKindHtml, "<b>BOLD</b> 42", true).release()));
  EXPECT_TRUE(handler.ChangeItemCase(true, 0));
  for (CCHItem* kept : {item, rich}) {
    EXPECT_EQ(kept->storedState, kStoredSaved);
    EXPECT_TRUE(kept->HasHtml(true));
  }
  EXPECT_EQ(HistoryItemPlainText(*item), L"lone\nbreak");
  EXPECT_EQ(HistoryItemPlainText(*rich).find(L"BOLD 42"), 0u);
  EXPECT_FALSE(handler.ChangeItemCase(true, 5));
  EXPECT_EQ(handler.JoinItemLines(-1), 0);
  EXPECT_EQ(handler.TrimItem(1), 0);
  EXPECT_FALSE(handler.CopyItemAsPlainText(3));
  EXPECT_EQ(handler.GetHistoryItemMenuText(9), L"");
}

TEST_F(HistoryEditTest, RtfItemsAreEditedThroughTheRichEdit) {
  const std::string rtf = "{\\rtf1\\ansi {\\b Bold} text\\par second  }";
  CCHItem* item = Add(MakeBytes(kHistoryKindRtf, rtf, true));
  EXPECT_EQ(HistoryItemCaption(*item, 50, true), L"Bold text\u2026");
  ASSERT_TRUE(handler.ChangeItemCase(true, 0));
  EXPECT_EQ(HistoryItemCaption(*item, 0, true), L"BOLD TEXT\u2026");
  EXPECT_EQ(item->storedState, kStoredNot);
  EXPECT_GT(handler.JoinItemLines(0), 0);
  EXPECT_EQ(HistoryItemPlainText(*item).find(L"BOLD TEXT SECOND"), 0u);
  ASSERT_TRUE(WaitSaved(item));
  EXPECT_NE(qlrtest::ReadBytes(item->dataPath).find("SECOND"), std::string::npos);

  // The control's RTF is longer than a small item's: the edits still land.
  CCHItem* small = Add(MakeBytes(kHistoryKindRtf, "{\\rtf1  pad\\par  }", true));
  EXPECT_GT(handler.TrimItem(0), 0);
  EXPECT_EQ(HistoryItemPlainText(*small).find(L"pad"), 0u);
  CCHItem* lines = Add(MakeBytes(kHistoryKindRtf, "{\\rtf1 one\\par two}", true));
  EXPECT_GT(handler.JoinItemLines(0), 0);
  EXPECT_EQ(HistoryItemPlainText(*lines).find(L"one two"), 0u);

  // RTF the control refuses gives an empty caption.
  CCHItem* broken = Add(MakeBytes(kHistoryKindRtf, "{\\rtf1{{{{\\bin99999999", true));
  EXPECT_NO_FATAL_FAILURE(HistoryItemCaption(*broken, 50, true));
}

TEST_F(HistoryEditTest, PlainTextCopyOfABitmapLeavesTheClipboardAlone) {
  Add(MakeText(L"as plain"));
  Add(MakeBitmapItem(4, 4, RGB(9, 9, 9), RGB(9, 9, 9)));
  ASSERT_TRUE(qlrtest::PutClipboardText(L"keep me"));
  EXPECT_FALSE(handler.CopyItemAsPlainText(0));
  wchar_t* text = GetClipboardTextCopy();
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, L"keep me");
  FreeClipboardTextCopy(text);
  EXPECT_TRUE(handler.CopyItemAsPlainText(1));
  text = GetClipboardTextCopy();
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, L"as plain");
  FreeClipboardTextCopy(text);
}

std::wstring MenuText(HMENU menu, int position) {
  wchar_t buffer[256] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), buffer, 256, MF_BYPOSITION);
  return buffer;
}

TEST_F(HistoryEditTest, HistoryMenuSeparatorsDefaultItemAndLimit) {
  Add(MakeText(L"oldest"));
  Add(MakeText(L"Tom & Jerry"));
  Add(MakeText(L"on clipboard"));
  ASSERT_TRUE(qlrtest::PutClipboardText(L"on clipboard"));

  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 5, L"Command");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  EXPECT_EQ(handler.AppendHistoryToMenu(menu, 100, 2), 2);
  ASSERT_EQ(GetMenuItemCount(menu), 4);  // no second separator
  EXPECT_EQ(MenuText(menu, 2), L" on clipboard");
  EXPECT_EQ(MenuText(menu, 3), L" Tom && Jerry");
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 100u);
  DestroyMenu(menu);

  menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 5, L"Command");
  EXPECT_EQ(handler.AppendHistoryToMenu(menu, 100, 0), 3);
  EXPECT_EQ(GetMenuItemCount(menu), 5);  // a separator after the command
  EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  DestroyMenu(menu);
}

TEST(HistoryMenu, RemovingARangeDropsSeparatorsWhenFiveItemsRemain) {
  for (int extra : {3, 5}) {
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < extra; ++i) AppendMenuW(menu, MF_STRING, 10 + i, L"keep");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (int i = 0; i < 4; ++i) AppendMenuW(menu, MF_STRING, 100 + i, L"history");
    RemoveMenuItemRange(menu, 100, 103);
    EXPECT_EQ(GetMenuItemCount(menu), extra >= 4 ? extra : extra + 1) << extra;
    DestroyMenu(menu);
  }
}

}  // namespace
