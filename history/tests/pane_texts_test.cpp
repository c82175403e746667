// The history pane's texts and layout decisions as pure functions of an
// item or of rectangles: list lines, info-tip details, tip placement, the
// empty-list hint and the row looks.
#include "history/pane/pane_texts.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/ui/window_helpers.h"
#include "history/pane/history_list_ctrl.h"
#include "history/tests/history_test_util.h"

namespace {

bool Has(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

TEST(PaneListTextTest, CaptionBecomesOneBoundedLine) {
  EXPECT_EQ(ListCaptionText(L"\r\n\tfirst\nsecond  third\t\r\n"), L"first second third");
  EXPECT_EQ(ListCaptionText(L"a    b"), L"a  b");  // each pair becomes one blank
  EXPECT_EQ(ListCaptionText(L"\r\n\t"), L"");
  std::wstring huge(1024 * 1024, L'x');
  EXPECT_EQ(ListCaptionText(huge).size(), static_cast<size_t>(kListTextMaxChars));
  std::wstring pairs;
  for (int i = 0; i < 3000; ++i) pairs += L"\n\n";
  pairs += L"end";
  EXPECT_EQ(ListCaptionText(L"x" + pairs), std::wstring(L"x") + std::wstring(kListTextMaxChars - 1, L' '));
  // A surrogate pair is never split at the limit.
  std::wstring emoji = std::wstring(kListTextMaxChars - 1, L'a') + L"\xD83D\xDE00" + L"tail";
  EXPECT_EQ(ListCaptionText(emoji).size(), static_cast<size_t>(kListTextMaxChars - 1));
}

TEST(PaneListTextTest, CopiesRespectTheBufferAndTitlesAreCut) {
  wchar_t buffer[8];
  wmemset(buffer, L'#', 8);
  EXPECT_EQ(CopyToBuffer(L"0123456789", buffer, 5), 4);
  EXPECT_STREQ(buffer, L"0123");
  EXPECT_EQ(buffer[5], L'#');
  EXPECT_EQ(CopyToBuffer(L"abc", buffer, 1), 0);
  EXPECT_STREQ(buffer, L"");
  EXPECT_EQ(CopyToBuffer(L"abc", nullptr, 10), 0);
  EXPECT_EQ(CopyToBuffer(L"abc", buffer, 0), 0);

  EXPECT_EQ(CutTipTitle(std::wstring(97, L't')), std::wstring(97, L't'));
  EXPECT_EQ(CutTipTitle(std::wstring(1024 * 1024, L't')), std::wstring(97, L't') + L"\x2026");
}

TEST(PaneListTextTest, TitlesCountTheItems) {
  EXPECT_EQ(HistoryPaneTitle(3), L"Clipboard History[3] : Quillora");
  EXPECT_EQ(HistoryCaptionText(12), L"Quillora : Clipboard History [12]");
  EXPECT_EQ(FormatItemNumber(7), L"7.");
}

TEST(PaneListTextTest, HintStringsBreakAtTheFirstBlankFromTheMiddle) {
  EXPECT_EQ(BreakAtMiddleBlank(L"aa bb cc dd"), L"aa bb\ncc dd");
  EXPECT_EQ(BreakAtMiddleBlank(L"abcdef gh"), L"abcdef\ngh");
  EXPECT_EQ(BreakAtMiddleBlank(L"ab cdefgh"), L"ab cdefgh");  // no blank after the middle
  EXPECT_EQ(EmptyListHint(),
            L"Double click on item to copy\ninto clipboard and insert\n\n"
            L"Move mouse pointer to icon\nfor quick copying");
}

TEST(PaneItemDetailsTest, TextItemListsUrlFormatsLengthLinesAndTime) {
  auto item = histtest::MakeText(L"one\ntwo\nthree");
  item->sourceUrl = L"http://example.com/\r\npath\x01";
  item->alternates.push_back(std::make_shared<CCHItem>(kHistoryKindHtml));
  item->alternates.push_back(std::make_shared<CCHItem>(kHistoryKindAnsi));
  GetLocalTime(&item->captureTime);
  std::wstring details = HistoryItemDetails(*item, L"one two three");
  EXPECT_EQ(details.find(L"\tURL: http://example.com/  path \n\none two three\n\n\tData Format: Plain Text (Unicode)"), 0u)
      << qlrtest::ToUtf8(details);
  EXPECT_TRUE(Has(details, L"\n\tFormats: Text (Unicode), HTML Format, Text (ANSI)\n\t")) << qlrtest::ToUtf8(details);
  EXPECT_TRUE(Has(details, L"\n\tText Length: 13\n\tLines: 3\n\tTime: "));
  EXPECT_FALSE(Has(details, L"Loaded from"));

  auto single = histtest::MakeText(L"x");
  single->SetStoredState(kStoredLoaded, L"C:\\h\\a.txt");
  single->dataPath = L"C:\\h\\a.txt";
  details = HistoryItemDetails(*single, L"x");
  EXPECT_EQ(details.find(L"x\n\n\tData"), 0u);  // no URL line
  EXPECT_TRUE(Has(details, L"\n\tLines: 0\n")) << qlrtest::ToUtf8(details);
  EXPECT_TRUE(Has(details, L"\n\tLoaded from: [C:\\h\\a.txt]"));
  single->storedState = kStoredSaved;
  EXPECT_EQ(GetHistoryFileStateText(*single), L"Saved to: [C:\\h\\a.txt]");
}

TEST(PaneItemDetailsTest, OtherKindsGiveTheirSizes) {
  auto ansi = histtest::MakeBytes(kHistoryKindAnsi, "abcd", true);
  EXPECT_TRUE(Has(HistoryItemDetails(*ansi, L"abcd"), L"Plain Text (ANSI)\n\tFormats: Text (ANSI)\n\tText Length: 4\n\tLines: 1"));
  auto brindle = histtest::MakeBytes(kHistoryKindBrindle, std::string(300, 'b'), false);
  std::wstring details = HistoryItemDetails(*brindle, L"Brindle Document Data");
  EXPECT_TRUE(Has(details, L"Brindle Document Data\n\tFormats: Brindle\n\tText Length: 300\n\tTime"))
      << qlrtest::ToUtf8(details);
  EXPECT_FALSE(Has(details, L"Lines"));

  auto tall = histtest::MakeBitmapItem(1, 30000, RGB(1, 2, 3), RGB(4, 5, 6));
  details = HistoryItemDetails(*tall, L"");
  EXPECT_EQ(details.find(L"Bitmap\n"), 0u);
  EXPECT_TRUE(Has(details, L"\n\tWidth: 1, Height: 30000\n")) << qlrtest::ToUtf8(details);

  // A bitmap object that cannot be read: deleted behind the item's back.
  auto broken = std::make_unique<CCHItem>(kHistoryKindBitmap);
  HBITMAP gone = histtest::MakeBitmap(4, 4, 0, 0);
  DeleteObject(gone);
  broken->SetBitmap(gone, false);
  details = HistoryItemDetails(*broken, L"");
  EXPECT_TRUE(Has(details, L"\n\tInvalid Data\nERR: ")) << qlrtest::ToUtf8(details);
  auto empty = std::make_unique<CCHItem>(kHistoryKindBitmap);
  EXPECT_TRUE(Has(HistoryItemDetails(*empty, L""), L"Invalid Data"));
}

TEST(PaneItemDetailsTest, ImagesByKindAndHover) {
  const int expected[kHistoryKindCount] = {1, 1, 0, 2, 3, 4};
  for (int kind = 0; kind < kHistoryKindCount; ++kind) {
    CCHItem item(kind);
    EXPECT_EQ(HistoryItemImage(&item, false), expected[kind]) << kind;
    EXPECT_EQ(HistoryItemImage(&item, true), 5) << kind;
  }
  EXPECT_EQ(HistoryItemImage(nullptr, true), -1);
}

TEST(PaneTipPlacementTest, TipOpensTowardsTheScreenCentre) {
  const RECT screen = {0, 0, 2000, 1000};
  const SIZE tip = {300, 100};
  // Upper left quarter: right of the item, tops aligned.
  POINT pt = PlaceTipBesideItem(RECT{100, 100, 400, 120}, tip, screen);
  EXPECT_EQ(pt.x, 400);
  EXPECT_EQ(pt.y, 100);
  // Lower right quarter: left of the item, bottoms aligned.
  pt = PlaceTipBesideItem(RECT{1500, 800, 1800, 820}, tip, screen);
  EXPECT_EQ(pt.x, 1200);
  EXPECT_EQ(pt.y, 720);
  // Would start off the screen: 0.
  pt = PlaceTipBesideItem(RECT{150, 520, 1100, 540}, SIZE{500, 800}, screen);
  EXPECT_EQ(pt.x, 0);
  EXPECT_EQ(pt.y, 0);
  // A virtual screen that starts left of the primary one.
  pt = PlaceTipBesideItem(RECT{-900, 10, -700, 30}, tip, RECT{-1000, 0, 1000, 1000});
  EXPECT_EQ(pt.x, 0);  // -700 would be negative
}

TEST(PaneListHintTest, HintStartsBelowTheRowsOrTwoCaptionsDown) {
  const RECT client = {0, 0, 300, 200};
  ListHintLayout layout;
  ASSERT_TRUE(LayoutListHint(client, 0, 0, 0, 24, &layout));
  EXPECT_EQ(layout.textTop, 48);
  EXPECT_EQ(layout.fill.top, 0);
  ASSERT_TRUE(LayoutListHint(client, 3, 90, 30, 24, &layout));
  EXPECT_EQ(layout.fill.top, 90);
  EXPECT_EQ(layout.textTop, 120);
  EXPECT_FALSE(LayoutListHint(client, 5, 170, 30, 24, &layout));  // 30 free: not taller than a row
}

TEST(PaneRowLookTest, NewestProtectedHoveredAndOddRows) {
  const COLORREF bk = RGB(240, 240, 240);
  RowLook newest = DecideRowLook(0, false, false, false, bk);
  EXPECT_EQ(newest.font, kRowFontNewest);
  EXPECT_EQ(newest.marker, 207);
  EXPECT_FALSE(newest.setTextBk);

  RowLook protectedNewest = DecideRowLook(0, false, true, true, bk);
  EXPECT_EQ(protectedNewest.marker, 206);
  EXPECT_TRUE(protectedNewest.htmlMarker);
  EXPECT_EQ(protectedNewest.textBk, GetSysColor(COLOR_INFOBK));

  RowLook hoveredNewest = DecideRowLook(0, true, true, false, bk);
  EXPECT_EQ(hoveredNewest.font, kRowFontBoth);
  EXPECT_EQ(hoveredNewest.marker, 0);
  EXPECT_FALSE(hoveredNewest.setTextBk);

  RowLook odd = DecideRowLook(3, false, false, false, bk);
  EXPECT_TRUE(odd.setTextBk);
  EXPECT_EQ(odd.textBk, RGB(220, 220, 220));
  EXPECT_EQ(odd.font, kRowFontNormal);
  EXPECT_EQ(DecideRowLook(2, false, false, false, bk).setTextBk, false);
  EXPECT_EQ(DecideRowLook(5, true, false, false, bk).font, kRowFontHovered);

  EXPECT_EQ(ShadeColor(RGB(0, 0, 0)), RGB(20, 20, 20));
  EXPECT_EQ(ShadeColor(RGB(10, 100, 255)), RGB(0, 80, 235));
}

}  // namespace
