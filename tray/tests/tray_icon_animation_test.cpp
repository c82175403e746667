#include "tray/icon/tray_icon_animation.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <mutex>
#include <vector>

#include "foundation/system/handles.h"
#include "foundation/ui/icons.h"
#include "tests/support/test_support.h"
#include "tray/icon/tray_icon.h"

namespace {

// The 16 x 16 colour pixels of an icon, top row first.
std::vector<DWORD> IconPixels(HICON icon) {
  std::vector<DWORD> pixels(16 * 16);
  ICONINFO info = {};
  if (!GetIconInfo(icon, &info)) return {};
  UniqueGdiObject color(info.hbmColor), mask(info.hbmMask);
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = 16;
  bmi.bmiHeader.biHeight = -16;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  WindowDC dc(nullptr);
  if (!GetDIBits(dc.Get(), static_cast<HBITMAP>(color.Get()), 0, 16, pixels.data(), &bmi,
                 DIB_RGB_COLORS))
    return {};
  for (DWORD& p : pixels) p &= 0x00FFFFFF;  // compare colours; alpha may be rebuilt
  return pixels;
}

// Records the pixels of every frame and which thread showed it.
class RecordingAnimation : public CTrayWindowIconAnimation {
 public:
  std::vector<std::vector<DWORD>> Frames() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frames;
  }

 protected:
  void OnFrame(HICON icon, LPARAM param) override {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_frames.push_back(IconPixels(icon));
    }
    CTrayWindowIconAnimation::OnFrame(icon, param);
  }

 private:
  std::mutex m_mutex;
  std::vector<std::vector<DWORD>> m_frames;
};

int g_setIconCount = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETICON) ++g_setIconCount;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

class TrayIconAnimationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QlrAnimationTarget";
    RegisterClassW(&wc);
    m_window = CreateWindowExW(0, wc.lpszClassName, L"anim", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                               nullptr, wc.hInstance, nullptr);
    ASSERT_NE(m_window, nullptr);
    m_base.Reset(LoadTrayIcon(true));
    ASSERT_TRUE(m_base);
    m_small.Reset(LoadTrayIcon(false));
    m_big.Reset(LoadIconSize(GetModuleHandleW(nullptr), kIconTrayAlternate, 32));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_small.Get()));
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_big.Get()));
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = m_window;
    data.uID = kTrayIconId;
    data.uFlags = NIF_ICON;
    data.hIcon = m_base.Get();
    Shell_NotifyIconW(NIM_ADD, &data);
    g_setIconCount = 0;
  }
  void TearDown() override {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = m_window;
    data.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    DestroyWindow(m_window);
  }
  TrayIconAnimationRecord Record(DWORD interval) {
    TrayIconAnimationRecord record;
    record.window = m_window;
    record.iconId = kTrayIconId;
    record.intervalMs = interval;
    record.baseIcon = m_base.Get();
    record.param = reinterpret_cast<LPARAM>(m_window);
    return record;
  }

  HWND m_window = nullptr;
  UniqueIcon m_base, m_small, m_big;
};

TEST_F(TrayIconAnimationTest, FramesTurnByQuartersAndCycle) {
  RecordingAnimation animation;
  ASSERT_TRUE(animation.Start(Record(20)));
  EXPECT_TRUE(animation.IsRunning());
  EXPECT_EQ(animation.GetFrameCount(), 4);
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return animation.Frames().size() >= 9; }, 10000));
  ASSERT_TRUE(animation.Stop());
  auto frames = animation.Frames();

  UniqueIcon turned1(CreateRotatedIcon(m_base.Get()));
  UniqueIcon turned2(CreateRotatedIcon(turned1.Get()));
  UniqueIcon turned3(CreateRotatedIcon(turned2.Get()));
  const std::vector<DWORD> expected[4] = {IconPixels(turned1.Get()), IconPixels(turned2.Get()),
                                          IconPixels(turned3.Get()), IconPixels(m_base.Get())};
  ASSERT_FALSE(expected[0].empty());
  EXPECT_NE(expected[0], expected[3]) << "the test icon must not look the same turned";
  for (size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i], expected[i % 4]) << "frame " << i;
  // Each frame went to the window as big and small icon.
  EXPECT_GE(g_setIconCount, 2 * static_cast<int>(frames.size()));
}

TEST_F(TrayIconAnimationTest, StopPutsTheWindowIconsBackAndEndsTheFrames) {
  CTrayWindowIconAnimation animation;
  ASSERT_TRUE(animation.Start(Record(10)));
  EXPECT_FALSE(animation.Start(Record(10))) << "a second start while running";
  ASSERT_TRUE(qlrtest::PumpUntil([] { return g_setIconCount >= 6; }, 10000));
  ASSERT_TRUE(animation.Stop());
  EXPECT_FALSE(animation.IsRunning());
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(m_window, WM_GETICON, ICON_SMALL, 0)), m_small.Get());
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(m_window, WM_GETICON, ICON_BIG, 0)), m_big.Get());

  // The worker has ended: nothing changes the icons any more.
  int after = g_setIconCount;
  qlrtest::PumpUntil([] { return false; }, 200);
  EXPECT_EQ(g_setIconCount, after);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(m_window, WM_GETICON, ICON_SMALL, 0)), m_small.Get());

  // Stopping again does nothing and sends nothing.
  EXPECT_FALSE(animation.Stop());
  EXPECT_EQ(g_setIconCount, after);

  // It can run again after a stop.
  ASSERT_TRUE(animation.Start(Record(10)));
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return g_setIconCount >= after + 4; }, 10000));
  EXPECT_TRUE(animation.Stop());
}

}  // namespace
