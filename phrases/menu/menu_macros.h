// The phrase menu's previews through the macro engine.
#pragma once
#include "phrases/macros/macro_values.h"
#include "phrases/menu/menu_item_text.h"

class CPhraseMenuMacros : public IMenuMacroExpander {
 public:
  int ExpandText(std::wstring& text, const std::wstring& selected, const std::wstring& clipboard, LANGID lang,
                 int* caretFromEnd) override;
  int ExpandRtf(std::wstring& rtf, const std::wstring& selected, const std::wstring& clipboard, LANGID lang,
                bool* caret) override;
  LANGID GetActivatedLayout(const std::wstring& text, bool rich) override;
  bool IsRequestIndependent(CPhraseNode& node) override;
  // A new request: the values read once per request are read again.
  void NewRequest() { m_cache.Clear(); }

 private:
  CMacroRequestCache m_cache;
};
