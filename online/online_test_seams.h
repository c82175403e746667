// Switches through which tests point the update check at a local server and
// fix what the system says about the connection. Black-box runs use marker
// files in the program folder; tests inside a process set the values.
#pragma once
#include <string>

// A marker file holding a base URL such as "http://127.0.0.1:8080/": it
// replaces the scheme and host of the update service and of the feeds.
constexpr wchar_t kUpdateSiteSwitch[] = L"UpdateSite_Test.UpdateSite_Test";
// A marker file holding 0, 1 or 2: the answer of IsInternetConnected.
constexpr wchar_t kInternetStateSwitch[] = L"InternetState_Test.InternetState_Test";

// A marker file holding a number of milliseconds: the wait before a
// scheduled check, in place of the one the schedule computes.
constexpr wchar_t kUpdateWaitSwitch[] = L"UpdateWait_Test.UpdateWait_Test";

// The base URL in force (ending with "/"); empty when none is set.
std::wstring GetUpdateSiteOverride();
void SetUpdateSiteForTests(const std::wstring& baseUrl);

// True with the state in force when one is set.
bool GetInternetStateOverride(int& state);
// -1 clears the value set in the process.
void SetInternetStateForTests(int state);

// True with the wait of the marker file (at most ten minutes) when one is set.
bool GetScheduledWaitOverride(unsigned long& waitMs);
