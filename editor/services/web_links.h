// The shell openers of the editor's help commands and links, the window
// title of the main frame and the display name of a phrase data type.
#pragma once
#include <windows.h>

#include <string>

// ShellExecute "open" of target, maximised; the shell's result (> 32 is
// success).
INT_PTR ShellOpen(HWND owner, const std::wstring& target);
// "mailto:" + the authors' address + "?subject=" + the product name with
// its blanks as "_".
std::wstring GetMailToAuthorsLink();
INT_PTR MailToAuthors(HWND owner);
// Opens the page (or, for 32782, the mail link) of a help or links command;
// false for a command without one or when the shell refuses.
bool OpenCommandLink(HWND owner, UINT commandId);

// 0, 1, 2: the localised names of plain text, formatted text and start
// application; anything else the phrase file's keyword.
std::wstring DataTypeDisplayName(int type);

// The parts of the main window's title.
struct WindowTitleParts {
  std::wstring appName;      // string 57344
  std::wstring editorName;   // string 202, "PhraseEditor"
  std::wstring version;      // the version text; empty without one
  bool admin = false;
  std::wstring noAdminNote;  // string 201
  std::wstring folder;       // the phrase folder
  std::wstring folderState;  // "NOT EXISTS", "WRITING DENIED" or empty
};
// "1.2.3.4" -> "1.2.34": the text without its last ".".
std::wstring RemoveLastDot(const std::wstring& version);
std::wstring FormatWindowTitle(const WindowTitleParts& parts);
// The folder's state for the title: "NOT EXISTS", "WRITING DENIED" or empty.
std::wstring GetFolderTitleState(const std::wstring& folder);
// Program, version, administrator state, phrase folder and its state.
std::wstring BuildWindowTitle();
