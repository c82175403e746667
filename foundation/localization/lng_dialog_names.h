// The name each program gives a dialog's section in the language files
// ("Dialog_About_100" for the tray program's about box). The programs'
// dialog localisers and the template writer both take it from here, so a
// translation typed into a template lands where the program reads it.
#pragma once
#include <windows.h>

#include <string>

// The listed name of the dialog in the program with this section suffix
// ("_Client", "_Editor", "_Welcome"); a dialog no program localises goes
// under the suffix itself.
std::wstring GetLngDialogName(const std::wstring& programSuffix, WORD dialogId);
