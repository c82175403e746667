#include "online/update_request.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "foundation/system/system_helpers.h"
#include "foundation/text/convert.h"
#include "online/online_test_seams.h"
#include "online/web_links.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "tests/support/test_support.h"

namespace {

using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;

class UpdateRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSettingsFolders(program.Path(), program.Path());
    saved = GetSettings();
  }
  void TearDown() override {
    static_cast<CQLRSettings&>(GetSettings()) = saved;
    SetUpdateSiteForTests(L"");
    SetSettingsFolders(L"", L"");
  }
  // The URL's base and its name=value pairs in order.
  static Pairs Split(const std::wstring& url, std::wstring* base) {
    size_t question = url.find(L'?');
    *base = url.substr(0, question);
    Pairs pairs;
    std::wstring rest = url.substr(question + 1);
    size_t start = 0;
    while (start <= rest.size()) {
      size_t amp = rest.find(L'&', start);
      if (amp == std::wstring::npos) amp = rest.size();
      std::wstring pair = rest.substr(start, amp - start);
      size_t eq = pair.find(L'=');
      pairs.push_back({pair.substr(0, eq), eq == std::wstring::npos ? L"" : pair.substr(eq + 1)});
      start = amp + 1;
    }
    return pairs;
  }
  static std::wstring Value(const Pairs& pairs, const wchar_t* name) {
    for (const auto& p : pairs)
      if (p.first == name) return p.second;
    return L"<none>";
  }
  static std::vector<std::wstring> Names(const Pairs& pairs) {
    std::vector<std::wstring> names;
    for (const auto& p : pairs) names.push_back(p.first);
    return names;
  }

  qlrtest::TempDir program;
  CQLRSettings saved;
};

TEST_F(UpdateRequestTest, ParametersGoInTheirFixedOrder) {
  std::wstring base;
  Pairs pairs = Split(BuildUpdateRequestUrl(), &base);
  EXPECT_EQ(base, L"https://www.quillora.example/Source/update_qlr.php");
  // The test program has no version block, so "qlr_version" is missing here.
  std::vector<std::wstring> expected = {L"winver",    L"sounds",  L"version_installed",
                                        L"hotkey",    L"au",      L"LangFile",
                                        L"languages", L"country", L"domain",
                                        L"RAM",       L"screen",  L"MFC"};
  EXPECT_EQ(Names(pairs), expected);
  EXPECT_EQ(Value(pairs, L"version_installed"), IsInstalledByInstaller() ? L"1" : L"0");
  EXPECT_EQ(Value(pairs, L"MFC"), L"Not_found");
  std::wstring screen = Value(pairs, L"screen");
  EXPECT_EQ(screen.front(), L'[');
  EXPECT_EQ(screen.back(), L']');
  for (const auto& p : pairs) EXPECT_EQ(p.second.find(L' '), std::wstring::npos) << qlrtest::ToUtf8(p.first);

  SetUpdateSiteForTests(L"http://127.0.0.1:18765");
  Split(BuildUpdateRequestUrl(), &base);
  EXPECT_EQ(base, L"http://127.0.0.1:18765/Source/update_qlr.php");
  EXPECT_EQ(GetNewsFeedURL(), L"http://127.0.0.1:18765/news_en.xml");
  EXPECT_EQ(GetHomePageURL(), L"https://www.quillora.example/home_qlr.php");  // not moved
}

TEST_F(UpdateRequestTest, ValuesFollowTheSettings) {
  CQLRTraySettings& s = GetSettings();
  // "+" between the key names goes out as "_", as every "+" of a value.
  std::wstring ctrlShiftF = MapStringUpperInvariant(GetHotkeyDisplayName('F', MOD_CONTROL | MOD_SHIFT));
  for (wchar_t& c : ctrlShiftF)
    if (c == L'+' || c == L' ') c = L'_';
  const struct {
    int sounds, doubled, autoCheck, days;
    const wchar_t* language;
    const wchar_t* skipped;  // stored text or null
    const wchar_t *soundsValue, *au, *langFile;
    std::wstring hotkey;
    const wchar_t* skippedValue;
  } cases[] = {
      {1, 0, 1, 7, L"", nullptr, L"1", L"7", L"[]", ctrlShiftF, L"<none>"},
      {0, 1, 1, 45, L"My Lang.lng", L"2,61,0,1", L"0", L"30", L"[My_Lang.lng]", ctrlShiftF + L"x2",
       L"[2.61.0.1]"},
      {1, 0, 0, 7, L"Deutsch.lng", L"", L"1", L"disabled", L"[Deutsch.lng]", ctrlShiftF, L"<none>"},
      {1, 0, 1, 0, L"", L"abc", L"1", L"1", L"[]", ctrlShiftF, L"<none>"},
  };
  for (const auto& c : cases) {
    s.soundOnEvents = c.sounds;
    s.hotkeyDoubled = c.doubled;
    s.autoCheckForUpdates = c.autoCheck;
    s.daysCheckForUpdates = c.days;
    s.SetLanguage(c.language);
    s.hotkey.key = 'F';
    s.hotkey.modifiers = MOD_CONTROL | MOD_SHIFT;
    WritePrivateProfileStringW(L"Settings", L"SkippedVersion_OnCheckUpdates", c.skipped,
                               program.File(L"Settings.ini").c_str());
    std::wstring base;
    Pairs pairs = Split(BuildUpdateRequestUrl(), &base);
    std::string what = qlrtest::ToUtf8(c.langFile);
    EXPECT_EQ(Value(pairs, L"sounds"), c.soundsValue) << what;
    EXPECT_EQ(Value(pairs, L"au"), c.au) << what;
    EXPECT_EQ(Value(pairs, L"LangFile"), c.langFile) << what;
    EXPECT_EQ(Value(pairs, L"hotkey"), c.hotkey) << what;
    EXPECT_EQ(Value(pairs, L"SkippedVersion"), c.skippedValue) << what;
    if (c.skippedValue[0] == L'[') EXPECT_EQ(pairs.back().first, L"SkippedVersion");
  }
}

}  // namespace
