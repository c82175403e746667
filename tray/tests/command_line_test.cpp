#include "tray/app/command_line.h"

#include <gtest/gtest.h>

#include "foundation/localization/language_files.h"
#include "foundation/localization/localized_strings.h"
#include "tests/support/test_support.h"
#include "tray/tests/expected_usage_text.h"

#include <string>
#include <vector>

namespace {

struct Flags {
  int exit, autoload, ua, noInstall, usage, edit, asAdmin, showMenu, cfu;
};

Flags Parsed(const std::wstring& text) {
  CCommandLine cmd(text);
  cmd.Parse();
  return {cmd.IsExit(), cmd.IsAutoload(), cmd.IsUa(),      cmd.IsNoInstall(), cmd.IsUsage(),
          cmd.IsEdit(), cmd.IsAsAdmin(),  cmd.IsShowMenu(), cmd.IsCfu()};
}

TEST(CommandLineTest, SwitchesSetTheirFlags) {
  struct Case {
    const wchar_t* text;
    Flags expected;  // exit autoload ua noinstall ? edit asadmin showmenu cfu
  } cases[] = {
      {L"", {0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {L"/exit", {1, 0, 0, 0, 0, 0, 0, 0, 0}},
      {L"/UA", {1, 0, 1, 0, 0, 0, 0, 0, 0}},
      {L"/Ua", {1, 0, 1, 0, 0, 0, 0, 0, 0}},
      {L"-ua", {1, 0, 1, 0, 0, 0, 0, 0, 0}},
      {L"/autoload", {0, 1, 0, 0, 0, 0, 0, 0, 0}},
      {L"/autoload /noinstall", {0, 1, 0, 1, 0, 0, 0, 0, 0}},
      {L"/autoloadx", {0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {L"abc/showmenu", {0, 0, 0, 0, 0, 0, 0, 1, 0}},
      {L"x/exit", {1, 0, 0, 0, 0, 0, 0, 0, 0}},
      {L"/?", {0, 0, 0, 0, 1, 0, 0, 0, 0}},
      {L"-EDIT\t/cfu", {0, 0, 0, 0, 0, 1, 0, 0, 1}},
      {L"/asadmin\r\n", {0, 0, 0, 0, 0, 0, 1, 0, 0}},
      {L"/showmenu /exit", {1, 0, 0, 0, 0, 0, 0, 1, 0}},
      {L"\"C:\\a b\\/cfu\" more", {0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {L"/cfu2 /cfu", {0, 0, 0, 0, 0, 0, 0, 0, 0}},  // only the first occurrence counts
      {L"/cfu2 -cfu", {0, 0, 0, 0, 0, 0, 0, 0, 1}},  // the other prefix is its own form
      {L"/exitnow -exit", {1, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Flags f = Parsed(c.text);
    const Flags& e = c.expected;
    EXPECT_EQ(std::vector<int>({f.exit, f.autoload, f.ua, f.noInstall, f.usage, f.edit,
                                f.asAdmin, f.showMenu, f.cfu}),
              std::vector<int>({e.exit, e.autoload, e.ua, e.noInstall, e.usage, e.edit,
                                e.asAdmin, e.showMenu, e.cfu}))
        << "[" << std::string(c.text, c.text + wcslen(c.text)) << "]";
  }
}

TEST(CommandLineTest, FindSwitchTriesExactCaseThenAnyCase) {
  // The exact-case occurrence is looked at first, so an upper-case one
  // earlier in the text does not hide it.
  EXPECT_TRUE(FindSwitchInCommandLine(L"/EXITX /exit", L"exit"));
  // An exact-case occurrence that does not end the switch stops the search
  // for that form even when an upper-case one would.
  EXPECT_FALSE(FindSwitchInCommandLine(L"/exitx /EXIT", L"exit"));
  EXPECT_TRUE(FindSwitchInCommandLine(L"/EXIT", L"exit"));
  EXPECT_FALSE(FindSwitchInCommandLine(L"/exit", L""));
  EXPECT_FALSE(FindSwitchInCommandLine(L"exit", L"exit"));
  EXPECT_TRUE(FindSwitchInCommandLine(L"a\v-exit\f", L"exit"));
}

TEST(CommandLineTest, SwitchTableNamesAndDescriptions) {
  EXPECT_EQ(GetSwitchName(kSwitchUa), L"ua");
  EXPECT_EQ(GetSwitchDescription(kSwitchUa), L"no set \"Start with Windows\" on first running");
  EXPECT_EQ(GetSwitchName(5), L"");
  EXPECT_EQ(GetSwitchDescription(5), L"");
  EXPECT_EQ(GetSwitchName(10), L"");
  EXPECT_EQ(GetSwitchName(-1), L"");
  EXPECT_EQ(GetAsAdminSwitch(), L"/asadmin");

  std::map<std::wstring, std::wstring> map = {{L"/other", L"kept"}};
  EXPECT_EQ(FillSwitchDescriptions(map), 10u);
  EXPECT_EQ(map[L"/cfu"], L"check for updates");
  EXPECT_EQ(map[L"/asadmin"], L"Start second instance of Quillora as administator");
  EXPECT_EQ(map[L"/other"], L"kept");
}

TEST(CommandLineTest, UsageTextListsEverySwitchInIdOrder) {
  EXPECT_EQ(GetCommandLineUsageText(), kExpectedUsageText);
}

TEST(CommandLineTest, UsageTextTakesTheLanguageFilesWords) {
  qlrtest::TempDir dir;
  std::wstring lng = dir.File(L"De.lng");
  ASSERT_TRUE(qlrtest::WriteUtf16File(
      lng, L"[Main]\r\nLangPrefix=De\r\n[Strings_Client]\r\n269=Befehlszeilenschalter\r\n"));
  ASSERT_TRUE(SetLngStringFile(lng, L"_Client"));
  std::wstring text = GetCommandLineUsageText();
  SetCurrentLanguage(L"");
  EXPECT_EQ(text.find(L"Befehlszeilenschalter:\n\n/exit        - "), 0u) << text.c_str();
  // A word the file lacks stays the program's own.
  std::wstring tail = L"\n\n\nPress Ctrl+C to copy into clipboard";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

}  // namespace
