#include "foundation/system/registry.h"

#include <cwchar>
#include <vector>

#include "foundation/files/files.h"
#include "foundation/files/paths.h"
#include "foundation/system/handles.h"
#include "foundation/text/text_basics.h"

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

HKEY RunRoot(bool currentUser) { return currentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

}  // namespace

bool RegReadString(HKEY root, const wchar_t* subKey, const wchar_t* valueName, size_t maxChars,
                   std::wstring& out) {
  out.clear();
  UniqueHKey key;
  if (RegOpenKeyExW(root, subKey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) return false;
  // The data need not end in a terminator (writers that stored only the
  // characters exist), so its length comes from the byte count alone.
  std::vector<wchar_t> buf(maxChars + 1, L'\0');
  DWORD type = 0;
  DWORD bytes = static_cast<DWORD>(maxChars * sizeof(wchar_t));
  if (RegQueryValueExW(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                       &bytes) != ERROR_SUCCESS)
    return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  size_t chars = bytes / sizeof(wchar_t);
  out.assign(buf.data(), wcsnlen(buf.data(), chars));
  return true;
}

bool SetRunValue(bool currentUser, bool set, const wchar_t* valueName, const wchar_t* data) {
  UniqueHKey key;
  if (set) {
    if (RegCreateKeyExW(RunRoot(currentUser), kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.Put(), nullptr) != ERROR_SUCCESS)
      return false;
    // With its terminator, so that every reader finds the end of the text.
    DWORD bytes = static_cast<DWORD>((wcslen(data ? data : L"") + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.Get(), valueName, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data ? data : L""), bytes) == ERROR_SUCCESS;
  }
  if (RegOpenKeyExW(RunRoot(currentUser), kRunKey, 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS)
    return false;
  return RegDeleteValueW(key.Get(), valueName) == ERROR_SUCCESS;
}

bool SetAutoStart(bool set, const wchar_t* valueName, const wchar_t* data) {
  return SetRunValue(true, set, valueName, data);
}

bool IsRunValueThisProgram(bool currentUser, const wchar_t* valueName,
                           const std::wstring& programPath) {
  std::wstring data;
  if (!RegReadString(RunRoot(currentUser), kRunKey, valueName, MAX_PATH, data)) return false;
  size_t slash = data.find(L'/');
  if (slash != std::wstring::npos) data.resize(slash);
  while (!data.empty() && data.back() == L' ') data.pop_back();
  return EqualNoCase(data, programPath);
}

bool IsAutoStartSet(const wchar_t* valueName) {
  std::wstring path = GetModulePath();
  if (path.empty()) return false;
  return IsRunValueThisProgram(true, valueName, path);
}

std::wstring GetHttpHandlerPath() {
  std::wstring command;
  if (!RegReadString(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", nullptr, 1000, command))
    return std::wstring();
  if (!command.empty() && command[0] == L'"') command.erase(0, 1);
  size_t quote = command.find(L'"');
  if (quote != std::wstring::npos) command.resize(quote);
  return command;
}

std::wstring GetAppForExtension(const std::wstring& ext) {
  std::wstring className;
  if (!RegReadString(HKEY_CLASSES_ROOT, EnsureLeadingDot(ext).c_str(), nullptr, MAX_PATH,
                     className) ||
      className.empty())
    return std::wstring();
  std::wstring command;
  if (!RegReadString(HKEY_CLASSES_ROOT, (className + L"\\shell\\open\\command").c_str(), nullptr,
                     MAX_PATH, command))
    return std::wstring();
  ReplaceText(command, L"\"", L"");
  // Arguments behind the program path fall away one character at a time.
  while (!command.empty() && !IsFileExist(command)) command.pop_back();
  return TrimChars(command, L" ");
}

std::wstring GetDefaultBrowserPath() {
  std::wstring path = GetHttpHandlerPath();
  if (!path.empty() && IsFileExist(path)) return path;
  return GetAppForExtension(L".htm");
}

std::wstring GetIEVersion() {
  std::wstring version;
  RegReadString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Internet Explorer", L"Version", MAX_PATH,
                version);
  return version;
}
