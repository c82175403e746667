// The real QuilloraEditor.exe: one instance per session, the hand-over of a
// second start, the close, and the events it shares with the tray program.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/e2e/editor_session.h"

namespace {

using qlre2e::EditorSessionTest;
using qlre2e::EventWaiter;
using qlre2e::IsEventSet;

TEST_F(EditorSessionTest, FirstStartOwnsTheInstanceAndShowsOneFrame) {
  HWND frame = Start();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(IsWindowVisible(frame));
  EXPECT_TRUE(IsZoomed(frame));
  // The bars are laid out for the maximised frame, not for a first size.
  RECT client = {}, status = {};
  GetClientRect(frame, &client);
  MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
  HWND bar = FindWindowExW(frame, nullptr, L"msctls_statusbar32", nullptr);
  ASSERT_NE(bar, nullptr);
  GetWindowRect(bar, &status);
  EXPECT_EQ(status.left, client.left);
  EXPECT_EQ(status.right, client.right);
  EXPECT_EQ(status.bottom, client.bottom);
  UniqueHandle instance(OpenEventW(SYNCHRONIZE, FALSE, qlre2e::kEditorInstanceEvent));
  EXPECT_TRUE(instance);
  EXPECT_EQ(qlre2e::FindEditorFrames(child.Pid()).size(), 1u);
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorSessionTest, SecondStartHandsOverAndEndsWithoutTellingTheTray) {
  UniqueHandle ended(CreateEventW(nullptr, FALSE, FALSE, qlre2e::kEditorEndedEvent));
  HWND frame = Start();
  ASSERT_NE(frame, nullptr);
  {
    EventWaiter waiter(ended.Get());
    ASSERT_TRUE(second.Start(dir.File(L"QuilloraEditor.exe"), L""));
    EXPECT_EQ(second.Wait(10000), 0);
    EXPECT_TRUE(qlre2e::FindEditorFrames(second.Pid()).empty());
    Sleep(500);
    EXPECT_FALSE(waiter.Released());
  }
  EXPECT_EQ(qlre2e::FindEditorFrames(child.Pid()).size(), 1u);

  // With "/addfromcb" the running editor's watcher hears of it.
  ASSERT_TRUE(second.Start(dir.File(L"QuilloraEditor.exe"), L"/addfromcb"));
  EXPECT_EQ(second.Wait(10000), 0);
  EXPECT_TRUE(WaitForLog(L"Request: add a phrase from the clipboard"));
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorSessionTest, ExitTellsTheTrayAndTheCooperatingProgram) {
  UniqueHandle ended(CreateEventW(nullptr, FALSE, FALSE, qlre2e::kEditorEndedEvent));
  UniqueHandle coop(CreateEventW(nullptr, TRUE, FALSE, qlre2e::kCoopClientEditorEvent));
  HWND frame = Start();
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(IsEventSet(coop.Get()));
  EventWaiter waiter(ended.Get());
  EXPECT_EQ(Exit(frame), 0);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return waiter.Released(); }, kWaitMs));
  EXPECT_TRUE(IsEventSet(coop.Get()));
  EXPECT_TRUE(WaitForLog(L"===End QuilloraEditor==="));
}

TEST_F(EditorSessionTest, OptionsWatcherFollowsTheTrayOnlyWhenItRanFirst) {
  {
    HWND frame = Start();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(WaitForLog(L"Options watcher not started"));
    EXPECT_EQ(Exit(frame), 0);
  }
  UniqueHandle options(CreateEventW(nullptr, FALSE, FALSE, qlre2e::kOptionsChangedEvent));
  HWND frame = Start();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(LogText().find(L"Options changed: editor settings reloaded"), std::wstring::npos);
  SetEvent(options.Get());
  EXPECT_TRUE(WaitForLog(L"Options changed: editor settings reloaded"));
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorSessionTest, CheckForUpdatesSetsTheTraysEventOrSaysFail) {
  HWND frame = Start();
  ASSERT_NE(frame, nullptr);
  // No tray program: a box says so.
  PostMessageW(frame, WM_COMMAND, qlre2e::kEditorCheckForUpdatesCommand, 0);
  EXPECT_TRUE(qlrtest::CloseMessageBox(child.Pid(), L"FAIL", kWaitMs));

  UniqueHandle check(CreateEventW(nullptr, TRUE, FALSE, qlre2e::kCommandCheckForUpdatesEvent));
  PostMessageW(frame, WM_COMMAND, qlre2e::kEditorCheckForUpdatesCommand, 0);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return IsEventSet(check.Get()); }, kWaitMs));
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorSessionTest, AboutBoxShowsTheBuildDateAndCloses) {
  HWND frame = Start();
  ASSERT_NE(frame, nullptr);
  PostMessageW(frame, WM_COMMAND, 57664, 0);
  HWND about = nullptr;
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] { return (about = qlrtest::FindProcessWindow(child.Pid(), L"#32770", L"About Quillora Phrase Editor")); },
      kWaitMs));
  wchar_t text[512] = {};
  ASSERT_TRUE(qlrtest::WaitUntil([&] {
    GetDlgItemTextW(about, 1008, text, 512);
    return wcsstr(text, L"\nReleased ") != nullptr;
  }));
  wchar_t link[64] = {};
  GetDlgItemTextW(about, 1017, link, 64);
  EXPECT_STREQ(link, L"Home Page");
  // The editor still answers a second start while its box is open.
  EXPECT_EQ(qlre2e::FindEditorFrames(child.Pid()).size(), 1u);
  PostMessageW(about, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return !IsWindow(about); }, kWaitMs));
  EXPECT_EQ(Exit(frame), 0);
}

TEST_F(EditorSessionTest, CommandLinesOfAllKindsStartTheEditor) {
  std::wstring many;
  for (int i = 0; i < 100; ++i) many += L" /switch" + std::to_wstring(i);
  const std::wstring lines[] = {L"/FIRSTRUN", L"-addfromcb", L"/unknown plain.txt", many};
  for (const std::wstring& args : lines) {
    HWND frame = Start(args);
    ASSERT_NE(frame, nullptr) << args;
    EXPECT_EQ(Exit(frame), 0) << args;
  }
  EXPECT_TRUE(WaitForLog(L"Start flags: 2"));
  EXPECT_TRUE(WaitForLog(L"Start flags: 1"));
}

}  // namespace
