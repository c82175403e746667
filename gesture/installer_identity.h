// Identifies the process that installed the hook well enough to tell, from
// another process, whether it still runs: its id and its creation time (ids
// are reused once a process has ended).
#pragma once
#include "gesture/shared_state.h"

// Records the calling process as the installer.
void RecordInstaller(GestureSharedState* shared);
void ForgetInstaller(GestureSharedState* shared);
// True while the recorded installer still runs. A record of no process, or of
// the calling process (which asks only when it holds no installation of its
// own), names no running installer. A process this one may not look at is
// taken to be running.
bool IsInstallerRunning(const GestureSharedState& shared);
