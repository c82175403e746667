#include "history/actions/menu_history.h"

#include "history/capture/clipboard_handler.h"
#include "history/store/history_caption.h"

CCHItem* CHandlerMenuHistory::Item(int index) {
  CQLRWndClipboardHandler* handler = m_handler ? m_handler() : nullptr;
  return handler ? handler->GetItem(index) : nullptr;
}

int CHandlerMenuHistory::GetCount() {
  CQLRWndClipboardHandler* handler = m_handler ? m_handler() : nullptr;
  return handler && handler->GetHwnd() ? handler->GetItemCount() : 0;
}

void CHandlerMenuHistory::SetLocked(bool locked) {
  CQLRWndClipboardHandler* handler = m_handler ? m_handler() : nullptr;
  if (!handler) return;
  handler->Queue().SetLocked(locked);
  if (!locked) return;
  m_haveShown = true;
  m_shown.clear();
  for (int i = 0; i < handler->GetItemCount(); ++i) m_shown.push_back(handler->GetItem(i)->number);
}

CCHItem* CHandlerMenuHistory::ShownItem(int index) {
  if (!m_haveShown) return Item(index);
  if (index < 0 || static_cast<size_t>(index) >= m_shown.size()) return nullptr;
  CQLRWndClipboardHandler* handler = m_handler ? m_handler() : nullptr;
  if (!handler) return nullptr;
  int fromOldest = handler->Queue().IndexOfNumber(m_shown[static_cast<size_t>(index)]);
  return fromOldest < 0 ? nullptr : handler->GetItem(handler->GetItemCount() - 1 - fromOldest);
}

void CHandlerMenuHistory::ForgetShown() {
  m_haveShown = false;
  m_shown.clear();
}

bool CHandlerMenuHistory::IsRtf(int index) {
  CCHItem* item = Item(index);
  return item && item->kind == kHistoryKindRtf;
}

bool CHandlerMenuHistory::IsBitmap(int index) {
  CCHItem* item = Item(index);
  return item && item->kind == kHistoryKindBitmap;
}

std::wstring CHandlerMenuHistory::GetPlainText(int index) {
  CCHItem* item = Item(index);
  return item ? HistoryItemPlainText(*item) : std::wstring();
}

std::wstring CHandlerMenuHistory::GetMenuText(int index) {
  CCHItem* item = Item(index);
  return item ? HistoryItemCaption(*item, kHistoryMenuCaptionChars, true) : std::wstring();
}

std::wstring CHandlerMenuHistory::GetSourceUrl(int index) {
  CCHItem* item = Item(index);
  return item ? item->sourceUrl : std::wstring();
}

std::wstring* CHandlerMenuHistory::CaptionCache(int index) {
  CCHItem* item = Item(index);
  return item ? &item->menuCaption : nullptr;
}

std::wstring* CHandlerMenuHistory::ToolTipCache(int index) {
  CCHItem* item = Item(index);
  return item ? &item->tipText : nullptr;
}
