#include "editor_settings/language/language_lists.h"

#include "foundation/text/text_basics.h"

int FindLngFiles(std::vector<std::wstring>& list, const std::wstring& excluded) {
  return EnumLanguageFiles(list, excluded.empty() ? nullptr : excluded.c_str()) ? 1 : 0;
}

std::wstring GetLanguageDisplayName(const std::wstring& entry) {
  LangFileInfo info;
  // The empty entry asks for the built-in language itself, not for a file.
  if (GetLangFileInfo(entry.empty() ? entry : GetLngFolder() + entry, &info) && !info.name.empty())
    return info.name;
  return entry;
}

void FillLanguageCombo(HWND combo, const std::wstring& current, std::vector<std::wstring>& list,
                       const std::wstring& displayPrefix) {
  if (SendMessageW(combo, CB_GETCOUNT, 0, 0) > 0) SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  if (list.empty()) FindLngFiles(list, GetLocalizeExampleFileName());
  const std::wstring lead = displayPrefix.empty() ? std::wstring() : displayPrefix + L": ";
  for (size_t i = 0; i < list.size(); ++i) {
    const std::wstring text = lead + GetLanguageDisplayName(list[i]);
    // Inserted at the end: a sorted combo box must keep the list's order.
    LRESULT index = SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) continue;
    SendMessageW(combo, CB_SETITEMDATA, index, static_cast<LPARAM>(i));
    if (EqualNoCase(list[i], current)) SendMessageW(combo, CB_SETCURSEL, index, 0);
  }
}
