#include "foundation/files/program_names.h"

#include "foundation/files/paths.h"
#include "foundation/system/handles.h"

namespace {
HANDLE g_firstInstanceEvent = nullptr;
}

std::wstring GetEditorExePath() { return GetAppFolderWithSlash() + L"QuilloraEditor.exe"; }
std::wstring GetWelcomeExePath() { return GetAppFolderWithSlash() + L"Quillora_Welcome.exe"; }
std::wstring GetGestureDllName() { return L"Gesture.dll"; }
std::wstring GetSettingAreaName() { return L"Local\\$QUILLORA_SETTING_AREA$"; }
std::wstring GetLangUIChangedEventName() { return L"Local\\Quillora_LangUI_Changed"; }
std::wstring GetCheckForUpdatesEventName() { return L"Local\\Quillora_CheckForUpdates"; }
std::wstring GetCoreDllName() { return L"Quillora.dll"; }
std::wstring GetInterchangeAreaName() { return L"Local\\$QUILLORA_INTERCHANGE_AREA$"; }
std::wstring GetDataNeededEventName() { return L"Local\\Quillora_DataNeeded"; }
std::wstring GetDataCompletedEventName() { return L"Local\\Quillora_DataCompleted"; }

bool SignalCheckForUpdates() {
  UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, GetCheckForUpdatesEventName().c_str()));
  if (!event) return false;
  BOOL set = SetEvent(event.Get());
  ResetEvent(event.Get());
  return set != FALSE;
}

void SetFirstInstanceEvent(HANDLE event) { g_firstInstanceEvent = event; }
HANDLE GetFirstInstanceEvent() { return g_firstInstanceEvent; }
