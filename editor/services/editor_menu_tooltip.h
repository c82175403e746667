// The editor's menu tips: macro descriptions with their current values,
// recent phrase folders, language files, and command prompts with a few
// additions of their own (the clipboard text to add, the log file, the
// phrase that Paste would insert).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "phrases/menu/menu_tooltip.h"

// The registered message that puts a text into the main frame's status
// bar (wParam 0, lParam the text).
UINT GetFrameStatusTextMessage();

// The icon resource of macro tips.
constexpr UINT kMacroTipIconId = 142;

class CEditorMenuToolTip : public CMenuToolTip {
 public:
  ~CEditorMenuToolTip() override;

  // The tip of a command; empty when it has none.
  void GetTipText(std::wstring& out, UINT id);
  bool IsSysCommandId(UINT id) override;
  HICON GetTipIcon(UINT id);
  // Appended to the Paste tip (the phrase tree pane sets and clears it).
  void SetExtraText(const std::wstring& text) { m_extraText = text; }
  const std::wstring& GetExtraText() const { return m_extraText; }

  bool GetItemText(std::wstring& text, UINT id, HMENU menu, std::wstring& title) override;
  HICON GetItemIcon(UINT id) override { return GetTipIcon(id); }

  // Test seam: the language list of the language menu (null: the language
  // folder's files, as the menu lists them).
  void SetLanguageListForTests(const std::vector<std::wstring>* list) { m_languagesForTests = list; }

 private:
  std::wstring LanguageTip(UINT index);

  std::wstring m_extraText;
  HICON m_macroIcon = nullptr;
  bool m_macroIconLoaded = false;
  const std::vector<std::wstring>* m_languagesForTests = nullptr;
};

// The text of the Paste tip as the status bar shows it: every line break a
// blank.
std::wstring MakeStatusLine(const std::wstring& text);
