#include "editor/settings_page/settings_page_rules.h"

#include <climits>
#include <cwchar>

#include "editor/settings_page/settings_page_ids.h"

int ParseFieldNumber(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  size_t end = text.size();
  while (end > i && (text[end - 1] == L' ' || text[end - 1] == L'\t')) --end;
  if (i == end) return 0;
  long long value = 0;
  for (size_t k = i; k < end; ++k) {
    if (text[k] < L'0' || text[k] > L'9') return 0;
    if (value <= INT_MAX) value = value * 10 + (text[k] - L'0');
  }
  if (negative) return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

namespace {

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

int GetDelay(const CQLRSettings& s) { return static_cast<int>(s.delayAutoLoadSeconds); }
void SetDelay(CQLRSettings& s, int v) { s.delayAutoLoadSeconds = static_cast<unsigned>(v); }
int GetDays(const CQLRSettings& s) { return s.daysCheckForUpdates; }
void SetDays(CQLRSettings& s, int v) { s.daysCheckForUpdates = v; }
int GetMenuHistory(const CQLRSettings& s) { return s.maxHistoryItemsInMenu; }
void SetMenuHistory(CQLRSettings& s, int v) { s.maxHistoryItemsInMenu = v; }
int GetLastUsed(const CQLRSettings& s) { return s.addLastUsedMenuToBeginCount; }
void SetLastUsed(CQLRSettings& s, int v) { s.addLastUsedMenuToBeginCount = v; }
int GetPrintChars(const CQLRSettings& s) { return static_cast<int>(s.printLTChars); }
void SetPrintChars(CQLRSettings& s, int v) { s.printLTChars = static_cast<unsigned>(v); }
int GetHistoryMax(const CQLRSettings& s) { return s.clipboardHistoryMax; }
void SetHistoryMax(CQLRSettings& s, int v) { s.clipboardHistoryMax = v; }

}  // namespace

const std::vector<CheckRow>& SettingsCheckRows() {
  static const std::vector<CheckRow> rows = {
      {IDC_SP_SOUNDS, &CQLRSettings::soundOnEvents},
      {IDC_SP_AUTO_UPDATE, &CQLRSettings::autoCheckForUpdates},
      {IDC_SP_WRITE_LOG, &CQLRSettings::writeLog},
      {IDC_SP_PANE_ON_START, &CQLRSettings::showHistoryPaneOnStart},
      {IDC_SP_HISTORY_IN_MENU, &CQLRSettings::insertCHIntoMenu},
      {IDC_SP_HISTORY_SUBMENU, &CQLRSettings::appendCHAsSubMenu},
      {IDC_SP_MENU_TIPS, &CQLRSettings::menuToolTips},
      {IDC_SP_LAST_USED, &CQLRSettings::addLastUsedMenuToBegin},
      {IDC_SP_TRAY_BALLOON, &CQLRSettings::showTrayBallonOnHotkey},
      {IDC_SP_HISTORY, &CQLRSettings::clipboardHistory},
      {IDC_SP_SAVE_HISTORY, &CQLRSettings::saveClipboardHistory},
  };
  return rows;
}

const std::vector<NumberRow>& SettingsNumberRows() {
  static const std::vector<NumberRow> rows = {
      // Auto-start delay: 0 is "no delay" (the box clear) and shows as 0.
      {IDC_SP_DELAY_SECONDS, IDC_SP_DELAY_SPIN, 1, 600, IDC_SP_DELAY, GetDelay, SetDelay,
       [](int stored) { return stored <= 0 ? 0 : Clamp(stored, 1, 600); },
       [](int number, int stored, bool on) {
         if (!on) return 0;
         if (number <= 0) return stored >= 1 && stored <= 600 ? stored : 30;
         return Clamp(number, 1, 600);
       }},
      {IDC_SP_UPDATE_DAYS, IDC_SP_UPDATE_DAYS_SPIN, 1, 30, 0, GetDays, SetDays,
       [](int stored) { return Clamp(stored, 1, 30); },
       [](int number, int, bool) { return number <= 0 ? 7 : Clamp(number, 1, 30); }},
      // Menu history: the box switches the limit; an empty count keeps it.
      {IDC_SP_MENU_HISTORY_COUNT, IDC_SP_MENU_HISTORY_SPIN, 1, 1000, IDC_SP_MENU_HISTORY_LIMIT, GetMenuHistory,
       SetMenuHistory, [](int stored) { return stored > 0 ? Clamp(stored, 1, 1000) : 15; },
       [](int number, int stored, bool on) {
         if (!on) return 0;
         if (number <= 0) return stored > 0 ? stored : 15;
         return Clamp(number, 1, 1000);
       }},
      {IDC_SP_LAST_USED_COUNT, IDC_SP_LAST_USED_SPIN, 1, 5, 0, GetLastUsed, SetLastUsed,
       [](int stored) { return stored >= 1 && stored <= 5 ? stored : 3; },
       [](int number, int, bool) { return number >= 1 && number <= 5 ? number : 3; }},
      {IDC_SP_PRINT_CHARS, IDC_SP_PRINT_CHARS_SPIN, 1, 1000, 0, GetPrintChars, SetPrintChars,
       [](int stored) { return Clamp(stored, 1, 1000); },
       [](int number, int stored, bool) { return number <= 0 ? stored : Clamp(number, 1, 1000); }},
      // The tray keeps no history at all for 0: an empty field keeps the
      // stored count.
      {IDC_SP_HISTORY_MAX, IDC_SP_HISTORY_MAX_SPIN, 1, 100, 0, GetHistoryMax, SetHistoryMax,
       [](int stored) { return Clamp(stored, 1, 100); },
       [](int number, int stored, bool) { return number <= 0 ? stored : Clamp(number, 1, 100); }},
  };
  return rows;
}

std::wstring ListItemText(const ListItem& item, const std::function<std::wstring(unsigned id)>& textOf) {
  std::wstring text = textOf(item.textId);
  if (item.recommendedId)
    text += (item.square ? L" [" : L" (") + textOf(item.recommendedId) + (item.square ? L"]" : L")");
  if (item.suffix) text += item.suffix;
  return text;
}

std::vector<ListItem> PasteMethodItems() {
  return {{IDS_SP_PASTE_KEYS, 0, false, nullptr, 0},
          {IDS_SP_PASTE_CLIPBOARD, 0, false, nullptr, 1},
          {IDS_SP_PASTE_SHORT_KEYS, IDS_SP_RECOMMENDED, false, nullptr, 2}};
}

std::vector<ListItem> TrackingItems(bool formatListener) {
  std::vector<ListItem> items = {{IDS_SP_TRACK_AUTO, IDS_SP_RECOMMENDED, true, nullptr, -1},
                                 {IDS_SP_TRACK_VIEWER, 0, false, L" [SetClipboardViewer]", 0}};
  if (formatListener) items.push_back({IDS_SP_TRACK_LISTENER, 0, false, L" [AddClipboardListener]", 1});
  return items;
}

std::vector<ListItem> MouseEventItems() {
  return {{IDS_SP_MOUSE_NONE, 0, false, nullptr, 0},
          {IDS_SP_MOUSE_MIDDLE, IDS_SP_RECOMMENDED, false, nullptr, 1},
          {IDS_SP_MOUSE_TRIPLE, 0, false, nullptr, 2}};
}

int SavedPasteMethod(int data, int stored) { return data >= 0 && data < 3 ? data : stored; }
int SavedTrackingMethod(int data, int) { return data >= -1 && data <= 1 ? data : 0; }
int SavedGestureType(int data, int stored) { return data == 1 || data == 2 ? data - 1 : stored; }

HotkeyRecord StoredHotkeyRecord(const CQLRSettings& settings) {
  HotkeyRecord record;
  if (settings.hotkey.key != 0 && settings.hotkey.key <= 0xFE) {
    record.key = settings.hotkey.key;
    record.modifiers = settings.hotkey.modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN);
  }
  record.flags = settings.hotkeyDoubled ? HotkeyRecord::kDoublePress : 0;
  return record;
}

void SaveHotkeyRecord(CQLRSettings& settings, const HotkeyRecord& record) {
  settings.hotkey.key = record.key;
  settings.hotkey.modifiers = record.modifiers;
  settings.hotkeyDoubled = record.IsDouble() ? 1 : 0;
}

bool SameHotkey(const HotkeyRecord& a, const HotkeyRecord& b) {
  return a.key == b.key && a.modifiers == b.modifiers && a.IsDouble() == b.IsDouble();
}

const std::vector<HotkeyRecord>& FixedSpecialKeys() {
  static const std::vector<HotkeyRecord> keys = [] {
    std::vector<HotkeyRecord> list;
    auto add = [&list](std::uint16_t key, std::uint16_t modifiers, bool twice) {
      HotkeyRecord r;
      r.key = key;
      r.modifiers = modifiers;
      r.flags = twice ? HotkeyRecord::kDoublePress : 0;
      list.push_back(r);
    };
    auto separator = [&add] { add(0, 0, false); };
    add(VK_SCROLL, 0, false);
    add(VK_SCROLL, 0, true);
    separator();
    for (std::uint16_t k = '0'; k <= '9'; ++k) add(k, MOD_CONTROL, false);
    separator();
    add(VK_PAUSE, 0, false);
    add(VK_PAUSE, 0, true);
    separator();
    for (std::uint16_t m : {2, 3, 4, 5, 2, 3}) {
      add(VK_SPACE, m, false);
      add(VK_SPACE, m, true);
    }
    return list;
  }();
  return keys;
}

std::vector<HotkeyRecord> BuildSpecialKeyList(const std::vector<HotkeyRecord>& fixed,
                                              std::vector<HotkeyRecord>& runList,
                                              const HotkeyRecord& current) {
  if (current.key != 0) {
    bool known = false;
    for (const HotkeyRecord& r : runList) known = known || SameHotkey(r, current);
    if (!known) runList.push_back(current);
  }
  std::vector<HotkeyRecord> list = fixed;
  if (!runList.empty()) {
    list.push_back(HotkeyRecord{0, 1, 0, 0});
    list.insert(list.end(), runList.begin(), runList.end());
  }
  while (!list.empty() && list.back().key == 0) list.pop_back();
  return list;
}

LOGFONTW SystemMenuFont() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    LOGFONTW font = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    return font;
  }
  return metrics.lfMenuFont;
}

LOGFONTW SaneMenuFont(const LOGFONTW& stored, const LOGFONTW& systemMenuFont) {
  LOGFONTW font = stored;
  font.lfFaceName[LF_FACESIZE - 1] = L'\0';
  if (font.lfFaceName[0] == L'\0') {
    font = systemMenuFont;
    font.lfFaceName[LF_FACESIZE - 1] = L'\0';
  }
  if (font.lfHeight == 0) font.lfHeight = systemMenuFont.lfHeight != 0 ? systemMenuFont.lfHeight : -12;
  return font;
}

std::wstring FontSampleText(const std::wstring& label, const LOGFONTW& font, int dpiY) {
  int height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
  int points = ::MulDiv(height, 72, dpiY > 0 ? dpiY : 96);
  std::wstring face(font.lfFaceName, ::wcsnlen(font.lfFaceName, LF_FACESIZE));
  return label + L": " + face + L", " + std::to_wstring(points);
}

std::wstring FormatRowText(const std::wstring& typeName, const std::wstring& name, const std::wstring& extension) {
  std::wstring text = typeName;
  if (!text.empty()) text += L", ";
  return text + name + L" [" + extension + L"]";
}
