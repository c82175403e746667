// The texts about start-up problems (services that could not start, the
// no-install start), kept for the about dialog and the tray tooltip.
#pragma once
#include <string>
#include <vector>

std::vector<std::wstring>& GetProblemList();
