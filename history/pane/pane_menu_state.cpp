#include "history/pane/pane_menu_state.h"

#include <algorithm>

#include "history/store/history_item.h"

namespace {

bool IsTextKind(const CCHItem* item) {
  return item && (item->kind == kHistoryKindAnsi || item->kind == kHistoryKindUnicode ||
                  item->kind == kHistoryKindRtf);
}

void Enable(HMENU menu, UINT command, bool on) {
  EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void Check(HMENU menu, UINT command, bool on) {
  CheckMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

std::wstring DoubleAmpersands(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    out += c;
    if (c == L'&') out += L'&';
  }
  return out;
}

}  // namespace

std::wstring MenuItemText(HMENU menu, UINT command) {
  wchar_t buffer[512] = {};
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = buffer;
  info.cch = 511;
  if (!GetMenuItemInfoW(menu, command, FALSE, &info)) return std::wstring();
  return buffer;
}

void SetMenuItemText(HMENU menu, UINT command, const std::wstring& text) {
  MENUITEMINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<wchar_t*>(text.c_str());
  SetMenuItemInfoW(menu, command, FALSE, &info);
}

std::wstring CountedCaption(const std::wstring& caption, int count) {
  std::wstring text = caption.substr(0, caption.find(L'['));
  while (!text.empty() && text.back() == L' ') text.pop_back();
  return text + L" [" + std::to_wstring(count) + L"]";
}

std::wstring SearchCaption(const std::wstring& caption, const std::wstring& text) {
  std::wstring shown = text;
  if (shown.size() > pane_cmd::kSearchCaptionChars) {
    shown.resize(pane_cmd::kSearchCaptionChars);
    // A cut between the halves of a surrogate pair leaves no lone half.
    if (IS_HIGH_SURROGATE(shown.back())) shown.pop_back();
    shown += L"\x2026";
  }
  return caption + L" [" + DoubleAmpersands(shown) + L"]";
}

void PreparePaneMenu(HMENU menu, const PaneMenuFacts& facts) {
  using namespace pane_cmd;
  const int count = static_cast<int>(facts.items.size());
  const bool hasSelection = count > 0 && facts.mark >= 0 && facts.mark < count;
  const CCHItem* mark = hasSelection ? facts.items[facts.mark] : nullptr;
  bool anyUnprotected = false;
  bool allBrindle = count > 0;
  for (const CCHItem* item : facts.items) {
    if (item && !item->IsProtected()) anyUnprotected = true;
    if (!item || item->kind != kHistoryKindBrindle) allBrindle = false;
  }
  bool selectedUnprotected = false;
  bool selectedText = false;
  for (int index : facts.selected) {
    if (index < 0 || index >= count) continue;
    const CCHItem* item = facts.items[index];
    if (item && !item->IsProtected()) selectedUnprotected = true;
    if (IsTextKind(item)) selectedText = true;
  }
  SetMenuDefaultItem(menu, kCopy, FALSE);
  Enable(menu, kEdit, hasSelection && !allBrindle);
  for (UINT id : {kOpenWith, kCopy, kCopyPlain, kRun, kProtect, kSave}) Enable(menu, id, hasSelection);
  Enable(menu, kCopyRtf, mark && mark->FindFormat(kHistoryKindRtf));
  Enable(menu, kCopyHtml, mark && mark->HasHtml(false));
  Enable(menu, kClear, anyUnprotected);
  Enable(menu, kUndo, facts.undoCount > 0);
  if (facts.undoCount > 0) SetMenuItemText(menu, kUndo, CountedCaption(MenuItemText(menu, kUndo), facts.undoCount));
  Enable(menu, kDelete, hasSelection && selectedUnprotected);
  for (UINT id : {kUpper, kLower, kTrim, kJoin}) Enable(menu, id, selectedText);
  Check(menu, kMinimizeToCaptionCommand, facts.collapsed);
  const bool hasText = hasSelection && !facts.markText.empty();
  Enable(menu, kOpenAsUrl, hasText);
  for (UINT id : {kSearchGoogle, kSearchYandex, kSearchWikipedia, kSearchMsdn}) {
    Enable(menu, id, hasText);
    if (hasText) SetMenuItemText(menu, id, SearchCaption(MenuItemText(menu, id), facts.markText));
  }
  Check(menu, kProtect, mark && mark->IsProtected());
  const bool hasSource = mark && !mark->sourceUrl.empty();
  Enable(menu, kCopySourceUrl, hasSource);
  Enable(menu, kOpenSourceUrl, hasSource);
}
