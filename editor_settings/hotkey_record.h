// A hotkey as the settings page, its special-key popup and the hotkey
// control hand it around: 12 bytes, the modifiers in the settings' form.
#pragma once
#include <cstdint>

struct HotkeyRecord {
  std::uint32_t flags = 0;   // bit 0: pressed twice
  std::uint32_t valid = 1;
  std::uint16_t key = 0;     // virtual key; 0 in a popup table stands for a separator
  std::uint16_t modifiers = 0;  // Alt 1, Control 2, Shift 4, Win 8

  bool IsDouble() const { return (flags & kDoublePress) != 0; }
  static constexpr std::uint32_t kDoublePress = 1;
};
static_assert(sizeof(HotkeyRecord) == 12, "the record's layout is fixed");
