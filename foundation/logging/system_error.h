// The system's text for an error code.
#pragma once
#include <windows.h>

#include <string>

std::wstring GetSystemErrorText(DWORD code);
