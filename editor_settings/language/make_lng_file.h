// The template language file: every translatable text of the editor, the
// tray program and the welcome program in their built-in English, under a
// header that asks the translator for the language's prefix, name and
// author, and the welcome page extracted beside it.
#pragma once
#include <windows.h>

#include <string>

// Results of MakeLngFile.
constexpr int kMakeLngCancelled = 0;
constexpr int kMakeLngDone = 1;
constexpr int kMakeLngFailed = 2;

// Where the texts come from. The defaults serve the running editor.
struct LngTemplateSources {
  HMODULE editorModule = nullptr;  // null: the running program
  std::wstring programFolder;      // of the other two programs; empty: the running program's
};

// Asks first when the file exists (Yes adds the missing entries, No sends
// the old file to the recycle bin and starts anew, Cancel gives 0 and
// writes nothing), then writes the header and the three programs' texts
// and extracts the welcome page (pagePath; empty when none was written).
// 1 when the language file exists afterwards, 2 when it does not. A missing
// program file is reported with its path in a message box.
int MakeLngFile(const std::wstring& lngPath, HWND parent, std::wstring& pagePath);
int MakeLngFile(const std::wstring& lngPath, HWND parent, std::wstring& pagePath,
                const LngTemplateSources& sources);

// The header of section "Main": "TIP" always, "LangPrefix", "Author" and
// "LangLocalized" only where the section lacks them (in any letter case).
// False when the file could not be written.
bool WriteLngTemplateHeader(const std::wstring& lngPath);

// Opens the file in Notepad (verb "open", the file's folder as working
// folder, SW_SHOW); true when the shell reports success.
bool OpenInNotepad(const std::wstring& path, HWND parent);

// In-process seam for the move of an old file to the recycle bin (null:
// the shell's). True when the move succeeded.
using LngRecycler = bool (*)(HWND owner, const std::wstring& path);
void SetLngRecyclerForTests(LngRecycler recycler);
