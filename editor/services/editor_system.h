// Small system functions of the editor: the start-with-Windows value,
// localised-string splitting, keyboard layouts, error texts, hotkey texts,
// administrator rights, the hidden rich-text converter and the language
// sections of the three programs. Most build on the foundation:
// SetAutoStart (registry.h) writes the Run value, DayOfWeek and
// GetSizeAllCursor (system_helpers.h) and GetClientSuffix/GetWelcomeSuffix
// (language_files.h) are the foundation's own.
#pragma once
#include <windows.h>

#include <string>

#include "editor_settings/hotkey_record.h"
#include "foundation/localization/language_files.h"
#include "foundation/system/registry.h"
#include "foundation/system/system_helpers.h"

// True when the Run value of the current user, cut before its first switch
// and trailing blanks, names programPath (letter case ignored). A value
// that only begins the path, or that is empty, starts nothing: false.
bool IsAutoStartSet(const wchar_t* valueName, const std::wstring& programPath);

// The whole text of the id (the language file's, else the built-in one);
// empty without a text.
std::wstring GetLocalizedText(UINT id);
// The text of the id cut before its first line feed when that stands after
// position 0; the whole text when there is none; empty without a text.
std::wstring GetLocalizedFirstLine(UINT id);
// The part before (first) or after the first line feed; the whole text
// when there is none.
std::wstring GetLocalizedPart(UINT id, bool first);
// A folder that is gone as the user is told of it: the path and the
// localised "not found" in brackets.
std::wstring FolderNotFoundText(const std::wstring& folder);
// The same splits of a given text.
std::wstring FirstLineOf(const std::wstring& text);
std::wstring PartOf(const std::wstring& text, bool first);

// The language (low word) of the keyboard layout of the calling thread, or
// of the thread that owns the window.
WORD GetCurrentKeyboardLayout();
WORD GetWindowKeyboardLayout(HWND window);

// The system's message for an error code; empty when it has none.
std::wstring FormatSystemErrorText(DWORD code);
// The key names of the hotkey, " - x 2" behind them when pressed twice.
std::wstring HotkeyToDisplayText(const HotkeyRecord& hotkey);

// True when user32.dll has "AddClipboardFormatListener".
bool IsClipboardListenerSupported();
// The administrators test; false when it cannot be made.
bool IsRunAsAdmin();

// 8-bit RTF through the hidden converter control, read back as plain text;
// empty input (or no converter) gives the empty text.
std::wstring RtfBytesToText(const std::wstring& rtf);

// The editor's language-file section suffix, "_Editor".
std::wstring GetModuleSuffix();
