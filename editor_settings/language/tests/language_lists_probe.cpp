// Lists the language files of the folder it was copied into, as the
// editor's menu and drop-down list show them, and writes the report (UTF-16)
// to the file named by the first argument:
//   find:<result>
//   menu:<caption>|<default>|<checked>|<command id>   (one per item)
//   combo:<text>|<item data>                          (one per item)
//   selected:<index>
// The second argument names the current language file (may be empty), the
// third the display prefix of the drop-down list.
#include <windows.h>

#include <string>
#include <vector>

#include "editor_settings/language/language_lists.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring current = argc > 2 ? argv[2] : L"";
  const std::wstring prefix = argc > 3 ? argv[3] : L"";
  std::vector<std::wstring> list;
  std::wstring report = L"find:" + std::to_wstring(FindLngFiles(list, GetLocalizeExampleFileName())) + L"\n";

  HMENU menu = CreatePopupMenu();
  BuildLanguageMenu(menu, kLanguageItemFirst, list, current, kLanguageMenuMostItems);
  const UINT defaultId = GetMenuDefaultItem(menu, FALSE, 0);
  for (int pos = 0; pos < GetMenuItemCount(menu); ++pos) {
    const UINT id = GetMenuItemID(menu, pos);
    wchar_t caption[2048] = {};
    GetMenuStringW(menu, pos, caption, 2048, MF_BYPOSITION);
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STATE;
    GetMenuItemInfoW(menu, pos, TRUE, &mii);
    report += std::wstring(L"menu:") + caption + L"|" + (id == defaultId ? L"default" : L"") + L"|" +
              ((mii.fState & MFS_CHECKED) ? L"checked" : L"") + L"|" + std::to_wstring(id) + L"\n";
  }
  DestroyMenu(menu);

  // A sorted drop-down list: the items must still come in the list's order.
  HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", CBS_DROPDOWNLIST | CBS_SORT | WS_POPUP, 0, 0, 200, 200,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"stale item"));
  std::vector<std::wstring> comboList;  // empty: the combo box fills it
  FillLanguageCombo(combo, current, comboList, prefix);
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(text.size() - 1);
    report += L"combo:" + text + L"|" + std::to_wstring(SendMessageW(combo, CB_GETITEMDATA, i, 0)) + L"\n";
  }
  report += L"selected:" + std::to_wstring(SendMessageW(combo, CB_GETCURSEL, 0, 0)) + L"\n";
  DestroyWindow(combo);

  HANDLE file = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  WriteFile(file, report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
  return 0;
}
