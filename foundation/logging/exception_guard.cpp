#include "foundation/logging/exception_guard.h"

#include <cwchar>

#include "foundation/logging/log.h"

namespace {

// __builtin_setjmp/__builtin_longjmp restore only the stack and frame
// pointers and do not unwind, which is what a jump out of a vectored
// handler needs (the C library's longjmp would start an unwind on x64).
struct GuardFrame {
  void* jump[5];
  volatile DWORD code;
  GuardFrame* outer;
};

thread_local GuardFrame* t_innermost = nullptr;
volatile LONG g_handlerAdded = 0;
volatile LONG g_showBoxes = 1;

bool IsCatchable(DWORD code) {
  // Errors and the breakpoint/single-step warnings; C++ exceptions and
  // debugger notifications (thread names, debug strings) pass through.
  if ((code & 0xC0000000u) == 0xC0000000u) return true;
  return code == EXCEPTION_BREAKPOINT || code == EXCEPTION_SINGLE_STEP ||
         code == EXCEPTION_DATATYPE_MISALIGNMENT;
}

LONG CALLBACK GuardHandler(EXCEPTION_POINTERS* info) {
  GuardFrame* frame = t_innermost;
  if (!frame || !info || !info->ExceptionRecord) return EXCEPTION_CONTINUE_SEARCH;
  DWORD code = info->ExceptionRecord->ExceptionCode;
  if (!IsCatchable(code)) return EXCEPTION_CONTINUE_SEARCH;
  frame->code = code;
  t_innermost = frame->outer;
  __builtin_longjmp(frame->jump, 1);
}

void EnsureHandler() {
  if (InterlockedCompareExchange(&g_handlerAdded, 1, 0) == 0) AddVectoredExceptionHandler(1, GuardHandler);
}

// Kept out of line so that its frame holds the jump buffer while body runs.
__attribute__((noinline)) bool RunInFrame(GuardFrame* frame, GuardedBody body, void* context) {
  if (__builtin_setjmp(frame->jump) != 0) return false;
  t_innermost = frame;
  body(context);
  t_innermost = frame->outer;
  return true;
}

struct CodeName {
  DWORD code;
  const wchar_t* name;
};

const CodeName kCodeNames[] = {
    {EXCEPTION_ACCESS_VIOLATION, L"EXCEPTION_ACCESS_VIOLATION"},
    {EXCEPTION_BREAKPOINT, L"EXCEPTION_BREAKPOINT"},
    {EXCEPTION_DATATYPE_MISALIGNMENT, L"EXCEPTION_DATATYPE_MISALIGNMENT"},
    {EXCEPTION_SINGLE_STEP, L"EXCEPTION_SINGLE_STEP"},
    {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, L"EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
    {EXCEPTION_FLT_DENORMAL_OPERAND, L"EXCEPTION_FLT_DENORMAL_OPERAND"},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, L"EXCEPTION_FLT_DIVIDE_BY_ZERO"},
    {EXCEPTION_FLT_INEXACT_RESULT, L"EXCEPTION_FLT_INEXACT_RESULT"},
    {EXCEPTION_FLT_INVALID_OPERATION, L"EXCEPTION_FLT_INVALID_OPERATION"},
    {EXCEPTION_FLT_OVERFLOW, L"EXCEPTION_FLT_OVERFLOW"},
    {EXCEPTION_FLT_STACK_CHECK, L"EXCEPTION_FLT_STACK_CHECK"},
    {EXCEPTION_FLT_UNDERFLOW, L"EXCEPTION_FLT_UNDERFLOW"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, L"EXCEPTION_INT_DIVIDE_BY_ZERO"},
    {EXCEPTION_INT_OVERFLOW, L"EXCEPTION_INT_OVERFLOW"},
    {EXCEPTION_PRIV_INSTRUCTION, L"EXCEPTION_PRIV_INSTRUCTION"},
    {EXCEPTION_NONCONTINUABLE_EXCEPTION, L"EXCEPTION_NONCONTINUABLE_EXCEPTION"},
};

}  // namespace

bool RunGuarded(GuardedBody body, void* context, DWORD* exceptionCode) {
  EnsureHandler();
  GuardFrame frame;
  frame.code = 0;
  frame.outer = t_innermost;
  bool ok = RunInFrame(&frame, body, context);
  t_innermost = frame.outer;
  if (exceptionCode) *exceptionCode = ok ? 0 : frame.code;
  return ok;
}

const wchar_t* GetExceptionCodeName(DWORD code) {
  for (const CodeName& entry : kCodeNames)
    if (entry.code == code) return entry.name;
  return L"Not found";
}

std::wstring FormatGuardedException(const wchar_t* message, DWORD code) {
  wchar_t text[1024];
  swprintf(text, 1024, L"%ls GetExceptionCode=%u status=[%ls]", message, static_cast<unsigned>(code),
           GetExceptionCodeName(code));
  return text;
}

void SetGuardReportBoxes(bool show) { InterlockedExchange(&g_showBoxes, show ? 1 : 0); }

void ReportGuardedException(const wchar_t* message, DWORD code) {
  std::wstring text = FormatGuardedException(message, code);
  LogError(text);
  if (g_showBoxes) MessageBoxW(nullptr, text.c_str(), L"Quillora", MB_ICONERROR | MB_SETFOREGROUND);
}

void ShowErrorBox(const wchar_t* text) {
  LogError(text);
  if (g_showBoxes) MessageBoxW(nullptr, text, L"Quillora", MB_ICONERROR | MB_SETFOREGROUND);
}
