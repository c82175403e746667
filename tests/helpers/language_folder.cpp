// Reports where the language files of a program in this folder are looked
// for: writes to the file named by the first argument (UTF-16) the path of
// the example file, then one line per listed language:
//   <file name>|<menu caption>|<default>|<checked>|<command id>
// The second argument names the current language file (may be empty), the
// third a file to leave out of the list. With QLR_FIND_LANG_PREFIX set, the
// only line after the example path is the file found for that prefix.
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/localization/language_files.h"

namespace {

int WriteReport(const wchar_t* path, const std::wstring& report) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  WriteFile(file, report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)), &written,
            nullptr);
  CloseHandle(file);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::wstring current = argc > 2 ? argv[2] : L"";
  const wchar_t* leaveOut = argc > 3 ? argv[3] : nullptr;
  std::wstring report = GetLngFilePath(L"") + L"\n";
  wchar_t prefix[16] = {};
  if (GetEnvironmentVariableW(L"QLR_FIND_LANG_PREFIX", prefix, 16)) {
    report += L"found:" + FindLanguageFileByPrefix(prefix) + L"\n";
    return WriteReport(argv[1], report);
  }
  std::vector<std::wstring> list;
  if (!EnumLanguageFiles(list, leaveOut)) report += L"no-search\n";
  HMENU menu = CreatePopupMenu();
  const UINT firstId = 33000;
  BuildLanguageMenu(menu, firstId, list, current);
  UINT defaultId = GetMenuDefaultItem(menu, FALSE, 0);
  for (size_t i = 0; i < list.size(); ++i) {
    UINT id = firstId + static_cast<UINT>(i);
    wchar_t caption[128] = {};
    GetMenuStringW(menu, id, caption, 128, MF_BYCOMMAND);
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STATE | MIIM_FTYPE;
    GetMenuItemInfoW(menu, id, FALSE, &mii);
    bool radioChecked = (mii.fState & MFS_CHECKED) && (mii.fType & MFT_RADIOCHECK);
    report += list[i] + L"|" + caption + L"|" + (defaultId == id ? L"default" : L"") + L"|" +
              (radioChecked ? L"checked" : L"") + L"|" + std::to_wstring(id) + L"\n";
  }
  DestroyMenu(menu);
  return WriteReport(argv[1], report);
}
