// Records of the hotkey control that other modules and other processes see:
// the hotkey in the settings' form and the notification the control sends
// to its parent. Their layouts are fixed.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// The hotkey record is shared with the settings page and the editor's
// services.
#include "editor_settings/hotkey_record.h"
static_assert(offsetof(HotkeyRecord, flags) == 0, "HotkeyRecord layout");
static_assert(offsetof(HotkeyRecord, valid) == 4, "HotkeyRecord layout");
static_assert(offsetof(HotkeyRecord, key) == 8, "HotkeyRecord layout");
static_assert(offsetof(HotkeyRecord, modifiers) == 10, "HotkeyRecord layout");

// Notification codes of the hotkey control (WM_NOTIFY to its parent).
constexpr UINT kHotkeyNotifyChanged = 2816;      // a box was clicked or a key released in the field
constexpr UINT kHotkeyNotifyContextMenu = 2817;  // x, y: the request point (screen)
constexpr UINT kHotkeyNotifyArrowButton = 2818;  // left..bottom: the arrow button (screen)

struct HotkeyNotify {
  NMHDR hdr;
  LONG x;
  LONG y;
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
static_assert(offsetof(HotkeyNotify, x) == sizeof(NMHDR), "HotkeyNotify layout");
static_assert(sizeof(HotkeyNotify) == (sizeof(void*) == 8 ? 48 : 36), "HotkeyNotify layout");
