// File, section and key names of Settings.ini, and the kernel-object names
// through which the programs of the suite cooperate. Every other file takes
// these names from here.
#pragma once

namespace settings_names {

// Files and folders.
constexpr const wchar_t kIniFileName[] = L"Settings.ini";
constexpr const wchar_t kProductFolder[] = L"Quillora";
constexpr const wchar_t kDefaultPhrasesFolder[] = L"UserPhrases";

// Sections.
constexpr const wchar_t kSettings[] = L"Settings";
constexpr const wchar_t kSaveRecord[] = L"A_SETTINGS";
constexpr const wchar_t kAgent[] = L"Settings_Agent";

// Save record.
constexpr const wchar_t kWritedTo[] = L"WRITED_TO";
constexpr const wchar_t kWritedWho[] = L"WRITED_WHO";
constexpr const wchar_t kWritedWhen[] = L"WRITED_WHEN";
constexpr const wchar_t kVersionKey[] = L"QLRVersion";
constexpr const wchar_t kVersionValue[] = L"QLR_150";

// Keys of section "Settings".
constexpr const wchar_t kDaysCheckForUpdates[] = L"DaysCheckForUpdates";
constexpr const wchar_t kClipboardSpyMethod[] = L"ClipboardSpyMethod_v2_22";
constexpr const wchar_t kPhrasesDirectory[] = L"PhrasesDirectory";
constexpr const wchar_t kWriteLog[] = L"WriteLog";
constexpr const wchar_t kInsertEncodeCommandIntoMenu[] = L"InsertEncodeCommandIntoMenu";
constexpr const wchar_t kLanguage[] = L"Language";
constexpr const wchar_t kAddLastUsedMenuToBeginCount[] = L"AddLastUsedMenuToBegin_Count";
constexpr const wchar_t kExtMenuCommandPrefix[] = L"ExtMenuCommand_";
constexpr const wchar_t* const kExtMenuCommandSuffixes[3] = {L"_EditSetting", L"_SaveSelAsPhrase",
                                                             L"_SUPPORT"};
constexpr const wchar_t kShowHistoryPaneOnStart[] = L"ShowHistoryPaneOnStart";
constexpr const wchar_t kClipboardFormatsFormat[] = L"ClipboardFormats%d";
constexpr const wchar_t kHotkey[] = L"Hotkey";
constexpr const wchar_t kExtHotkey[] = L"ExtHotkey";
constexpr const wchar_t kHotkeyDoubled[] = L"Hotkey_Doubled";
constexpr const wchar_t kClipboardHistory[] = L"ClipboardHistory";
constexpr const wchar_t kClipboardHistoryMax[] = L"ClipboardHistoryMax";
constexpr const wchar_t kInsertCHIntoMenu[] = L"InsertCHIntoMenu";
constexpr const wchar_t kAutoCheckForUpdates[] = L"AutoCheckForUpdates";
constexpr const wchar_t kSoundOnEvents[] = L"SoundOnEventsV094";
constexpr const wchar_t kDelayAutoLoadSeconds[] = L"DelayAutoLoadSeconds_NextRelease";
constexpr const wchar_t kMenuToolTips[] = L"MenuToolTips_V0_94_A22";
constexpr const wchar_t kAddLastUsedMenuToBegin[] = L"AddLastUsedMenuToBegin";
constexpr const wchar_t kAppendCHAsSubMenu[] = L"AppendCHAsSubMenu_ForV140";
constexpr const wchar_t kSorting[] = L"Sorting";
constexpr const wchar_t kTextPasteMethod[] = L"TextPasteMethod_v150";
constexpr const wchar_t kPrintLTChars[] = L"PrintLTChars";
constexpr const wchar_t kShowTrayBallonOnHotkey[] = L"ShowTrayBallonOnHotkey";
constexpr const wchar_t kFontForMenu[] = L"FontForMenu";
constexpr const wchar_t kGestureType[] = L"GestureType";
constexpr const wchar_t kSaveClipboardHistory[] = L"SaveClipboardHistory_v198";
constexpr const wchar_t kMaxHistoryItemsInMenu[] = L"MaxHistoryItemsInMenu";
constexpr const wchar_t kWelcomeAlreadyStarted[] = L"Welcome_Already_Started_V2_60";

// Keys read and written on demand.
constexpr const wchar_t kDelayInsertMilliseconds[] = L"DelayInsertMilliseconds_v141";
constexpr const wchar_t kSkippedVersions[] = L"SkippedVersion_OnCheckUpdates";
constexpr const wchar_t kLastCheckForUpdates[] = L"LastCheckForUpdates_V2";
constexpr const wchar_t kLowSuffix[] = L"Low";
constexpr const wchar_t kHiSuffix[] = L"Hi";
constexpr const wchar_t kWindowPosX[] = L"_x";
constexpr const wchar_t kWindowPosY[] = L"_y";

// Installer mark in the registry (HKEY_CURRENT_USER).
constexpr const wchar_t kInstallerKey[] = L"Software\\Tessaly Software\\Quillora";
constexpr const wchar_t kInstallerValue[] = L"FromInstaller";

// Cooperation events and the registered message of the instance events.
constexpr const wchar_t kExitEvent[] = L"Local\\Quillora_Exit";
constexpr const wchar_t kAlreadyWorkEvent[] = L"Local\\Quillora_AlreadyWork";
constexpr const wchar_t kEditEvent[] = L"BD9F528F-8997-48c7-897C-F437765F93D2";
constexpr const wchar_t kShowMenuEvent[] = L"{84F81BCD-0FC6-4782-B39F-C638F539FA14}";
constexpr const wchar_t kAgentCoopEventBase[] = L"Local\\Quillora_Event_PhraseEditorAgentCoop";
constexpr const wchar_t kAgentCoopEndedSuffix[] = L"_Ended";
constexpr const wchar_t kStartCopyEvent[] = L"Local\\Quillora_StartCopy";
constexpr const wchar_t kEndCopyEvent[] = L"Local\\Quillora_EndCopy";
constexpr const wchar_t kInstanceMessage[] = L"QLR_7B11E8E0-A712-4caa-A06B-01BEA4F7DFC4";

// Settings area record.
constexpr const char kAreaRoot[] = "QuilloraSettings";
constexpr const char kAreaKey[] = "HotKey_Key";
constexpr const char kAreaMod[] = "HotKey_Mod";
constexpr const char kAreaDouble[] = "Double";
constexpr const char kAreaSelText[] = "SelText";

}  // namespace settings_names
