// What the tray window hands the phrase menu: requests from query records,
// options from the settings, and WM_COPYDATA command blocks.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "settings/settings.h"
#include "tray/hook/menu_request.h"

namespace {

std::vector<BYTE> CommandBlock(size_t size, std::int32_t id, std::int32_t window) {
  std::vector<BYTE> block(size, 0xCC);
  if (size >= 4) memcpy(block.data(), &id, 4);
  if (size >= 138) memcpy(block.data() + 134, &window, 4);
  return block;
}

TEST(MenuRequestTest, CopyDataBlocksAreCheckedBeforeTheyAreRead) {
  struct Case {
    size_t size;
    bool nullData;
    std::int32_t id;
    std::int32_t window;
    bool ok;
  } cases[] = {
      {138, false, 7, 0x1234, true},
      {400, false, -1, 0x10, true},
      // A window value with the top bit set stays the same 32 bits.
      {138, false, 12, static_cast<std::int32_t>(0xFFFF1234u), true},
      {137, false, 7, 0, false},
      {4, false, 7, 0, false},
      {0, false, 7, 0, false},
      {138, true, 7, 0, false},
  };
  for (const Case& c : cases) {
    std::vector<BYTE> block = CommandBlock(c.size, c.id, c.window);
    COPYDATASTRUCT data = {};
    data.cbData = static_cast<DWORD>(c.size);
    data.lpData = c.nullData || block.empty() ? nullptr : block.data();
    int id = 0;
    HWND target = reinterpret_cast<HWND>(1);
    EXPECT_EQ(ParseCopyDataCommand(&data, &id, &target), c.ok) << c.size;
    if (!c.ok) continue;
    EXPECT_EQ(id, c.id);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(target), static_cast<INT_PTR>(c.window));
  }
  int id = 0;
  HWND target = nullptr;
  EXPECT_FALSE(ParseCopyDataCommand(nullptr, &id, &target));
}

TEST(MenuRequestTest, QueryRecordBecomesTheMenuRequest) {
  CQueryRecord query;
  query.hwnd = reinterpret_cast<HWND>(0x100);
  query.guiInfo.hwndActive = reinterpret_cast<HWND>(0x200);
  query.guiInfo.hwndFocus = reinterpret_cast<HWND>(0x300);
  query.guiInfo.hwndCaret = reinterpret_cast<HWND>(0x400);
  query.guiInfo.hwndCapture = nullptr;
  query.guiInfo.hwndMenuOwner = reinterpret_cast<HWND>(0x500);
  query.hkl = 0x04190419;
  query.POINT_X = 15;
  query.POINT_Y = -3;
  CMenuRequest request = MenuRequestFromQuery(query);
  EXPECT_EQ(request.hwndForMenu, query.hwnd);
  EXPECT_EQ(request.active, query.guiInfo.hwndActive);
  EXPECT_EQ(request.focus, query.guiInfo.hwndFocus);
  EXPECT_EQ(request.caret, query.guiInfo.hwndCaret);
  EXPECT_EQ(request.menuOwner, query.guiInfo.hwndMenuOwner);
  EXPECT_EQ(request.capture, nullptr);
  EXPECT_EQ(LOWORD(reinterpret_cast<ULONG_PTR>(request.layout)), 0x0419);
  EXPECT_EQ(request.x, 15);
  EXPECT_EQ(request.y, -3);

  // The selected text counts only with a selection state that says so.
  struct Case {
    std::int32_t state;
    const wchar_t* text;
    bool counts;
  } cases[] = {
      {CQueryRecord::kNoSelection, L"stale", false},
      {CQueryRecord::kSelectionExtracted, L"picked", true},
      {CQueryRecord::kSelectionExtracted, L"", true},
      {CQueryRecord::kSelectionUnknown, L"maybe", true},
      {CQueryRecord::kSelectionUnknown, L"", false},
  };
  for (const Case& c : cases) {
    query.StateSelText = c.state;
    query.SelText = c.text;
    request = MenuRequestFromQuery(query);
    EXPECT_EQ(request.selectionFlag != 0 || request.selectionFlagOther != 0, c.counts) << c.state << " " << c.text;
    EXPECT_EQ(request.selectedText, c.text);
  }
}

TEST(MenuRequestTest, MenuOptionsFollowTheSettings) {
  CQLRTraySettings settings;
  settings.addLastUsedMenuToBegin = 0;
  settings.insertCHIntoMenu = 1;
  settings.appendCHAsSubMenu = 1;
  settings.maxHistoryItemsInMenu = 9;
  settings.extMenuCommand[kExtEditSetting] = 0;
  settings.extMenuCommand[kExtSaveSelAsPhrase] = 1;
  settings.extMenuCommand[kExtSupport] = 0;
  settings.menuToolTips = 0;
  // Where the system gives no menu font the setting stays zeroed.
  settings.fontForMenu = LOGFONTW{};
  CPhraseMenuOptions options = MenuOptionsFromSettings(settings);
  EXPECT_FALSE(options.addLastUsedToBegin);
  EXPECT_TRUE(options.insertHistory);
  EXPECT_TRUE(options.historyAsSubMenu);
  EXPECT_EQ(options.maxHistoryItems, 9);
  EXPECT_FALSE(options.extEditSettings);
  EXPECT_TRUE(options.extSelectionIntoPhrase);
  EXPECT_FALSE(options.extSupport);
  EXPECT_FALSE(options.menuToolTips);
  EXPECT_FALSE(options.hasMenuFont);

  wcscpy(settings.fontForMenu.lfFaceName, L"Tahoma");
  settings.fontForMenu.lfHeight = -17;
  options = MenuOptionsFromSettings(settings);
  EXPECT_TRUE(options.hasMenuFont);
  EXPECT_STREQ(options.menuFont.lfFaceName, L"Tahoma");
  EXPECT_EQ(options.menuFont.lfHeight, -17);
}

}  // namespace
