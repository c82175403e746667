// The names under which the programs of the suite find each other: sibling
// program files and shared kernel objects. No other code spells them.
#pragma once
#include <windows.h>

#include <string>

std::wstring GetEditorExePath();   // program folder + "QuilloraEditor.exe"
std::wstring GetWelcomeExePath();  // program folder + "Quillora_Welcome.exe"
std::wstring GetGestureDllName();  // file name only
std::wstring GetSettingAreaName();
std::wstring GetLangUIChangedEventName();
std::wstring GetCheckForUpdatesEventName();
// The core hook library and the interchange through which it asks the tray
// program for the phrase menu.
std::wstring GetCoreDllName();  // file name only
std::wstring GetInterchangeAreaName();
std::wstring GetDataNeededEventName();
std::wstring GetDataCompletedEventName();
// The registered message the tray program posts to a target so that the
// library there writes its query (the string has no closing brace).
constexpr wchar_t kCoreNotifyMessageName[] = L"{FC970502-EECA-4c50-AF80-CF39EA345E99";

// Sets and at once resets the check-for-updates event of a running tray
// program; false when no such event exists.
bool SignalCheckForUpdates();

// The first instance's event, kept for the life of the process.
void SetFirstInstanceEvent(HANDLE event);
HANDLE GetFirstInstanceEvent();
