#include "online/about/about_rows.h"

#include "foundation/files/file_version.h"
#include "foundation/files/paths.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/system/command_runners.h"
#include "foundation/system/os_version.h"
#include "foundation/system/processes.h"
#include "foundation/system/registry.h"
#include "foundation/system/security.h"
#include "foundation/system/system_info.h"
#include "foundation/system/test_switches.h"
#include "foundation/text/date_helpers.h"
#include "online/about/about_probes.h"
#include "online/internet_state.h"
#include "online/tray_helpers.h"
#include "phrases/store/phrase_statistics.h"
#include "settings/settings.h"
#include "settings/settings_files.h"

namespace {

// Inserted characters per second of typing that a phrase saves the user.
constexpr long long kTypedCharsPerSecond = 3;

void AddGroup(std::vector<AboutRow>& rows, const std::wstring& caption) {
  AddAboutRow(rows, caption, L"", kAboutGroup);
}

const wchar_t* YesNo(bool yes) { return yes ? L"Yes" : L"No"; }

std::wstring Printf(const wchar_t* format, long long n) {
  wchar_t text[64];
  swprintf(text, 64, format, n);
  return text;
}

void AddComponent(std::vector<AboutRow>& rows, const std::wstring& caption, const std::wstring& path) {
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    AddAboutRow(rows, caption, L"File Not Found");
    return;
  }
  CFileVersionInfo info(path);
  std::wstring version = info.Load() ? info.GetProductVersion() : std::wstring();
  AddAboutRow(rows, caption, (version.empty() ? L"Not Detected" : version) + L", " + path);
}

std::wstring WithUpperExtension(std::wstring name) {
  size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return name;
  for (size_t i = dot; i < name.size(); ++i) name[i] = static_cast<wchar_t>(towupper(name[i]));
  return name;
}

void AddComponents(std::vector<AboutRow>& rows, const AboutDialogInput& input) {
  std::wstring app = GetAppFolderWithSlash();
  AddGroup(rows, L"Components");
  AddComponent(rows, L"Quillora", GetModulePath());
  AddComponent(rows, AboutText(IDS_ABOUT_EDITOR), app + L"QuilloraEditor.exe");
  std::wstring welcome = MenuTextToTitle(input.welcomeMenuText);
  AddComponent(rows, welcome.empty() ? L"Welcome Module" : welcome,
               app + L"Quillora_Welcome.exe");
  AddComponent(rows, L"Core DLL", app + L"Quillora.dll");
  AddComponent(rows, L"Mouse Gestures DLL", app + L"Gesture.dll");
  WIN32_FIND_DATAW found = {};
  HANDLE find = FindFirstFileW((app + L"*.dll").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      AddComponent(rows, WithUpperExtension(found.cFileName), app + found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  std::wstring mfc;
  GetMfcRuntimePath(mfc);
  AddAboutRow(rows, L"Mfc42.DLL", mfc);
}

void AddEnvironment(std::vector<AboutRow>& rows, const AboutDialogInput& input) {
  AddGroup(rows, L"Environment");
  COSVersionInfo os;
  AddAboutRow(rows, L"OS", os.GetOSDisplayName());
  AddAboutRow(rows, L"OS enum", os.GetOSToken());
  AddAboutRow(rows, L"Bitness", sizeof(void*) == 8 ? L"64x" : L"32x");
  AddAboutRow(rows, L"Memory Physical Available", GetAvailablePhysicalMemoryText());
  AddAboutRow(rows, L"Memory Installed", GetTotalPhysicalMemoryText());
  AddAboutRow(rows, L"Memory Usage", GetMemoryLoadText());
  SYSTEM_INFO si = {};
  GetNativeSystemInfo(&si);
  AddAboutRow(rows, L"Number of Processors", std::to_wstring(si.dwNumberOfProcessors));
  AddAboutRow(rows, L"DLL Service IMPL", input.dllServiceImplText);
  bool member = false;
  AddAboutRow(rows, L"Admin authority", IsCurrentUserAdmin(member) ? YesNo(member) : L"Not detected");
  AddAboutRow(rows, L"Active Code Page", std::to_wstring(GetACP()));
  AddAboutRow(rows, L"Screen", std::to_wstring(GetSystemMetrics(SM_CXVIRTUALSCREEN)) + L" x " +
                           std::to_wstring(GetSystemMetrics(SM_CYVIRTUALSCREEN)));
  AddAboutRow(rows, L"Aero enabled", YesNo(IsDwmCompositionEnabled()));
  AddAboutRow(rows, L"Path", GetModulePath());
  bool installed = IsInstalledByInstaller();
  AddAboutRow(rows, L"Version Is Installed", YesNo(installed), installed ? kAboutSuccess : kAboutFailure);
}

void AddSettingsRows(std::vector<AboutRow>& rows, const AboutDialogInput& input, const std::wstring& phrases) {
  AddGroup(rows, AboutText(IDS_ABOUT_SETTINGS));
  AddAboutRow(rows, L"Hot Key", input.hotkeyText);
  std::wstring ie = GetIEVersion();
  AddAboutRow(rows, L"IE Version", ie.empty() ? L"Cannot detect" : ie);
  std::wstring browser = FindDefaultBrowser(GetTempFolder());
  AddAboutRow(rows, L"Default Web Browser", browser.empty() ? L"Cannot detect" : browser);
  int net = IsInternetConnected();
  AddAboutRow(rows, L"Has Internet Connection",
      net == kInternetConnected ? L"Yes" : net == kInternetOffline ? L"No" : L"ERROR",
      net == kInternetConnected ? kAboutSuccess : kAboutFailure);
  std::wstring domain;
  AddAboutRow(rows, L"Computer Domain Name", GetComputerDnsDomain(domain) && !domain.empty() ? domain : L"not found");
  AddAboutRow(rows, L"Country", GetCountryText());
  AddPhraseFolderTests(rows, phrases);

  CQLRTraySettings& settings = GetSettings();
  std::wstring history = L"No";
  if (settings.clipboardHistory)
    history = std::wstring(L"Yes, ") + (input.clipboardHistoryRunning ? L"running" : L"not running") +
              L", max " + std::to_wstring(settings.GetClipboardHistoryMax());
  AddAboutRow(rows, L"Clipboard History", history);
  AddAboutRow(rows, L"Clipboard Tracking [Settings]",
      std::wstring(IsClipboardFormatListenerAvailable() ? L"Available" : L"Not available") + L" [" +
          CQLRSettings::ClipboardSpyMethodOptionsToStr(settings.GetClipboardSpyMethod()) + L"]");
  // Only the viewer chain needs the watchdog that re-joins it.
  AddAboutRow(rows, L"Clipboard Spy Reinstall", YesNo(settings.GetEffectiveClipboardSpyMethod() == 0));
  AddAboutRow(rows, L"DelayInsertMS", std::to_wstring(CQLRSettings::GetDelayInsertMilliseconds()));
  std::wstring typed = settings.textPasteMethod == 0   ? L"Yes"
                       : settings.textPasteMethod == 2 ? L"Yes, shorter than " +
                                                             std::to_wstring(settings.printLTChars) + L" chars"
                                                       : L"No";
  AddAboutRow(rows, L"DirectlyPrintText: ", typed);
  AddAboutRow(rows, L"IsAllow_WaitAnswerFromExeAgent", YesNo(input.waitsForAgentAnswer));
  AddAboutRow(rows, L"Logging", YesNo(settings.GetWriteLog() != 0));
  AddAboutRow(rows, L"Auto Check For Updates", YesNo(settings.autoCheckForUpdates != 0));
  AddAboutRow(rows, L"Check For Updates Every Days", std::to_wstring(settings.GetDaysCheckForUpdates()));
  AddAboutRow(rows, L"Language", settings.GetLanguage().empty() ? GetEmbeddedLanguageName() : settings.GetLanguage());
}

void AddTestSwitches(std::vector<AboutRow>& rows) {
  std::vector<std::wstring> switches;
  GetTestSwitchNames(switches);
  AddGroup(rows, L"Files [" + std::to_wstring(switches.size()) + L"]");
  for (const std::wstring& name : switches) AddAboutRow(rows, name, IsTestSwitchOn(name) ? L"Yes" : L"");
}

void AddLogMessages(std::vector<AboutRow>& rows, const std::vector<std::wstring>& messages) {
  AddGroup(rows, L"Log (" + std::to_wstring(messages.size()) + L")");
  long long number = 0;
  for (const std::wstring& message : messages) {
    std::wstring lower = message;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    AddAboutRow(rows, Printf(L"Message #%lld", ++number), message,
        lower.find(L"error") != std::wstring::npos ? kAboutFailure : kAboutPlain);
  }
}

}  // namespace

std::wstring AboutText(UINT id) {
  CLngString text;
  text.LoadString(id);
  return text.Text();
}

std::wstring FormatDurationText(long long seconds) {
  if (seconds < 0) seconds = 0;
  std::wstring text;
  if (seconds >= 3600) text += std::to_wstring(seconds / 3600) + L" h ";
  if (seconds >= 60) text += std::to_wstring(seconds / 60 % 60) + L" min ";
  return text + std::to_wstring(seconds % 60) + L" sec";
}

void AddStatisticRows(std::vector<AboutRow>& rows, const PhraseTreeStatistics& stats) {
  AddAboutRow(rows, L"All Phrases", Printf(L"%lld", stats.textPhrases + stats.rtfPhrases + stats.execPhrases));
  AddAboutRow(rows, L"Included Phrases", Printf(L"%lld", stats.enabledNodes));
  AddAboutRow(rows, L"Folders", Printf(L"%lld", stats.folders));
  AddAboutRow(rows, L"Formatted Text", Printf(L"%lld", stats.rtfPhrases));
  AddAboutRow(rows, L"Plain Text", Printf(L"%lld", stats.textPhrases));
  AddAboutRow(rows, L"Exec Apps", Printf(L"%lld", stats.execPhrases));
  AddAboutRow(rows, L"All Usage", Printf(L"%lld times", stats.totalUsage));
  AddAboutRow(rows, L"Max Usage", Printf(L"%lld times, ", stats.highestUsage) + stats.mostUsedCaption);
  AddAboutRow(rows, L"Chars Inserted", Printf(L"%lld", stats.charactersInserted));
  AddAboutRow(rows, L"Typing Time Saved", FormatDurationText(stats.charactersInserted / kTypedCharsPerSecond));
}

void AddProcessRows(std::vector<AboutRow>& rows, const std::vector<std::wstring>& paths) {
  AddGroup(rows, L"Processes");
  // An empty caption would print as a separator line in the copied report.
  for (const std::wstring& path : paths) {
    if (path.empty()) continue;
    std::wstring name = GetFileNameFromPath(path);
    AddAboutRow(rows, name.empty() ? path : name, path);
  }
}

std::vector<AboutRow> CollectAboutRows(const AboutDialogInput& input) {
  std::vector<AboutRow> rows;
  AddAboutRow(rows, L"Version", input.versionText);
  AddAboutRow(rows, L"Released", GetBuildStamp());
  AddComponents(rows, input);

  AddFileBlock(rows, L"Settings File", GetSettingsIniPath());
  std::wstring phrases = input.phrasesFolder.empty() ? input.defaultPhrasesFolder : input.phrasesFolder;
  AddFileBlock(rows, L"Phrases Folder", phrases);

  AddGroup(rows, AboutText(IDS_ABOUT_STATISTIC));
  AddAboutRow(rows, AboutText(IDS_ABOUT_FOLDER), phrases);
  if (input.phrasesFolder.empty())
    AddAboutRow(rows, L"Default Folder", L"Yes, " + input.defaultPhrasesFolder, kAboutSuccess);
  else
    AddAboutRow(rows, L"Default Folder", L"No", kAboutFailure);
  if (input.phraseStore) {
    PhraseTreeStatistics stats;
    CollectPhraseTreeStatistics(*input.phraseStore, &stats);
    AddStatisticRows(rows, stats);
  }

  AddEnvironment(rows, input);
  AddSettingsRows(rows, input, phrases);
  AddTestSwitches(rows);

  std::vector<std::wstring> processes;
  GetRunningProcessPaths(&processes, true);
  AddProcessRows(rows, processes);

  AddGroup(rows, AboutText(IDS_ABOUT_COMMAND_LINE_KEYS));
  for (const auto& key : input.commandLineKeys) AddAboutRow(rows, L"/" + key.first, key.second);

  AddLogMessages(rows, input.logMessages);
  return rows;
}
