#include "htmldraw/link_open.h"

#include <vector>

#include "foundation/system/shell_open.h"

namespace {

// The default value of a key under HKEY_CLASSES_ROOT, read at its real size
// and terminated; empty when missing.
std::wstring ReadClassesDefault(const std::wstring& subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  std::wstring value;
  DWORD type = 0, bytes = 0;
  if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && bytes > 0 && bytes < 64 * 1024) {
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = bytes;
    if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
        ERROR_SUCCESS) {
      buffer[size / sizeof(wchar_t) < buffer.size() ? size / sizeof(wchar_t) : buffer.size() - 1] = L'\0';
      value = buffer.data();
    }
  }
  RegCloseKey(key);
  return value;
}

}  // namespace

std::wstring BrowserCommandLine(const std::wstring& openCommand, const std::wstring& target) {
  std::wstring command = openCommand;
  size_t quoted = command.find(L"\"%1");
  if (quoted != std::wstring::npos) {
    command.erase(quoted);
  } else {
    size_t plain = command.find(L"%1");
    if (plain != std::wstring::npos) command.erase(plain);
  }
  while (!command.empty() && command.back() == L' ') command.pop_back();
  std::wstring argument;
  for (wchar_t c : target) {
    if (c != L'"') argument += c;
  }
  return command + L" \"" + argument + L"\"";
}

bool OpenLinkTarget(const std::wstring& target) {
  if (target.empty()) return false;
  if (ShellOpen(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOW) > 32) return true;
  std::wstring docClass = ReadClassesDefault(L".htm");
  if (docClass.empty()) return false;
  std::wstring command = ReadClassesDefault(docClass + L"\\shell\\open\\command");
  if (command.empty()) return false;
  std::wstring line = BrowserCommandLine(command, target);
  int bytes = WideCharToMultiByte(CP_ACP, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  std::vector<char> ansi(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, line.c_str(), -1, ansi.data(), bytes, nullptr, nullptr);
  return WinExec(ansi.data(), SW_SHOW) > 31;
}
