// Window wrappers of the hotkey control: the hotkey in the settings' form.
#pragma once
#include "editor_settings/controls/hotkey_ctrl.h"
#include "editor_settings/controls/hotkey_record.h"
#include "platform/mfc/window/wnd.h"

class CHotkeyCtrlEx : public CWnd {
 public:
  // Registers the class and creates the control with no text.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // modifiers: MOD_ALT, MOD_CONTROL, MOD_SHIFT (never MOD_WIN: that is win).
  void GetHotkey(WORD& virtualKey, WORD& modifiers, bool& win, bool& doublePress) const;
  // Only Alt, Control and Shift of modifiers reach the field. True when the
  // field holds the hotkey afterwards.
  bool SetHotkey(WORD virtualKey, WORD modifiers, bool win, bool doublePress);
  HotkeyRecord GetRecord() const;
  bool SetRecord(const HotkeyRecord& record);
  bool SetDoubleText(const wchar_t* text);
};

// The settings page's control. It adds nothing to the control's own
// behaviour: the page's menus hang on the control's notifications.
class CHotkeyCtrlAdv : public CHotkeyCtrlEx {};
