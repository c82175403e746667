// The texts of the tray menu's tooltips that carry the program's state: a
// clipboard-history entry, the update check, Keep, the information block
// of "Edit Phrases\Settings…", About and a language entry. Pure functions
// of the facts handed in, in the current language.
#pragma once
#include <windows.h>

#include <string>

class CCHItem;

// Characters of an entry's text shown in its tip.
constexpr size_t kHistoryTipTextChars = 150;

// The capture method text of the clipboard handler's state 0..3.
std::wstring CaptureMethodText(int handlerState);
// The ClipboardSpyMethod_v2_22 setting in words (-1, 0, 1).
std::wstring CaptureMethodSettingText(int setting);

// The tip of a history entry; null for an index past the end.
std::wstring HistoryEntryTipText(const CCHItem* item);

struct UpdateTipFacts {
  bool hasLastCheck = false;
  SYSTEMTIME lastCheckLocal = {};
  bool automatic = false;
  int days = 0;
};
std::wstring CheckForUpdatesTipText(const std::wstring& commandTip, const UpdateTipFacts& facts);
// The last check plus the days, in local time.
SYSTEMTIME AddDays(const SYSTEMTIME& time, int days);

struct KeepTipFacts {
  int historyMax = 0;
  int connectionState = 2;        // 1 error, 2 none
  std::wstring connectionText;
  int handlerState = 0;
  DWORD sequenceNumber = 0;
  bool historyAtStartup = false;
  std::wstring editCommandText;   // the menu text of 32772
};
std::wstring KeepTipText(const std::wstring& commandTip, const KeepTipFacts& facts);

struct InfoBlockFacts {
  std::wstring hotkey;
  std::wstring phraseFolder;
  bool defaultFolder = false;
  bool admin = false;
  bool menuToolTips = false;
  bool logOn = false;
  std::wstring logPath;
  int delayInsertMs = 0;
  int textPasteMethod = 0;
  int handlerState = 0;
  int spyMethodSetting = -1;
};
std::wstring InformationBlockText(const InfoBlockFacts& facts);

std::wstring AboutTipText(const std::wstring& commandTip, const std::wstring& versionText,
                          const std::wstring& buildDate, int logCount);

// "Choose this language…", then the author and the name of the language
// file (a path) when its Main section names an author.
std::wstring LanguageEntryTipText(const std::wstring& languageFile);
