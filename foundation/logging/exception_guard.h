// Catches structured exceptions (access violations, divisions by zero...)
// around a body of code without compiler support for __try: a vectored
// exception handler jumps back to the innermost guard of the faulting
// thread. The body must not own objects with destructors (they are skipped
// when the jump happens) and must not rely on C++ exceptions crossing it.
#pragma once
#include <windows.h>

#include <string>

typedef void (*GuardedBody)(void* context);

// Runs body(context). True when it ran to its end; false when a structured
// exception stopped it (its code in *exceptionCode when given).
bool RunGuarded(GuardedBody body, void* context, DWORD* exceptionCode);

// The name of a well-known exception code ("EXCEPTION_ACCESS_VIOLATION"),
// "Not found" for any other.
const wchar_t* GetExceptionCodeName(DWORD code);

// "<message> GetExceptionCode=<code> status=[<name>]", logged as an error
// and shown in a message box captioned "Quillora". The box is skipped while
// SetGuardReportBoxes(false) is in force (unattended tests).
void ReportGuardedException(const wchar_t* message, DWORD code);
std::wstring FormatGuardedException(const wchar_t* message, DWORD code);
void SetGuardReportBoxes(bool show);

// Runs a callable under the guard and reports an exception with message.
template <typename F>
bool RunGuardedReported(const wchar_t* message, F& body) {
  DWORD code = 0;
  bool ok = RunGuarded([](void* c) { (*static_cast<F*>(c))(); }, &body, &code);
  if (!ok) ReportGuardedException(message, code);
  return ok;
}

// Logs text as an error and shows it in a message box captioned "Quillora"
// (unless boxes are off).
void ShowErrorBox(const wchar_t* text);
