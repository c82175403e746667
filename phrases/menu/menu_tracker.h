// The hidden message-only window that owns the open phrase menu: it hands
// measuring and painting to the menu's owner-drawing, feeds the menu
// tooltip, keeps the tooltip on the screen and offers the right-click menu
// of an item.
#pragma once
#include <windows.h>

#include <string>

#include "phrases/menu/menu_tooltip.h"

// What the tracker asks of the phrase menu handler.
class IMenuTrackerOwner {
 public:
  virtual ~IMenuTrackerOwner() = default;
  virtual BOOL OnMenuMEASUREITEM(HWND window, MEASUREITEMSTRUCT* item) = 0;
  virtual BOOL OnMenuDRAWITEMSTRUCT(HWND window, DRAWITEMSTRUCT* item) = 0;
  virtual LRESULT OnRightMenuCommand(UINT itemId, int actionCode) = 0;
};

// The phrase menu's tooltip: titles and tips from the item records, icons
// by command.
class CPhraseMenuToolTip : public CMenuToolTip {
 public:
  CPhraseMenuToolTip();
  ~CPhraseMenuToolTip() override;
  HICON GetItemIcon(UINT id) override;
  void AdjustTipPosition(POINT& point, HMENU menu, UINT id) override;
  bool GetItemText(std::wstring& text, UINT id, HMENU menu, std::wstring& title) override;

 private:
  HICON ProgramIcon();
  HICON m_programIcon = nullptr;
};

// The action code of a right-click menu command, -1 for none.
int RightMenuActionCode(UINT command);

class CMenuLocalizer;

class CMenuTracker {
 public:
  // The localiser of the program's menus (the texts of the right-click
  // menu come from one of its menu resources); none: the built-in texts.
  static void SetMenuLocalizer(CMenuLocalizer* localizer);

  // withToolTips: the setting that shows tooltips on the phrase menu.
  CMenuTracker(IMenuTrackerOwner* owner, bool withToolTips);
  virtual ~CMenuTracker();
  CMenuTracker(const CMenuTracker&) = delete;
  CMenuTracker& operator=(const CMenuTracker&) = delete;

  // Readies the tracker for a menu, making its window the first time; the
  // window stays for the next menu until the tracker goes. Until
  // MenuClosed the window takes the menu's notices.
  HWND Create();
  // After the menu closed: its tip goes, and the window takes no notices.
  void MenuClosed();
  bool IsMenuUp() const { return m_menuUp; }
  void SetToolTips(bool withToolTips) { m_withToolTips = withToolTips; }
  HWND GetWindow() const { return m_window; }
  HWND GetTipWindow() const { return m_tipWindow; }
  bool IsContextMenuOpen() const { return m_contextOpen; }

  // Where a tooltip rectangle belongs on a virtual screen of the size;
  // false when it fits as it is.
  static bool KeepOnScreen(RECT& rect, int screenWidth, int screenHeight);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  HWND MakeWindow();
  void EnsureTipWindow();
  void CleanupTip();
  LRESULT OnRightButtonUp(UINT position, HMENU menu);
  bool FromOwnMenu() const;

  IMenuTrackerOwner* m_owner;
  bool m_withToolTips;
  HWND m_window = nullptr;
  HWND m_tipWindow = nullptr;
  bool m_contextOpen = false;
  bool m_tipTried = false;  // the tip window is made at most once per menu
  bool m_menuUp = false;
  bool m_openedInSend = false;  // the menu runs inside a send from another thread
};
