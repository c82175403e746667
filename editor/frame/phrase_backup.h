// The backup of the phrase folder with the settings.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// "Quillora_Backup_" + day-month-year, a blank, hour_minute_second, ".zip".
std::wstring MakeBackupName(const SYSTEMTIME& time);

// Every phrase file of the folder tree, and Settings.ini when it exists, into
// a new archive. The files that could not be added go to missing; an
// archive with gaps stays. True only when it is complete.
bool MakePhraseBackup(const std::wstring& phrasesFolder, const std::wstring& archivePath,
                      std::vector<std::wstring>* missing);
