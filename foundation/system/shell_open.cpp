#include "foundation/system/shell_open.h"

#include <shellapi.h>

#include <atomic>

#include "foundation/files/paths.h"
#include "foundation/system/handles.h"
#include "foundation/system/test_switches.h"
#include "foundation/text/convert.h"

namespace {

std::atomic<ShellOpenHook> g_hook{nullptr};

std::wstring OneField(const wchar_t* text) {
  std::wstring field = text ? text : L"";
  for (wchar_t& ch : field)
    if (ch == L'\t' || ch == L'\r' || ch == L'\n') ch = L' ';
  return field;
}

// Appends one UTF-8 line. FILE_APPEND_DATA makes each write land at the end
// even when several threads or processes record at once.
bool AppendRequestLine(const std::wstring& line) {
  std::wstring path = GetAppFolderWithSlash() + kShellOpenTestLog;
  UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::string bytes = WideToUtf8(line + L"\r\n");
  DWORD written = 0;
  return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace

std::wstring FormatShellOpenRequest(const wchar_t* verb, const wchar_t* file,
                                    const wchar_t* parameters) {
  return OneField(verb) + L"\t" + OneField(file) + L"\t" + OneField(parameters);
}

INT_PTR ShellOpen(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                  const wchar_t* folder, int show) {
  if (ShellOpenHook hook = g_hook.load()) return hook(owner, verb, file, parameters, folder, show);
  if (IsTestSwitchOn(kShellOpenTestSwitch)) {
    if (AppendRequestLine(FormatShellOpenRequest(verb, file, parameters)))
      return kShellOpenRecordedResult;
    return SE_ERR_ACCESSDENIED;
  }
  if (verb && _wcsicmp(verb, L"properties") == 0) {
    // The properties dialog is reached through the item's context menu only.
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = owner;
    info.lpVerb = verb;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = folder;
    info.nShow = show;
    if (!::ShellExecuteExW(&info)) return SE_ERR_NOASSOC;
    return reinterpret_cast<INT_PTR>(info.hInstApp) > 32 ? reinterpret_cast<INT_PTR>(info.hInstApp)
                                                          : 33;
  }
  return reinterpret_cast<INT_PTR>(::ShellExecuteW(owner, verb, file, parameters, folder, show));
}

INT_PTR SelectInExplorer(HWND owner, const std::wstring& path) {
  const std::wstring parameters = L"/select, \"" + path + L"\"";
  return ShellOpen(owner, L"open", L"explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void SetShellOpenHookForTests(ShellOpenHook hook) { g_hook = hook; }
