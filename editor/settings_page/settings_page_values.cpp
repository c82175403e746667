// What the page's controls show, read and written back by control id: a
// reload or a language switch keeps what the user changed and has not saved.
#include "editor/settings_page/settings_page.h"

#include <cwchar>

#include "editor/settings_page/settings_page_ids.h"
#include "editor/settings_page/settings_page_rules.h"

namespace {

constexpr int kFormatRows = 5;
// Each format row is a value of its own, under a key no control has.
constexpr int kFormatRowKey = CSettingsPage::FormatRowKey(0);

bool IsListId(int id) {
  return id == IDC_SP_PASTE_METHOD || id == IDC_SP_TRACKING || id == IDC_SP_MOUSE_EVENTS;
}

}  // namespace

CSettingsPage::ControlValues CSettingsPage::ReadControlValues() const {
  ControlValues values;
  if (!m_hWnd) return values;
  for (const CheckRow& row : SettingsCheckRows()) values[row.id] = IsChecked(row.id) ? L"1" : L"0";
  for (const NumberRow& row : SettingsNumberRows()) {
    values[row.edit] = FieldText(row.edit);
    if (row.guard) values[row.guard] = IsChecked(row.guard) ? L"1" : L"0";
  }
  for (int id : {IDC_SP_PASTE_METHOD, IDC_SP_TRACKING, IDC_SP_MOUSE_EVENTS})
    values[id] = std::to_wstring(CallControl(id, CB_GETCURSEL));
  WORD key = 0, modifiers = 0;
  bool win = false, doublePress = false;
  m_hotkey.GetHotkey(key, modifiers, win, doublePress);
  values[IDC_SP_HOTKEY] = std::to_wstring(key) + L" " + std::to_wstring(modifiers) + L" " + (win ? L"1" : L"0") +
                          L" " + (doublePress ? L"1" : L"0");
  const int rows = static_cast<int>(CallControl(IDC_SP_FORMATS, LVM_GETITEMCOUNT));
  for (int i = 0; i < kFormatRows && i < rows; ++i) {
    const LRESULT state = CallControl(IDC_SP_FORMATS, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK);
    values[kFormatRowKey + i] = (state >> 12) == 2 ? L"1" : L"0";
  }
  return values;
}

void CSettingsPage::WriteControlValue(int id, const std::wstring& value) {
  if (id == IDC_SP_HOTKEY) {
    unsigned key = 0, modifiers = 0, win = 0, doublePress = 0;
    if (swscanf(value.c_str(), L"%u %u %u %u", &key, &modifiers, &win, &doublePress) == 4)
      m_hotkey.SetHotkey(static_cast<WORD>(key), static_cast<WORD>(modifiers), win != 0, doublePress != 0);
  } else if (id >= kFormatRowKey && id < kFormatRowKey + kFormatRows) {
    if (id - kFormatRowKey < m_formats.GetItemCount())
      m_formats.SetItemState(id - kFormatRowKey, INDEXTOSTATEIMAGEMASK(value == L"1" ? 2 : 1), LVIS_STATEIMAGEMASK);
  } else if (IsListId(id)) {
    ::SendMessageW(Control(id), CB_SETCURSEL, static_cast<WPARAM>(_wtoi(value.c_str())), 0);
  } else if (::SendMessageW(Control(id), WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) {
    ::SendMessageW(Control(id), BM_SETCHECK, value == L"1" ? BST_CHECKED : BST_UNCHECKED, 0);
  } else {
    SetText(id, value.c_str());
  }
}

void CSettingsPage::WriteChangedControlValues(const ControlValues& shown, const ControlValues& loaded) {
  for (const auto& entry : shown) {
    auto at = loaded.find(entry.first);
    if (at == loaded.end() || at->second != entry.second) WriteControlValue(entry.first, entry.second);
  }
}
