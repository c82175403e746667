#include "editor/coop/settings_area_reader.h"

#include "foundation/files/program_names.h"
#include "settings/settings_area.h"
#include "settings/shared_memory.h"

std::string ReadSettingsAreaText() {
  // The view's size is the region actually mapped, so a record without its
  // 0 is never read beyond the view.
  SharedView view(GetSettingAreaName());
  long length = view.TextLength(kSettingsAreaMaxText);
  if (length <= 0) return std::string();
  return std::string(view.Data(), static_cast<size_t>(length));
}

bool ReadSettingsArea(WORD* key, WORD* modifiers, bool* doubled, std::wstring* selectedText) {
  SettingsAreaRecord record;
  bool found = ::ReadSettingsArea(record);
  if (!found) record = SettingsAreaRecord();
  if (key) *key = record.hotKeyKey;
  if (modifiers) *modifiers = record.hotKeyMod;
  if (doubled) *doubled = record.doubled;
  if (selectedText) *selectedText = record.selText;
  return found;
}

bool ReadMainHotkey(WORD* key, WORD* modifiers, bool* doubled) {
  return ReadSettingsArea(key, modifiers, doubled, nullptr);
}

std::wstring GetSelectedTextFromArea() {
  std::wstring text;
  ReadSettingsArea(nullptr, nullptr, nullptr, &text);
  return text;
}
