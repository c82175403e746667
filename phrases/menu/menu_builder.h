// Builds the owner-drawn popup phrase menu of one request: the last-used
// phrases, the phrase tree, the clipboard history and the fixed commands.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "phrases/menu/menu_folder_cache.h"
#include "phrases/menu/menu_item_text.h"

class CPhraseNode;
class CPhraseStore;
class CPopupMenuPool;

// The clipboard-history queue as the menu reads it; entry 0 is the newest.
class IMenuHistory {
 public:
  virtual ~IMenuHistory() = default;
  virtual int GetCount() = 0;
  // While locked, the queue neither adds nor removes entries.
  virtual void SetLocked(bool locked) = 0;
  virtual bool IsRtf(int index) = 0;
  virtual bool IsBitmap(int index) = 0;
  virtual std::wstring GetPlainText(int index) = 0;
  virtual std::wstring GetMenuText(int index) = 0;
  virtual std::wstring GetSourceUrl(int index) = 0;
  // The entry's caption and tooltip caches (the menu fills them once).
  virtual std::wstring* CaptionCache(int index) = 0;
  virtual std::wstring* ToolTipCache(int index) = 0;
};

// The settings the menu is built with; the tray program fills them from its
// settings store.
struct CPhraseMenuOptions {
  bool addLastUsedToBegin = true;
  bool insertHistory = true;
  bool historyAsSubMenu = false;
  int maxHistoryItems = 0;  // > 0: at most that many entries
  bool extEditSettings = true;
  bool extSelectionIntoPhrase = true;
  bool extSupport = true;
  bool menuToolTips = true;
  bool hasMenuFont = false;
  LOGFONTW menuFont = {};
};

// String ids of the menu texts.
constexpr UINT kIdsClipboardHistory = 142;
constexpr UINT kIdsDataFromHistory = 165;
constexpr UINT kIdsMoreHistory = 235;
constexpr UINT kIdsSupportCaption = 258;
constexpr UINT kIdsSkipped = 260;
constexpr UINT kIdsEditSettings = 261;
constexpr UINT kIdsEditSettingsTip = 262;
constexpr UINT kIdsVisitUs = 265;
constexpr UINT kIdsOtherCommands = 273;
constexpr UINT kIdsLinesWord = 277;
constexpr UINT kIdsSelectionIntoPhrase = 32780;
constexpr UINT kIdsSelectionIntoPhraseTip = 32826;
constexpr UINT kIdsSupportTip = 32784;

struct CPhraseMenuRequest {
  CPhraseStore* store = nullptr;
  // Newest first; ids whose phrase is gone are dropped from it.
  std::vector<std::uint32_t>* lastUsed = nullptr;
  std::uint32_t lastUsedId = static_cast<std::uint32_t>(-1);
  CMenuTextInputs texts;
  bool hasSelection = false;
  IMenuHistory* history = nullptr;
  CPhraseMenuOptions options;
  // Where popup menus come from and go back to; null: made and destroyed.
  CPopupMenuPool* pool = nullptr;
  // Where the submenus of top-level folders are kept for the next menu;
  // null: built each time.
  CFolderMenuCache* folders = nullptr;
  // The menu font and item height the kept submenus were measured with.
  const LOGFONTW* menuFont = nullptr;
  int itemHeight = 0;
};

class CPhraseMenuBuilder {
 public:
  explicit CPhraseMenuBuilder(CPhraseMenuRequest& request) : m_request(request) {}
  // The menu, or null when it would be empty. Item records are attached to
  // every item (free them with FreeMenuItemData).
  HMENU Build();
  // Each part on its own, for the guarded history section.
  void AddLastUsed(HMENU menu);
  void AddNodes(std::vector<CPhraseNode>& list, HMENU menu);
  void AddHistory(HMENU menu);
  void AddTail(HMENU menu);

 private:
  bool AppendPhrase(CPhraseNode& node, HMENU menu, std::uint32_t position, int lastUsedIndex);
  std::wstring HistoryToolTip(int index);
  // Whether the folder holds the last used phrase.
  bool HoldsLastUsed(const CPhraseNode& folder);
  // The submenu of a top-level folder: a kept one when nothing it shows
  // changed, else a new one (kept when it may serve again); null when empty.
  HMENU FolderMenu(CPhraseNode& folder);
  // What a folder's submenu is built from; false when some phrase below
  // shows texts of the request (changing macros), so it is built each time.
  bool AddFolderKey(CPhraseNode& folder, CMenuKey& key);
  CMenuKey SharedKey();

  int m_depth = 0;
  CMenuKey m_sharedKey;

  CPhraseMenuRequest& m_request;
};

// Menu helpers.
bool MenuEndsWithSeparator(HMENU menu);
// A plain separator (empty label) or a labelled one; only when the menu has
// items and does not end with a separator already.
bool AppendMenuSeparator(HMENU menu, const std::wstring& label);
