// Command ids of the phrase menu and its right-click menu, and the map of
// the fixed commands to the negative keys the menu reports for them.
#pragma once
#include <windows.h>

constexpr UINT kCmdEditSettings = 32772;
constexpr UINT kCmdSelectionIntoPhrase = 32826;
constexpr UINT kCmdSupport = 32784;
constexpr UINT kHistoryFirstId = 2000;
constexpr int kHistoryInlineMax = 15;  // entries beyond go into "More History"

// Right-click menu of an item.
constexpr UINT kCmdCopyItem = 32797;
constexpr UINT kCmdOpenAsUrl = 32806;
constexpr UINT kCmdEditItem = 32828;
constexpr UINT kCmdOpenWith = 32846;
constexpr UINT kCmdSearchGoogle = 32834;
constexpr UINT kCmdSearchYandex = 32835;
constexpr UINT kCmdSearchMsdn = 32836;
constexpr UINT kCmdSearchWikipedia = 32837;
constexpr UINT kCmdOpenSourceUrl = 32848;
constexpr UINT kItemContextMenu = 205;

// Messages to the tray window.
constexpr UINT kMsgMenuResult = 32780;      // wParam: command or key, -1 none; lParam: menu owner
constexpr UINT kMsgHideMenuTip = 32785;
constexpr UINT kMsgRightMenuCommand = 32789;  // wParam: action code; lParam: item id

// Key of a special command id, or 0.
int GetSpecialCommandKey(UINT id);
// Command id of a key, or 0.
UINT GetSpecialCommandId(int key);
bool IsSpecialCommandKey(int value);
inline bool IsSpecialCommandId(UINT id) { return GetSpecialCommandKey(id) != 0; }
