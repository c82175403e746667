// Kernel objects, registered messages, timers and files through which the
// editor keeps to one instance and cooperates with the tray program. Names
// the tray program owns are taken from its own tables.
#pragma once
#include <windows.h>

#include "editor_settings/editor_settings_names.h"
#include "settings/settings_names.h"

namespace editor_names {

// Created by the first editor (manual reset, never set); a later start that
// can open it hands over and ends. It is also the watchers' stop event.
constexpr const wchar_t kInstanceEvent[] = L"A342649A-EB3E-425a-BB03-0F47CA7A0A9F";
// Created by the first editor's watcher (auto reset); pulsed by a second
// start with "addfromcb".
constexpr const wchar_t kAddPhraseFromCBEvent[] = L"Local\\Quillora_AddPhraseFromCB";
// Created and pulsed by the tray program when its options changed.
constexpr const wchar_t* const kOptionsChangedEvent = editor_settings_names::kOptionsChangedEvent;
// Set after a burst of phrase changes and when the main window closes; its
// creator lies outside the suite.
constexpr const wchar_t kCoopClientEditorEvent[] = L"Local\\Quillora_CoopClientEditor";
// Created and waited by the tray program: the editor ended; the name is the
// tray program's base name plus its suffix.
constexpr const wchar_t* const kAgentCoopEventBase = settings_names::kAgentCoopEventBase;
constexpr const wchar_t* const kAgentCoopEndedSuffix = settings_names::kAgentCoopEndedSuffix;
// Created and waited by the tray program: check for updates now.
constexpr const wchar_t kCommandCheckForUpdatesEvent[] = L"Local\\Quillora_CommandCheckForUpdates";

// Registered messages of the main frame.
constexpr const wchar_t kRunningEditorMessage[] = L"QLR_1A80D5B9-1905-4d8c-BDFB-F37358C6F3F2";
constexpr const wchar_t kOptionsChangedMessage[] = L"{D383DD91-44A7-40cb-9EDB-185DCAAD6F50}";
constexpr const wchar_t kAddFromClipboardMessage[] = L"{064CEBAB-27E2-48dd-B075-A67B247EA057}";
constexpr const wchar_t kAddFromSelTextMessage[] = L"{4C3D8821-E732-401d-9FE0-AF310D1030FA}";

// Command-line switches (matched without case) and the start flags they give.
constexpr const wchar_t kSwitchAddFromCB[] = L"addfromcb";
constexpr const wchar_t kSwitchFirstRun[] = L"firstrun";
constexpr const wchar_t kSwitchAddSelText[] = L"addseltext";
constexpr const wchar_t kSwitchHideSettings[] = L"hidesettings";
constexpr DWORD kStartAddFromCB = 1;
constexpr DWORD kStartFirstRun = 2;
constexpr DWORD kStartAddSelText = 4;

// The debounce timer of phrase changes and its step; a change counts as
// announced-worthy once it is older than kChangeQuietMs.
constexpr UINT_PTR kChangeTimerId = 1202;
constexpr UINT kChangeTimerMs = 1000;
// An options change heard while a command ran is taken when it has ended.
constexpr UINT_PTR kOptionsRetryTimerId = 1203;
constexpr UINT kOptionsRetryTimerMs = 100;
constexpr DWORD kChangeQuietMs = 2000;

// The finder gives each top-level window this long to answer.
constexpr UINT kFindEditorTimeoutMs = 3000;
// The end waits this long for phrase files still being written.
constexpr DWORD kPhraseWritesWaitMs = 10000;

// Files and texts.
constexpr const wchar_t kEditorExeName[] = L"QuilloraEditor.exe";
constexpr const wchar_t kMainExeName[] = L"Quillora.exe";
constexpr const wchar_t kWelcomeExeName[] = L"Quillora_Welcome.exe";
constexpr const wchar_t kLanguageSuffix[] = L"_Editor";
constexpr const wchar_t kDefaultLanguageFile[] = L"LocalizeExample.lng";
constexpr const wchar_t kInfoFileName[] = L"Quillora_Info.txt";
constexpr const wchar_t kBoxCaption[] = L"Quillora : PhraseEditor";
constexpr const wchar_t kRegistryKey[] = L"Quillora";
// What the last load found in each phrase file, beside the settings file.
constexpr const wchar_t kPhraseLoadRecordFile[] = L"QuilloraEditor_Phrases.cache";

}  // namespace editor_names
