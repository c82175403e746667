// The settings page's rules without windows: how each stored value is shown
// in its control and how a control's content goes back into the store, the
// numbers typed into the fields, and the list of the special-key popup.
#pragma once
#include <functional>
#include <string>
#include <windows.h>
#include <vector>

#include "editor_settings/hotkey_record.h"
#include "settings/settings.h"

// A field's text as a decimal number: empty, blank or non-numeric text is
// 0; leading zeros are allowed; a number beyond the int range saturates.
int ParseFieldNumber(const std::wstring& text);

// A check box bound to a 0/1 option.
struct CheckRow {
  int id;
  int CQLRSettings::*field;
};

// An edit field with its up-down control. guard is the check box that
// switches the option on (0: none); when given, the row's save also sees
// its state.
struct NumberRow {
  int edit;
  int spin;
  int low;
  int high;
  int guard;
  int (*get)(const CQLRSettings& settings);
  void (*set)(CQLRSettings& settings, int value);
  // The stored value as the field shows it.
  int (*shown)(int stored);
  // The value to store from the field's number and the guard's state.
  int (*saved)(int number, int stored, bool guarded);
};

// A drop-down list's item: its text (a string id, then the localised
// "Recommended" in round or square brackets, or a fixed suffix) and data.
struct ListItem {
  unsigned textId;
  unsigned recommendedId;  // 0: none
  bool square;
  const wchar_t* suffix;   // may be null
  int data;
};
std::wstring ListItemText(const ListItem& item, const std::function<std::wstring(unsigned id)>& textOf);

const std::vector<CheckRow>& SettingsCheckRows();
const std::vector<NumberRow>& SettingsNumberRows();

// The items of the paste-method, tracking and mouse-event lists.
std::vector<ListItem> PasteMethodItems();
std::vector<ListItem> TrackingItems(bool formatListener);
std::vector<ListItem> MouseEventItems();

// The stored value after a confirmed choice of data in the list; the
// stored value as it was for data the option does not take.
int SavedPasteMethod(int data, int stored);
int SavedTrackingMethod(int data, int stored);
int SavedGestureType(int data, int stored);

// The hotkey as the store keeps it and as the control shows it: the Win
// flag from modifier bit 8. A stored key that names no key (0 or above
// 0xFE) shows as no key.
HotkeyRecord StoredHotkeyRecord(const CQLRSettings& settings);
void SaveHotkeyRecord(CQLRSettings& settings, const HotkeyRecord& record);

// Records are the same hotkey: key, modifiers (Win bit included) and
// double press.
bool SameHotkey(const HotkeyRecord& a, const HotkeyRecord& b);

// The fixed part of the special-key popup (key 0: a separator).
const std::vector<HotkeyRecord>& FixedSpecialKeys();
// The popup's list: the fixed part, then, after a separator, every hotkey
// that was current when the popup opened during this run (current is added
// to runList unless it is in it or has no key); no trailing separator.
std::vector<HotkeyRecord> BuildSpecialKeyList(const std::vector<HotkeyRecord>& fixed,
                                              std::vector<HotkeyRecord>& runList,
                                              const HotkeyRecord& current);

// The stored menu font made fit to draw: a face without its end is cut,
// an empty face or a zero height takes the system's menu font.
LOGFONTW SaneMenuFont(const LOGFONTW& stored, const LOGFONTW& systemMenuFont);
// The system's menu font (the default GUI font when it cannot be asked).
LOGFONTW SystemMenuFont();
// label + ": " + face + ", " + point size (from the height at dpiY).
std::wstring FontSampleText(const std::wstring& label, const LOGFONTW& font, int dpiY);

// A clipboard-format row: the registered type name, ", " when it is not
// empty, the localised name, then " [" + extension + "]".
std::wstring FormatRowText(const std::wstring& typeName, const std::wstring& name, const std::wstring& extension);
