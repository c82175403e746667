#include "phrases/insertion/keystrokes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/logging/log.h"
#include "phrases/tests/insert_target.h"

namespace {

// One INPUT as "vk/scan/flags" for readable comparisons.
struct K {
  WORD vk, scan;
  DWORD flags;
  bool operator==(const K& o) const { return vk == o.vk && scan == o.scan && flags == o.flags; }
};
std::ostream& operator<<(std::ostream& os, const K& k) {
  return os << "{" << k.vk << "," << k.scan << "," << k.flags << "}";
}
std::vector<K> Keys(const std::vector<INPUT>& in) {
  std::vector<K> out;
  for (const INPUT& i : in) {
    EXPECT_EQ(i.type, static_cast<DWORD>(INPUT_KEYBOARD));
    out.push_back({i.ki.wVk, i.ki.wScan, i.ki.dwFlags});
  }
  return out;
}

constexpr DWORD U = KEYEVENTF_UNICODE;
constexpr DWORD UP = KEYEVENTF_KEYUP;
WORD Scan(WORD vk) { return static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)); }

TEST(KeystrokesTest, TypedTextBecomesKeyPairs) {
  struct Case {
    std::wstring text;
    int left, right;
    std::vector<K> expected;
  };
  const Case cases[] = {
      {L"", 0, 0, {}},
      {L"a\r\nb", 0, 0,
       {{0, 'a', U}, {0, 'a', U | UP}, {VK_RETURN, Scan(VK_RETURN), 0}, {VK_RETURN, Scan(VK_RETURN), UP},
        {10, Scan(10), 0}, {10, Scan(10), UP}, {0, 'b', U}, {0, 'b', U | UP}}},
      {L"\t\u20AC", 0, 0, {{VK_TAB, Scan(VK_TAB), 0}, {VK_TAB, Scan(VK_TAB), UP}, {0, 0x20AC, U}, {0, 0x20AC, U | UP}}},
      {L"x", 3, 0,
       {{0, 'x', U}, {0, 'x', U | UP}, {VK_SHIFT, 0, UP}, {VK_LEFT, 0, 0}, {VK_LEFT, 0, UP},
        {VK_LEFT, 0, 0}, {VK_LEFT, 0, UP}, {VK_LEFT, 0, 0}, {VK_LEFT, 0, UP}}},
      {L"y", 0, 2,
       {{0, 'y', U}, {0, 'y', U | UP}, {VK_SHIFT, 0, 0}, {VK_RIGHT, 0, 0}, {VK_RIGHT, 0, UP},
        {VK_RIGHT, 0, 0}, {VK_RIGHT, 0, UP}, {VK_SHIFT, 0, UP}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Keys(BuildTypeTextInputs(c.text, c.left, c.right)), c.expected) << c.text.size();
  }
  // A surrogate pair goes out as two Unicode pairs, one per code unit.
  EXPECT_EQ(BuildTypeTextInputs(L"\U0001F600", 0, 0).size(), 4u);
  EXPECT_FALSE(TypeText(L"", nullptr, 0, 0, 0));
}

TEST(KeystrokesTest, LayoutSwitchKeysPerMethod) {
  const WORD shift = Scan(VK_SHIFT), grave = Scan(VK_OEM_3);
  const std::vector<K> altShift = {{VK_LMENU, 0, 0}, {VK_SHIFT, shift, 0}, {VK_SHIFT, shift, UP}, {VK_LMENU, 0, UP}};
  struct Case {
    int method;
    std::vector<K> expected;
  };
  const Case cases[] = {
      {1, altShift},
      {2, {{VK_LCONTROL, 0, 0}, {VK_SHIFT, shift, 0}, {VK_SHIFT, shift, UP}, {VK_LCONTROL, 0, UP}}},
      {3, altShift},
      {4, {{VK_OEM_3, grave, 0}, {VK_OEM_3, grave, UP}}},
      {0, altShift},
  };
  for (const Case& c : cases) EXPECT_EQ(Keys(BuildLayoutSwitchInputs(c.method)), c.expected) << c.method;
}

// Keeps the user's toggle key as it was around a test.
class ToggleKey {
 public:
  ToggleKey() {
    m_existed = RegOpenKeyExW(HKEY_CURRENT_USER, kPath, 0, KEY_READ, &m_key) == ERROR_SUCCESS;
    if (m_existed) {
      DWORD size = sizeof(m_old);
      m_hadValue = RegQueryValueExW(m_key, L"Hotkey", nullptr, nullptr, reinterpret_cast<BYTE*>(m_old), &size) == ERROR_SUCCESS;
      RegCloseKey(m_key);
    }
  }
  ~ToggleKey() {
    if (!m_existed) {
      RegDeleteKeyW(HKEY_CURRENT_USER, kPath);
    } else if (m_hadValue) {
      Set(m_old);
    } else {
      Set(nullptr);
    }
  }
  static void Set(const wchar_t* value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    if (value) {
      RegSetValueExW(key, L"Hotkey", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>((wcslen(value) + 1) * 2));
    } else {
      RegDeleteValueW(key, L"Hotkey");
    }
    RegCloseKey(key);
  }
  static constexpr const wchar_t* kPath = L"Keyboard Layout\\Toggle";

 private:
  HKEY m_key = nullptr;
  bool m_existed = false, m_hadValue = false;
  wchar_t m_old[64] = {};
};

TEST(KeystrokesTest, LayoutSwitchMethodFromTheToggleKey) {
  ToggleKey keep;
  struct Case {
    const wchar_t* value;  // null: no value
    int method;
  };
  const Case cases[] = {{L"1", 1}, {L"2", 2}, {L"3", 3}, {L"4", 4}, {nullptr, 1}, {L"5", 0}, {L"", 0}, {L"12", 0}};
  for (const Case& c : cases) {
    ToggleKey::Set(c.value);
    EXPECT_EQ(GetLayoutSwitchMethod(), c.method) << (c.value ? c.value : L"(none)");
  }
  RegDeleteKeyW(HKEY_CURRENT_USER, ToggleKey::kPath);
  EXPECT_EQ(GetLayoutSwitchMethod(), 0);
}

TEST(KeystrokesTest, LayoutSwitchPressesUntilTheLanguageMatches) {
  const HKL english = reinterpret_cast<HKL>(static_cast<UINT_PTR>(0x04090409));
  const HKL german = reinterpret_cast<HKL>(static_cast<UINT_PTR>(0x04070407));
  const HKL germanSwiss = reinterpret_cast<HKL>(static_cast<UINT_PTR>(0x08070407));
  const HKL french = reinterpret_cast<HKL>(static_cast<UINT_PTR>(0x040C040C));
  struct Case {
    int layouts;
    bool otherProcess;
    std::vector<HKL> sequence;  // the target's layout after each press
    HKL wanted;
    int presses;
  };
  const Case cases[] = {
      {2, true, {french}, german, 1},                       // one press toggles, whatever results
      {1, false, {english}, german, 1},
      {3, false, {french, german, english}, german, 2},
      {3, true, {germanSwiss}, german, 1},                  // the same language is enough
      {4, false, {french, english, french, english}, german, 4},  // never found: once per layout
  };
  qlrtest::TempDir dir;
  const std::wstring logPath = dir.File(L"log.txt");
  ASSERT_TRUE(InitLog(logPath.c_str()));
  for (const Case& c : cases) {
    int sent = 0, catchUps = 0;
    LayoutSwitchIo io;
    io.layoutCount = c.layouts;
    io.targetInOtherProcess = c.otherProcess;
    io.send = [&](const std::vector<INPUT>& keys) {
      EXPECT_EQ(keys.size(), 4u);
      ++sent;
    };
    io.currentLayout = [&] { return c.sequence[std::min<size_t>(sent - 1, c.sequence.size() - 1)]; };
    io.letTargetCatchUp = [&] { ++catchUps; };
    EXPECT_EQ(SwitchKeyboardLayoutWith(c.wanted, 1, io), c.presses) << c.layouts;
    EXPECT_EQ(sent, c.presses);
    EXPECT_EQ(catchUps, c.layouts >= 3 && c.otherProcess ? c.presses : 0);
  }
  // Methods other than the two modifier pairs are told in the log.
  LayoutSwitchIo once;
  once.layoutCount = 2;
  once.send = [](const std::vector<INPUT>&) {};
  for (int method : {4, 3}) SwitchKeyboardLayoutWith(nullptr, method, once);
  ASSERT_TRUE(TermLog());
  const std::wstring log = qlrtest::ReadUtf16File(logPath);
  EXPECT_NE(log.find(L"Warning: keyboard layout switch [VK_TILDA_YOU detected]"), std::wstring::npos);
  EXPECT_NE(log.find(L"ERROR: Cannot detect keyboard layout switch method, Use: Alt+SHIFT"), std::wstring::npos);
  // The switches above with method 1 logged nothing.
  EXPECT_EQ(log.find(L"Warning"), log.rfind(L"Warning"));
  EXPECT_EQ(log.find(L"ERROR"), log.rfind(L"ERROR"));
}

TEST(KeystrokesTest, TypesIntoAnEditOfAnotherProcess) {
  InsertTarget target;
  ASSERT_TRUE(target.Start(false));
  struct Case {
    std::wstring before;
    std::wstring text;
    int backspaces, left;
    std::wstring after;
    DWORD caret;
  };
  const Case cases[] = {
      {L"", L"Hello, w\u00F6rld \u20AC", 0, 0, L"Hello, w\u00F6rld \u20AC", 14},
      {L"", L"one\ttwo", 0, 0, L"one\ttwo", 7},
      {L"", L"a\r\nb", 0, 0, L"a\r\nb", 4},
      {L"", L"abcdef", 0, 2, L"abcdef", 4},
      {L"xyz", L"AB", 2, 0, L"xAB", 3},
      // A line break is one caret step; a lone CR is a line break too.
      {L"", L"ab\r\ncd", 0, 3, L"ab\r\ncd", 2},
      {L"", L"ab\rcd", 0, 3, L"ab\r\ncd", 2},
  };
  for (const Case& c : cases) {
    target.SetText(c.before);
    SendMessageW(target.Child(), EM_SETSEL, c.before.size(), c.before.size());
    ASSERT_TRUE(target.WaitFocused());
    ASSERT_TRUE(TypeText(c.text, target.Child(), c.backspaces, c.left, 0));
    EXPECT_TRUE(target.WaitText(c.after)) << "got [" << qlrtest::ToUtf8(target.Text()) << "]";
    EXPECT_TRUE(qlrtest::WaitUntil([&] { return target.Selection() == static_cast<DWORD>(MAKELONG(c.caret, c.caret)); }))
        << "caret " << LOWORD(target.Selection());
  }
}

}  // namespace
