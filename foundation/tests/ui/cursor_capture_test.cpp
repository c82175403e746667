#include "foundation/ui/cursor_capture.h"

#include <gtest/gtest.h>

namespace {

HWND MakeWindow() {
  return CreateWindowExW(0, L"STATIC", L"capture", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(CursorCaptureTest, CaptureAndCursorLastUntilRestore) {
  HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  SetCursor(arrow);
  POINT before;
  ASSERT_TRUE(GetCursorPos(&before));
  {
    CCursorCapture capture(window, IDC_WAIT);
    EXPECT_EQ(GetCapture(), window);
    EXPECT_EQ(GetCursor(), wait);
    capture.Restore(false);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(GetCapture(), nullptr);
    POINT after;
    ASSERT_TRUE(GetCursorPos(&after));
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);  // nudged and back
    // Not forgotten: the end of the scope restores the cursor once more.
    SetCursor(wait);
  }
  EXPECT_EQ(GetCursor(), arrow);
  DestroyWindow(window);
}

TEST(CursorCaptureTest, ForgottenOrWindowlessChangesLeaveOthersAlone) {
  HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
  SetCursor(arrow);
  {
    CCursorCapture capture(window, IDC_APPSTARTING);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_APPSTARTING));
    capture.Restore(true);
    EXPECT_EQ(GetCursor(), arrow);
    SetCursor(cross);
  }
  EXPECT_EQ(GetCursor(), cross) << "a forgotten change restores nothing at its end";

  // Without a window no capture is taken, and a capture held by another
  // window is not released.
  SetCapture(window);
  {
    CCursorCapture capture(nullptr, nullptr);
    EXPECT_EQ(GetCursor(), cross);
  }
  EXPECT_EQ(GetCapture(), window);
  ReleaseCapture();
  DestroyWindow(window);
}

}  // namespace
