#include "foundation/system/command_runners.h"

#include <atomic>

#include "foundation/localization/localized_strings.h"
#include "foundation/logging/system_error.h"
#include "foundation/system/shell_helpers.h"
#include "foundation/system/shell_open.h"

namespace {

constexpr wchar_t kProductName[] = L"Quillora";

std::atomic<void (*)()> g_launchSound{nullptr};

}  // namespace

void SetCommandLaunchSound(void (*play)()) { g_launchSound = play; }

bool RunCommand(const std::wstring& command, bool reportErrors, HWND owner) {
  std::wstring errorText;
  SetLastError(0);
  if (ShellExecuteWithError(owner, L"open", command.c_str(), nullptr, nullptr, SW_SHOW, &errorText))
    return true;
  if (reportErrors && GetLastError() != 0) {
    const std::wstring text = errorText + L"\nCommand: [" + command + L"]" + L"\nCommand Lenght: " +
                              std::to_wstring(command.size());
    MessageBoxW(owner, text.c_str(), kProductName, MB_ICONEXCLAMATION);
  }
  return false;
}

bool RunCommandWithErrorBox(HWND owner, const CQLRRunCommand& run) {
  const DWORD callerError = GetLastError();
  SetLastError(0);
  const INT_PTR rc = ShellOpen(owner, L"open", run.command.c_str(), nullptr, nullptr, SW_SHOW);
  const bool ok = rc > 32;
  // The shell's own code stands in when it set no last error.
  const DWORD error = GetLastError() ? GetLastError() : (ok ? 0 : static_cast<DWORD>(rc));
  if (ok) {
    if (void (*play)() = g_launchSound.load()) play();
  }

  const bool showBox = run.mode == 2 || (run.mode == 1 && !ok);
  if (run.mode == 2 && owner) {
    FLASHWINFO fw = {};
    fw.cbSize = sizeof(fw);
    fw.hwnd = owner;
    fw.dwFlags = FLASHW_ALL;
    fw.uCount = 4;
    FlashWindowEx(&fw);
  }
  if (showBox) {
    const std::wstring message = GetFormatMessageText(error) + L"\n\nCommand: " + run.command +
                                 L"\n\nSource Command: " + run.command;
    if (!ok) MessageBeep(static_cast<UINT>(-1));
    MessageBoxW(owner, message.c_str(), kProductName, ok ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
  }
  SetLastError(callerError);
  return ok;
}

bool IsClipboardFormatListenerAvailable() {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  bool loaded = false;
  if (!user32) {
    user32 = LoadLibraryW(L"user32.dll");
    loaded = user32 != nullptr;
  }
  const bool found = user32 && GetProcAddress(user32, "AddClipboardFormatListener") != nullptr;
  if (loaded) FreeLibrary(user32);
  return found;
}

std::wstring GetFormatMessageText(DWORD code) {
  std::wstring text = GetSystemErrorText(code);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
  return text;
}

std::wstring GetLngStringPart(UINT id, bool first) {
  CLngString text;
  text.LoadString(id);
  const std::wstring& whole = text.Text();
  const size_t lf = whole.find(L'\n');
  if (lf == std::wstring::npos) return whole;
  return first ? whole.substr(0, lf) : whole.substr(lf + 1);
}

std::wstring GetLngStringSecondPart(UINT id) { return GetLngStringPart(id, false); }
