// The live clipboard history as the phrase menu sees it.
#pragma once
#include <functional>
#include <cstdint>
#include <string>
#include <vector>

#include "history/store/history_item.h"

#include "phrases/menu/menu_builder.h"

class CQLRWndClipboardHandler;

class CHandlerMenuHistory : public IMenuHistory {
 public:
  // The handler comes and goes with the history setting: asked each time.
  explicit CHandlerMenuHistory(std::function<CQLRWndClipboardHandler*()> handler)
      : m_handler(std::move(handler)) {}
  int GetCount() override;
  void SetLocked(bool locked) override;
  bool IsRtf(int index) override;
  bool IsBitmap(int index) override;
  std::wstring GetPlainText(int index) override;
  std::wstring GetMenuText(int index) override;
  std::wstring GetSourceUrl(int index) override;
  std::wstring* CaptionCache(int index) override;
  std::wstring* ToolTipCache(int index) override;

  // The item that stood at index when the queue was last locked for a menu,
  // so that a choice made in the menu finds its entry even when a capture
  // came in after the menu closed; null when that item has gone since.
  // Without a menu since the last ForgetShown, the item at index now.
  CCHItem* ShownItem(int index);
  void ForgetShown();

 private:
  CCHItem* Item(int index);
  std::function<CQLRWndClipboardHandler*()> m_handler;
  bool m_haveShown = false;
  std::vector<std::uint32_t> m_shown;  // item numbers, newest first
};
