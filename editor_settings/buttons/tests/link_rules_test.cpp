#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_settings/buttons/buttons_names.h"
#include "editor_settings/buttons/hyperlink.h"
#include "editor_settings/buttons/link_rules.h"
#include "tests/support/test_support.h"

using namespace qlr_editor;

namespace {

constexpr COLORREF kDefaultLink = 0xFF0000;
constexpr COLORREF kDefaultVisited = 0x800080;

// Keeps the browser-settings key of the test prefix as it was: every value
// is saved at the start and put back (or the key removed) at the end.
class SavedAnchorKey {
 public:
  SavedAnchorKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kAnchorColorKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    m_existed = true;
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      DWORD nameChars = 256, type = 0, bytes = 0;
      if (RegEnumValueW(key, i, name, &nameChars, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) break;
      Value v{name, type, std::vector<BYTE>(bytes)};
      nameChars = 256;
      RegEnumValueW(key, i, name, &nameChars, nullptr, &type, v.data.data(), &bytes);
      m_values.push_back(v);
    }
    RegCloseKey(key);
  }
  ~SavedAnchorKey() {
    RegDeleteKeyW(HKEY_CURRENT_USER, kAnchorColorKey);
    if (!m_existed) return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kAnchorColorKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
      return;
    for (const Value& v : m_values)
      RegSetValueExW(key, v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
    RegCloseKey(key);
  }

 private:
  struct Value {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
  };
  bool m_existed = false;
  std::vector<Value> m_values;
};

void WriteValue(const wchar_t* name, const wchar_t* text, DWORD dword, bool asDword) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kAnchorColorKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  if (!text && !asDword) {
    RegDeleteValueW(key, name);
  } else if (asDword) {
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), sizeof(dword));
  } else {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(key);
}

TEST(LinkColorsTest, BrowserValuesOverrideOnlyWhenTheyParse) {
  SavedAnchorKey saved;
  struct Case {
    const wchar_t* text;  // null: no value
    bool asDword;
    COLORREF expected;
  } cases[] = {
      {L"10,20,30", false, RGB(10, 20, 30)},
      {L"0,0,255", false, RGB(0, 0, 255)},
      {L"1,2", false, kDefaultLink},          // two numbers only
      {L"257,3,4", false, RGB(1, 3, 4)},      // the low byte of each number
      {L"1,2,x", false, kDefaultLink},        // third part no decimal number
      {L"1,2,", false, kDefaultLink},         // third part empty
      {L"1,,3", false, kDefaultLink},
      {L"1,2,3,4", false, kDefaultLink},
      {L" 1,2,3", false, kDefaultLink},
      {L"-1,2,3", false, kDefaultLink},
      {L"100,200,2550", false, RGB(100, 200, 2550 & 0xFF)},  // 12 characters
      {L"1000,2000,30000", false, kDefaultLink},               // longer than 12
      {nullptr, true, kDefaultLink},                           // REG_DWORD
      {nullptr, false, kDefaultLink},                          // no value
  };
  for (const Case& c : cases) {
    WriteValue(kAnchorColorValue, c.text, 0x00FF00, c.asDword);
    WriteValue(kAnchorColorVisitedValue, L"7,8,9", 0, false);
    CHyperLink link;
    EXPECT_EQ(link.GetLinkColor(), c.expected) << (c.text ? c.text : c.asDword ? L"dword" : L"none");
    EXPECT_EQ(link.GetVisitedColor(), RGB(7, 8, 9));
  }
  // A bad visited value keeps its own default beside a good link value.
  WriteValue(kAnchorColorValue, L"1,2,3", 0, false);
  WriteValue(kAnchorColorVisitedValue, L"1;2;3", 0, false);
  {
    CHyperLink link;
    EXPECT_EQ(link.GetLinkColor(), RGB(1, 2, 3));
    EXPECT_EQ(link.GetVisitedColor(), kDefaultVisited);
  }
  // No key at all: both defaults.
  RegDeleteKeyW(HKEY_CURRENT_USER, kAnchorColorKey);
  CHyperLink link;
  EXPECT_EQ(link.GetLinkColor(), kDefaultLink);
  EXPECT_EQ(link.GetVisitedColor(), kDefaultVisited);
}

TEST(LinkTextBoxTest, AlignmentAndVerticalPlacement) {
  const SIZE text = {50, 16};
  struct Case {
    int clientHeight;
    DWORD style;
    LONG left, top;
  } cases[] = {
      {30, SS_LEFT, 0, 5},      // d = 7: down by d - 2
      {30, SS_CENTER, 75, 5},
      {30, SS_RIGHT, 150, 5},
      {30, SS_RIGHT | SS_NOTIFY, 150, 5},
      {17, SS_LEFT, 0, 0},      // d = 0
      {19, SS_LEFT, 0, 1},      // d = 1: down by d
      {20, SS_LEFT, 0, 0},      // d = 2: down by d - 2
      {22, SS_LEFT, 0, 1},      // d = 3
      {10, SS_CENTER, 75, 0},   // d < 0
  };
  for (const Case& c : cases) {
    RECT client = {0, 0, 200, c.clientHeight};
    RECT box = LinkTextBox(client, text, c.style);
    EXPECT_EQ(box.left, c.left) << c.clientHeight << " " << c.style;
    EXPECT_EQ(box.top, c.top) << c.clientHeight << " " << c.style;
    EXPECT_EQ(box.right - box.left, text.cx);
    EXPECT_EQ(box.bottom - box.top, text.cy);
  }
}

TEST(LinkTargetTest, MailPrefixOnlyForAddressesWithoutScheme) {
  struct Case {
    const wchar_t* url;
    const wchar_t* target;
  } cases[] = {
      {L"a@b", L"mailto:a@b"},
      {L"someone@example.invalid", L"mailto:someone@example.invalid"},
      {L"@x", L"@x"},
      {L"https://h/@n", L"https://h/@n"},
      {L"mailto:a@b", L"mailto:a@b"},
      {L"https://example.invalid/", L"https://example.invalid/"},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(LinkShellTarget(c.url), c.target) << c.url;
}

TEST(LinkTargetTest, MessageLinksCarryOnlyAPlainPositiveNumber) {
  EXPECT_EQ(CHyperLink::MakeMessageLink(1234), L"message:1234");
  struct Case {
    const wchar_t* url;
    bool isMessage;
    UINT message;
  } cases[] = {
      {L"message:1234", true, 1234},
      {L"message:", true, 0},
      {L"message:+5", true, 0},
      {L"message:-5", true, 0},
      {L"message:12x", true, 0},
      {L"message:0", true, 0},
      {L"message:99999999999", true, 0},
      {L"message:4294967295", true, 4294967295u},
      {L"message:4294967296", true, 0},
      {L"Message:12", false, 0},
      {L"http://message:12", false, 0},
  };
  for (const Case& c : cases) {
    UINT message = 77;
    EXPECT_EQ(ParseMessageLink(c.url, &message), c.isMessage) << c.url;
    if (c.isMessage) EXPECT_EQ(message, c.message) << c.url;
  }
}

}  // namespace
