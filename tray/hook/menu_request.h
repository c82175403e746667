// What the tray window hands the phrase menu: the request made from a
// query record, the menu options made from the settings, and the command
// block of WM_COPYDATA.
#pragma once
#include <windows.h>

#include "foundation/system/shared_records.h"
#include "phrases/menu/menu_handler.h"

class CQLRSettings;

// The menu request for a query, whether the library or the tray filled it.
CMenuRequest MenuRequestFromQuery(const CQueryRecord& query);

// The menu's options.
CPhraseMenuOptions MenuOptionsFromSettings(const CQLRSettings& settings);

// The size of a WM_COPYDATA command block: the command id in bytes 0-3 and
// the target window, as 32 bits, in bytes 134-137.
constexpr DWORD kCopyDataCommandBytes = 138;

// False for a missing or too short block.
bool ParseCopyDataCommand(const COPYDATASTRUCT* data, int* commandId, HWND* target);
