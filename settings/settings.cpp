#include "settings/settings.h"

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <mutex>

#include "foundation/files/files.h"
#include "foundation/files/ini.h"
#include "foundation/files/paths.h"
#include "foundation/localization/language_files.h"
#include "foundation/system/command_runners.h"
#include "settings/settings_files.h"
#include "settings/settings_names.h"
#include "settings/settings_read_batch.h"

namespace sn = settings_names;

namespace {

constexpr int kVersionChars = 100;

std::mutex g_hooksLock;
SettingsTimeFormatter g_timeFormatter;
LanguageFileFinder g_languageFinder;

bool EqualsNoCase(const std::wstring& a, const std::wstring& b) {
  return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
  return text.size() >= prefix.size() && _wcsnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

std::wstring TrimTrailingSlashes(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring EnsureTrailingSlash(std::wstring path) {
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path;
}

int KeyboardLayoutCount() { return GetKeyboardLayoutList(0, nullptr); }

// Two letters of the default input language, empty when unknown.
std::wstring DefaultInputLanguageIso() {
  HKL layout = nullptr;
  if (!SystemParametersInfoW(SPI_GETDEFAULTINPUTLANG, 0, &layout, 0)) return std::wstring();
  LCID locale = MAKELCID(LOWORD(reinterpret_cast<ULONG_PTR>(layout)), SORT_DEFAULT);
  wchar_t name[100] = {};
  if (GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, name, 99) == 0 || name[0] == L'\0')
    return std::wstring();
  return std::wstring(name).substr(0, 2);
}

int ComputeNewVersionFlag() {
  std::wstring programFile = GetSettingsProgramFolder() + sn::kIniFileName;
  std::wstring userFile = GetUserSettingsPath(false);
  if (!IsFileExist(programFile) && (userFile.empty() || !IsFileExist(userFile))) return 1;
  wchar_t version[kVersionChars + 1] = {};
  if (IsProfileFileWithin(programFile.c_str(), kMaxSettingsFileBytes))
    GetPrivateProfileStringW(sn::kSettings, sn::kVersionKey, L"", version, kVersionChars,
                             programFile.c_str());
  if (version[0] == L'\0' && !userFile.empty() && IsProfileFileWithin(userFile.c_str(), kMaxSettingsFileBytes))
    GetPrivateProfileStringW(sn::kSettings, sn::kVersionKey, L"", version, kVersionChars,
                             userFile.c_str());
  return _wcsicmp(version, sn::kVersionValue) != 0 ? 1 : 0;
}

std::wstring ExtMenuCommandKey(int index) {
  return std::wstring(sn::kExtMenuCommandPrefix) + sn::kExtMenuCommandSuffixes[index];
}

std::wstring ClipboardFormatsKey(int index) {
  wchar_t key[40];
  swprintf(key, 40, sn::kClipboardFormatsFormat, index);
  return key;
}

std::wstring SaveTimeText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::lock_guard<std::mutex> lock(g_hooksLock);
  return g_timeFormatter ? g_timeFormatter(now) : std::wstring();
}

int Clamp(int value, int low, int high, int otherwise) {
  return value < low || value > high ? otherwise : value;
}

}  // namespace

void SetSettingsTimeFormatter(SettingsTimeFormatter formatter) {
  std::lock_guard<std::mutex> lock(g_hooksLock);
  g_timeFormatter = std::move(formatter);
}

void SetLanguageFileFinder(LanguageFileFinder finder) {
  std::lock_guard<std::mutex> lock(g_hooksLock);
  g_languageFinder = std::move(finder);
}

CQLRSettings::CQLRSettings() {
  m_newVersion = ComputeNewVersionFlag();
  insertEncodeCommandIntoMenu = KeyboardLayoutCount() > 1 ? 1 : 0;
  std::wstring iso = DefaultInputLanguageIso();
  if (!iso.empty()) {
    LanguageFileFinder finder;
    {
      std::lock_guard<std::mutex> lock(g_hooksLock);
      finder = g_languageFinder;
    }
    if (finder) m_language = finder(iso);
  }
  // A block larger than the structure of any system version; a failed query
  // leaves the font zeroed.
  BYTE metrics[500] = {};
  auto* ncm = reinterpret_cast<NONCLIENTMETRICSW*>(metrics);
  ncm->cbSize = sizeof(NONCLIENTMETRICSW);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(NONCLIENTMETRICSW), ncm, 0))
    fontForMenu = ncm->lfMenuFont;
}

void CQLRSettings::SetLanguage(const std::wstring& language) {
  size_t slash = language.find(L'\\', 1);
  if (slash == std::wstring::npos) {
    m_language = language;
    return;
  }
  m_language = language.substr(language.find_last_of(L'\\') + 1);
}

std::wstring CQLRSettings::GetLanguageFilePath() {
  std::wstring iniPath = GetSettingsIniPath();
  if (IsFileExist(iniPath)) {
    // A file in use without the key keeps the language read at load, which
    // may have come from the other file.
    std::wstring stored = IniReadString(iniPath, sn::kSettings, sn::kLanguage);
    if (!stored.empty() && !EqualsNoCase(stored, m_language)) m_language = stored;
  }
  // The folder rule of the language list: a program in a Debug or Release
  // folder finds its files one level up. No language is the example file.
  const std::wstring name = m_language.empty() ? GetLocalizeExampleFileName() : m_language;
  return GetLngFolderOf(GetSettingsProgramFolder()) + name;
}

std::wstring GetCurrentLangPrefix() {
  CQLRSettings& settings = GetSettings();
  settings.GetLanguageFilePath();  // takes a Language value changed in the file
  const std::wstring& language = settings.GetLanguage();
  if (language.empty()) return std::wstring();
  if (language.find(L'\\') != std::wstring::npos) return GetLangPrefix(language);
  return GetLangPrefix(GetLngFolderOf(GetSettingsProgramFolder()) + language);
}

int CQLRSettings::GetEffectiveClipboardSpyMethod() const {
  if (clipboardSpyMethod != -1) return clipboardSpyMethod;
  return IsClipboardFormatListenerAvailable() ? 1 : 0;
}

int CQLRSettings::GetAddLastUsedMenuToBeginCount() {
  if (addLastUsedMenuToBeginCount < 1 || addLastUsedMenuToBeginCount > 5)
    addLastUsedMenuToBeginCount = 3;
  return addLastUsedMenuToBeginCount;
}

void CQLRSettings::SetAddLastUsedMenuToBeginCount(int count) {
  addLastUsedMenuToBeginCount = Clamp(count, 1, 5, 3);
}

int CQLRSettings::GetDaysCheckForUpdates() const {
  if (daysCheckForUpdates == 0) return 1;
  return daysCheckForUpdates > 30 ? 30 : daysCheckForUpdates;
}

void CQLRSettings::SetDaysCheckForUpdates(int days) {
  daysCheckForUpdates = days == 0 ? 1 : (days > 30 ? 30 : days);
}

std::wstring CQLRSettings::GetDefaultPhrasesDirectory() {
  return GetSettingsProgramFolder() + sn::kDefaultPhrasesFolder + L"\\";
}

std::wstring CQLRSettings::GetPhrasesDirectory() const {
  if (phrasesDirectory.empty()) return GetDefaultPhrasesDirectory();
  // Variables are expanded before the relative test, so that a value such as
  // %USERPROFILE%\Phrases is not put under the program folder.
  std::wstring folder = ExpandEnvVars(phrasesDirectory);
  if (folder.find(L':') == std::wstring::npos) folder = GetSettingsProgramFolder() + folder;
  return EnsureTrailingSlash(folder);
}

std::wstring CQLRSettings::GetPhrasesDirectoryNoSlash() const {
  return TrimTrailingSlashes(GetPhrasesDirectory());
}

bool CQLRSettings::Load() {
  // Each section of the two files is read once for the whole load.
  CSettingsReadBatch batch;
  const std::wstring iniPath = GetSettingsIniPath();
  auto readInt = [](const wchar_t* key, int def) { return ReadSettingsInt(key, def); };

  showHistoryPaneOnStart = readInt(sn::kShowHistoryPaneOnStart, 1);
  std::wstring folder = ReadSettingsString(sn::kPhrasesDirectory, L"");
  if (!folder.empty()) {
    folder = EnsureTrailingSlash(folder);
    if (EqualsNoCase(folder, GetDefaultPhrasesDirectory())) folder.clear();
  }
  phrasesDirectory = folder;
  // No file naming a language keeps the default one found at construction.
  std::wstring language = ReadLanguage(iniPath);
  if (!language.empty()) m_language = language;
  hotkey.Unpack(readInt(sn::kHotkey, hotkey.Packed()));
  extHotkey = readInt(sn::kExtHotkey, 0);
  hotkeyDoubled = readInt(sn::kHotkeyDoubled, hotkeyDoubled);
  sorting = readInt(sn::kSorting, sorting);
  clipboardHistory = readInt(sn::kClipboardHistory, clipboardHistory);
  clipboardHistoryMax = readInt(sn::kClipboardHistoryMax, clipboardHistoryMax);
  insertCHIntoMenu = readInt(sn::kInsertCHIntoMenu, insertCHIntoMenu);
  autoCheckForUpdates = readInt(sn::kAutoCheckForUpdates, autoCheckForUpdates);
  daysCheckForUpdates = readInt(sn::kDaysCheckForUpdates, daysCheckForUpdates);
  soundOnEvents = readInt(sn::kSoundOnEvents, soundOnEvents);
  menuToolTips = readInt(sn::kMenuToolTips, menuToolTips);
  showTrayBallonOnHotkey = readInt(sn::kShowTrayBallonOnHotkey, showTrayBallonOnHotkey);
  writeLog = IniReadInt(iniPath.c_str(), sn::kSettings, sn::kWriteLog, writeLog);
  insertEncodeCommandIntoMenu = readInt(sn::kInsertEncodeCommandIntoMenu, insertEncodeCommandIntoMenu);
  addLastUsedMenuToBegin = readInt(sn::kAddLastUsedMenuToBegin, addLastUsedMenuToBegin);
  addLastUsedMenuToBeginCount =
      Clamp(readInt(sn::kAddLastUsedMenuToBeginCount, addLastUsedMenuToBeginCount), 1, 5, 3);
  delayAutoLoadSeconds = static_cast<unsigned>(readInt(sn::kDelayAutoLoadSeconds,
                                                       static_cast<int>(delayAutoLoadSeconds)));
  if (delayAutoLoadSeconds > 600) delayAutoLoadSeconds = 600;
  saveClipboardHistory = readInt(sn::kSaveClipboardHistory, 1);
  int maxInMenu = readInt(sn::kMaxHistoryItemsInMenu, 15);
  if (maxInMenu >= 0) maxHistoryItemsInMenu = maxInMenu;
  appendCHAsSubMenu = readInt(sn::kAppendCHAsSubMenu, appendCHAsSubMenu);
  textPasteMethod = Clamp(readInt(sn::kTextPasteMethod, textPasteMethod), 0, 2, 0);
  printLTChars = static_cast<unsigned>(Clamp(readInt(sn::kPrintLTChars, 100), 1, 1000, 100));
  gestureType = Clamp(readInt(sn::kGestureType, 0), 0, 1, 0);
  clipboardSpyMethod = readInt(sn::kClipboardSpyMethod, -1);
  for (int i = 0; i < 5; ++i)
    clipboardFormats[i] = readInt(ClipboardFormatsKey(i).c_str(), clipboardFormats[i]);
  LOGFONTW font;
  if (IsProfileFileWithin(iniPath.c_str(), kMaxSettingsFileBytes) &&
      GetPrivateProfileStructW(sn::kSettings, sn::kFontForMenu, &font, sizeof(font), iniPath.c_str()))
    fontForMenu = font;
  for (int i = 0; i < 3; ++i)
    extMenuCommand[i] = readInt(ExtMenuCommandKey(i).c_str(), extMenuCommand[i]);
  LoadOwnKeys(iniPath);
  return true;
}

bool CQLRSettings::Save() {
  const std::wstring iniPath = GetSettingsIniPath();
  // A file read as empty holds what was read as defaults: nothing goes in.
  if (!IsProfileFileWritable(iniPath.c_str(), kMaxSettingsFileBytes)) return false;
  return SaveInto(iniPath, iniPath);
}

bool CQLRSettings::SaveInto(const std::wstring& writePath, const std::wstring& iniPath) {
  const wchar_t* ini = writePath.c_str();
  bool ok = IniWriteString(ini, sn::kSaveRecord, sn::kWritedTo, iniPath.c_str());
  ok &= IniWriteString(ini, sn::kSaveRecord, sn::kWritedWho, GetFileNameFromPath(GetModulePath()).c_str());
  ok &= IniWriteString(ini, sn::kSaveRecord, sn::kWritedWhen, SaveTimeText().c_str());
  ok &= IniWriteString(ini, sn::kSettings, sn::kVersionKey, sn::kVersionValue);

  std::wstring folder = phrasesDirectory;
  std::wstring programFolder = GetSettingsProgramFolder();
  if (EqualsNoCase(EnsureTrailingSlash(folder), GetDefaultPhrasesDirectory()))
    folder.clear();
  else if (StartsWithNoCase(folder, programFolder))
    folder = folder.substr(programFolder.size());
  ok &= IniWriteString(ini, sn::kSettings, sn::kPhrasesDirectory, TrimTrailingSlashes(folder).c_str());
  ok &= WriteLanguage(m_language, writePath);

  const struct {
    const wchar_t* key;
    int value;
  } ints[] = {
      {sn::kShowHistoryPaneOnStart, showHistoryPaneOnStart},
      {sn::kHotkey, hotkey.Packed()},
      {sn::kExtHotkey, extHotkey},
      {sn::kHotkeyDoubled, hotkeyDoubled},
      {sn::kSorting, sorting},
      {sn::kClipboardHistory, clipboardHistory},
      {sn::kClipboardHistoryMax, clipboardHistoryMax},
      {sn::kInsertCHIntoMenu, insertCHIntoMenu},
      {sn::kAutoCheckForUpdates, autoCheckForUpdates},
      {sn::kDaysCheckForUpdates, daysCheckForUpdates},
      {sn::kSoundOnEvents, soundOnEvents},
      {sn::kMenuToolTips, menuToolTips},
      {sn::kDelayAutoLoadSeconds, static_cast<int>(delayAutoLoadSeconds)},
      {sn::kWriteLog, writeLog},
      {sn::kSaveClipboardHistory, saveClipboardHistory},
      {sn::kMaxHistoryItemsInMenu, maxHistoryItemsInMenu},
      {sn::kAppendCHAsSubMenu, appendCHAsSubMenu},
      {sn::kTextPasteMethod, textPasteMethod},
      {sn::kGestureType, gestureType},
      {sn::kClipboardSpyMethod, clipboardSpyMethod},
      {sn::kInsertEncodeCommandIntoMenu, insertEncodeCommandIntoMenu},
      {sn::kAddLastUsedMenuToBegin, addLastUsedMenuToBegin},
      {sn::kAddLastUsedMenuToBeginCount, addLastUsedMenuToBeginCount},
      {sn::kShowTrayBallonOnHotkey, showTrayBallonOnHotkey},
      {sn::kPrintLTChars, static_cast<int>(printLTChars)},
  };
  for (const auto& entry : ints) ok &= IniWriteInt(ini, sn::kSettings, entry.key, entry.value);
  for (int i = 0; i < 5; ++i)
    ok &= IniWriteInt(ini, sn::kSettings, ClipboardFormatsKey(i).c_str(), clipboardFormats[i]);
  ok &= IniWriteStruct(ini, sn::kSettings, sn::kFontForMenu, &fontForMenu, sizeof(fontForMenu));
  for (int i = 0; i < 3; ++i)
    ok &= IniWriteInt(ini, sn::kSettings, ExtMenuCommandKey(i).c_str(), extMenuCommand[i]);
  SaveOwnKeys(writePath);
  return ok;
}

CQLRTraySettings& GetSettings() {
  static CQLRTraySettings settings;
  // Set at program start, so the first call loads Settings.ini. Threads that
  // ask while the load runs wait for it rather than see half a load.
  static std::atomic<bool> reload{true};
  static std::mutex loading;
  if (reload.load()) {
    std::lock_guard<std::mutex> lock(loading);
    if (reload.exchange(false)) settings.Load();
  }
  return settings;
}
