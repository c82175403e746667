// The history pane's commands in the real Quillora.exe beside a target
// program with a focused EDIT: the menu's Copy only copies, a double click
// inserts into the window used before, and the phrase menu's right-click
// actions on a history entry.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tests/e2e/hotkey_session.h"
#include "tests/e2e/tray_program.h"

namespace {

using qlre2e::HotkeySession;
using qlre2e::kWaitMs;

constexpr wchar_t kPaneClass[] = L"QuilloraFloatPane";
constexpr UINT kRightMenuCommand = 32789;
constexpr UINT kCopy = 32793;
constexpr UINT kItemCount = WM_APP + 2;
constexpr UINT kSetShowMode = WM_APP + 3;
constexpr UINT kFixPane = 32820;
constexpr LPARAM kFirstHistoryEntry = 2000;
constexpr wchar_t kEntry[] = L"pane entry";

std::wstring ClipboardNow() {
  std::wstring text = L"-";
  if (!qlrtest::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000)) return text;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) text.assign(p, wcsnlen(p, GlobalSize(h) / 2));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

class PaneCommandsE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session.Prepared());
    session.SetSetting(L"ClipboardHistory", L"1");
    session.SetSetting(L"ShowHistoryPaneOnStart", L"1");
    ASSERT_TRUE(qlrtest::WriteBytes(session.File(L"ShellOpen_Test.ShellOpen_Test"), ""));
    ASSERT_TRUE(qlre2e::EmptyTheClipboard());
  }
  void TearDown() override { EXPECT_EQ(session.Stop(), 0); }
  std::string Requests() const { return qlrtest::ReadBytes(session.File(L"ShellOpen_Test.log")); }
  // Quillora.exe up with one history entry copied by another program, and
  // its pane expanded and fixed.
  HWND StartWithEntry() {
    if (!session.StartQuillora()) return nullptr;
    HWND pane = nullptr;
    qlrtest::WaitUntil([&] { return (pane = qlrtest::FindProcessWindow(session.QuilloraPid(), kPaneClass)); }, kWaitMs);
    if (!pane || qlre2e::CopyFromPeer(kEntry) != 0) return nullptr;
    qlrtest::WaitUntil([&] { return SendMessageW(pane, kItemCount, 0, 0) == 1; }, kWaitMs);
    return pane;
  }
  HotkeySession session;
};

TEST_F(PaneCommandsE2eTest, RightClickActionsOnAHistoryEntry) {
  HWND pane = StartWithEntry();
  ASSERT_NE(pane, nullptr) << qlrtest::ToUtf8(session.LogText());
  HWND tray = session.TrayWindow();
  ASSERT_TRUE(qlre2e::EmptyTheClipboard());
  EXPECT_EQ(SendMessageW(tray, kRightMenuCommand, 0, kFirstHistoryEntry), 1);
  EXPECT_EQ(ClipboardNow(), kEntry);
  EXPECT_EQ(SendMessageW(tray, kRightMenuCommand, 4, kFirstHistoryEntry), 1);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return !Requests().empty(); }, kWaitMs));
  EXPECT_EQ(Requests(), "open\thttp://search1.example/search?q=pane%20entry\t\r\n");
  EXPECT_EQ(SendMessageW(tray, kRightMenuCommand, 2, kFirstHistoryEntry), 1);
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return Requests().find("==Quillora==") != std::string::npos; }, kWaitMs))
      << Requests();
  // The request names the temporary file, which holds the entry.
  std::string log = Requests();
  size_t start = log.find('\t', log.find("\r\n") + 2) + 1;
  std::string path = log.substr(start, log.find('\t', start) - start);
  EXPECT_NE(path.find(".txt"), std::string::npos) << path;
  std::string bytes = qlrtest::ReadBytes(qlrtest::FromUtf8(path));
  EXPECT_NE(bytes.find("p\0a\0n\0e", 0, 7), std::string::npos) << path;
}

std::string PaneState(HWND pane, HWND list) {
  RECT p = {}, l = {};
  GetWindowRect(pane, &p);
  GetClientRect(list, &l);
  char text[200];
  snprintf(text, sizeof(text), "pane %ld,%ld-%ld,%ld visible %d; list %ldx%ld visible %d", p.left, p.top,
           p.right, p.bottom, IsWindowVisible(pane), l.right, l.bottom, IsWindowVisible(list));
  return text;
}

TEST_F(PaneCommandsE2eTest, MenuCopyOnlyCopiesAndADoubleClickInsertsIntoTheWindowUsedBefore) {
  ASSERT_TRUE(session.StartTarget()) << "the target did not come to the front";
  HWND pane = StartWithEntry();
  ASSERT_NE(pane, nullptr) << qlrtest::ToUtf8(session.LogText());
  ASSERT_TRUE(session.BringTargetForward());
  session.ClearTarget();
  ASSERT_TRUE(qlre2e::EmptyTheClipboard());
  HWND list = FindWindowExW(pane, nullptr, L"SysListView32", nullptr);
  ASSERT_NE(list, nullptr);
  // The selection mark travels as a number, so another process may set it.
  SendMessageW(list, LVM_SETSELECTIONMARK, 0, 0);
  SendMessageW(pane, WM_COMMAND, kCopy, 0);
  EXPECT_TRUE(qlrtest::WaitUntil([] { return ClipboardNow() == kEntry; }, kWaitMs));
  // The command has returned and nothing was pasted into the target.
  EXPECT_EQ(session.TargetText(), L"");

  // The pane expanded and fixed, then a double click on its first row.
  SendMessageW(pane, kSetShowMode, 0, 0);
  SendMessageW(pane, WM_COMMAND, kFixPane, 0);
  ASSERT_TRUE(session.BringTargetForward());
  // The expanded pane is laid out when the list's first row lies under the
  // point clicked below (a busy machine lays it out late).
  ASSERT_TRUE(qlrtest::WaitUntil([&] {
    RECT rc = {};
    return IsWindowVisible(list) && GetClientRect(list, &rc) && rc.right > 100 && rc.bottom > 30;
  }, kWaitMs)) << PaneState(pane, list);
  // The list's own double-click handling on its first row (pointer input
  // would depend on which window is in front).
  const DWORD start = GetTickCount();
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(80, 10));
  EXPECT_TRUE(session.WaitForTargetText(kEntry)) << qlrtest::ToUtf8(session.TargetText()) << qlrtest::ToUtf8(session.LogText().substr(session.LogText().size() > 3000 ? session.LogText().size() - 3000 : 0));
  printf("double click to text in the target: %lu ms\n", GetTickCount() - start);
}

}  // namespace
