// A look at a program file before it is loaded as a data file: the loader
// maps a cut file whose headers survived, and reading its resources then
// runs past the end of the mapping.
#pragma once
#include <string>

// True when the file is a PE image (either architecture) whose headers and
// every section's data lie inside the file.
bool IsCompleteProgramFile(const std::wstring& path);
