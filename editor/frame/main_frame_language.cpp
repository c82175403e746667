// The main frame's language commands (the Language submenu, the switch,
// Make Lng-File) and its help commands: web pages, mail and Welcome.
#include <string>

#include "editor/app/editor_access.h"
#include "editor/app/editor_ids.h"
#include "editor/coop/program_paths.h"
#include "editor/doc/doc_listener.h"
#include "editor/editor_names.h"
#include "editor/frame/main_frame.h"
#include "editor/services/editor_menu_localizer.h"
#include "editor/services/editor_system.h"
#include "editor/services/web_links.h"
#include "editor/services/web_pages.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/file_dialog_ex.h"
#include "editor_settings/helpers/menu_ranges.h"
#include "editor_settings/language/language_lists.h"
#include "editor_settings/language/make_lng_file.h"
#include "foundation/files/paths.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/menu_localizer.h"
#include "foundation/logging/log.h"
#include "foundation/text/text_basics.h"
#include "platform/mfc/app/win_app.h"
#include "settings/settings_files.h"

namespace {

constexpr wchar_t kLngFilter[] = L"Language files (*.lng)|*.lng|All Files (*.*)|*.*||";
constexpr wchar_t kLngCreated[] = L"Lng-file\n%ls\nis created successfully";
constexpr wchar_t kLngNotCreated[] = L"Cannot create lng-file\n%ls";
constexpr wchar_t kWelcomePageNote[] = L"\n\nHTML for Welcome module: ";

std::wstring Format(const wchar_t* pattern, const std::wstring& value) {
  wchar_t text[1024] = {};
  _snwprintf(text, 1023, pattern, value.c_str());
  return text;
}

bool HoldsItemItself(HMENU popup, UINT id) {
  // Not GetMenuState by command: that finds the item in sub-menus too, and
  // the File menu would lose its items.
  const int count = ::GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i)
    if (::GetMenuItemID(popup, i) == id) return true;
  return false;
}

}  // namespace

void CMainFrame::LocalizeFrameMenu(HMENU menu) {
  const std::wstring language = GetCurrentLanguage();
  if (!menu || language.empty()) return;
  CEditorMenuLocalizer localizer(language, MakeMenuSectionName(kLngSuffixEditor));
  localizer.Localize(menu);
}

void CMainFrame::RefreshLanguageFiles() {
  std::vector<std::wstring> files;
  FindLngFiles(files, GetLocalizeExampleFileName());
  // Only 50 ids exist for languages; the ones beyond are not offered.
  if (files.size() > kLanguageMenuMostItems) files.resize(kLanguageMenuMostItems);
  if (files == m_languageFiles) return;
  m_languageFiles.swap(files);
  if (m_pDialogBar->m_hWnd) m_pDialogBar->RefillCombo();
}


void CMainFrame::RebuildLanguageMenu(HMENU popup) {
  if (!popup || !HoldsItemItself(popup, ID_LANGUAGE_HOWTO)) return;
  while (::GetMenuItemCount(popup) > 2) ::DeleteMenu(popup, 2, MF_BYPOSITION);
  RefreshLanguageFiles();
  if (m_languageFiles.empty()) return;
  ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
  BuildLanguageMenu(popup, kLanguageItemFirst, m_languageFiles, GetEditorSettings().GetLanguage(),
                    kLanguageMenuMostItems);
}

void CMainFrame::OnLanguageItem(UINT nID) { SwitchLanguage(nID - kLanguageItemFirst); }

void CMainFrame::SwitchLanguage(size_t index) {
  // The menu or the combo showed the list as it stands: an index past it
  // names nothing.
  if (index >= m_languageFiles.size()) return;
  LARGE_INTEGER start = {}, end = {}, frequency = {};
  ::QueryPerformanceCounter(&start);
  const std::wstring file = m_languageFiles[index];
  CQLREditorSettings& settings = GetEditorSettings();
  settings.SetLanguage(file);
  // Over the file's values: an editor started before the tray program
  // never heard that program's changes and must not undo them.
  if (!settings.SaveChangeOverFile([&](CQLREditorSettings& fresh) { fresh.SetLanguage(file); }))
    LogError(L"The language cannot be saved: " + GetSettingsIniPath());
  const std::wstring path = MakeEditorLanguageFilePath(GetAppFolder(), file);
  SetCurrentLanguage(path);
  SetRussianPages(IsRussianLangFile(path));

  HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
  if (menu) {
    LocalizeFrameMenu(menu);
    HMENU old = ::GetMenu(m_hWnd);
    ::SetMenu(m_hWnd, menu);
    m_hMenuDefault = menu;
    if (old && old != menu) ::DestroyMenu(old);
    DrawMenuBar();
  } else {
    LogError(L"LoadMenu of the frame menu failed " + std::to_wstring(::GetLastError()));
  }
  UpdateDocViews(nullptr, kHintLanguage, 0);
  OnUpdateFrameTitle(TRUE);
  ::QueryPerformanceCounter(&end);
  ::QueryPerformanceFrequency(&frequency);
  const long long ms = frequency.QuadPart ? (end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart : 0;
  Log(L"Language switched to [" + file + L"] in " + std::to_wstring(ms) + L" ms");
}

void CMainFrame::OnMakeLngFile() {
  const std::wstring title = GetLocalizedFirstLine(ID_LANGUAGE_MAKE_LNG);
  // No replace prompt of the dialog's own: the language tool asks whether
  // to add to the file or make it anew.
  CFileDialogEx dialog(FALSE, L".lng", nullptr, OFN_HIDEREADONLY, kLngFilter, this,
                       title.c_str());
  if (dialog.DoModal() != IDOK) return;
  const std::wstring lngPath = dialog.GetPathName().GetString();
  std::wstring pagePath;
  const int result = MakeLngFile(lngPath, m_hWnd, pagePath);
  if (result == kMakeLngDone) {
    ::MessageBoxW(m_hWnd, (Format(kLngCreated, lngPath) + kWelcomePageNote + pagePath).c_str(),
                  editor_names::kBoxCaption, MB_OK | MB_ICONINFORMATION);
    OpenInNotepad(lngPath, m_hWnd);
    if (!pagePath.empty()) ShellOpen(m_hWnd, pagePath);
  } else if (result != kMakeLngCancelled) {
    ::MessageBoxW(m_hWnd, Format(kLngNotCreated, lngPath).c_str(), editor_names::kBoxCaption, MB_OK | MB_ICONERROR);
  }
}

void CMainFrame::OnWelcome() { StartWelcome(m_hWnd, false); }

BOOL CMainFrame::OnHelpLink(UINT nID) {
  if (!OpenCommandLink(m_hWnd, nID)) Log(L"The link of command " + std::to_wstring(nID) + L" was not opened");
  return TRUE;
}
