// Copies the welcome program's built-in page out of its program file, so a
// translator has the page beside the template language file.
#pragma once
#include <windows.h>

#include <string>

// "welcome.html" in the folder (given with or without a trailing
// backslash), else "Welcome_<n>.html" with the first n from 2 upward that
// names nothing yet; empty when every name is taken.
std::wstring MakeWelcomePagePath(const std::wstring& folder);

// Writes the page resource of welcomeModule (loaded as a data file) into
// the folder of lngPath, byte for byte. The page's path, or empty when the
// resource is missing or the file cannot be created or written in full (a
// partly written file is deleted).
std::wstring ExtractWelcomePage(HMODULE welcomeModule, const std::wstring& lngPath);
