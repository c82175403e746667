// The real Quillora.dll installed by the tray side, asked by a real target
// program through the posted notification.
#include <gtest/gtest.h>

#include "foundation/files/program_names.h"
#include "foundation/logging/log.h"
#include "foundation/ui/window_helpers.h"
#include "settings/shared_memory.h"
#include "tests/support/test_support.h"
#include "tray/hook/dll_service.h"
#include "tray/hook/interchange.h"
#include "tray/tests/core_target.h"

namespace {

const UINT kNotify = RegisterWindowMessageW(kCoreNotifyMessageName);

bool IsSet(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

std::wstring TestName(const wchar_t* what) {
  return L"Local\\QlrCoreTest_" + std::wstring(what) + L"_" + std::to_wstring(GetCurrentProcessId());
}

class CoreLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_area.Reset(CreateNamedMapping(m_areaName, kInterchangeAreaSize, true));
    m_needed.Reset(CreateEventW(nullptr, TRUE, FALSE, m_neededName.c_str()));
    m_completed.Reset(CreateEventW(nullptr, TRUE, FALSE, m_completedName.c_str()));
    ASSERT_TRUE(m_area && m_needed && m_completed);
    m_tray = CreateWindowExW(0, L"STATIC", L"tray", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                             nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(m_tray); }

  int Install(CQLRDLLService& service, int& code) {
    return service.InstallDLLService_IML_32(m_tray, kNotify, m_neededName, m_completedName, m_areaName, true,
                                            &code, FALSE);
  }

  CQueryRecord ReadQuery() {
    CQueryRecord query;
    EXPECT_TRUE(ReadQueryFromArea(query, m_areaName));
    return query;
  }

  const std::wstring m_dllPath = qlrtest::BinFile(L"Quillora.dll");
  const std::wstring m_areaName = TestName(L"Area");
  const std::wstring m_neededName = TestName(L"Needed");
  const std::wstring m_completedName = TestName(L"Completed");
  UniqueHandle m_area, m_needed, m_completed;
  HWND m_tray = nullptr;
};

TEST_F(CoreLibraryTest, InstallTwiceIsRefused) {
  CQLRDLLService service(kNotify);
  int code = -1;
  ASSERT_TRUE(Install(service, code));
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(service.IsInstalled());
  EXPECT_EQ(Install(service, code), 0);
  EXPECT_EQ(code, 2);
  CQLRDLLService second(kNotify);  // a second binding meets the library's own refusal
  EXPECT_EQ(Install(second, code), 0);
  EXPECT_EQ(code, 2);
  EXPECT_FALSE(second.IsInstalled());
  EXPECT_TRUE(service.IsInstalled());
  EXPECT_TRUE(service.Uninstall());
  EXPECT_EQ(GetModuleHandleW(m_dllPath.c_str()), nullptr);

  // Bad names are refused before any hook is placed.
  CQLRDLLService third(kNotify);
  EXPECT_EQ(third.InstallDLLService_IML_32(m_tray, kNotify, L"", m_completedName, m_areaName, false, &code,
                                           FALSE),
            0);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(GetModuleHandleW(m_dllPath.c_str()), nullptr);
}

TEST_F(CoreLibraryTest, TargetAnswersThePostedNotification) {
  CQLRDLLService service(kNotify);
  int code = -1;
  ASSERT_TRUE(Install(service, code));
  CoreTarget target;
  ASSERT_TRUE(target.Start(L"alpha beta gamma", 6, 10));
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return service.GetTargetWindow() == target.main; }));
  // The last other window comes from the tracker's next poll.
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return service.GetTargetWindowOther() == target.main; }));

  SetEvent(m_completed.Get());  // left from an earlier exchange
  CQueryRecord ignored;
  ASSERT_EQ(service.SendMessageToTargetWindow(FALSE, ignored), CQLRDLLService::kPosted);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return IsSet(m_needed.Get()); }));
  EXPECT_FALSE(IsSet(m_completed.Get()));

  CQueryRecord query = ReadQuery();
  EXPECT_EQ(query.hwnd, target.main);
  EXPECT_EQ(query.WindowClassName, L"QlrInsertTarget");
  EXPECT_NE(query.AppPath.find(L"helper_insert_target.exe"), std::wstring::npos) << query.AppPath;
  EXPECT_EQ(query.SelText, L"beta");
  EXPECT_EQ(query.StateSelText, CQueryRecord::kSelectionExtracted);
  EXPECT_EQ(query.guiInfo.hwndFocus, target.edit);
  EXPECT_EQ(query.guiInfo.hwndActive, target.main);
  EXPECT_EQ(query.hkl, static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))));
  GUITHREADINFO gui = {};
  gui.cbSize = sizeof(gui);
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(target.main, nullptr), &gui));
  POINT caret = {-1, -1};
  if (gui.hwndCaret) {
    caret = {gui.rcCaret.left, gui.rcCaret.bottom};
    ClientToScreen(gui.hwndCaret, &caret);
  }
  EXPECT_EQ(query.POINT_X, caret.x);
  EXPECT_EQ(query.POINT_Y, caret.y);

  // A mouse-event request: no selection in the query.
  ResetEvent(m_needed.Get());
  ASSERT_EQ(service.SendMessageToTargetWindow(TRUE, ignored), CQLRDLLService::kPosted);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return IsSet(m_needed.Get()); }));
  query = ReadQuery();
  EXPECT_EQ(query.SelText, L"");
  EXPECT_EQ(query.StateSelText, CQueryRecord::kNoSelection);

  // The tray's own window in front: the target stays the last other one.
  HWND own = CreateWindowExW(0, L"STATIC", L"own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                             nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(own);
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return GetForegroundWindow() == own; }));
  EXPECT_EQ(service.GetTargetWindow(), target.main);
  EXPECT_EQ(service.GetTargetWindowOther(), target.main);
  DestroyWindow(own);

  // Uninstalled: the library is gone from this process and the hook is
  // silent in the target.
  ASSERT_TRUE(service.Uninstall());
  EXPECT_FALSE(service.IsInstalled());
  EXPECT_EQ(GetModuleHandleW(m_dllPath.c_str()), nullptr);
  EXPECT_EQ(service.GetTargetWindow(), nullptr);
  ResetEvent(m_needed.Get());
  PostMessageW(target.main, kNotify, 0, 0);
  EXPECT_EQ(target.Close(), 0);
  EXPECT_FALSE(IsSet(m_needed.Get()));
}

// The desktop in front (no program is): the library never offers it as the
// target, neither while a target is known nor once that target is gone.
TEST_F(CoreLibraryTest, DesktopInFrontIsNeverTheTarget) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(InitLog(dir.File(L"log.txt").c_str()));
  CQLRDLLService service(kNotify);
  int code = -1;
  ASSERT_TRUE(Install(service, code));
  CoreTarget target;
  ASSERT_TRUE(target.Start(L"text", 0, 0));
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return service.GetTargetWindowOther() == target.main; }));

  SetForegroundWindow(GetDesktopWindow());
  if (!qlrtest::PumpUntil([] { return IsDesktopOrShellWindow(GetForegroundWindow()); }, 5000)) {
    target.Close();
    service.Uninstall();
    TermLog();
    GTEST_SKIP() << "the desktop window does not come to the front here";
  }
  EXPECT_EQ(service.GetTargetWindow(), target.main);
  EXPECT_EQ(target.Close(), 0);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return service.GetTargetWindow() == nullptr; }));
  EXPECT_EQ(service.GetTargetWindowOther(), nullptr);
  CQueryRecord query;
  EXPECT_EQ(service.SendMessageToTargetWindow(FALSE, query), CQLRDLLService::kNoTarget);
  EXPECT_TRUE(service.Uninstall());
  WaitLogWritten(5000);
  TermLog();
  std::wstring log = qlrtest::ReadUtf16File(dir.File(L"log.txt"));
  EXPECT_NE(log.find(L"the desktop is in front, it is no target window"), std::wstring::npos)
      << qlrtest::ToUtf8(log);
}

// The desktop window by handle and by class; ordinary windows are not.
TEST(DesktopWindowTest, DesktopAndShellAreRecognised) {
  EXPECT_TRUE(IsDesktopOrShellWindow(GetDesktopWindow()));
  EXPECT_FALSE(IsDesktopOrShellWindow(nullptr));
  HWND own = CreateWindowExW(0, L"STATIC", L"own", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(IsDesktopOrShellWindow(own));
  DestroyWindow(own);
}

}  // namespace
