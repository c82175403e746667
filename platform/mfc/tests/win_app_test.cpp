#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/mfc/afx.h"

namespace {

class CFailingApp : public CWinApp {
 public:
  explicit CFailingApp(bool fail) : CWinApp(L"QuilloraMfcTestApp"), m_fail(fail) {}
  bool m_fail;
  bool m_sawFailure = false;
  int m_exits = 0;
  BOOL InitInstance() override {
    // A window made before the failure must be gone by ExitInstance.
    m_pMainWnd = &m_wnd;
    m_wnd.CreateEx(0, nullptr, L"half", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr);
    if (!m_fail) ::PostQuitMessage(5);
    return m_fail ? FALSE : TRUE;
  }
  int ExitInstance() override {
    ++m_exits;
    m_sawFailure = InitInstanceFailed();
    m_windowGone = m_wnd.m_hWnd == nullptr;
    return CWinApp::ExitInstance();
  }
  bool m_windowGone = false;
  CWnd m_wnd;
};

TEST(WinAppTest, FailedStartDestroysTheMainWindowAndTellsExitInstance) {
  struct { bool fail; int code; bool sawFailure; } cases[] = {{true, 0, true}, {false, 5, false}};
  for (auto& c : cases) {
    CFailingApp app(c.fail);
    EXPECT_EQ(app.RunApplication(::GetModuleHandleW(nullptr), const_cast<LPWSTR>(L""), SW_HIDE), c.code);
    EXPECT_EQ(app.m_exits, 1);
    EXPECT_EQ(app.m_sawFailure, c.sawFailure);
    EXPECT_EQ(app.m_windowGone, c.fail);
    app.m_pMainWnd = nullptr;
    app.m_wnd.DestroyWindow();
    EXPECT_STREQ(app.m_pszAppName, L"QuilloraMfcTestApp");
  }
}

TEST(WinAppTest, ProfileValuesLiveUnderTheRegistryKeyAndSection) {
  CWinApp app(L"ProfileTest");
  app.RunApplication(nullptr, nullptr, SW_HIDE);  // InitInstance fails at once: names are set
  app.SetRegistryKey(L"QuilloraMfcTest");
  EXPECT_EQ(app.GetProfileInt(L"Bar-SCBar-1", L"sizeX", 42), 42u);
  ASSERT_TRUE(app.WriteProfileInt(L"Bar-SCBar-1", L"sizeX", 317));
  ASSERT_TRUE(app.WriteProfileString(L"Bar-SCBar-1", L"name", L"Phrases"));
  EXPECT_EQ(app.GetProfileInt(L"Bar-SCBar-1", L"sizeX", 42), 317u);
  EXPECT_EQ(app.GetProfileString(L"Bar-SCBar-1", L"name"), L"Phrases");
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QuilloraMfcTest\\ProfileTest\\Bar-SCBar-1", 0,
                            KEY_READ, &key),
            ERROR_SUCCESS);
  ::RegCloseKey(key);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuilloraMfcTest");
}

}  // namespace
