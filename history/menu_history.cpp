#include "history/menu_history.h"

#include "history/clipboard_handler.h"
#include "history/history_caption.h"

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
  if (handler) handler->Queue().SetLocked(locked);
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
