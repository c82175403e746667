#include "tray/icon/tray_icon.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "tests/support/test_support.h"

namespace {

TEST(TrayIconTest, TitleCarriesTheAdminMarkOnceAndTheState) {
  const struct {
    const wchar_t* version;
    bool admin;
    const wchar_t* state;
    const wchar_t* expected;
  } cases[] = {
      {L"Quillora 2.61", false, L"on", L"Quillora 2.61 - on"},
      {L"Quillora 2.61", true, L"on", L"Quillora 2.61^ - on"},
      {L"Quillora 2.61^", true, L"OFF", L"Quillora 2.61^ - OFF"},
      {L"", false, L"OFF", L" - OFF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BuildTrayTitle(c.version, c.admin, c.state), c.expected) << c.version;
}

TEST(TrayIconTest, TooLongTooltipKeepsItsFirstLine) {
  std::wstring title = L"Quillora 2.61 - on";
  std::wstring shortInfo = L"Hot key: CTRL+ALT+ENTER\r\nRight click";
  EXPECT_EQ(BuildTrayTooltip(title, shortInfo), title + L"\r\n" + shortInfo);

  std::wstring longInfo = std::wstring(60, L'a') + L"\r\n" + std::wstring(60, L'b');
  EXPECT_EQ(BuildTrayTooltip(title, longInfo), title);

  // Exactly at the limit it stays whole.
  std::wstring fits(kTrayTooltipMax - title.size() - 2, L'c');
  EXPECT_EQ(BuildTrayTooltip(title, fits).size(), kTrayTooltipMax);

  // A title without a line break inside the limit is cut at the limit.
  std::wstring longTitle(200, L'x');
  EXPECT_EQ(BuildTrayTooltip(longTitle, L"info"), std::wstring(kTrayTooltipMax, L'x'));
}

TEST(TrayIconTest, TrayMenuOpensOnButtonUpAndBalloonClick) {
  const struct {
    LPARAM message;
    bool opens;
  } cases[] = {
      {WM_LBUTTONUP, true},  {WM_RBUTTONUP, true},       {0x405, true},
      {WM_MOUSEMOVE, false}, {WM_LBUTTONDOWN, false},    {WM_LBUTTONDBLCLK, false},
      {0x402, false},        {WM_CONTEXTMENU, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsTrayMenuRequest(c.message), c.opens) << c.message;
}

TEST(TrayIconTest, RunningAndStoppedIconsDiffer) {
  UniqueIcon on(LoadTrayIcon(true));
  UniqueIcon off(LoadTrayIcon(false));
  ASSERT_TRUE(on);
  ASSERT_TRUE(off);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(on.Get(), &info));
  BITMAP bm = {};
  GetObjectW(info.hbmColor, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXSMICON));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  // The stopped picture is not the running one: a user tells the two
  // states apart by it.
  const std::vector<BYTE> running = qlrtest::IconBits(on.Get());
  const std::vector<BYTE> stopped = qlrtest::IconBits(off.Get());
  ASSERT_FALSE(running.empty());
  ASSERT_FALSE(stopped.empty());
  EXPECT_NE(running, stopped);
}

class TrayIconRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_window = CreateWindowExW(0, L"STATIC", L"tray", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_window, nullptr);
    m_state.versionText = L"Quillora 2.61";
    m_state.stateText = L"on";
    m_state.servicesOn = true;
    m_state.infoText = L"Hot key: X\r\nRight click on the icon for showing of menu";
  }
  void TearDown() override {
    NOTIFYICONDATAW data = {};
    data.hWnd = m_window;
    data.uID = kTrayIconId;
    CallShellNotifyIcon(NIM_DELETE, &data);
    DestroyWindow(m_window);
  }
  HWND m_window = nullptr;
  TrayIconState m_state;
};

TEST_F(TrayIconRecordTest, AddCarriesTheBalloonAndTooltipOnlyDoesNot) {
  NOTIFYICONDATAW record = {};
  ASSERT_TRUE(UpdateTrayIconRecord(&record, m_window, kTrayIconAdd, L"started", true, m_state));
  EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V3_SIZE));
  EXPECT_EQ(record.hWnd, m_window);
  EXPECT_EQ(record.uID, kTrayIconId);
  EXPECT_EQ(record.uCallbackMessage, kTrayIconCallbackMessage);
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
  EXPECT_STREQ(record.szInfoTitle, L"Quillora 2.61 - on, started");
  EXPECT_EQ(std::wstring(record.szInfo), m_state.infoText);
  EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
  EXPECT_EQ(std::wstring(record.szTip), L"Quillora 2.61 - on\r\n" + m_state.infoText);

  m_state.servicesOn = false;
  m_state.stateText = L"OFF";
  NOTIFYICONDATAW tip = {};
  ASSERT_TRUE(UpdateTrayIconRecord(&tip, m_window, kTrayIconTooltip, L"ignored", false, m_state));
  EXPECT_EQ(tip.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_STREQ(tip.szInfoTitle, L"");
  EXPECT_EQ(std::wstring(tip.szTip).rfind(L"Quillora 2.61 - OFF\r\n", 0), 0u);

  NOTIFYICONDATAW balloon = {};
  ASSERT_TRUE(UpdateTrayIconRecord(&balloon, m_window, kTrayIconModifyWithBalloon, nullptr, false, m_state));
  EXPECT_STREQ(balloon.szInfoTitle, L"Quillora 2.61 - OFF");
  EXPECT_EQ(balloon.dwInfoFlags, static_cast<DWORD>(NIIF_USER));
}

TEST_F(TrayIconRecordTest, LongTextsAreCutToTheirFields) {
  m_state.infoText = std::wstring(400, L'i');
  NOTIFYICONDATAW record = {};
  UpdateTrayIconRecord(&record, m_window, kTrayIconAdd, std::wstring(100, L't').c_str(), false, m_state);
  EXPECT_EQ(wcslen(record.szInfo), 255u);
  EXPECT_EQ(wcslen(record.szInfoTitle), 63u);
  // The tooltip would be too long: the title line stays.
  EXPECT_STREQ(record.szTip, L"Quillora 2.61 - on");

  // The wrapper terminates texts that fill their fields.
  wmemset(record.szTip, L'z', 128);
  wmemset(record.szInfo, L'z', 256);
  wmemset(record.szInfoTitle, L'z', 64);
  record.uFlags = NIF_TIP;
  CallShellNotifyIcon(NIM_MODIFY, &record);
  EXPECT_EQ(wcslen(record.szTip), 127u);
  EXPECT_EQ(wcslen(record.szInfo), 255u);
  EXPECT_EQ(wcslen(record.szInfoTitle), 63u);
}

TEST_F(TrayIconRecordTest, BalloonReachesTheIcon) {
  NOTIFYICONDATAW record = {};
  ASSERT_TRUE(UpdateTrayIconRecord(&record, m_window, kTrayIconAdd, nullptr, false, m_state));
  EXPECT_TRUE(ShowTrayBalloonRecord(m_window, L"Check For Updates", 30000, false, nullptr));
  EXPECT_TRUE(ShowTrayBalloonRecord(m_window, nullptr, 0, true, L"tooltip again"));
}

__attribute__((noinline)) void WriteThrough(volatile int* pointer) { *pointer = 1; }

TEST_F(TrayIconRecordTest, AFaultOfTheShellIsShownAndBadBalloonTextsAreLogged) {
  qlrtest::TempDir dir;
  ASSERT_TRUE(InitLog(dir.File(L"log.txt").c_str()));
  SetShellNotifyIconHookForTests([](DWORD, NOTIFYICONDATAW*) -> BOOL {
    WriteThrough(nullptr);
    return TRUE;
  });
  std::atomic<bool> closed{false};
  std::thread closer([&] {
    closed = qlrtest::CloseMessageBox(GetCurrentProcessId(), L"Exception in Shell_Notify", 30000);
  });
  NOTIFYICONDATAW data = {};
  data.hWnd = m_window;
  data.uID = kTrayIconId;
  data.uFlags = NIF_TIP;
  EXPECT_FALSE(CallShellNotifyIcon(NIM_MODIFY, &data));
  closer.join();
  EXPECT_TRUE(closed.load());
  SetShellNotifyIconHookForTests(nullptr);
  // The program goes on: the next call reaches the shell.
  NOTIFYICONDATAW record = {};
  EXPECT_TRUE(UpdateTrayIconRecord(&record, m_window, kTrayIconAdd, nullptr, false, m_state));

  // A balloon text that does not end inside its field is named in the log.
  NOTIFYICONDATAW texts = {};
  EXPECT_EQ(CheckBalloonTexts(texts), 0);
  wmemset(texts.szInfo, L'z', ARRAYSIZE(texts.szInfo));
  wmemset(texts.szTip, L'z', ARRAYSIZE(texts.szTip));
  EXPECT_EQ(CheckBalloonTexts(texts), 2);
  WaitLogWritten(5000);
  TermLog();
  std::wstring log = qlrtest::ReadUtf16File(dir.File(L"log.txt"));
  for (const wchar_t* line : {L"ERROR: Exception in Shell_Notify", L"ERROR: IsBadStringPtr(ni.szInfo,INFINITE)",
                              L"ERROR: IsBadStringPtr(ni.szTip,INFINITE)"})
    EXPECT_NE(log.find(line), std::wstring::npos) << qlrtest::ToUtf8(line);
  EXPECT_EQ(log.find(L"szInfoTitle"), std::wstring::npos);
}

}  // namespace
