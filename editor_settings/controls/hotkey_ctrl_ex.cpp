#include "editor_settings/controls/hotkey_ctrl_ex.h"

#include "foundation/system/trusted_messages.h"

BOOL CHotkeyCtrlEx::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!RegisterHotkeyCtrlClass()) return FALSE;
  return CWnd::Create(kHotkeyCtrlClassName, L"", dwStyle, rect, pParentWnd, nID);
}

void CHotkeyCtrlEx::GetHotkey(WORD& virtualKey, WORD& modifiers, bool& win, bool& doublePress) const {
  WORD value = static_cast<WORD>(SendMessage(HKX_GETHOTKEY));
  virtualKey = LOBYTE(value);
  modifiers = FieldFlagsToModifiers(HIBYTE(value));
  win = SendMessage(HKX_GETWIN) != 0;
  doublePress = SendMessage(HKX_GETDOUBLE) != 0;
}

bool CHotkeyCtrlEx::SetHotkey(WORD virtualKey, WORD modifiers, bool win, bool doublePress) {
  WORD value = MAKEWORD(LOBYTE(virtualKey), ModifiersToFieldFlags(modifiers));
  bool set = SendMessage(HKX_SETHOTKEY, value) > 0;
  SendMessage(HKX_SETDOUBLE, doublePress ? 1 : 0);
  SendMessage(HKX_SETWIN, win ? 1 : 0);
  SendMessage(HKX_DELAYEDREPAINT);
  return set;
}

HotkeyRecord CHotkeyCtrlEx::GetRecord() const {
  WORD key = 0, modifiers = 0;
  bool win = false, doublePress = false;
  GetHotkey(key, modifiers, win, doublePress);
  HotkeyRecord record = {};
  record.valid = 1;
  record.key = key;
  record.modifiers = static_cast<std::uint16_t>(modifiers | (win ? MOD_WIN : 0));
  record.flags = doublePress ? HotkeyRecord::kDoublePress : 0;
  return record;
}

bool CHotkeyCtrlEx::SetRecord(const HotkeyRecord& record) {
  return SetHotkey(record.key, record.modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT),
                   (record.modifiers & MOD_WIN) != 0, (record.flags & HotkeyRecord::kDoublePress) != 0);
}

bool CHotkeyCtrlEx::SetDoubleText(const wchar_t* text) {
  return SendWithAddress(m_hWnd, HKX_SETDOUBLETEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}
