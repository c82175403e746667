// A helper thread that sends a message to a window until the answer is
// non-zero: every interval, at most a number of tries, ending early when
// the stop event is set.
#pragma once
#include <windows.h>

struct RetrySenderRecord {
  HWND window = nullptr;
  UINT message = 0;
  DWORD intervalMs = 2000;
  int tries = 200;
  HANDLE stopEvent = nullptr;
  // First send at once (true) or after the first interval (false).
  bool sendFirst = true;
  // Logged after each try with the answer and the try number ("%d", "%d").
  const wchar_t* tryLogFormat = nullptr;
};

// Thread exit codes.
constexpr DWORD kRetryAnswered = 0;
constexpr DWORD kRetryStopped = 1;
constexpr DWORD kRetryGaveUp = 2;

// False when the thread cannot be created.
bool StartRetrySender(const RetrySenderRecord& record);
