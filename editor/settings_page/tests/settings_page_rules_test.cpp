// The page's rules on plain values: typed numbers, stored values outside the
// controls' ranges, the lists' data and the special-key popup's list.
#include "editor/settings_page/settings_page_rules.h"

#include <gtest/gtest.h>

#include <climits>

#include "editor/settings_page/settings_page_ids.h"

namespace {

const NumberRow& Row(int edit) {
  for (const NumberRow& row : SettingsNumberRows())
    if (row.edit == edit) return row;
  throw 0;
}

TEST(SettingsPageRulesTest, TypedNumbersAreBoundedAndNeverUndefined) {
  struct Case { const wchar_t* text; int number; } cases[] = {
      {L"", 0}, {L"  ", 0}, {L"abc", 0}, {L"12abc", 0}, {L"00012", 12}, {L" 7 ", 7},
      {L"99999999999", INT_MAX}, {L"-5", -5}, {L"-99999999999", INT_MIN}, {L"-", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << std::string(c.text, c.text + wcslen(c.text)) << "'");
    EXPECT_EQ(ParseFieldNumber(c.text), c.number);
  }
}

TEST(SettingsPageRulesTest, StoredValuesOutsideTheRangesShowInsideThem) {
  struct Case { int edit; int stored; int shown; } cases[] = {
      {IDC_SP_UPDATE_DAYS, 0, 1}, {IDC_SP_UPDATE_DAYS, 45, 30}, {IDC_SP_UPDATE_DAYS, -3, 1},
      {IDC_SP_DELAY_SECONDS, 0, 0}, {IDC_SP_DELAY_SECONDS, 601, 600}, {IDC_SP_DELAY_SECONDS, -1, 0},
      {IDC_SP_LAST_USED_COUNT, 0, 3}, {IDC_SP_LAST_USED_COUNT, 9, 3}, {IDC_SP_LAST_USED_COUNT, 5, 5},
      {IDC_SP_PRINT_CHARS, 0, 1}, {IDC_SP_PRINT_CHARS, 5000, 1000},
      {IDC_SP_HISTORY_MAX, 0, 1}, {IDC_SP_HISTORY_MAX, 1000, 100},
      {IDC_SP_MENU_HISTORY_COUNT, -5, 15}, {IDC_SP_MENU_HISTORY_COUNT, 0, 15}, {IDC_SP_MENU_HISTORY_COUNT, 40, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.edit << " stored " << c.stored);
    const NumberRow& row = Row(c.edit);
    int shown = row.shown(c.stored);
    EXPECT_EQ(shown, c.shown);
    // Only the delay's "none" lies outside the up-down range.
    if (!(c.edit == IDC_SP_DELAY_SECONDS && shown == 0)) {
      EXPECT_GE(shown, row.low);
      EXPECT_LE(shown, row.high);
    }
  }
}

TEST(SettingsPageRulesTest, SavedNumbersFollowEachRowsRule) {
  struct Case { int edit; int number; int stored; bool guarded; int saved; } cases[] = {
      {IDC_SP_UPDATE_DAYS, 0, 12, true, 7},         // an empty days field is the default week
      {IDC_SP_UPDATE_DAYS, 99999, 12, true, 30},
      {IDC_SP_LAST_USED_COUNT, 9, 2, true, 3},
      {IDC_SP_LAST_USED_COUNT, 4, 2, true, 4},
      {IDC_SP_MENU_HISTORY_COUNT, 50, 15, false, 0},  // the box is clear
      {IDC_SP_MENU_HISTORY_COUNT, 0, 40, true, 40},   // an empty count keeps the limit
      {IDC_SP_MENU_HISTORY_COUNT, 5000, 40, true, 1000},
      {IDC_SP_DELAY_SECONDS, 45, 30, false, 0},
      {IDC_SP_DELAY_SECONDS, 0, 0, true, 30},
      {IDC_SP_DELAY_SECONDS, 0, 90, true, 90},
      {IDC_SP_HISTORY_MAX, 0, 30, true, 30},          // never 0: the tray would keep nothing
      {IDC_SP_HISTORY_MAX, -4, 30, true, 30},
      {IDC_SP_HISTORY_MAX, 500, 30, true, 100},
      {IDC_SP_PRINT_CHARS, 0, 100, true, 100},
      {IDC_SP_PRINT_CHARS, 250, 100, true, 250},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.edit << " number " << c.number);
    EXPECT_EQ(Row(c.edit).saved(c.number, c.stored, c.guarded), c.saved);
  }
  // What the page shows saves back unchanged for values in range.
  for (const NumberRow& row : SettingsNumberRows()) {
    int shown = row.shown(row.low);
    EXPECT_EQ(row.saved(shown, row.low, true), row.low) << row.edit;
  }
}

TEST(SettingsPageRulesTest, ListsKeepStoredValuesForDataTheyDoNotTake) {
  EXPECT_EQ(SavedPasteMethod(2, 0), 2);
  EXPECT_EQ(SavedPasteMethod(-1, 1), 1);  // CB_ERR is never data
  EXPECT_EQ(SavedPasteMethod(7, 1), 1);
  EXPECT_EQ(SavedTrackingMethod(-1, 0), -1);
  EXPECT_EQ(SavedTrackingMethod(5, 1), 0);
  EXPECT_EQ(SavedGestureType(0, 9), 9);
  EXPECT_EQ(SavedGestureType(1, 9), 0);
  EXPECT_EQ(SavedGestureType(2, 9), 1);
  EXPECT_EQ(TrackingItems(false).size(), 2u);
  ASSERT_EQ(TrackingItems(true).size(), 3u);
  EXPECT_EQ(TrackingItems(true)[2].data, 1);
  auto textOf = [](unsigned id) { return id == IDS_SP_RECOMMENDED ? std::wstring(L"R") : std::wstring(L"T"); };
  EXPECT_EQ(ListItemText(PasteMethodItems()[2], textOf), L"T (R)");
  EXPECT_EQ(ListItemText(TrackingItems(true)[0], textOf), L"T [R]");
  EXPECT_EQ(ListItemText(TrackingItems(true)[1], textOf), L"T [SetClipboardViewer]");
}

TEST(SettingsPageRulesTest, StoredHotkeyWithoutAKeyShowsNoneAndWinComesFromBit8) {
  CQLRSettings settings;
  settings.hotkey.Unpack(-1);
  HotkeyRecord none = StoredHotkeyRecord(settings);
  EXPECT_EQ(none.key, 0);
  EXPECT_EQ(none.modifiers, 0);
  settings.hotkey.key = VK_F9;
  settings.hotkey.modifiers = MOD_CONTROL | MOD_WIN | 0x4000;
  settings.hotkeyDoubled = 5;
  HotkeyRecord r = StoredHotkeyRecord(settings);
  EXPECT_EQ(r.modifiers, MOD_CONTROL | MOD_WIN);
  EXPECT_TRUE(r.IsDouble());
  CQLRSettings out;
  SaveHotkeyRecord(out, r);
  EXPECT_EQ(out.hotkey.Packed(), (MOD_CONTROL | MOD_WIN) * 65536 + VK_F9);
  EXPECT_EQ(out.hotkeyDoubled, 1);
}

TEST(SettingsPageRulesTest, SpecialKeyListEndsWithTheHotkeysOfThisRun) {
  const std::vector<HotkeyRecord>& fixed = FixedSpecialKeys();
  ASSERT_EQ(fixed.size(), 2u + 1 + 10 + 1 + 2 + 1 + 12);
  EXPECT_EQ(fixed[0].key, VK_SCROLL);
  EXPECT_FALSE(fixed[0].IsDouble());
  EXPECT_TRUE(fixed[1].IsDouble());
  EXPECT_EQ(fixed[2].key, 0);
  EXPECT_EQ(fixed[3].key, '0');
  EXPECT_EQ(fixed[3].modifiers, MOD_CONTROL);
  EXPECT_EQ(fixed[12].key, '9');
  EXPECT_EQ(fixed[14].key, VK_PAUSE);
  EXPECT_EQ(fixed.back().key, VK_SPACE);
  EXPECT_EQ(fixed.back().modifiers, 3);
  EXPECT_TRUE(fixed.back().IsDouble());

  std::vector<HotkeyRecord> run;
  HotkeyRecord none;
  EXPECT_EQ(BuildSpecialKeyList(fixed, run, none).size(), fixed.size());  // no key: nothing added
  EXPECT_TRUE(run.empty());
  HotkeyRecord f9;
  f9.key = VK_F9;
  f9.modifiers = 3;
  std::vector<HotkeyRecord> list = BuildSpecialKeyList(fixed, run, f9);
  ASSERT_EQ(list.size(), fixed.size() + 2);
  EXPECT_EQ(list[fixed.size()].key, 0);
  EXPECT_TRUE(SameHotkey(list.back(), f9));
  list = BuildSpecialKeyList(fixed, run, f9);  // the same hotkey is listed once
  EXPECT_EQ(list.size(), fixed.size() + 2);
  f9.flags = HotkeyRecord::kDoublePress;
  list = BuildSpecialKeyList(fixed, run, f9);
  EXPECT_EQ(list.size(), fixed.size() + 3);
  // Without a fixed part no separator is left at either end.
  std::vector<HotkeyRecord> bare = BuildSpecialKeyList({HotkeyRecord{0, 1, 0, 0}}, run, none);
  EXPECT_NE(bare.back().key, 0);
}

TEST(SettingsPageRulesTest, FontSampleStaysSaneForOddStoredFonts) {
  LOGFONTW system = {};
  system.lfHeight = -12;
  wcscpy(system.lfFaceName, L"Tahoma");
  LOGFONTW stored = {};
  for (wchar_t& ch : stored.lfFaceName) ch = L'A';  // no terminator
  stored.lfHeight = 0;
  LOGFONTW sane = SaneMenuFont(stored, system);
  EXPECT_EQ(wcslen(sane.lfFaceName), static_cast<size_t>(LF_FACESIZE - 1));
  EXPECT_EQ(sane.lfHeight, -12);
  EXPECT_EQ(FontSampleText(L"Font For Menu", system, 96), L"Font For Menu: Tahoma, 9");
  stored = {};
  EXPECT_EQ(SaneMenuFont(stored, system).lfFaceName, std::wstring(L"Tahoma"));
  wcscpy(stored.lfFaceName, L"Arial");
  stored.lfHeight = 16;  // a cell height
  EXPECT_EQ(FontSampleText(L"F", SaneMenuFont(stored, system), 96), L"F: Arial, 12");
  EXPECT_EQ(FormatRowText(L"", L"HTML Code (web page)", L".html"), L"HTML Code (web page) [.html]");
  EXPECT_EQ(FormatRowText(L"Text Document", L"Plain Text", L".txt"), L"Text Document, Plain Text [.txt]");
}

}  // namespace
