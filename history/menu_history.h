// The live clipboard history as the phrase menu sees it.
#pragma once
#include <functional>
#include <string>

#include "history/history_item.h"

#include "phrases/menu_builder.h"

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

 private:
  CCHItem* Item(int index);
  std::function<CQLRWndClipboardHandler*()> m_handler;
};
