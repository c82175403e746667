// The editor's logging: it never opens the log itself but writes into the
// log the tray program has open, under the logger name "EXE_Editor".
#pragma once

// Turns this process's logging into the editor's; call once at start.
void UseTrayProgramLog();
