#include "foundation/system/system_helpers.h"

#include <gtest/gtest.h>

#include <rpc.h>
#include <windows.h>

#include <atomic>
#include <cwctype>
#include <thread>

#include "foundation/files/paths.h"
#include "foundation/files/program_names.h"
#include "foundation/system/handles.h"
#include "tests/support/test_support.h"

namespace {

std::wstring KeyName(UINT vk, bool extended) {
  LONG lParam = static_cast<LONG>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16);
  if (extended) lParam |= 1 << 24;
  wchar_t name[100] = {};
  GetKeyNameTextW(lParam, name, 100);
  return name;
}

TEST(SystemHelpersTest, GuidStrings) {
  std::wstring a = CreateGuidString(false), b = CreateGuidString(false);
  ASSERT_EQ(a.size(), 36u);
  EXPECT_NE(a, b);
  for (size_t i = 0; i < a.size(); ++i) {
    if (i == 8 || i == 13 || i == 18 || i == 23)
      EXPECT_EQ(a[i], L'-');
    else
      EXPECT_TRUE(iswxdigit(a[i])) << i;
  }
  std::wstring bare = CreateGuidString(true);
  ASSERT_EQ(bare.size(), 32u);
  for (wchar_t c : bare) EXPECT_TRUE(iswxdigit(c));
  UUID uuid;
  EXPECT_EQ(UuidFromStringW(reinterpret_cast<RPC_WSTR>(&a[0]), &uuid), RPC_S_OK);
}

TEST(SystemHelpersTest, HandleProtection) {
  UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  DWORD flags = 0;
  ASSERT_TRUE(SetHandleProtectFromClose(event.Get(), true));
  ASSERT_TRUE(GetHandleInformation(event.Get(), &flags));
  EXPECT_TRUE(flags & HANDLE_FLAG_PROTECT_FROM_CLOSE);
  ASSERT_TRUE(SetHandleProtectFromClose(event.Get(), false));
  ASSERT_TRUE(GetHandleInformation(event.Get(), &flags));
  EXPECT_FALSE(flags & HANDLE_FLAG_PROTECT_FROM_CLOSE);
}

TEST(SystemHelpersTest, BroadcastReachesTopLevelWindows) {
  static std::atomic<int> received{0};
  static UINT message = RegisterWindowMessageW(L"QlrTestBroadcast");
  WNDCLASSW wc = {};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == message && w == 7 && l == 9) ++received;
    return DefWindowProcW(h, m, w, l);
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QlrTestBroadcastWnd";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowW(wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                            nullptr, wc.hInstance, nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_GT(BroadcastMessageToAll(message, 7, 9), 0);
  EXPECT_TRUE(qlrtest::PumpUntil([] { return received > 0; }));
  DestroyWindow(hwnd);
}

TEST(SystemHelpersTest, HotkeyTextsUseTheKeysOwnNames) {
  const std::wstring ctrl = KeyName(VK_CONTROL, false), shift = KeyName(VK_SHIFT, false),
                     alt = KeyName(VK_MENU, false);
  // Insert, arrows and Enter each have a numeric-pad twin under another name.
  ASSERT_NE(KeyName(VK_INSERT, true), KeyName(VK_INSERT, false));
  ASSERT_NE(KeyName(VK_RETURN, true), KeyName(VK_RETURN, false));
  struct Case {
    UINT vk, mods;
    std::wstring text;
  } cases[] = {
      {0, 0, L""},
      {VK_F5, 0, KeyName(VK_F5, false)},
      {'A', MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN,
       ctrl + L"+" + shift + L"+" + alt + L"+WIN+" + KeyName('A', false)},
      {VK_INSERT, MOD_CONTROL | MOD_ALT, ctrl + L"+" + alt + L"+" + KeyName(VK_INSERT, true)},
      {VK_LEFT, MOD_SHIFT, shift + L"+" + KeyName(VK_LEFT, true)},
      {VK_INSERT, MOD_WIN, L"WIN+" + KeyName(VK_INSERT, true)},
      {VK_RETURN, MOD_WIN, L"WIN+" + KeyName(VK_RETURN, false)},
      {VK_PAUSE, MOD_SHIFT, shift + L"+Pause"},
      {0, MOD_CONTROL, ctrl + L"+" + KeyName(0, false)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetHotkeyDisplayName(c.vk, c.mods), c.text) << c.vk << " " << c.mods;
  }
  EXPECT_EQ(GetKeyDisplayName(VK_PAUSE, true), L"Pause");
}

TEST(SystemHelpersTest, DayOfWeek) {
  struct Case {
    int d, m, y, dow;
  } cases[] = {{1, 1, 2000, 6}, {29, 2, 2024, 4}, {1, 1, 1900, 1},
               {31, 12, 1999, 5}, {1, 3, 2000, 3}, {8, 12, 2026, 2}};
  for (const Case& c : cases) EXPECT_EQ(GetDayOfWeek(c.d, c.m, c.y), c.dow);
  // Every 11th day over four centuries agrees with the system calendar.
  SYSTEMTIME st = {1700, 1, 0, 1, 0, 0, 0, 0};
  FILETIME ft;
  ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
  ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
  const ULONGLONG day = 864000000000ULL;
  for (int i = 0; i < 146100 / 11; ++i, t.QuadPart += 11 * day) {
    ft = {t.LowPart, t.HighPart};
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
    ASSERT_EQ(GetDayOfWeek(st.wDay, st.wMonth, st.wYear), st.wDayOfWeek)
        << st.wDay << "." << st.wMonth << "." << st.wYear;
  }
}

TEST(ProgramNamesTest, NamesOfProgramsAndObjects) {
  struct Case {
    std::wstring got, expected;
  } cases[] = {
      {GetEditorExePath(), GetAppFolderWithSlash() + L"QuilloraEditor.exe"},
      {GetWelcomeExePath(), GetAppFolderWithSlash() + L"Quillora_Welcome.exe"},
      {GetGestureDllName(), L"Gesture.dll"},
      {GetSettingAreaName(), L"Local\\$QUILLORA_SETTING_AREA$"},
      {GetLangUIChangedEventName(), L"Local\\Quillora_LangUI_Changed"},
      {GetCheckForUpdatesEventName(), L"Local\\Quillora_CheckForUpdates"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected);

  UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  SetFirstInstanceEvent(event.Get());
  EXPECT_EQ(GetFirstInstanceEvent(), event.Get());
  SetFirstInstanceEvent(nullptr);
}

TEST(ProgramNamesTest, CheckForUpdatesPulseWakesTheWatcher) {
  EXPECT_FALSE(SignalCheckForUpdates());  // no tray program listens
  UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, GetCheckForUpdatesEventName().c_str()));
  ASSERT_TRUE(event);
  std::atomic<bool> waiting{false}, woke{false};
  std::thread watcher([&] {
    waiting = true;
    woke = WaitForSingleObject(event.Get(), 10000) == WAIT_OBJECT_0;
  });
  ASSERT_TRUE(qlrtest::WaitUntil([&] { return waiting.load(); }));
  // The watcher must really be inside its wait before the pulse.
  ASSERT_TRUE(qlrtest::WaitUntil([&] {
    EXPECT_TRUE(SignalCheckForUpdates());
    return woke.load();
  }));
  watcher.join();
  EXPECT_TRUE(woke);
  EXPECT_EQ(WaitForSingleObject(event.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));  // reset again
}

TEST(SystemHelpersTest, TextFromAnAddressIsCopiedOnlyWhereItCanBeRead) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  const size_t page = info.dwPageSize;
  // Two pages; the second cannot be read.
  BYTE* block = static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  ASSERT_NE(block, nullptr);
  DWORD old = 0;
  ASSERT_TRUE(VirtualProtect(block + page, page, PAGE_NOACCESS, &old));
  wchar_t* lastChars = reinterpret_cast<wchar_t*>(block + page) - 4;

  std::wstring out;
  // Ends right at the edge of the readable page.
  wcscpy(lastChars, L"abc");
  EXPECT_TRUE(CopyTextFromAddress(lastChars, 100, &out));
  EXPECT_EQ(out, L"abc");
  // Runs on into the page that cannot be read.
  memcpy(lastChars, L"abcd", 4 * sizeof(wchar_t));
  EXPECT_FALSE(CopyTextFromAddress(lastChars, 100, &out));
  // A long text inside the readable page, and the same cut at the limit.
  const std::wstring longText(1500, L'x');
  wcscpy(reinterpret_cast<wchar_t*>(block) + 7, longText.c_str());
  EXPECT_TRUE(CopyTextFromAddress(reinterpret_cast<wchar_t*>(block) + 7, 5000, &out));
  EXPECT_EQ(out, longText);
  EXPECT_TRUE(CopyTextFromAddress(reinterpret_cast<wchar_t*>(block) + 7, 10, &out));
  EXPECT_EQ(out, std::wstring(10, L'x'));
  // Addresses that mean nothing in this process.
  EXPECT_FALSE(CopyTextFromAddress(reinterpret_cast<const wchar_t*>(block + page), 100, &out));
  EXPECT_FALSE(CopyTextFromAddress(reinterpret_cast<const wchar_t*>(static_cast<INT_PTR>(0x10)), 100, &out));
  EXPECT_FALSE(CopyTextFromAddress(nullptr, 100, &out));
  // The same limits for a block of memory, and this thread's stack.
  EXPECT_TRUE(IsReadableMemory(lastChars, 4 * sizeof(wchar_t)));
  EXPECT_FALSE(IsReadableMemory(lastChars, 4 * sizeof(wchar_t) + 1));
  EXPECT_FALSE(IsReadableMemory(block + page, 1));
  NMHDR onStack = {};
  EXPECT_TRUE(IsReadableMemory(&onStack, sizeof(onStack)));
  const NT_TIB* tib = reinterpret_cast<const NT_TIB*>(NtCurrentTeb());
  EXPECT_FALSE(IsReadableMemory(static_cast<BYTE*>(tib->StackBase) - 8, ~static_cast<size_t>(0)));
  VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace
