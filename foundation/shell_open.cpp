#include "foundation/shell_open.h"

#include <shellapi.h>

#include <atomic>

#include "foundation/convert.h"
#include "foundation/handles.h"
#include "foundation/paths.h"
#include "foundation/test_switches.h"

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
  return reinterpret_cast<INT_PTR>(::ShellExecuteW(owner, verb, file, parameters, folder, show));
}

void SetShellOpenHookForTests(ShellOpenHook hook) { g_hook = hook; }
