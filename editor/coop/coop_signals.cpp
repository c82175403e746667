#include "editor/coop/coop_signals.h"

#include "editor/editor_names.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"

namespace en = editor_names;

namespace {

struct FindContext {
  UINT message;
  UINT timeoutMs;
  HWND found;
};

BOOL CALLBACK AskWindow(HWND window, LPARAM param) {
  FindContext* context = reinterpret_cast<FindContext*>(param);
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutW(window, context->message, 0, 0, SMTO_ABORTIFHUNG, context->timeoutMs, &answer) &&
      answer != 0) {
    context->found = window;
    return FALSE;
  }
  return TRUE;
}

bool SetNamedEvent(const wchar_t* name, bool resetAfter) {
  UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, name));
  if (!event) return false;
  BOOL set = SetEvent(event.Get());
  if (resetAfter) ResetEvent(event.Get());
  return set != FALSE;
}

}  // namespace

HWND FindRunningEditorWindow(UINT message, UINT timeoutMs) {
  FindContext context = {message, timeoutMs, nullptr};
  EnumWindows(AskWindow, reinterpret_cast<LPARAM>(&context));
  return context.found;
}

bool FindRunningEditor(UINT message, bool activate) {
  HWND window = FindRunningEditorWindow(message, en::kFindEditorTimeoutMs);
  if (!window) return false;
  if (!activate) return true;
  DWORD ownThread = GetCurrentThreadId();
  DWORD otherThread = GetWindowThreadProcessId(window, nullptr);
  bool attached = ownThread == otherThread || AttachThreadInput(ownThread, otherThread, TRUE);
  if (!attached) return false;
  SetForegroundWindow(window);
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  if (ownThread != otherThread) AttachThreadInput(ownThread, otherThread, FALSE);
  return true;
}

bool SignalCoopClient() { return SetNamedEvent(en::kCoopClientEditorEvent, false); }

std::wstring GetEditorEndedEventName() {
  return std::wstring(en::kAgentCoopEventBase) + en::kAgentCoopEndedSuffix;
}

bool SignalEditorEnded() { return SetNamedEvent(GetEditorEndedEventName().c_str(), true); }

bool RequestUpdateCheck(HWND owner) {
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
  bool set = SetNamedEvent(en::kCommandCheckForUpdatesEvent, false);
  SetCursor(previous);
  // The cursor is drawn anew only when the mouse moves.
  POINT point = {};
  if (GetCursorPos(&point)) {
    SetCursorPos(point.x, point.y + 1);
    SetCursorPos(point.x, point.y);
  }
  if (!set) {
    LogError(L"RequestUpdateCheck: OpenEvent failed " + std::to_wstring(GetLastError()));
    MessageBoxW(owner, L"FAIL", en::kBoxCaption, MB_ICONWARNING);
  }
  return set;
}

bool PulseAddPhraseFromCB() { return SetNamedEvent(en::kAddPhraseFromCBEvent, false); }
