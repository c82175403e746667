// Saving Settings.ini without putting its old content at risk: the profile
// functions rewrite the file in place with every key, so a write that fails
// half-way (a full disk, say) would leave it cut short.
#pragma once
#include <functional>
#include <string>

// Copies iniPath to a temporary file in the same folder, lets write fill
// the copy, and replaces iniPath with it when write succeeded. On failure the
// copy is removed and iniPath is untouched. Where no temporary file can be
// made beside it (a folder closed to writing holding a writable file), write
// works on iniPath itself, as the profile functions would.
bool ReplaceSettingsFile(const std::wstring& iniPath,
                         const std::function<bool(const std::wstring& target)>& write);
