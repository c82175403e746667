#include "phrases/menu/menu_builder.h"

#include <algorithm>
#include <cwchar>
#include <unordered_set>

#include "foundation/localization/localized_strings.h"
#include "foundation/logging/exception_guard.h"
#include "foundation/logging/log.h"
#include "foundation/text/text_basics.h"
#include "phrases/menu/menu_commands.h"
#include "phrases/menu/menu_item_data.h"
#include "phrases/menu/menu_pool.h"
#include "phrases/menu/menu_road_clock.h"
#include "phrases/store/phrase_captions.h"
#include "phrases/store/phrase_node.h"
#include "phrases/store/phrase_store.h"

namespace {

constexpr int kHistoryCaptionMax = 60;
constexpr size_t kSelectionPreviewMax = 40;

// Appends an owner-drawn item with its record; the record is freed when the
// item cannot be made. For an owner-drawn item the "text" argument is the
// item data, so the record is attached in the same call.
bool AppendItem(HMENU menu, UINT flags, UINT_PTR id, CMenuItemData* data) {
  if (!AppendMenuW(menu, flags | MF_OWNERDRAW, id, reinterpret_cast<LPCWSTR>(data))) {
    LogError(L"AppendMenu error=" + IntToStr(static_cast<int>(GetLastError())));
    delete data;
    return false;
  }
  return true;
}

bool AppendPopup(HMENU menu, HMENU popup, CMenuItemData* data) {
  data->kindFlags |= kMenuItemPopup;
  return AppendItem(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), data);
}

std::unordered_set<UINT> MenuItemIds(HMENU menu) {
  std::unordered_set<UINT> ids;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) ids.insert(GetMenuItemID(menu, i));
  return ids;
}

std::wstring Bracketed(const std::wstring& text) { return L" [" + text + L"]"; }

void DestroyPopup(HMENU popup, CPopupMenuPool* pool) {
  FreeMenuItemData(popup);
  GivePopupMenu(pool, popup);
}

}  // namespace

bool MenuEndsWithSeparator(HMENU menu) {
  int count = GetMenuItemCount(menu);
  if (count <= 0) return false;
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(count - 1), TRUE, &info)) return false;
  return (info.fType & MFT_SEPARATOR) != 0;
}

bool AppendMenuSeparator(HMENU menu, const std::wstring& label) {
  if (GetMenuItemCount(menu) <= 0 || MenuEndsWithSeparator(menu)) return false;
  CMenuItemData* data = new CMenuItemData();
  data->kindFlags = kMenuItemSeparator;
  data->SetHint(label.c_str());
  return AppendItem(menu, MF_SEPARATOR, 0, data);
}

HMENU CPhraseMenuBuilder::Build() {
  ForgetMenuStrings();
  HMENU menu = TakePopupMenu(m_request.pool);
  if (!menu) return nullptr;
  if (m_request.folders) m_sharedKey = SharedKey();
  if (m_request.options.addLastUsedToBegin) AddLastUsed(menu);
  if (m_request.store) AddNodes(m_request.store->Nodes(), menu);
  if (m_request.options.insertHistory && m_request.history) {
    auto body = [&] { AddHistory(menu); };
    RunGuardedReported(L"ERROR: Exception in IDataNeededHander_MenuSelf::AddClipboardHistoryIntoMenu", body);
  }
  if (m_request.folders) m_request.folders->EndBuild(m_request.pool);
  if (GetMenuItemCount(menu) <= 0) {
    DestroyPopup(menu, m_request.pool);
    return nullptr;
  }
  AddTail(menu);
  return menu;
}

void CPhraseMenuBuilder::AddLastUsed(HMENU menu) {
  std::vector<std::uint32_t>* ids = m_request.lastUsed;
  if (!ids || !m_request.store) return;
  int added = 0;
  for (size_t i = 0; i < ids->size();) {
    std::uint32_t id = (*ids)[i];
    int asKey = static_cast<int>(id);
    if (id == static_cast<std::uint32_t>(-1) || IsSpecialCommandKey(asKey)) {
      ++i;
      continue;
    }
    CPhraseNode* node = nullptr;
    {
      menu_road::LookupTimer lookup;
      node = m_request.store->FindNodeById(id);
    }
    if (!node || node->IsFolder()) {
      // A phrase deleted (or renumbered) since it was used: forget it
      // instead of complaining on every menu.
      LogError(L"IDataNeededHander_MenuSelf::MakeMenu: last used phrase " + IntToStr(asKey) +
               L" no longer exists; dropped");
      ids->erase(ids->begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    // An excluded phrase stays out of the menu here as in the tree; it keeps
    // its place in the list for when it is included again.
    if (!node->IsEnabled()) {
      ++i;
      continue;
    }
    if (AppendPhrase(*node, menu, static_cast<std::uint32_t>(added), added)) ++added;
    ++i;
  }
  if (added > 0) AppendMenuSeparator(menu, MenuString(kIdsOtherCommands));
}

bool CPhraseMenuBuilder::AppendPhrase(CPhraseNode& node, HMENU menu, std::uint32_t position, int lastUsedIndex) {
  CPhraseItemTexts texts;
  {
    menu_road::LookupTimer lookup;
    texts = GetPhraseItemTexts(node, m_request.texts);
  }
  UINT flags = 0;
  if (node.GetDisabledIsNoHasSelection() && !m_request.hasSelection) flags |= MF_GRAYED;

  CMenuItemData* data = new CMenuItemData();
  data->SetCaption(texts.caption.c_str());
  data->SetCommandText(node.data.c_str());
  data->dataType = node.DataType;
  data->commandId = node.CMDID;
  data->position = position;
  data->SetHint(texts.hint.c_str());
  if (node.CMDID == m_request.lastUsedId || lastUsedIndex == 0) data->highlight = 1;
  data->markerPosition = texts.marker;
  data->lastUsedIndex = lastUsedIndex;
  data->expandedText = std::move(texts.expanded);
  data->SetToolTip(texts.toolTip, true);
  return AppendItem(menu, flags, node.CMDID, data);
}

void CPhraseMenuBuilder::AddNodes(std::vector<CPhraseNode>& list, HMENU menu) {
  std::uint32_t phrases = 0;
  // The ids already in this menu level (the last-used section stands in the
  // top one): asking the menu for every phrase grows with the square.
  std::unordered_set<UINT> ids = MenuItemIds(menu);
  for (CPhraseNode& node : list) {
    if (node.IsFolder() || !node.IsEnabled() || !ids.insert(node.CMDID).second) continue;
    if (node.IsSeparatorBefore()) AppendMenuSeparator(menu, std::wstring());
    if (AppendPhrase(node, menu, phrases, -1)) ++phrases;
    if (node.IsSeparatorAfter()) AppendMenuSeparator(menu, std::wstring());
  }
  bool folderAdded = false;
  for (CPhraseNode& node : list) {
    if (!node.IsFolder() || !node.IsEnabled()) continue;
    HMENU popup = FolderMenu(node);
    if (!popup) continue;
    if (!folderAdded && phrases > 0) AppendMenuSeparator(menu, std::wstring());
    folderAdded = true;
    if (node.IsSeparatorBefore()) AppendMenuSeparator(menu, std::wstring());
    CMenuItemData* data = new CMenuItemData();
    data->SetCaption(node.GetCaption().c_str());
    if (HoldsLastUsed(node)) data->highlight = 1;
    if (!AppendPopup(menu, popup, data)) {
      if (!m_request.folders || !m_request.folders->IsKept(popup)) DestroyPopup(popup, m_request.pool);
      continue;
    }
    if (node.IsSeparatorAfter()) AppendMenuSeparator(menu, std::wstring());
  }
}

HMENU CPhraseMenuBuilder::FolderMenu(CPhraseNode& folder) {
  CFolderMenuCache* cache = m_depth == 0 ? m_request.folders : nullptr;
  CMenuKey key = m_sharedKey;
  const bool keep = cache && AddFolderKey(folder, key);
  if (keep)
    if (HMENU kept = cache->Take(key)) return kept;
  HMENU popup = TakePopupMenu(m_request.pool);
  if (!popup) return nullptr;
  ++m_depth;
  AddNodes(*folder.childNodes, popup);
  --m_depth;
  if (GetMenuItemCount(popup) <= 0) {
    DestroyPopup(popup, m_request.pool);
    return nullptr;
  }
  if (keep) cache->Keep(key, popup);
  return popup;
}

bool CPhraseMenuBuilder::AddFolderKey(CPhraseNode& folder, CMenuKey& key) {
  // Everything AddNodes and the item texts read of the nodes below, in
  // their order; excluded phrases only by their place.
  key.Add(folder.caption, wcsnlen(folder.caption, CPhraseNode::kCaptionChars));
  key.Add(static_cast<std::uint64_t>(folder.flagsMenu));
  for (CPhraseNode& node : *folder.childNodes) {
    key.Add(static_cast<std::uint64_t>(node.IsFolder() ? 1 : node.IsEnabled() ? 2 : 3));
    key.Add(static_cast<std::uint64_t>(node.CMDID));
    if (node.IsFolder()) {
      if (!AddFolderKey(node, key)) return false;
      continue;
    }
    if (!node.IsEnabled()) continue;
    if (!m_request.texts.macros || !m_request.texts.macros->IsRequestIndependent(node)) return false;
    key.Add(node.caption, wcsnlen(node.caption, CPhraseNode::kCaptionChars));
    key.Add(node.data);
    key.Add(static_cast<std::uint64_t>(node.DataType) | static_cast<std::uint64_t>(node.flagsMenu) << 8 |
            static_cast<std::uint64_t>(node.GetUseTitleOnly()) << 16 |
            static_cast<std::uint64_t>(node.GetDisabledIsNoHasSelection()) << 17 |
            static_cast<std::uint64_t>(node.GetDisabledIsNoHasSelection() && m_request.hasSelection) << 18 |
            static_cast<std::uint64_t>(node.CMDID == m_request.lastUsedId) << 19);
  }
  key.Add(static_cast<std::uint64_t>(4));  // the end of the folder
  return true;
}

CMenuKey CPhraseMenuBuilder::SharedKey() {
  // The language's texts in the items, and what the items are measured
  // with (a submenu shown again may keep its measures).
  CMenuKey key;
  for (UINT id : {kIdsInsertPlainText, kIdsInsertFormattedText, kIdsExecuteApplication, kIdsChars,
                  kIdsActivateLayout, kIdsRightClickHint})
    key.Add(MenuString(id));
  key.Add(static_cast<std::uint64_t>(m_request.menuFont != nullptr));
  if (m_request.menuFont) key.Add(m_request.menuFont, sizeof(LOGFONTW));
  key.Add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(m_request.itemHeight)));
  return key;
}

bool CPhraseMenuBuilder::HoldsLastUsed(const CPhraseNode& folder) {
  menu_road::LookupTimer lookup;
  return m_request.store && m_request.store->FolderContainsId(folder, m_request.lastUsedId);
}

std::wstring CPhraseMenuBuilder::HistoryToolTip(int index) {
  IMenuHistory* history = m_request.history;
  std::wstring* cache = history->ToolTipCache(index);
  if (cache && !cache->empty()) return *cache;
  bool rtf = history->IsRtf(index);
  std::wstring text = history->GetPlainText(index);
  std::wstring tip = MenuString(rtf ? kIdsInsertFormattedText : kIdsInsertPlainText) + L": " +
                     MenuString(kIdsDataFromHistory);
  tip += L"\n\t" + MenuString(kIdsChars) + L": " + IntToStr(static_cast<int>(text.size()));
  if (!history->IsBitmap(index))
    tip += L", " + MenuString(kIdsLinesWord) + L": " +
           IntToStr(CountLinesW(text.c_str(), text.size()));
  if (!text.empty()) {
    std::wstring preview;
    MakeHeadTailPreview(preview, text, CountLinesW(text.c_str(), text.size()));
    tip += L"\n\n" + preview;
  }
  std::wstring url = history->GetSourceUrl(index);
  if (!url.empty()) tip = L"\tURL: " + url + L"\n\n" + tip;
  if (cache) *cache = tip;
  return tip;
}

void CPhraseMenuBuilder::AddHistory(HMENU menu) {
  IMenuHistory* history = m_request.history;
  const CPhraseMenuOptions& options = m_request.options;
  int n = history->GetCount();
  if (n <= 0) return;
  int shown = options.maxHistoryItems > 0 && options.maxHistoryItems < n ? options.maxHistoryItems : n;
  std::wstring title = MenuString(kIdsClipboardHistory);
  wchar_t count[64];
  if (GetMenuItemCount(menu) > 0) {
    swprintf(count, 64, L"[%d/%d]", shown, n);
    AppendMenuSeparator(menu, title + L" " + count);
  }
  HMENU target = menu;
  bool inSubMenu = false;
  if (options.historyAsSubMenu) {
    HMENU popup = TakePopupMenu(m_request.pool);
    if (popup) {
      if (options.maxHistoryItems > 0)
        swprintf(count, 64, L"%d\\%d", shown, n);
      else
        swprintf(count, 64, L"%d", n);
      std::wstring caption = title + Bracketed(count);
      Log(L"History Sub Menu Text: " + caption);
      CMenuItemData* data = new CMenuItemData();
      data->SetCaption(caption.c_str());
      data->historyFlag = 1;
      if (AppendPopup(menu, popup, data)) {
        target = popup;
        inSubMenu = true;
      } else {
        GivePopupMenu(m_request.pool, popup);
      }
    }
  }
  for (int i = 0; i < shown; ++i) {
    std::wstring* cached = history->CaptionCache(i);
    std::wstring caption = cached && !cached->empty() ? *cached : history->GetMenuText(i);
    if (cached && cached->empty()) *cached = caption;
    caption = ShortenHistoryCaption(caption, kHistoryCaptionMax);
    if (!inSubMenu && i == kHistoryInlineMax) {
      HMENU more = TakePopupMenu(m_request.pool);
      if (more) {
        CMenuItemData* data = new CMenuItemData();
        data->SetCaption((MenuString(kIdsMoreHistory) + Bracketed(IntToStr(n - kHistoryInlineMax)) + L"\u2026").c_str());
        data->historyFlag = 1;
        if (AppendPopup(menu, more, data)) {
          target = more;
          inSubMenu = true;
        } else {
          GivePopupMenu(m_request.pool, more);
        }
      }
    }
    CMenuItemData* data = new CMenuItemData();
    data->SetCaption(caption.c_str());
    data->dataType = history->IsRtf(i) ? 1 : 0;
    data->historyFlag = 1;
    data->position = static_cast<std::uint32_t>(i);
    data->commandId = kHistoryFirstId + static_cast<UINT>(i);
    data->bitmapFlag = history->IsBitmap(i) ? 1 : 0;
    data->expandedText = history->GetPlainText(i);
    data->SetToolTip(HistoryToolTip(i), true);
    AppendItem(target, 0, kHistoryFirstId + static_cast<UINT>(i), data);
  }
}

void CPhraseMenuBuilder::AddTail(HMENU menu) {
  const CPhraseMenuOptions& options = m_request.options;
  if (!MenuEndsWithSeparator(menu)) {
    std::wstring label;
    if (!options.insertHistory) label = MenuString(kIdsClipboardHistory) + Bracketed(MenuString(kIdsSkipped));
    AppendMenuSeparator(menu, label);
  }
  bool added = false;
  if (options.extEditSettings) {
    CMenuItemData* data = new CMenuItemData();
    data->SetCaption(MenuString(kIdsEditSettings).c_str());
    data->SetToolTip(MenuString(kIdsEditSettingsTip), false);
    data->commandId = kCmdEditSettings;
    added = AppendItem(menu, 0, kCmdEditSettings, data) || added;
  }
  if (options.extSelectionIntoPhrase) {
    const std::wstring& selection = m_request.texts.selectedText;
    std::wstring caption = MenuString(kIdsSelectionIntoPhrase);
    if (m_request.hasSelection && !selection.empty()) {
      std::wstring first = selection.substr(0, selection.find_first_of(L"\r\n"));
      first = TrimChars(first, L" \t");
      if (first.size() > kSelectionPreviewMax) first = first.substr(0, kSelectionPreviewMax) + L"\u2026";
      caption += Bracketed(first);
    }
    caption += L"\u2026";
    CMenuItemData* data = new CMenuItemData();
    data->SetCaption(caption.c_str());
    data->SetToolTip(MenuString(kIdsSelectionIntoPhraseTip) + Bracketed(selection), false);
    data->commandId = kCmdSelectionIntoPhrase;
    added = AppendItem(menu, m_request.hasSelection ? 0 : MF_GRAYED, kCmdSelectionIntoPhrase, data) || added;
  }
  if (options.extSupport) {
    if (added) AppendMenuSeparator(menu, MenuString(kIdsVisitUs));
    CMenuItemData* data = new CMenuItemData();
    data->SetCaption(MenuString(kIdsSupportCaption).c_str());
    data->SetToolTip(MenuString(kIdsSupportTip), false);
    data->commandId = kCmdSupport;
    AppendItem(menu, 0, kCmdSupport, data);
  }
  if (MenuEndsWithSeparator(menu)) {
    int last = GetMenuItemCount(menu) - 1;
    delete GetMenuItemDataByPos(menu, last);
    DeleteMenu(menu, static_cast<UINT>(last), MF_BYPOSITION);
  }
}
