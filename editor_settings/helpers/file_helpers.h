// The editor's file and path helpers. Most of them are the foundation's
// (paths.h, files.h, text_basics.h, locale_names.h), whose rules the editor
// shares; the few of the editor's own are here.
#pragma once
#include <windows.h>

#include <string>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/localization/locale_names.h"
#include "foundation/text/text_basics.h"

// Opens the shell's properties dialog of the file.
bool ShowFileProperties(const std::wstring& path);
// Every "%NAME%" token replaced by its value; a token that names no
// variable, or whose value is longer than 999 characters, stays as it is.
std::wstring ExpandEnvVarsInPath(const std::wstring& text);
bool IsWindows2000OrLater();

// True when the folder, or any folder below it, holds a "*.quillora" file.
// Stops at the first one; folder links (reparse points) are not followed.
bool FolderHasPhraseFiles(const std::wstring& folder);
