// Switches through which tests point the update check at a local server and
// fix what the system says about the connection. Black-box runs use marker
// files in the program folder; tests inside a process set the values.
#pragma once
#include <string>

#include "foundation/system/test_switches.h"

// The base URL in force (ending with "/"); empty when none is set.
std::wstring GetUpdateSiteOverride();
void SetUpdateSiteForTests(const std::wstring& baseUrl);

// True with the state in force when one is set.
bool GetInternetStateOverride(int& state);
// -1 clears the value set in the process.
void SetInternetStateForTests(int state);

// True with the wait of the marker file (at most ten minutes) when one is set.
bool GetScheduledWaitOverride(unsigned long& waitMs);
