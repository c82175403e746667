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

// Sets and at once resets the check-for-updates event of a running tray
// program; false when no such event exists.
bool SignalCheckForUpdates();

// The first instance's event, kept for the life of the process.
void SetFirstInstanceEvent(HANDLE event);
HANDLE GetFirstInstanceEvent();
