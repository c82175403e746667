// The window class "HotkeyCtrlEx_Adv": a system hotkey field drawn by the
// control itself, an arrow button for the parent's menu of special keys and
// the check boxes "WIN" and "Double". It reports to its parent by WM_NOTIFY
// (see hotkey_record.h) and is driven by the messages below.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

constexpr wchar_t kHotkeyCtrlClassName[] = L"HotkeyCtrlEx_Adv";

// Children of the control.
constexpr int kHotkeyFieldId = 1;
constexpr int kHotkeyWinBoxId = 2;
constexpr int kHotkeyDoubleBoxId = 3;
constexpr int kHotkeyArrowButtonId = 4;

// Messages (wParam, lParam -> result).
constexpr UINT HKX_SETBOX = WM_USER + 2;          // 1 "WIN" / 2 "Double", state
constexpr UINT HKX_GETBOX = WM_USER + 3;          // 1 "WIN" / 2 "Double" -> state
constexpr UINT HKX_SETHOTKEY = WM_USER + 4;       // field form -> 1 when it holds
constexpr UINT HKX_GETHOTKEY = WM_USER + 5;       // -> field form
constexpr UINT HKX_SETDOUBLETEXT = WM_USER + 6;   // 0, text -> 1 when set
constexpr UINT HKX_SETDOUBLE = WM_USER + 7;       // checked
constexpr UINT HKX_GETDOUBLE = WM_USER + 8;       // -> 1 when checked
constexpr UINT HKX_GETWIN = WM_USER + 9;          // -> 1 when checked
constexpr UINT HKX_SETWIN = WM_USER + 10;         // checked
constexpr UINT HKX_DELAYEDREPAINT = WM_USER + 11;  // -> 1
constexpr UINT HKX_ENABLEDOUBLE = WM_USER + 13;   // enabled
constexpr UINT HKX_ENABLEWIN = WM_USER + 14;      // enabled
constexpr UINT_PTR kHotkeyRepaintTimer = 1231;

// Registers the class once per process; false when that failed.
bool RegisterHotkeyCtrlClass();

// The field's modifier flags (HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2,
// HOTKEYF_ALT 4; higher bits are dropped) to the settings' (MOD_ALT 1,
// MOD_CONTROL 2, MOD_SHIFT 4) and back; MOD_WIN is never part of the field.
WORD FieldFlagsToModifiers(BYTE fieldFlags);
BYTE ModifiersToFieldFlags(WORD modifiers);

// The names of Control, Shift, Alt, "WIN" (MOD_WIN) and the key joined by
// "+"; empty when key and modifiers are 0.
std::wstring HotkeyToText(UINT vk, UINT modifiers);

// One piece of the field's painting.
struct HotkeyTextRun {
  std::wstring text;
  bool bold = false;
  COLORREF color = 0;
};
constexpr COLORREF kHotkeyWinColor = RGB(0, 0, 255);
// What the field shows for its value (field form) and the boxes' states.
std::vector<HotkeyTextRun> BuildHotkeyTextRuns(WORD fieldHotkey, bool win, bool doublePress, bool enabled);
