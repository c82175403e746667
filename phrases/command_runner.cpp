#include "phrases/command_runner.h"

#include <shellapi.h>

#include "foundation/system_error.h"

namespace {

void (*g_launchSound)() = nullptr;

std::wstring ErrorText(DWORD code) {
  std::wstring text = GetSystemErrorText(code);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
  return text;
}

}  // namespace

void SetCommandLaunchSound(void (*play)()) { g_launchSound = play; }

bool RunCommandWithErrorBox(HWND owner, const CQLRRunCommand& run) {
  const DWORD callerError = GetLastError();
  SetLastError(0);
  const INT_PTR rc = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, L"open", run.command.c_str(), nullptr, nullptr, SW_SHOW));
  const bool ok = rc > 32;
  // The shell's own code stands in when it set no last error.
  const DWORD error = GetLastError() ? GetLastError() : (ok ? 0 : static_cast<DWORD>(rc));
  if (ok && g_launchSound) g_launchSound();

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
    const std::wstring message = ErrorText(error) + L"\n\nCommand: " + run.command +
                                 L"\n\nSource Command: " + run.command;
    if (!ok) MessageBeep(static_cast<UINT>(-1));
    MessageBoxW(owner, message.c_str(), L"Quillora", ok ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
  }
  SetLastError(callerError);
  return ok;
}
