// The sibling programs of the editor, in its own program folder, and the
// start of the welcome program.
#pragma once
#include <windows.h>

#include <string>

#include "foundation/files/program_names.h"  // GetEditorExePath, GetWelcomeExePath

std::wstring GetMainExePath();  // program folder + "Quillora.exe"
std::wstring GetCoreDllPath();  // program folder + "Quillora.dll"
// Shell "open" of the welcome program, with "/auto" when asked.
bool StartWelcome(HWND owner, bool autoSwitch);
