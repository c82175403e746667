#include "phrases/insertion/insertion_actions.h"

#include "foundation/logging/log.h"
#include "foundation/system/command_runners.h"
#include "foundation/ui/rich_edit_convert.h"
#include "phrases/insertion/keystrokes.h"
#include "phrases/insertion/prompt_dialog.h"

namespace {

DWORD WINAPI PasteWorker(void* param) {
  // Give the target time to settle after the menu closed.
  Sleep(400);
  PasteAndMoveCaretLeft(static_cast<int>(reinterpret_cast<INT_PTR>(param)));
  return 0;
}

// Pastes on a worker thread and waits for it, so nothing else runs on the
// calling window's thread in between.
bool RunPasteWorker(int caretSteps) {
  HANDLE worker = CreateThread(nullptr, 0, PasteWorker,
                               reinterpret_cast<void*>(static_cast<INT_PTR>(caretSteps)),
                               CREATE_SUSPENDED, nullptr);
  if (!worker) {
    LogError(L"Cannot start the paste worker, code " + std::to_wstring(GetLastError()));
    return false;
  }
  ResumeThread(worker);
  WaitForSingleObject(worker, INFINITE);
  CloseHandle(worker);
  return true;
}

}  // namespace

bool ShouldTypeText(const std::wstring& text, const CQLRPasteMethod& method) {
  if (method.textPasteMethod == 0) return true;
  if (method.textPasteMethod == 2) return text.size() < method.printLTChars;
  return false;
}

UINT GetRtfClipboardFormat() {
  static const UINT id = RegisterClipboardFormatW(L"Rich Text Format");
  return id;
}

ClipboardFormatTable BuildRtfFormatTable(const std::wstring& rtf, const std::wstring& plainText,
                                         LCID locale) {
  ClipboardFormatTable table;
  // The RTF is held one byte per character.
  std::vector<BYTE>& bytes = table[GetRtfClipboardFormat()];
  bytes.reserve(rtf.size() + 1);
  for (wchar_t ch : rtf) bytes.push_back(ch <= 0xFF ? static_cast<BYTE>(ch) : '?');
  bytes.push_back(0);
  if (!plainText.empty()) {
    const BYTE* p = reinterpret_cast<const BYTE*>(plainText.c_str());
    table[CF_UNICODETEXT].assign(p, p + (plainText.size() + 1) * sizeof(wchar_t));
  }
  if (locale != 0) {
    const BYTE* p = reinterpret_cast<const BYTE*>(&locale);
    table[CF_LOCALE].assign(p, p + sizeof(locale));
  }
  return table;
}

bool FocusWindowOfOtherThread(HWND window) {
  const DWORD thread = window ? GetWindowThreadProcessId(window, nullptr) : 0;
  if (!thread) return false;
  const DWORD own = GetCurrentThreadId();
  if (!AttachThreadInput(own, thread, TRUE)) return false;
  SetFocus(window);
  AttachThreadInput(own, thread, FALSE);
  return true;
}

int CQLRAction_Exec::Execute(HWND target) {
  return RunCommandWithErrorBox(target, CQLRRunCommand{1, m_text}) ? 1 : 0;
}

bool CQLRAction_TextCommon::MutiCopy_Impl(bool textOnly, const std::wstring& text, int caretSteps,
                                          LCID locale, bool paste) {
  Log(text);
  if (textOnly) {
    if (!PutTextOnClipboard(text)) {
      Log(L"CQLRAction_TextCommon::MutiCopy_Impl::Cannot set to clipboard");
      return false;
    }
  } else if (!PutFormatsOnClipboard(BuildRtfFormatTable(text, RtfToPlainText(text), locale))) {
    Log(L"Cannot set data to clipboard as MULTI formats");
    return false;
  }
  if (!paste) return true;
  return RunPasteWorker(caretSteps);
}

int CQLRAction_Text::InsertText(HWND target, const std::wstring& text, int caretSteps) {
  if (ShouldTypeText(text, m_method)) {
    Log(L"DoPrint: " + text);
    return TypeText(text, target, 0, caretSteps, 0) ? 1 : 0;
  }
  return MutiCopy_Impl(true, text, caretSteps, m_locale, true) ? 1 : 0;
}

int CQLRAction_Text::Execute(HWND target) { return InsertText(target, m_text, m_caretSteps); }

int CQLRAction_Rtf::Execute(HWND /*target*/) {
  return MutiCopy_Impl(false, m_text, m_caretSteps, m_locale, true) ? 1 : 0;
}

int CQLRAction_Prompt::Execute(HWND target) {
  // Text typed by the action before must reach the target before the dialog
  // takes the focus.
  LetTargetReadSentKeys(target);
  CPromptDialog dialog(m_text, target, m_flag);
  const INT_PTR answer = dialog.DoModal();
  // The closed dialog hands the activation to whatever window the system
  // picks next (a tray or desktop window, say); the answer is typed into the
  // foreground, so the target's own window must be in front again, not only
  // hold the focus of its thread.
  HWND root = target ? GetAncestor(target, GA_ROOT) : nullptr;
  if (root && GetForegroundWindow() != root) SetForegroundWindow(root);
  FocusWindowOfOtherThread(target);
  const std::wstring text = answer == IDOK ? dialog.GetResultText() : std::wstring();
  if (text.empty()) return 1;
  return InsertText(target, text, 0);
}

std::wstring CQLRActionList::JoinTexts() const {
  std::wstring all;
  for (const auto& action : m_actions) all += action->GetText();
  return all;
}

bool PasteTextViaClipboard(bool textOnly, const std::wstring& text, int caretSteps) {
  return CQLRAction_TextCommon::MutiCopy_Impl(textOnly, text, caretSteps, 0, true);
}
