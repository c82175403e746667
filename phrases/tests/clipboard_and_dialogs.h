// Reading the clipboard and finding this process's dialogs in the tests.
#pragma once
#include <windows.h>

#include <vector>

#include "tests/support/test_support.h"

// The bytes of one clipboard format (GlobalSize of them); empty when absent.
inline std::vector<BYTE> ReadClipboardFormat(UINT format) {
  std::vector<BYTE> bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE h = GetClipboardData(format)) {
    if (const BYTE* p = static_cast<const BYTE*>(GlobalLock(h))) {
      bytes.assign(p, p + GlobalSize(h));
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return bytes;
}

// A visible dialog (a prompt or a message box) of this process, or null
// after the time-out.
inline HWND WaitForOwnDialog(DWORD timeoutMs = 5000) {
  HWND dialog = nullptr;
  qlrtest::WaitUntil(
      [&] {
        dialog = qlrtest::FindProcessWindow(GetCurrentProcessId(), L"#32770");
        return dialog && IsWindowVisible(dialog);
      },
      timeoutMs);
  return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}
