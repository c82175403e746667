// The last update check as the update tip shows it.
#pragma once
#include <windows.h>

// The last update check in local time, as the settings report it. Read
// again only when a settings file's bytes changed since the last read.
bool LastUpdateCheckLocal(SYSTEMTIME& local);
