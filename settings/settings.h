// The suite's user options (Settings.ini, section "Settings") with their
// defaults, load rules and save order. The tray program's object is reached
// through GetSettings(); the editor derives its own class from CQLRSettings
// and adds its keys through LoadOwnKeys/SaveOwnKeys.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct HotkeyValue {
  WORD key = VK_RETURN;
  WORD modifiers = MOD_ALT | MOD_CONTROL;
  // Stored as one int: key in the low word, modifiers in the high word.
  int Packed() const { return static_cast<int>(MAKELONG(key, modifiers)); }
  void Unpack(int packed) {
    key = LOWORD(static_cast<DWORD>(packed));
    modifiers = HIWORD(static_cast<DWORD>(packed));
  }
};

enum ExtMenuCommand { kExtEditSetting = 0, kExtSaveSelAsPhrase = 1, kExtSupport = 2 };

class CQLRSettings {
 public:
  CQLRSettings();
  virtual ~CQLRSettings() = default;
  virtual bool IsNewVersion() const { return m_newVersion != 0; }

  bool Load();
  bool Save();

  // Language file name (no folder); empty for the built-in language.
  const std::wstring& GetLanguage() const { return m_language; }
  void SetLanguage(const std::wstring& language);
  std::wstring GetLanguageFilePath();

  int GetWriteLog() const { return writeLog; }
  void SetWriteLog(int value) { writeLog = value; }
  int GetClipboardHistoryMax() const { return clipboardHistoryMax; }
  int GetSaveClipboardHistory() const { return saveClipboardHistory; }
  void SetSaveClipboardHistory(int value) { saveClipboardHistory = value; }
  int GetMaxHistoryItemsInMenu() const { return maxHistoryItemsInMenu > 0 ? maxHistoryItemsInMenu : -1; }
  bool HasMaxHistoryItemsInMenu() const { return maxHistoryItemsInMenu > 0; }
  void SetMaxHistoryItemsInMenuEnabled(bool enabled) { maxHistoryItemsInMenu = enabled ? 15 : 0; }
  int GetClipboardSpyMethod() const { return clipboardSpyMethod; }
  int GetEffectiveClipboardSpyMethod() const;
  int GetAddLastUsedMenuToBeginCount();
  void SetAddLastUsedMenuToBeginCount(int count);
  int GetDaysCheckForUpdates() const;
  void SetDaysCheckForUpdates(int days);

  std::wstring GetPhrasesDirectory() const;
  std::wstring GetPhrasesDirectoryNoSlash() const;
  bool IsPhrasesDirectoryDefault() const { return phrasesDirectory.empty(); }
  static std::wstring GetDefaultPhrasesDirectory();
  const std::wstring& GetStoredPhrasesDirectory() const { return phrasesDirectory; }
  void SetPhrasesDirectory(const std::wstring& folder) { phrasesDirectory = folder; }

  // Keys outside the object, read and written on demand.
  static int GetDelayInsertMilliseconds();
  static bool SaveSkippedVersions(const std::vector<int>& versions);
  static bool LoadSkippedVersions(std::vector<int>& versions);
  // LastCheckForUpdates_V2 in UTC. Not stored yet: now, which is stored.
  // The half that is missing of the two takes utc's; a value that is no
  // time reads (and is stored as) 1 January 2013.
  static bool GetLastCheckForUpdates(SYSTEMTIME& utc);
  static bool GetLastCheckForUpdatesLocal(SYSTEMTIME& local);
  static bool SetLastCheckForUpdates(const SYSTEMTIME& utc);
  static std::wstring ReadString(const wchar_t* key, const wchar_t* def);
  static bool WriteString(const wchar_t* key, const std::wstring& value);
  static bool WriteWindowPos(const wchar_t* key, int x, int y);
  static bool ReadWindowPos(const wchar_t* key, POINT& point);
  static std::wstring ClipboardSpyMethodOptionsToStr(int value);

  // Plain options, in the suite's declaration order.
  int daysCheckForUpdates = 7;
  int clipboardSpyMethod = -1;        // -1 automatic, 0 viewer chain, 1 format listener
  std::wstring phrasesDirectory;      // empty: the default folder
  int writeLog = 0;
  int insertEncodeCommandIntoMenu = 0;
  int addLastUsedMenuToBeginCount = 3;
  int extMenuCommand[3] = {1, 1, 1};  // indexed by ExtMenuCommand
  int showHistoryPaneOnStart = 1;
  int clipboardFormats[5] = {1, 1, 0, 1, 1};
  HotkeyValue hotkey;
  int extHotkey = 0;
  int hotkeyDoubled = 0;
  int clipboardHistory = 1;
  int clipboardHistoryMax = 30;
  int insertCHIntoMenu = 1;
  int autoCheckForUpdates = 1;
  int soundOnEvents = 1;
  unsigned delayAutoLoadSeconds = 30;
  int menuToolTips = 1;
  int addLastUsedMenuToBegin = 1;
  int appendCHAsSubMenu = 0;
  int sorting = 1;
  int textPasteMethod = 0;
  unsigned printLTChars = 2;
  int showTrayBallonOnHotkey = 1;
  LOGFONTW fontForMenu = {};
  int gestureType = 0;
  int saveClipboardHistory = 0;
  int maxHistoryItemsInMenu = 15;

 protected:
  // Writes every key into writePath while recording iniPath as the file
  // saved, so that a derived store can write a copy and replace the file in
  // use with it; false when a write failed.
  bool SaveInto(const std::wstring& writePath, const std::wstring& iniPath);

  // Derived stores read and write their own keys after the shared ones.
  virtual void LoadOwnKeys(const std::wstring& iniPath) { (void)iniPath; }
  virtual void SaveOwnKeys(const std::wstring& iniPath) { (void)iniPath; }

 private:
  std::wstring m_language;
  int m_newVersion = 0;
};

class CQLRTraySettings : public CQLRSettings {};

// The process-wide settings object; loaded on the first call.
CQLRTraySettings& GetSettings();

// The LangPrefix of the Language setting's file (a name without a folder
// lies in the program folder); empty when the setting is empty.
std::wstring GetCurrentLangPrefix();
// The code of the interface language: the same prefix, empty while the
// built-in English is in use.
inline std::wstring GetInterfaceLanguageCode() { return GetCurrentLangPrefix(); }

// The text written as the save time. The date texts live with the macros,
// which build on this store, so the program hands the formatter in at start.
using SettingsTimeFormatter = std::function<std::wstring(const SYSTEMTIME& local)>;
void SetSettingsTimeFormatter(SettingsTimeFormatter formatter);

// Finds the language file whose prefix matches a two-letter language name;
// empty when none does. Handed in by the language-file code.
using LanguageFileFinder = std::function<std::wstring(const std::wstring& isoName)>;
void SetLanguageFileFinder(LanguageFileFinder finder);
