#include "tray/window/tray_messaging.h"

#include <gtest/gtest.h>

#include <vector>

#include "foundation/system/listeners.h"
#include "tests/support/test_support.h"
#include "tray/window/tray_window.h"

namespace {

struct Received {
  UINT message;
  std::wstring text;
};
std::vector<Received> g_received;

LRESULT CALLBACK TrayProbeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == GetTrayPaneMessage()) {
    g_received.push_back({msg, reinterpret_cast<const wchar_t*>(lp)});
    return 5;
  }
  if (msg == 32779 || msg == 32785) {
    g_received.push_back({msg, L""});
    return msg;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

class TrayMessagingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TrayProbeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QlrTrayProbe";
    RegisterClassW(&wc);
    m_window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
    ASSERT_NE(m_window, nullptr);
    SetTrayHwnd(m_window);
    g_received.clear();
  }
  void TearDown() override {
    SetTrayHwnd(nullptr);
    DestroyWindow(m_window);
  }
  HWND m_window = nullptr;
};

TEST_F(TrayMessagingTest, MessagesReachTheTrayWindow) {
  EXPECT_EQ(SendTrayCommand_Ext32779(), 32779);
  EXPECT_EQ(SendTrayCommand_Ext32785(), 32785);
  EXPECT_EQ(SendTrayWndPaneMessage(L"History folder cannot be read"), 5);
  ASSERT_EQ(g_received.size(), 3u);
  EXPECT_EQ(g_received[2].text, L"History folder cannot be read");
  EXPECT_EQ(GetTrayPaneMessage(), RegisterWindowMessageW(L"{C4629BDD-5FE3-47de-863B-E8D10BB7E2EB}"));
}

struct CountingListener : IAppEventListener, IObserver {
  int events = 0, notices = 0, lastCode = 0;
  void OnAppEvent(int code, int) override {
    ++events;
    lastCode = code;
  }
  void OnObserverNotify(int, int) override { ++notices; }
};

TEST_F(TrayMessagingTest, RegistriesSkipTheSender) {
  CountingListener a, b;
  AddAppEventListener(&a);
  AddAppEventListener(&b);
  AddObserver(&a);
  AddObserver(&b);
  // The sender is the registered interface of the object.
  NotifyAppEvent(static_cast<IAppEventListener*>(&a), 1, 7);
  EXPECT_EQ(BroadcastToObservers(static_cast<IObserver*>(&b), 1, 2), 1);
  EXPECT_EQ(a.events, 0);
  EXPECT_EQ(b.events, 1);
  EXPECT_EQ(b.lastCode, 1);
  EXPECT_EQ(a.notices, 1);
  EXPECT_EQ(b.notices, 0);
  RemoveAppEventListener(&a);
  RemoveAppEventListener(&b);
  RemoveObserver(&a);
  RemoveObserver(&b);
}

TEST(TrayRuntimeTest, MissingRuntimeReadsNotFound) {
  std::wstring path;
  EXPECT_TRUE(GetMfcRuntimePath(path));
  HMODULE present = LoadLibraryW(L"Mfc42.DLL");
  if (present) {
    FreeLibrary(present);
    EXPECT_NE(path, L"Not found");
  } else {
    EXPECT_EQ(path, L"Not found");
  }
}

}  // namespace
