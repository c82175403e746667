#include "foundation/paths.h"

#include <windows.h>

std::wstring GetModulePath() {
  wchar_t buf[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::wstring();
  return std::wstring(buf, n);
}

std::wstring GetAppFolderEx(bool withSlash) {
  std::wstring path = GetModulePath();
  size_t cut = path.find_last_of(L"\\/");
  std::wstring folder = cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  if (withSlash) folder += L'\\';
  return folder;
}

std::wstring GetAppFolder() { return GetAppFolderEx(false); }
std::wstring GetAppFolderWithSlash() { return GetAppFolderEx(true); }
