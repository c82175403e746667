// Short localised texts of the tray program: on/off words, the hotkey's
// display text, counts, and the phrase-folder macro.
#pragma once
#include <windows.h>

#include <string>

#include "history/actions/version_text.h"   // GetProgramVersionTextShort
#include "history/pane/pane_texts.h"  // FormatItemNumber

// The tray program's text of a string id in the current language.
std::wstring GetClientString(UINT id);

// Makes the language file the current language and the source of the tray
// program's strings and menu texts; an empty path stands for the built-in
// texts.
void ApplyClientLanguageFile(const std::wstring& path);

class CMenuLocalizerEx;
// The tray program's menu localiser (section "Menu_Client" of the current
// language file), built on first use with the language file of the
// settings; it lives for the process.
CMenuLocalizerEx& GetLangFile();

std::wstring GetTurnOnText();   // "Turn on"
std::wstring GetTurnOffText();  // "TURN OFF"
std::wstring GetOnText();       // "on"
std::wstring GetOffText();      // "OFF"

// Upper case in the language of the first keyboard layout (texts shorter
// than 1000 characters), else by CharUpperW.
std::wstring UpperCaseForKeyboard(const std::wstring& text);

// The Hotkey setting's display name in upper case, " [x2]" when the double
// press is on.
std::wstring GetHotkeyText();

std::wstring FormatCharsCount(int n);   // "Chars: n"

// The program's version texts: "Quillora 1.50 build 7" (the short one,
// "Quillora 1.50 b7", comes with the version text builder),
// and with the build (with "build", and a blank before its number when
// blankBeforeBuild) or without; "^" for an administrator.
std::wstring GetProgramVersionTextFull();
std::wstring GetProgramVersionText(bool withBuild, bool blankBeforeBuild);

std::wstring GetDefaultFolderMacro();        // "%DEFAULT_FOLDER%"
std::wstring GetPhrasesDirectoryOrMacro();   // the macro for the default folder
