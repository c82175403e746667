#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_settings/helpers/blink_font.h"
#include "editor_settings/helpers/editor_fonts.h"
#include "tests/support/test_support.h"

namespace {

constexpr UINT kDoneMessage = WM_APP + 40;

// What reached the windows, in order: a font handle, or 0 for the notice.
std::vector<HFONT> g_events;
WPARAM g_doneWParam = 0;
LPARAM g_doneLParam = 0;
WNDPROC g_staticProc = nullptr;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SETFONT) g_events.push_back(reinterpret_cast<HFONT>(wParam));
  if (msg == kDoneMessage) {
    g_events.push_back(nullptr);
    g_doneWParam = wParam;
    g_doneLParam = lParam;
    return 0;
  }
  return ::CallWindowProcW(g_staticProc, hWnd, msg, wParam, lParam);
}

HWND MakeRecordingWindow() {
  HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"Phrase", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                nullptr, nullptr);
  g_staticProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
  return hWnd;
}

TEST(BlinkControlFontTest, ThreeCyclesOfFontsThenTheNotice) {
  g_events.clear();
  HWND control = MakeRecordingWindow();
  ASSERT_NE(nullptr, control);
  HFONT normal = editor::GetDialogFont();
  HFONT blink = editor::GetBoldDialogFont();
  BlinkNotifyRecord notify;
  notify.window = control;
  notify.message = kDoneMessage;
  notify.wParam = 7;
  notify.lParam = static_cast<LPARAM>(-2);
  ASSERT_TRUE(BlinkControlFontAsync(control, normal, blink, &notify));
  notify.wParam = 99;  // the thread works on its own copy
  ASSERT_TRUE(qlrtest::PumpUntil([] { return g_events.size() >= 7; }, 15000));
  std::vector<HFONT> expected = {blink, normal, blink, normal, blink, normal, nullptr};
  EXPECT_EQ(expected, g_events);
  EXPECT_EQ(7u, g_doneWParam);
  EXPECT_EQ(-2, g_doneLParam);
  ::DestroyWindow(control);
}

TEST(BlinkControlFontTest, AGoneControlGetsNoFontsButTheNoticeComes) {
  g_events.clear();
  HWND gone = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
  ::DestroyWindow(gone);
  HWND listener = MakeRecordingWindow();
  BlinkNotifyRecord notify;
  notify.window = listener;
  notify.message = kDoneMessage;
  ASSERT_TRUE(BlinkControlFontAsync(gone, editor::GetDialogFont(), editor::GetBoldDialogFont(), &notify));
  ASSERT_TRUE(qlrtest::PumpUntil([] { return !g_events.empty(); }, 15000));
  EXPECT_EQ(std::vector<HFONT>{nullptr}, g_events);
  // Without a record nothing is sent, and the call still succeeds.
  EXPECT_TRUE(BlinkControlFontAsync(gone, nullptr, nullptr, nullptr));
  ::DestroyWindow(listener);
}

}  // namespace
