#include "editor/coop/command_run.h"

#include <memory>

#include "editor/editor_names.h"
#include "editor/services/clipboard_text.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/logging/log.h"
#include "foundation/system/command_runners.h"
#include "foundation/system/shell_open.h"
#include "phrases/macros/macro_expand.h"

namespace {

constexpr UINT kIdsSelectedText = 135;

struct CommandRunRecord {
  HWND owner = nullptr;
  std::wstring command;
  int mode = 2;
  std::wstring selectedText;
  std::wstring sourceCommand;
  std::wstring clipboardText;  // read on the caller's thread, which owns the windows
};

DWORD WINAPI CommandWorker(void* param) {
  std::unique_ptr<CommandRunRecord> run(static_cast<CommandRunRecord*>(param));
  const DWORD callerError = GetLastError();
  std::wstring expanded;
  ExpandCommand(run->owner, run->command, run->selectedText, run->clipboardText, &expanded);

  SetLastError(0);
  INT_PTR rc = ShellOpen(run->owner, L"open", expanded.c_str(), nullptr, nullptr, SW_SHOW);
  const bool ok = rc > 32;
  DWORD error = GetLastError();
  if (!error && !ok) error = static_cast<DWORD>(rc);
  std::wstring kept;
  if (run->mode == 2) {
    kept = GetFormatMessageText(error);
    if (run->owner) {
      FLASHWINFO flash = {sizeof(flash), run->owner, FLASHW_ALL, 4, 0};
      FlashWindowEx(&flash);
    }
  } else if (run->mode == 1 && !ok) {
    kept = GetFormatMessageText(error);
    if (kept.empty()) kept = L"Error " + std::to_wstring(error);
  }
  if (!ok) LogError(L"RunCommandAsync: start of [" + expanded + L"] failed " + std::to_wstring(error));
  if (run->mode == 2 || !kept.empty()) {
    if (!ok) MessageBeep(MB_ICONWARNING);
    std::wstring text = FormatCommandRunText(kept, expanded, run->sourceCommand);
    MessageBoxW(run->owner, text.c_str(), editor_names::kBoxCaption, ok ? MB_ICONINFORMATION : MB_ICONWARNING);
  }
  SetLastError(callerError);
  return 0;
}

}  // namespace

std::wstring FormatCommandRunText(const std::wstring& systemText, const std::wstring& expanded,
                                  const std::wstring& source) {
  return systemText + L"\n\nCommand: " + expanded + L"\n\nSource Command: " + source;
}

void ExpandCommand(HWND owner, const std::wstring& command, const std::wstring& selectedText,
                   const std::wstring& clipboardText, std::wstring* out) {
  if (!out) return;
  *out = ExpandTextForWindow(owner, command, selectedText, clipboardText);
}

bool RunCommandAsync(HWND owner, const std::wstring& command, int mode) {
  auto run = std::make_unique<CommandRunRecord>();
  run->owner = owner;
  run->command = command;
  run->mode = mode;
  CLngString selected;
  selected.LoadString(kIdsSelectedText);
  run->selectedText = L"[" + selected.Text() + L"]";
  run->sourceCommand = command;
  GetClipboardText(run->clipboardText, owner);
  HANDLE thread = CreateThread(nullptr, 0, CommandWorker, run.get(), 0, nullptr);
  if (!thread) {
    LogError(L"RunCommandAsync: CreateThread failed " + std::to_wstring(GetLastError()));
    return false;
  }
  run.release();
  CloseHandle(thread);
  return true;
}
