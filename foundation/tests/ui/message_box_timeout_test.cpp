#include "foundation/ui/message_box_timeout.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBoxTimeoutTest, BoxClosesItselfAfterTheTime) {
  ULONGLONG start = ::GetTickCount64();
  int result = MessageBoxTimeout(nullptr, L"Quillora", L"Error on sending to pane",
                                 MB_ICONEXCLAMATION | MB_TOPMOST, 400);
  ULONGLONG elapsed = ::GetTickCount64() - start;
  EXPECT_EQ(kMessageBoxTimedOut, result);
  EXPECT_GE(elapsed, 350u);
  EXPECT_LT(elapsed, 60000u);  // the first window of a process may wait for the desktop
}

// Answers the box from a timer before its own time-out.
void CALLBACK PressCancel(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = ::FindWindowW(L"#32770", L"Answer me");
  if (!box) return;
  ::KillTimer(nullptr, id);
  ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
}

TEST(MessageBoxTimeoutTest, AnswerBeforeTheTimeIsReturned) {
  UINT_PTR t = ::SetTimer(nullptr, 0, 100, PressCancel);
  int result = MessageBoxTimeout(nullptr, L"Answer me", L"text", MB_OKCANCEL, 20000);
  ::KillTimer(nullptr, t);
  EXPECT_EQ(IDCANCEL, result);
}

// A second box opened while the first one waits: each ends by its own time.
void CALLBACK OpenInner(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  static int inner = 0;
  inner = MessageBoxTimeout(nullptr, L"inner", L"inner", MB_OK, 200);
  EXPECT_EQ(kMessageBoxTimedOut, inner);
}

TEST(MessageBoxTimeoutTest, NestedBoxesEachTimeOut) {
  UINT_PTR t = ::SetTimer(nullptr, 0, 50, OpenInner);
  int outer = MessageBoxTimeout(nullptr, L"outer", L"outer", MB_OK, 1200);
  ::KillTimer(nullptr, t);
  EXPECT_EQ(kMessageBoxTimedOut, outer);
}

}  // namespace
