// The main frame's file commands: import and export of phrases, the backup,
// the log file, and the phrase folder with its list of recent folders.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "editor/app/editor_access.h"
#include "editor/app/editor_ids.h"
#include "editor/coop/log_archive.h"
#include "editor/doc/doc.h"
#include "editor/editor_names.h"
#include "editor/frame/main_frame.h"
#include "editor/frame/phrase_backup.h"
#include "editor/frame/phrase_export.h"
#include "editor/services/editor_system.h"
#include "editor/services/phrase_import.h"
#include "editor/store/command.h"
#include "editor/store/command_folder.h"
#include "editor/store/command_names.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/helpers/browse_folder.h"
#include "editor_settings/helpers/file_dialog_ex.h"
#include "editor_settings/helpers/file_helpers.h"
#include "editor_settings/helpers/menu_ranges.h"
#include "foundation/logging/log.h"
#include "foundation/system/shell_open.h"
#include "foundation/system/sounds.h"
#include "phrases/store/phrase_writer.h"
#include "platform/mfc/window/cmd_ui.h"
#include "settings/settings_files.h"

namespace {

constexpr UINT kIdsNoPhrasesInFolder = 221;
constexpr int kRecentFolderItems = static_cast<int>(kRecentFolderLast - kRecentFolderFirst + 1);
// The Phrases Folder popup: Choose, Show and Move, then the recent folders.
constexpr int kFolderPopupFixedItems = 3;

constexpr wchar_t kImportFilter[] =
    L"All Formats (*.txt,*.rtf,*.quillora)|*.txt;*.rtf;*.quillora|Quillora Phrases (*.quillora)|*.quillora|"
    L"Text Files (*.txt)|*.txt|RTF Documents (*.rtf)|*.rtf|All Files (*.*)|*.*||";
constexpr wchar_t kBackupFilter[] = L"Zip archives (*.zip)|*.zip|All Files (*.*)|*.*||";
constexpr wchar_t kLogZipFilter[] = L"ZIP Archives (*.zip)|*.zip|All Files (*.*)|*.*||";
constexpr wchar_t kNotImplemented[] = L"Sorry, not implemented in this version";

int Box(HWND owner, const std::wstring& text, UINT type) {
  return ::MessageBoxW(owner, text.c_str(), editor_names::kBoxCaption, type);
}

constexpr std::uint32_t kNoId = static_cast<std::uint32_t>(-1);

// The popup's own items only: a search by command would also find the
// items of its sub-menus.
bool IsPhraseFolderPopup(CMenu* popup) {
  const int count = popup->GetMenuItemCount();
  for (int i = 0; i < count; ++i) {
    const UINT id = popup->GetMenuItemID(i);
    if (id == ID_FILE_CHOOSE_FOLDER || id == ID_FILE_MOVE_FOLDER || id == ID_FILE_SHOW_FOLDER) return true;
  }
  return false;
}

}  // namespace

// ---- Import and export -----------------------------------------------------

void CMainFrame::OnFileImport() {
  CCommandFolder& store = GetCommandStore();
  // Imports go into the phrase folder; without it there is no place for them.
  if (!store.IsRootPresent()) {
    Box(m_hWnd, FolderNotFoundText(GetEditorSettings().GetPhrasesDirectoryNoSlash()), MB_ICONWARNING);
    return;
  }
  const std::wstring title = GetLocalizedFirstLine(ID_FILE_IMPORT);
  CFileDialogEx dialog(TRUE, nullptr, nullptr,
                       OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                       kImportFilter, this, title.c_str());
  if (dialog.DoModal() != IDOK) return;
  std::uint32_t last = kNoId;
  for (POSITION pos = dialog.GetStartPosition(); pos;) {
    const std::wstring path = dialog.GetNextPathName(pos).Str();
    const std::uint32_t id = ImportPhraseFile(store, path);
    if (id == kNoId)
      LogError(L"Import failed [" + path + L"]");
    else
      last = id;
  }
  if (last == kNoId) return;
  UpdateDocViews(nullptr, kHintRebuild, 0);
  UpdateDocViews(nullptr, kHintSelect, static_cast<LPARAM>(last));
  StampPhraseChange();
}

void CMainFrame::OnFileExport() {
  CDoc* doc = GetActiveDoc();
  if (!doc || !m_wndPhrases.m_hWnd) return;
  // What the text view holds goes into the record first.
  doc->CommitCurrent(nullptr);
  std::vector<std::uint32_t> ids;
  const std::uint32_t selected = m_wndPhrases.Tree().GetSelectedId();
  if (GetCommandStore().FindCommandById(selected)) ids.push_back(selected);
  const std::wstring title = GetLocalizedFirstLine(ID_FILE_EXPORT);
  std::wstring folder;
  for (std::uint32_t id : ids) {
    const CQLRCommand* record = GetCommandStore().FindCommandById(id);
    if (!record) continue;
    const std::wstring name = MakeSafeFileName(record->GetMenuName(), false);
    const std::wstring extension = ExportExtension(*record);
    const std::wstring filter = ExportFilter(*record);
    CFileDialogEx dialog(FALSE, extension.c_str(), name.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         filter.c_str(), this, title.c_str(), folder.empty() ? nullptr : folder.c_str());
    if (dialog.DoModal() != IDOK) continue;
    folder = dialog.GetFolderPath();
    const std::wstring path = dialog.GetPathName().Str();
    // The dialog ran its own message loop: the record is looked up again.
    record = GetCommandStore().FindCommandById(id);
    if (!record || !ExportPhrase(*record, path)) {
      ::MessageBeep(MB_ICONWARNING);
      Box(m_hWnd, L"Cannot write the file\n" + path, MB_ICONWARNING);
    }
  }
}

void CMainFrame::OnUpdateFileExport(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_wndPhrases.m_hWnd && GetCommandStore().FindCommandById(m_wndPhrases.Tree().GetSelectedId()));
}

// ---- Backup and the log file -----------------------------------------------

void CMainFrame::OnFileBackup() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  const std::wstring name = MakeBackupName(now);
  const std::wstring title = GetLocalizedFirstLine(ID_FILE_BACKUP);
  CFileDialogEx dialog(FALSE, L"zip", name.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kBackupFilter, this,
                       title.c_str());
  if (dialog.DoModal() != IDOK) return;
  const std::wstring archive = dialog.GetPathName().Str();
  // The text being edited belongs in the backup, and no phrase file may be
  // half replaced while it is read.
  if (CDoc* doc = GetActiveDoc()) doc->CommitCurrent(nullptr);
  if (!WaitForPhraseWrites(editor_names::kPhraseWritesWaitMs)) Log(L"Backup: phrase files are still being written");
  std::vector<std::wstring> missing;
  if (MakePhraseBackup(GetEditorSettings().GetPhrasesDirectoryNoSlash(), archive, &missing)) {
    PlayNotificationSound(true);
    SelectInExplorer(m_hWnd, archive);
    return;
  }
  ::MessageBeep(MB_ICONWARNING);
  if (missing.empty()) return;
  // The archive holds everything else: it stays, and the user learns what
  // it lacks.
  std::wstring text = L"The backup " + archive + L" lacks these files:\n";
  for (const std::wstring& path : missing) text += L"\n" + path;
  Box(m_hWnd, text, MB_ICONWARNING);
}

void CMainFrame::OnOpenLogFile() {
  const std::wstring path = GetLogFilePath();
  const INT_PTR result = ShellOpen(m_hWnd, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (result > 32) return;
  const DWORD code = static_cast<DWORD>(result);
  Box(m_hWnd,
      L"Cannot open log file: " + path + L"\n\nError Code: " + std::to_wstring(code) + L"\n" +
          FormatSystemErrorText(code),
      MB_ICONWARNING);
}

void CMainFrame::OnZipLogFile() {
  const std::wstring name = MakeLogZipName();
  const std::wstring title = GetLocalizedFirstLine(ID_FILE_ZIP_LOG);
  CFileDialogEx dialog(FALSE, L"zip", name.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kLogZipFilter, this,
                       title.c_str());
  if (dialog.DoModal() != IDOK) return;
  const std::wstring archive = dialog.GetPathName().Str();
  if (IsFileExist(archive)) ::DeleteFileW(archive.c_str());
  ZipLogFiles(GetLogFilePath(), archive, true, m_hWnd, std::wstring(), true);
}

void CMainFrame::OnUpdateZipLogFile(CCmdUI* pCmdUI) { pCmdUI->Enable(IsFileExist(GetLogFilePath())); }

// ---- The phrase folder -------------------------------------------------------

void CMainFrame::OnChooseFolder() {
  const std::wstring title = GetLocalizedFirstLine(ID_FILE_CHOOSE_FOLDER) + L"\n" + GetLocalizedText(IDS_CHOOSE_FOLDER_NOTE);
  const std::wstring folder =
      BrowseForFolder(m_hWnd, title, GetEditorSettings().GetPhrasesDirectoryNoSlash(), true, false);
  if (!folder.empty()) OpenPhraseFolder(folder);
}

void CMainFrame::OnRecentFolder(UINT nID) {
  const std::wstring folder = GetEditorSettings().GetPrevFolder(static_cast<int>(nID - kRecentFolderFirst));
  if (!folder.empty()) OpenPhraseFolder(folder);
}

bool CMainFrame::OpenPhraseFolder(const std::wstring& folder) {
  // The store would stay on the old tree while the settings named the new
  // one: a folder that is gone (or a file) is refused.
  if (!IsFolderExist(folder)) {
    ::MessageBeep(MB_ICONWARNING);
    Box(m_hWnd, FolderNotFoundText(folder), MB_ICONWARNING);
    return false;
  }
  if (!FolderHasPhraseFiles(folder) &&
      Box(m_hWnd, folder + L"\n\n" + GetLocalizedText(kIdsNoPhrasesInFolder), MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return false;
  CDoc* doc = GetActiveDoc();
  // The phrase being edited is written to its own file before its record
  // goes away with the old tree.
  if (doc) doc->CommitCurrent(nullptr);
  CQLREditorSettings& settings = GetEditorSettings();
  const std::wstring previous = settings.GetPhrasesDirectoryNoSlash();
  auto change = [&](CQLREditorSettings& changed) {
    changed.AddPrevFolder(previous);
    changed.SetPhrasesDirectory(folder);
  };
  change(settings);
  if (doc) {
    doc->ReloadStore();
    doc->SelectRecord(-1);
  } else {
    GetCommandStore().Load(settings.GetPhrasesDirectoryNoSlash());
  }
  UpdateDocViews(nullptr, kHintFolderChanged, 0);
  OnUpdateFrameTitle(TRUE);
  Log(L"Phrase folder opened: " + folder);
  // Over the file's values: an editor started before the tray program
  // never heard that program's changes and must not undo them.
  if (!settings.SaveChangeOverFile(change)) {
    LogError(L"The settings file cannot be written: " + GetSettingsIniPath());
    Box(m_hWnd,
        L"The phrase folder is open, but the settings file cannot be written:\n" + GetSettingsIniPath() +
            L"\n\nThe next start opens the previous folder.",
        MB_ICONWARNING);
  }
  return true;
}

void CMainFrame::OnShowFolder() { SelectInExplorer(m_hWnd, GetEditorSettings().GetPhrasesDirectoryNoSlash()); }

void CMainFrame::OnMoveFolder() { Box(m_hWnd, kNotImplemented, MB_ICONWARNING); }

void CMainFrame::FillRecentFolderMenu(CMenu* popup) {
  if (!popup || !popup->GetSafeHmenu() || !IsPhraseFolderPopup(popup)) return;
  while (popup->GetMenuItemCount() > kFolderPopupFixedItems)
    popup->DeleteMenu(static_cast<UINT>(kFolderPopupFixedItems), MF_BYPOSITION);
  const CQLREditorSettings& settings = GetEditorSettings();
  const int count = std::min(settings.GetPrevFoldersCount(), kRecentFolderItems);
  if (count <= 0) return;
  popup->AppendMenu(MF_SEPARATOR);
  const std::wstring current = settings.GetPhrasesDirectoryNoSlash();

  for (int i = 0; i < count; ++i) {
    const std::wstring folder = settings.GetPrevFolder(i);
    const UINT id = kRecentFolderFirst + static_cast<UINT>(i);
    const std::wstring text = IsFolderExist(folder) ? folder : FolderNotFoundText(folder);
    popup->AppendMenu(MF_STRING, id, text.c_str());
    if (EqualNoCase(folder, current)) {
      popup->CheckMenuRadioItem(id, id, id, MF_BYCOMMAND);
      popup->SetDefaultItem(id);
    }
  }
}

