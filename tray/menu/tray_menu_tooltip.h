// The tooltips of the tray menu: the menu tooltip with the tray program's
// texts (the state of the history, the update check, the information block)
// and icons. The history pane's caption buttons take their tips from it too.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "phrases/menu/menu_tooltip.h"

class CQLRWndClipboardHandler;

// What the tips show of the running program.
class ITrayTipSource {
 public:
  virtual ~ITrayTipSource() = default;
  virtual CQLRWndClipboardHandler* ClipboardHandler() = 0;  // null without history
  virtual bool CoreLibraryLoaded() = 0;
  virtual void CountPhrases(int* enabled, int* total) = 0;
  virtual int LogMessageCount() = 0;
};

constexpr UINT kTrayTipInitialText = 134;

class CTrayMenuToolTip : public CMenuToolTipDelegate {
 public:
  // languages: the language files of the Language submenu, by entry.
  CTrayMenuToolTip(const std::vector<std::wstring>& languages, ITrayTipSource& source);
  ~CTrayMenuToolTip() override;

  bool IsSysCommandId(UINT id) override;
  HICON GetItemIcon(UINT id) override;
  bool GetItemText(std::wstring& text, UINT id, HMENU menu, std::wstring& title) override;
  int GetTipWidth() override { return 400; }

  // With the flag set, MenuToolTips_V0_94_A22 decides whether tips show.
  void SetRespectSetting(bool on) { m_respectSetting = on; }
  // A copy of the icon goes into the next tip's title.
  void SetExtraTitleIcon(HICON icon);
  // 1: the history could not connect (with the text), 2: not tried, other: fine.
  void SetConnection(int state, const std::wstring& text);
  int ConnectionState() const { return m_connectionState; }

  // The text of a command's tip (the title comes with it for some).
  std::wstring TextOf(UINT id, std::wstring* title = nullptr);

 private:
  HICON CachedIcon(int slot, UINT id);

  const std::vector<std::wstring>& m_languages;
  ITrayTipSource& m_source;
  HICON m_icons[5] = {};
  HFONT m_font = nullptr;
  bool m_respectSetting = false;
  HICON m_extraIcon = nullptr;
  int m_connectionState = 2;
  std::wstring m_connectionText;
};
