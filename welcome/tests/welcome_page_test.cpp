// Which welcome page is shown, what its placeholders become and which links
// start a program.
#include <gtest/gtest.h>

#include <windows.h>

#include "foundation/system/system_helpers.h"
#include "tests/support/test_support.h"
#include "welcome/welcome_page.h"

namespace {

const std::string kBuiltIn = "\xEF\xBB\xBF<html>built-in</html>";

class WelcomePageChoiceTest : public ::testing::Test {
 protected:
  std::wstring Base() const { return dir.Path() + L"\\"; }
  void MakeFolder(const std::wstring& relative) {
    CreateDirectoryW(dir.File(L"HTML").c_str(), nullptr);
    CreateDirectoryW(dir.File(relative).c_str(), nullptr);
  }
  void MakePage(const std::wstring& prefix, const std::string& text) {
    MakeFolder(L"HTML\\" + prefix);
    ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"HTML\\" + prefix + L"\\welcome.html"), text));
  }
  qlrtest::TempDir dir;
};

TEST_F(WelcomePageChoiceTest, PageOfTheLanguageOrItsParentOrTheBuiltInOne) {
  MakePage(L"De", "<p>de</p>");
  WelcomePageRecord de = ChooseWelcomePage(Base(), L"De", kBuiltIn);
  EXPECT_EQ(de.text, "<p>de</p>");
  EXPECT_EQ(de.label, L"HTML\\De\\welcome.html");
  EXPECT_EQ(de.baseUrl, dir.File(L"HTML\\De\\"));
  EXPECT_FALSE(de.fallback);

  // uk has no folder: the Russian page, shown as a fallback.
  MakePage(L"ru", "<p>ru</p>");
  WelcomePageRecord uk = ChooseWelcomePage(Base(), L"uk", kBuiltIn);
  EXPECT_EQ(uk.text, "<p>ru</p>");
  EXPECT_EQ(uk.label, L"HTML\\ru\\welcome.html");
  EXPECT_TRUE(uk.fallback);
  // With its own (empty) folder the Russian page is no fallback.
  MakeFolder(L"HTML\\uk");
  EXPECT_FALSE(ChooseWelcomePage(Base(), L" uk ", kBuiltIn).fallback);
  EXPECT_EQ(ChooseWelcomePage(Base(), L"uk", kBuiltIn).text, "<p>ru</p>");

  // No page: the built-in one, its base the images folder.
  for (const wchar_t* prefix : {L"fr", L"", L"en"}) {
    WelcomePageRecord fr = ChooseWelcomePage(Base(), prefix, kBuiltIn);
    EXPECT_EQ(fr.text, kBuiltIn) << prefix;
    EXPECT_EQ(fr.label, L"Embedded (en)");
    EXPECT_EQ(fr.baseUrl, dir.File(L"HTML\\img"));
    EXPECT_TRUE(fr.fallback);
  }
  EXPECT_EQ(ChooseWelcomePage(Base(), L"fr", std::string()).label, L"");
}

TEST_F(WelcomePageChoiceTest, PrefixesThatAreNoPlainNameGiveTheBuiltInPage) {
  MakePage(L"ru", "<p>ru</p>");
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"welcome.html"), "outside"));
  for (const wchar_t* prefix : {L"..", L"..\\..", L"ru\\..", L"r u", L"C:", L"ru/x", L"abcdefghijk"}) {
    WelcomePageRecord page = ChooseWelcomePage(Base(), prefix, kBuiltIn);
    EXPECT_EQ(page.text, kBuiltIn) << prefix;
  }
  EXPECT_TRUE(IsUsablePagePrefix(L"abcdefghij"));
}

TEST_F(WelcomePageChoiceTest, UnreadableOrEmptyPageGivesAnEmptyDocument) {
  MakePage(L"De", "");
  WelcomePageRecord page = ChooseWelcomePage(Base(), L"De", kBuiltIn);
  EXPECT_EQ(page.text, "");
  EXPECT_EQ(page.baseUrl, L"");
  EXPECT_EQ(page.label, L"HTML\\De\\welcome.html");
}

TEST(WelcomePageTest, BuildFoldersStandForTheirParent) {
  EXPECT_EQ(GetWelcomeBaseFolder(L"C:\\q\\Debug\\"), L"C:\\q\\");
  EXPECT_EQ(GetWelcomeBaseFolder(L"C:\\q\\release"), L"C:\\q\\");
  EXPECT_EQ(GetWelcomeBaseFolder(L"C:\\q\\Debugger\\"), L"C:\\q\\Debugger\\");
  EXPECT_EQ(GetWelcomeParentLanguage(L"KZ"), L"ru");
  EXPECT_EQ(GetWelcomeParentLanguage(L"ru"), L"");
  EXPECT_EQ(GetWelcomeParentLanguage(L"en"), L"");
}

WelcomeFillRecord SampleFill() {
  WelcomeFillRecord fill;
  fill.hotkeyBlock = L"HK";
  fill.rssUrl = L"RSS";
  fill.languageBlock = L"LANG";
  fill.subscribeUrl = L"SUB";
  return fill;
}

TEST(WelcomeFillTest, EachMarkerOnceInOrder) {
  const std::wstring version = L"v.1";
  std::string page =
      "<a href=\"<!-- RSS_URL -->\">x</a><div><!-- HOTKEY_START -->sample<!-- HOTKEY_END --></div>"
      "<!-- HOTKEY_START -->2nd<!-- HOTKEY_END --><!-- VERSION_WELCOME_INFO --><!-- LOCALIZE_PATH -->"
      "<!-- SUBSCRIBE_URL --><!-- RSS_URL -->";
  EXPECT_EQ(FillWelcomePage(page, SampleFill(), &version),
            "<a href=\"RSS\">x</a><div>HK</div><!-- HOTKEY_START -->2nd<!-- HOTKEY_END -->v.1LANG"
            "SUB<!-- RSS_URL -->");
  // Unreadable version: its marker stays.
  EXPECT_NE(FillWelcomePage(page, SampleFill(), nullptr).find("<!-- VERSION_WELCOME_INFO -->"),
            std::string::npos);
  // An empty value still takes its marker away.
  WelcomeFillRecord empty;
  EXPECT_EQ(FillWelcomePage("a<!-- RSS_URL -->b", empty, nullptr), "ab");
}

TEST(WelcomeFillTest, HotkeyRangeNeedsBothMarkersInOrder) {
  const WelcomeFillRecord fill = SampleFill();
  EXPECT_EQ(FillWelcomePage("<!-- HOTKEY_END -->x<!-- HOTKEY_START -->", fill, nullptr),
            "<!-- HOTKEY_END -->x<!-- HOTKEY_START -->");
  EXPECT_EQ(FillWelcomePage("<!-- HOTKEY_END -->x<!-- HOTKEY_START -->y<!-- HOTKEY_END -->z", fill, nullptr),
            "<!-- HOTKEY_END -->xHKz");
  EXPECT_EQ(FillWelcomePage("a<!-- HOTKEY_START -->b", fill, nullptr), "a<!-- HOTKEY_START -->b");
}

TEST(WelcomeFillTest, PageWithoutPlaceholdersKeepsItsBytes) {
  // Invalid UTF-8 and a BOM come back untouched when nothing is replaced.
  const std::string page = std::string("\xEF\xBB\xBF<p>\xC3\x28\xFF</p>", 11);
  EXPECT_EQ(FillWelcomePage(page, SampleFill(), nullptr), page);
  EXPECT_EQ(FillWelcomePage("\xEF\xBB\xBF", SampleFill(), nullptr), "\xEF\xBB\xBF");
  EXPECT_EQ(FillWelcomePage("", SampleFill(), nullptr), "");
  // With a replacement the BOM and the other characters survive.
  EXPECT_EQ(FillWelcomePage("\xEF\xBB\xBF\xC3\xA9<!-- RSS_URL -->", SampleFill(), nullptr),
            "\xEF\xBB\xBF\xC3\xA9RSS");
}

TEST(WelcomeFillTest, LargePageIsFilledWhole) {
  std::string page(10 * 1024 * 1024, 'x');
  page += "<!-- RSS_URL -->";
  std::string out = FillWelcomePage(page, SampleFill(), nullptr);
  EXPECT_EQ(out.size(), 10u * 1024 * 1024 + 3);
  EXPECT_EQ(out.substr(out.size() - 3), "RSS");
}

TEST(WelcomeBlocksTest, HotkeyBlock) {
  EXPECT_EQ(BuildHotkeyBlock(false, 13, 3, true, L"Current Hotkey", L"I unknow", L"Twice"),
            L"Current Hotkey: I unknow");
  const std::wstring name = GetHotkeyDisplayName(VK_RETURN, MOD_CONTROL | MOD_ALT);
  ASSERT_FALSE(name.empty());
  EXPECT_EQ(BuildHotkeyBlock(true, VK_RETURN, MOD_CONTROL | MOD_ALT, true, L"Current Hotkey",
                             L"I unknow", L"Twice"),
            L"Current Hotkey: " + name + L" <B>x 2</B> \x2014 twice");
  EXPECT_EQ(BuildHotkeyBlock(true, VK_RETURN, MOD_CONTROL | MOD_ALT, false, L"H", L"?", L"Twice"),
            L"H: " + name);
}

TEST(WelcomeBlocksTest, MarkupInKeyNamesAndPathsIsEscaped) {
  EXPECT_EQ(BuildLanguageBlock(L"Embedded (en)", true, L"C:\\q\\"),
            L"<BR><FONT COLOR=red>Use: Embedded (en)</FONT>");
  EXPECT_EQ(BuildLanguageBlock(L"HTML\\De\\welcome.html", false, L"C:\\q #1 100%\\"),
            L"<BR><FONT COLOR=green>Use: <A HREF=\"C:\\q%20%231%20100%25\\HTML\\De\\welcome.html\" "
            L"TARGET=_blank>HTML\\De\\welcome.html</A></FONT>");
  EXPECT_EQ(BuildLanguageBlock(L"", true, L"C:\\q\\"), L"");
  EXPECT_EQ(UnquoteUrlPath(QuoteUrlPath(L"C:\\a #%\"<&>?\\b")), L"C:\\a #%\"<&>?\\b");
  EXPECT_EQ(UnquoteUrlPath(L"100%"), L"100%");
}

TEST(WelcomeBlocksTest, VersionText) {
  EXPECT_EQ(BuildWelcomeVersionText(L"2, 6, 0, 45", L"Dec  9 2026 07:00:00"),
            L"v.2.60 build 45 (Dec  9 2026 07:00:00)");
  EXPECT_EQ(BuildWelcomeVersionText(L"3.1", L"s"), L"v.3 build 1 (s)");
  EXPECT_EQ(BuildWelcomeVersionText(L"7", L"s"), L"v.7 (s)");
  EXPECT_EQ(BuildWelcomeVersionText(L"", L"s"), L"");
}

TEST(WelcomeCommandTest, CommandTableAndFiles) {
  qlrtest::TempDir dir;
  const std::wstring base = dir.Path() + L"\\";
  WelcomeCommand c;
  ASSERT_TRUE(ResolveWelcomeCommand(L"%cmd_start_editor%", base, L"", &c));
  EXPECT_EQ(c.program, base + L"QuilloraEditor.exe");
  EXPECT_EQ(c.parameters, L"");
  ASSERT_TRUE(ResolveWelcomeCommand(L"%CMD_SHOW_TRAY_MENU%", base, L"", &c));
  EXPECT_EQ(c.program, base + L"Quillora.exe");
  EXPECT_EQ(c.parameters, L"/showmenu");
  ASSERT_TRUE(ResolveWelcomeCommand(L"%Cmd_Show_Cmd_Line%", base, L"", &c));
  EXPECT_EQ(c.parameters, L"/?");
  ASSERT_TRUE(ResolveWelcomeCommand(L"%CMD_CHECK_FOR_UPDATES%", base, L"", &c));
  EXPECT_EQ(c.parameters, L"/cfu");

  CreateDirectoryW(dir.File(L"HTML").c_str(), nullptr);
  CreateDirectoryW(dir.File(L"HTML\\De").c_str(), nullptr);
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"HTML\\De\\more.html"), "x"));
  ASSERT_TRUE(qlrtest::WriteBytes(dir.File(L"HTML\\side.html"), "x"));
  // Relative targets are found beside the page, whatever the current folder.
  ASSERT_TRUE(ResolveWelcomeCommand(L"more.html", base, dir.File(L"HTML\\De\\"), &c));
  EXPECT_EQ(c.program, dir.File(L"HTML\\De\\more.html"));
  ASSERT_TRUE(ResolveWelcomeCommand(L"side.html", base, dir.File(L"HTML\\img"), &c));
  EXPECT_EQ(c.program, dir.File(L"HTML\\side.html"));
  ASSERT_TRUE(ResolveWelcomeCommand(dir.File(L"HTML\\side.html"), base, L"", &c));
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  SetCurrentDirectoryW(dir.File(L"HTML").c_str());
  EXPECT_FALSE(ResolveWelcomeCommand(L"side.html", base, dir.File(L"HTML\\De\\"), &c));
  EXPECT_FALSE(ResolveWelcomeCommand(L"side.html", base, L"", &c));
  SetCurrentDirectoryW(current);

  for (const wchar_t* href :
       {L"", L"   ", L"%CMD_UNKNOWN%", L"javascript:alert(1)", L"mailto:a@b.example",
        L"file:side.html", L"https://www.quillora.example/", L"..", L"missing.html"}) {
    EXPECT_FALSE(ResolveWelcomeCommand(href, base, dir.File(L"HTML\\De\\"), &c)) << href;
  }
  // A folder is no file to start.
  EXPECT_FALSE(ResolveWelcomeCommand(dir.File(L"HTML"), base, L"", &c));
  EXPECT_FALSE(ResolveWelcomeCommand(std::wstring(4000, L'a'), base, dir.File(L"HTML\\De\\"), &c));
  EXPECT_TRUE(IsWebAddress(L"HTTPS://x"));
  EXPECT_FALSE(IsWebAddress(L"ftp://x"));
}

}  // namespace
