#include "tray/app/wts_notify.h"

#include <gtest/gtest.h>

namespace {

HWND MakeWindow() {
  return CreateWindowExW(0, L"STATIC", L"wts", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST(WTSNotifyTest, RegistersAWindowOnceAndUnregistersIt) {
  HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  {
    CWTSNotify notify;
    ASSERT_TRUE(notify.Register(window, false));
    EXPECT_TRUE(notify.IsRegistered(window));
    // The second registration is refused before Windows is asked again.
    EXPECT_FALSE(notify.Register(window, true));
    // Let go (also where the system only refuses without naming an error,
    // as Wine's stub does): registered again afterwards.
    EXPECT_TRUE(notify.Unregister(window));
    EXPECT_FALSE(notify.IsRegistered(window));
    EXPECT_TRUE(notify.Register(window, true));
    EXPECT_TRUE(notify.Unregister(window));
  }
  DestroyWindow(window);
}

// The system's answers to an unregistration, as the fake functions give them.
BOOL WINAPI YesRegister(HWND, DWORD) { return TRUE; }
DWORD g_unregisterError = ERROR_SUCCESS;
int g_unregisterCalls = 0;
BOOL WINAPI RefuseUnregister(HWND) {
  ++g_unregisterCalls;
  SetLastError(g_unregisterError);
  return FALSE;
}

TEST(WTSNotifyTest, ARefusalNamingAnErrorKeepsTheRegistrationOneWithoutDropsIt) {
  HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  {
    CWTSNotify notify(YesRegister, RefuseUnregister);
    ASSERT_TRUE(notify.Register(window, false));
    g_unregisterError = ERROR_INVALID_HANDLE;
    EXPECT_FALSE(notify.Unregister(window));
    EXPECT_TRUE(notify.IsRegistered(window));
    g_unregisterError = ERROR_SUCCESS;
    EXPECT_TRUE(notify.Unregister(window));
    EXPECT_FALSE(notify.IsRegistered(window));
    EXPECT_EQ(g_unregisterCalls, 2);
    ASSERT_TRUE(notify.Register(window, true));
  }
  // Still registered at the end: the destruction lets it go.
  EXPECT_EQ(g_unregisterCalls, 3);
  DestroyWindow(window);
}

TEST(WTSNotifyTest, RefusesWhatCannotBeRegistered) {
  HWND window = MakeWindow();
  CWTSNotify notify;
  EXPECT_FALSE(notify.Register(nullptr, false));
  HWND gone = MakeWindow();
  DestroyWindow(gone);
  EXPECT_FALSE(notify.Register(gone, false));
  EXPECT_FALSE(notify.IsRegistered(gone));

  // Where the library is missing nothing is registered and nothing fails.
  CWTSNotify missing(L"NoSuchWtsLibrary_qlr.dll");
  EXPECT_FALSE(missing.Register(window, false));
  EXPECT_FALSE(missing.IsRegistered(window));
  EXPECT_FALSE(missing.Unregister(window));
  DestroyWindow(window);
}

TEST(WTSNotifyTest, NamesEveryReason) {
  const struct {
    WPARAM reason;
    const wchar_t* name;
  } cases[] = {
      {1, L"WTS_CONSOLE_CONNECT"},  {2, L"WTS_CONSOLE_DISCONNECT"}, {3, L"WTS_REMOTE_CONNECT"},
      {4, L"WTS_REMOTE_DISCONNECT"}, {5, L"WTS_SESSION_LOGON"},     {6, L"WTS_SESSION_LOGOFF"},
      {7, L"WTS_SESSION_LOCK"},     {8, L"WTS_SESSION_UNLOCK"},     {9, L"WTS_SESSION_REMOTE_CONTROL"},
  };
  for (const auto& c : cases) EXPECT_EQ(CWTSNotify::ReasonToString(c.reason), c.name) << c.reason;

  for (WPARAM unknown : {WPARAM(0), WPARAM(10), WPARAM(4711)}) {
    std::wstring text = CWTSNotify::ReasonToString(unknown);
    std::wstring tail = L"WTSSessionChangeReason_2_Str: wReason=" + std::to_wstring(unknown);
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(text.rfind(L"Оппа-ньки!", 0), 0u) << unknown;
  }
}

}  // namespace
