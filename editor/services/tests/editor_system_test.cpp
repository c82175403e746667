#include "editor/services/editor_system.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/system/handles.h"
#include "foundation/ui/rich_edit_convert.h"
#include "tests/support/test_support.h"

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kValueName[] = L"QuilloraServicesTest";

TEST(EditorSystemTest, DayOfWeekByTheCalendar) {
  struct Day {
    int day, month, year, weekday;
  } days[] = {{1, 1, 2000, 6}, {29, 2, 2024, 4}, {1, 3, 2024, 5}, {31, 12, 1999, 5},
              {9, 12, 2026, 3}, {1, 1, 1900, 1}, {28, 2, 2100, 0}, {1, 3, 2100, 1}};
  for (const Day& d : days)
    EXPECT_EQ(DayOfWeek(d.day, d.month, d.year), d.weekday) << d.day << "." << d.month << "." << d.year;
}

TEST(EditorSystemTest, LocalizedTextSplitsAtTheFirstLineFeed) {
  struct Case {
    UINT id;
    const wchar_t* firstLine;
    const wchar_t* before;
    const wchar_t* after;
  } cases[] = {
      {40001, L"Prompt of a command", L"Prompt of a command", L"Its tip"},
      {40002, L"\nStarts with a line feed", L"", L"Starts with a line feed"},
      {40003, L"One line only", L"One line only", L"One line only"},
      {40004, L"Ends with a line feed", L"Ends with a line feed", L""},
      {40099, L"", L"", L""},  // no text at all
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetLocalizedFirstLine(c.id), c.firstLine) << c.id;
    EXPECT_EQ(GetLocalizedPart(c.id, true), c.before) << c.id;
    EXPECT_EQ(GetLocalizedPart(c.id, false), c.after) << c.id;
  }
}

class RunValueTest : public ::testing::Test {
 protected:
  void TearDown() override { SetAutoStart(false, kValueName, nullptr); }

  // The value as stored, with a raw write for texts the editor never writes.
  static void Store(const std::wstring& text) {
    UniqueHKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(),
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.Get(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
};

TEST_F(RunValueTest, MatchesOnlyTheWholeProgramPath) {
  const std::wstring program = L"C:\\Program Files\\Quillora\\Quillora.exe";
  struct Case {
    std::wstring stored;
    bool set;
  } cases[] = {
      {L"c:\\PROGRAM FILES\\quillora\\QUILLORA.EXE /autoload", true},
      {program, true},
      {program + L"   ", true},
      {program + L"x /autoload", false},         // longer than the path
      {L"C:\\Program Files\\Quillora", false},   // only the start of it
      {L"", false},
      {L" /autoload", false},
      {L"D:\\Other\\Quillora.exe /autoload", false},
  };
  for (const Case& c : cases) {
    Store(c.stored);
    EXPECT_EQ(IsAutoStartSet(kValueName, program), c.set) << c.stored.c_str();
  }
  EXPECT_FALSE(IsAutoStartSet(kValueName, L""));
  SetAutoStart(false, kValueName, nullptr);
  EXPECT_FALSE(IsAutoStartSet(kValueName, program));
}

TEST_F(RunValueTest, WrittenWithItsTerminator) {
  const std::wstring command = L"C:\\Q\\Quillora.exe /autoload";
  ASSERT_TRUE(SetAutoStart(true, kValueName, command.c_str()));
  DWORD type = 0, bytes = 0;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_REG_SZ | RRF_NOEXPAND, &type, nullptr,
                         &bytes),
            ERROR_SUCCESS);
  // The raw bytes: the characters and one zero character after them.
  UniqueHKey key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, key.Put()), ERROR_SUCCESS);
  std::wstring raw(64, L'x');
  DWORD rawBytes = static_cast<DWORD>(raw.size() * sizeof(wchar_t));
  ASSERT_EQ(RegQueryValueExW(key.Get(), kValueName, nullptr, &type, reinterpret_cast<BYTE*>(&raw[0]), &rawBytes),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  ASSERT_EQ(rawBytes, (command.size() + 1) * sizeof(wchar_t));
  EXPECT_EQ(raw.substr(0, command.size()), command);
  EXPECT_EQ(raw[command.size()], L'\0');
  EXPECT_TRUE(IsAutoStartSet(kValueName, L"c:\\q\\quillora.exe"));
  ASSERT_TRUE(SetAutoStart(false, kValueName, nullptr));
  EXPECT_NE(RegGetValueW(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_REG_SZ, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
}

TEST(EditorSystemTest, HotkeyTextsTellTheDoublePress) {
  HotkeyRecord hotkey;
  EXPECT_EQ(HotkeyToDisplayText(hotkey), L"");
  hotkey.key = 'K';
  hotkey.modifiers = MOD_CONTROL | MOD_WIN;
  const std::wstring plain = GetHotkeyDisplayName('K', MOD_CONTROL | MOD_WIN);
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(HotkeyToDisplayText(hotkey), plain);
  hotkey.flags = HotkeyRecord::kDoublePress;
  EXPECT_EQ(HotkeyToDisplayText(hotkey), plain + L" - x 2");
  hotkey = HotkeyRecord();
  hotkey.key = VK_PAUSE;
  EXPECT_EQ(HotkeyToDisplayText(hotkey), L"Pause");
}

TEST(EditorSystemTest, RtfBytesComeBackAsText) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  SetHiddenRichEditParent(parent);
  EXPECT_EQ(RtfBytesToText(L""), L"");
  std::wstring text = RtfBytesToText(L"{\\rtf1\\ansi {\\b Bold} and plain\\par}");
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  EXPECT_EQ(text, L"Bold and plain");
  SetHiddenRichEditParent(nullptr);
  DestroyWindow(parent);
}

}  // namespace
