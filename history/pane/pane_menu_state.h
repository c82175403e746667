// The enable, check and caption rules of the history pane's item menu, as a
// function of what the list shows.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CCHItem;

namespace pane_cmd {
constexpr UINT kMenuResource = 205;
constexpr UINT kCopy = 32793;
constexpr UINT kOpenAsUrl = 32806;
constexpr UINT kCopyPlain = 32797;
constexpr UINT kCopyRtf = 32849;
constexpr UINT kCopyHtml = 32851;
constexpr UINT kEdit = 32828;
constexpr UINT kOpenWith = 32846;
constexpr UINT kCopySourceUrl = 32847;
constexpr UINT kOpenSourceUrl = 32848;
constexpr UINT kEmptyClipboard = 32813;
constexpr UINT kSearchGoogle = 32840;
constexpr UINT kSearchYandex = 32841;
constexpr UINT kSearchWikipedia = 32842;
constexpr UINT kSearchMsdn = 32843;
constexpr UINT kProtect = 32794;
constexpr UINT kDelete = 32796;
constexpr UINT kClear = 32789;
constexpr UINT kUndo = 32838;
constexpr UINT kClearUndo = 32854;
constexpr UINT kSave = 32795;
constexpr UINT kRun = 32821;
constexpr UINT kUpper = 32799;
constexpr UINT kLower = 32805;
constexpr UINT kTrim = 32812;
constexpr UINT kJoin = 32822;
constexpr UINT kMinimizeToCaptionCommand = 32798;
constexpr UINT kFixPaneCommand = 32820;
// Passed on to the tray window.
constexpr UINT kEditPhrases = 32772;
constexpr UINT kKeepHistory = 32786;
constexpr UINT kTrayOptions = 32791;
constexpr UINT kRunAsAdmin = 32829;
constexpr UINT kSounds = 32817;
constexpr UINT kTrayExit = 32819;
// Search captions show at most this much of the item's text.
constexpr size_t kSearchCaptionChars = 70;
}  // namespace pane_cmd

// What the menu rules look at.
struct PaneMenuFacts {
  std::vector<const CCHItem*> items;  // every list item, in list order
  std::vector<int> selected;          // the selected list indexes
  int mark = -1;                      // the selection mark
  std::wstring markText;              // the selection mark item's list text
  int undoCount = 0;
  bool collapsed = false;
};

// Sets the default item, the states and the counted captions on the menu
// (its popup and submenus) as loaded from the resource.
void PreparePaneMenu(HMENU menu, const PaneMenuFacts& facts);

// The caption up to its first "[", trailing blanks removed, then " [n]".
std::wstring CountedCaption(const std::wstring& caption, int count);
// The caption, " [", the text (cut to 70 characters and "…") and "]", with
// the text's "&" doubled so that it shows as written.
std::wstring SearchCaption(const std::wstring& caption, const std::wstring& text);
// A menu item's text by command (submenus searched); empty when missing.
std::wstring MenuItemText(HMENU menu, UINT command);
void SetMenuItemText(HMENU menu, UINT command, const std::wstring& text);
