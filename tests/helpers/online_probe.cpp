// Runs a piece of the online module from wherever this program was copied:
//   online_probe welcome <0|1>   starts the welcome program beside it
// Ends with 0 on success, 1 on failure, 3 on bad arguments.
#include <windows.h>

#include <cwchar>

#include "online/update_events.h"

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && wcscmp(argv[1], L"welcome") == 0)
    return RunWelcomeProgram(nullptr, wcscmp(argv[2], L"1") == 0) ? 0 : 1;
  return 3;
}
