#include "editor/frame/phrase_backup.h"

#include <cwchar>

#include "editor/services/folder_archive.h"
#include "foundation/files/files.h"
#include "settings/settings_files.h"

std::wstring MakeBackupName(const SYSTEMTIME& time) {
  wchar_t name[80];
  swprintf(name, 80, L"Quillora_Backup_%.2d-%.2d-%.4d %.2d_%.2d_%.2d.zip", time.wDay, time.wMonth, time.wYear,
           time.wHour, time.wMinute, time.wSecond);
  return name;
}

bool MakePhraseBackup(const std::wstring& phrasesFolder, const std::wstring& archivePath,
                      std::vector<std::wstring>* missing) {
  std::vector<std::wstring> extra;
  const std::wstring settings = GetSettingsIniPath();
  if (!settings.empty() && IsFileExist(settings)) extra.push_back(settings);
  return ZipFolderTree(phrasesFolder, L"*.quillora", archivePath, extra, missing);
}
