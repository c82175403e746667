// The history pane of the real Quillora.exe: shown at start, slid to its
// caption, shown on request, and back at the same place after restarts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/tray_program.h"
#include "tests/support/test_support.h"

namespace {

constexpr wchar_t kPaneClass[] = L"QuilloraFloatPane";
constexpr UINT kShowPane = 32776;
constexpr UINT kHistoryCaption = 32775;
constexpr UINT kPaneItemCount = WM_APP + 2;

class HistoryPaneE2eTest : public qlre2e::TrayProgramTest {
 protected:
  void SetUp() override {
    TrayProgramTest::SetUp();
    SetSetting(L"ShowHistoryPaneOnStart", L"1");
    CreateDirectoryW(dir.File(L"Phrases").c_str(), nullptr);
    SetSetting(L"PhrasesDirectory", dir.File(L"Phrases"));
  }
  HWND Pane() { return qlrtest::FindProcessWindow(child.Pid(), kPaneClass); }
  bool CollapsedBar(HWND pane) {
    RECT r = {};
    return GetWindowRect(pane, &r) && r.bottom - r.top < 40 && r.right - r.left < 300;
  }
  std::wstring Title(HWND pane) {
    wchar_t title[128] = {};
    GetWindowTextW(pane, title, 128);
    return title;
  }
  // The slide to the caption has ended: the bar is as narrow as it gets.
  bool SlidToItsCaption(HWND pane) {
    RECT r = {};
    return CollapsedBar(pane) && GetWindowRect(pane, &r) && r.right - r.left < 100;
  }
  // The slide ends with the bar put on top: until it stands still for a
  // whole sample (at most ten samples).
  static RECT WaitStill(HWND pane, DWORD sampleMs = 300) {
    RECT last = {};
    GetWindowRect(pane, &last);
    for (int sample = 0; sample < 10; ++sample) {
      Sleep(sampleMs);
      RECT now = {};
      GetWindowRect(pane, &now);
      if (EqualRect(&now, &last)) break;
      last = now;
    }
    return last;
  }
  int Saved(const wchar_t* key) {
    return GetPrivateProfileIntW(L"Settings_Agent", key, -999, dir.File(L"Settings.ini").c_str());
  }
};

TEST_F(HistoryPaneE2eTest, PaneAppearsAsATopmostCaptionBarAndShowsOnRequest) {
  HWND tray = Start(L"");
  ASSERT_NE(tray, nullptr);
  HWND pane = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return (pane = Pane()) && CollapsedBar(pane); }, 3000));
  LONG_PTR ex = GetWindowLongPtrW(pane, GWL_EXSTYLE);
  EXPECT_EQ(ex & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST), WS_EX_TOOLWINDOW | WS_EX_TOPMOST);

  EXPECT_EQ(SendMessageW(tray, kShowPane, 1, 0), 1);
  HWND shown = Pane();
  ASSERT_NE(shown, nullptr);
  // Shown expanded and in front; the pane then slides to its caption again
  // once it loses the focus, which nothing here takes.
  EXPECT_TRUE(IsWindowVisible(shown));
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return GetForegroundWindow() == shown; }, 5000));
  EXPECT_EQ(SendMessageW(tray, kShowPane, 7, 0), 1);  // other values do nothing
  // From another process the caption's length alone: the address is ours.
  wchar_t foreign[8] = L"unset";
  EXPECT_EQ(SendMessageW(tray, kHistoryCaption, 8, reinterpret_cast<LPARAM>(foreign)),
            static_cast<LRESULT>(wcslen(L"Quillora : Clipboard History [0]")));
  EXPECT_STREQ(foreign, L"unset");
  Exit();
  EXPECT_NE(Saved(L"FloatPaneRect_TOPLEFT_x"), -999);
  EXPECT_NE(Saved(L"FloatPaneRect_TOPLEFT_y"), -999);
}

TEST_F(HistoryPaneE2eTest, PlaceStaysAfterRestartsOfACollapsedPane) {
  WritePrivateProfileStringW(L"Settings_Agent", L"FloatPaneRect_TOPLEFT_x", L"100", dir.File(L"Settings.ini").c_str());
  WritePrivateProfileStringW(L"Settings_Agent", L"FloatPaneRect_TOPLEFT_y", L"100", dir.File(L"Settings.ini").c_str());
  for (int run = 0; run < 2; ++run) {
    ASSERT_NE(Start(L""), nullptr);
    HWND pane = nullptr;
    ASSERT_TRUE(qlrtest::WaitUntil([&] { return (pane = Pane()) && CollapsedBar(pane); }, 10000));
    RECT r = {};
    GetWindowRect(pane, &r);
    EXPECT_EQ(r.right, 400) << run;
    WaitStill(pane);
    Exit();
    EXPECT_EQ(Saved(L"FloatPaneRect_TOPLEFT_x"), 100) << run;
    EXPECT_EQ(Saved(L"FloatPaneRect_TOPLEFT_y"), 100) << run;
  }
}

// Near the left edge the expanded pane of a collapsed bar stands partly off
// the screen: the bar still comes back where the user left it.
TEST_F(HistoryPaneE2eTest, ACollapsedBarComesBackWhereTheUserLeftIt) {
  ASSERT_NE(Start(L""), nullptr);
  HWND pane = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return (pane = Pane()) && SlidToItsCaption(pane); }, 20000));
  const RECT first = WaitStill(pane, 1000);
  ASSERT_TRUE(SetWindowPos(pane, nullptr, 200, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  ASSERT_TRUE(qlrtest::WaitUntil([&] {
    RECT r = {};
    return GetWindowRect(pane, &r) && r.left == 200 && r.top == 300;
  }));
  // Kept as the place of the expanded pane, whose right edge the bar keeps.
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Saved(L"FloatPaneRect_TOPLEFT_y") == 300; }))
      << Saved(L"FloatPaneRect_TOPLEFT_x") << "," << Saved(L"FloatPaneRect_TOPLEFT_y");
  Exit();
  EXPECT_EQ(Saved(L"FloatPaneRect_TOPLEFT_y"), 300);
  EXPECT_LT(Saved(L"FloatPaneRect_TOPLEFT_x"), 0);
  for (int run = 0; run < 2; ++run) {
    ASSERT_NE(Start(L""), nullptr);
    ASSERT_TRUE(qlrtest::WaitUntil([&] { return (pane = Pane()) && SlidToItsCaption(pane); }, 20000)) << run;
    const RECT bar = WaitStill(pane, 1000);
    EXPECT_EQ(bar.left, 200) << run;
    EXPECT_EQ(bar.top, 300) << run;
    EXPECT_EQ(bar.right - bar.left, first.right - first.left) << run;
    Exit();
  }
}

TEST_F(HistoryPaneE2eTest, ListFollowsAnotherProgramsCopies) {
  SetSetting(L"ClipboardHistory", L"1");
  ASSERT_TRUE(qlre2e::EmptyTheClipboard());
  HWND tray = Start(L"");
  ASSERT_NE(tray, nullptr);
  ASSERT_TRUE(WaitForLog(L"ReInstall entity")) << qlrtest::ToUtf8(LogText());
  HWND pane = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] { return (pane = Pane()) && Title(pane) == L"Clipboard History[0] : Quillora"; }, 5000))
      << qlrtest::ToUtf8(pane ? Title(pane) : L"no pane");
  ASSERT_EQ(qlre2e::CopyFromPeer(L"for the pane"), 0);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return Title(pane) == L"Clipboard History[1] : Quillora"; }, 10000))
      << qlrtest::ToUtf8(Title(pane));
  EXPECT_EQ(SendMessageW(pane, kPaneItemCount, 0, 0), 1);
  EXPECT_EQ(SendMessageW(tray, kHistoryCaption, 0, 0),
            static_cast<LRESULT>(wcslen(L"Quillora : Clipboard History [1]")));
  Exit();
}

}  // namespace
