// Helpers the store's source files share.
#pragma once
#include <windows.h>

#include "editor/store/command.h"

// How long a change on disk waits for the writes still queued: a write
// that lands after its file was moved or deleted would bring it back.
constexpr DWORD kPendingWritesTimeoutMs = 30000;
void WaitForPendingWrites();

// Stable: folders first, then ascending SortID (unsigned); equal keys keep
// their order. recursive sorts every list below as well.
void SortCommands(CommandList& list, bool recursive);
