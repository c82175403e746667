#include "online/update_events.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include <atomic>

#include "foundation/system/handles.h"
#include "settings/event_watchers.h"
#include "tests/support/test_support.h"

namespace {

SYSTEMTIME Time(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s, WORD ms) {
  SYSTEMTIME t = {};
  t.wYear = y;
  t.wMonth = mo;
  t.wDay = d;
  t.wHour = h;
  t.wMinute = mi;
  t.wSecond = s;
  t.wMilliseconds = ms;
  return t;
}

std::string Text(const SYSTEMTIME& t) {
  char buf[64];
  snprintf(buf, sizeof(buf), "%04u-%02u-%02u %02u:%02u:%02u.%03u dow%u", t.wYear, t.wMonth,
           t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, t.wDayOfWeek);
  return buf;
}

TEST(UpdateEventsTest, AddDaysKeepsTheMilliseconds) {
  struct Case {
    SYSTEMTIME from;
    double days;
    const char* expected;
  } cases[] = {
      {Time(2026, 12, 31, 23, 59, 59, 500), 1, "2027-01-01 23:59:59.500 dow5"},
      {Time(2024, 2, 28, 12, 0, 0, 0), 1, "2024-02-29 12:00:00.000 dow4"},
      {Time(2023, 2, 28, 12, 0, 0, 999), 1, "2023-03-01 12:00:00.999 dow3"},
      {Time(2026, 3, 1, 0, 0, 0, 1), -1, "2026-02-28 00:00:00.001 dow6"},
      {Time(2026, 1, 10, 6, 30, 15, 250), 30, "2026-02-09 06:30:15.250 dow1"},
      {Time(2026, 1, 10, 6, 0, 0, 0), 0.5, "2026-01-10 18:00:00.000 dow6"},
      {Time(2026, 1, 10, 6, 0, 0, 0), 0, "2026-01-10 06:00:00.000 dow6"},
  };
  for (const Case& c : cases) {
    SYSTEMTIME t = c.from;
    ASSERT_TRUE(AddDaysToSystemTime(t, c.days)) << c.expected;
    EXPECT_EQ(Text(t), c.expected);
  }
  SYSTEMTIME bad = Time(2026, 13, 1, 0, 0, 0, 0);
  SYSTEMTIME copy = bad;
  EXPECT_FALSE(AddDaysToSystemTime(bad, 1));
  EXPECT_EQ(Text(bad), Text(copy));
}

TEST(UpdateEventsTest, UtcToLocalMatchesTheSystemsZone) {
  SYSTEMTIME utc = Time(2026, 7, 1, 12, 0, 0, 123);
  SYSTEMTIME local = {};
  ASSERT_TRUE(SystemTimeToLocalSystemTime(utc, local));
  // Back through the zone gives the same UTC time.
  FILETIME localFile = {}, utcFile = {};
  ASSERT_TRUE(SystemTimeToFileTime(&local, &localFile));
  ASSERT_TRUE(LocalFileTimeToFileTime(&localFile, &utcFile));
  SYSTEMTIME back = {};
  ASSERT_TRUE(FileTimeToSystemTime(&utcFile, &back));
  EXPECT_EQ(Text(back).substr(0, 23), Text(utc).substr(0, 23));
  EXPECT_FALSE(SystemTimeToLocalSystemTime(Time(2026, 2, 30, 0, 0, 0, 0), local));
}

// Opens the named event as another program would and tells whether every
// user was granted access.
bool GrantsEveryone(const wchar_t* name) {
  UniqueHandle event(OpenEventW(READ_CONTROL, FALSE, name));
  if (!event) return false;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (GetSecurityInfo(event.Get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                      &dacl, nullptr, &sd) != ERROR_SUCCESS)
    return false;
  bool everyone = false;
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyoneSid = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyoneSid);
  for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) &&
        ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
        EqualSid(reinterpret_cast<PSID>(&ace->SidStart), everyoneSid))
      everyone = true;
  }
  FreeSid(everyoneSid);
  LocalFree(sd);
  return everyone;
}

TEST(UpdateEventsTest, OptionsChangedPulseWakesAWaitingEditor) {
  HANDLE event = GetOptionsChangedEvent();
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(GetOptionsChangedEvent(), event);  // created once
  EXPECT_TRUE(GrantsEveryone(L"Local\\Quillora_OptionsChanged"));
  // What default security would have given.
  UniqueHandle plain(CreateEventW(nullptr, FALSE, FALSE, L"Local\\Quillora_Test_DefaultSecurity"));
  EXPECT_FALSE(GrantsEveryone(L"Local\\Quillora_Test_DefaultSecurity"));

  // The editor's side: its own handle, a thread blocked on it.
  UniqueHandle editorSide(OpenEventW(SYNCHRONIZE, FALSE, L"Local\\Quillora_OptionsChanged"));
  ASSERT_TRUE(editorSide);
  std::atomic<int> woken{0};
  struct Waiter {
    HANDLE event;
    std::atomic<int>* woken;
  } waiter{editorSide.Get(), &woken};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto* w = static_cast<Waiter*>(p);
        if (WaitForSingleObject(w->event, 10000) == WAIT_OBJECT_0) ++*w->woken;
        return 0;
      },
      &waiter, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  // Pulse until the waiter has surely started waiting: a pulse without a
  // waiter leaves nothing behind. The pulses are made on this thread, so
  // none is still in flight when the event is checked below.
  EXPECT_TRUE(qlrtest::WaitUntil(
      [&] {
        PulseOptionsChangedNow();
        return WaitForSingleObject(thread, 50) == WAIT_OBJECT_0;
      },
      10000));
  CloseHandle(thread);
  EXPECT_EQ(woken.load(), 1);
  EXPECT_EQ(WaitForSingleObject(editorSide.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  ReleaseOptionsChangedEvent();
  HANDLE again = GetOptionsChangedEvent();  // made anew after a release
  EXPECT_NE(again, nullptr);
  ReleaseOptionsChangedEvent();
}

TEST(UpdateEventsTest, EditorRequestsBecomeCheckCommands) {
  constexpr UINT kCommand = 32791;
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                nullptr);
  ASSERT_NE(window, nullptr);
  static std::atomic<int> commands{0};
  static std::atomic<LPARAM> lastLParam{-1};
  commands = 0;
  SetWindowLongPtrW(window, GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                      if (m == WM_COMMAND && w == kCommand) {
                        ++commands;
                        lastLParam = l;
                        return 0;
                      }
                      return DefWindowProcW(h, m, w, l);
                    }));
  UniqueHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  long before = GetRunningWatcherCount();
  ASSERT_TRUE(StartCommandCheckForUpdatesWatcher(window, kCommand, stop.Get()));
  const wchar_t* name = GetCommandCheckForUpdatesEventName();
  EXPECT_STREQ(name, L"Local\\Quillora_CommandCheckForUpdates");
  EXPECT_TRUE(GrantsEveryone(name));

  UniqueHandle editor(OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, name));
  ASSERT_TRUE(editor);
  for (int round = 1; round <= 2; ++round) {
    SetEvent(editor.Get());
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return commands.load() == round; }, 5000)) << round;
    // Manual reset: the watcher resets it for the next request.
    EXPECT_TRUE(qlrtest::WaitUntil(
        [&] { return WaitForSingleObject(editor.Get(), 0) == WAIT_TIMEOUT; }, 5000));
  }
  EXPECT_EQ(lastLParam.load(), 0);
  SetEvent(stop.Get());
  EXPECT_TRUE(qlrtest::WaitUntil([&] { return GetRunningWatcherCount() == before; }, 5000));
  DestroyWindow(window);
}

TEST(UpdateEventsTest, WelcomeProgramStartsWithAutoSwitch) {
  // Starting and ending a program under Wine takes seconds on a busy machine.
  constexpr DWORD kStartWaitMs = 30000;
  qlrtest::TempDir dir;
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_online_probe.exe"),
                                  dir.File(L"online_probe.exe")));
  ASSERT_TRUE(qlrtest::CopyFileTo(qlrtest::BinFile(L"helper_write_marker.exe"),
                                  dir.File(L"Quillora_Welcome.exe")));
  std::wstring marker = dir.File(L"marker.txt");
  SetEnvironmentVariableW(L"QLR_MARKER_FILE", marker.c_str());
  struct Case {
    const wchar_t* flag;
    bool hasAuto;
  } cases[] = {{L"1", true}, {L"0", false}};
  for (const Case& c : cases) {
    DeleteFileW(marker.c_str());
    EXPECT_EQ(qlrtest::RunProcess(dir.File(L"online_probe.exe"), std::wstring(L"welcome ") + c.flag),
              0);
    ASSERT_TRUE(qlrtest::WaitUntil(
        [&] { return !qlrtest::ReadUtf16File(marker).empty(); }, kStartWaitMs));
    std::wstring cmd = qlrtest::ReadUtf16File(marker);
    EXPECT_NE(cmd.find(L"Quillora_Welcome.exe"), std::wstring::npos) << cmd.c_str();
    EXPECT_EQ(cmd.find(L"/auto") != std::wstring::npos, c.hasAuto) << cmd.c_str();
  }
  // No welcome program beside the caller: the start fails.
  // The last started copy may still be ending and hold its file.
  const std::wstring welcome = dir.File(L"Quillora_Welcome.exe");
  ASSERT_TRUE(qlrtest::WaitUntil(
      [&] { return DeleteFileW(welcome.c_str()) || GetFileAttributesW(welcome.c_str()) == INVALID_FILE_ATTRIBUTES; },
      kStartWaitMs));
  EXPECT_EQ(qlrtest::RunProcess(dir.File(L"online_probe.exe"), L"welcome 1"), 1);
  SetEnvironmentVariableW(L"QLR_MARKER_FILE", nullptr);
}

}  // namespace
