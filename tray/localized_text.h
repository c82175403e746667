// A localised text of the tray program by string id.
#pragma once
#include <string>

// The text of the id in the program's language; empty when there is none.
std::wstring LocalizedText(unsigned id);
