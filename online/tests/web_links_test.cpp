#include "online/web_links.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::wstring kHost = L"https://www.quillora.example/";

class WebLinksTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetUILanguageIsRussian(0);
    SetWebLinkVersionTextSource(nullptr);
  }
};

TEST_F(WebLinksTest, EveryLinkLiesOnTheProductSiteInBothLanguages) {
  struct Case {
    std::wstring (*getter)();
    const wchar_t* english;
    const wchar_t* russian;
  } cases[] = {
      {GetHomePageURL, L"home_qlr.php", L"home_qlr.php"},
      {GetSupportPageURL, L"home_support.php", L"home_support.php"},
      {GetForumURL, L"home_forum.php", L"home_forum.php"},
      {GetNewsFeedURL, L"news_en.xml", L"Rus/news_ru.xml"},
      {GetVideoPageURL, L"qlr_video.shtml", L"qlr_video.shtml"},
      {GetBugReportFaqURL, L"quillora_faq.shtml#bug_report", L"Rus/quillora_faq.htm#report"},
      {GetFAQURL, L"home_qlr_faq.php", L"home_qlr_faq.php"},
      {GetPortableFaqURL, L"quillora_faq.shtml#portable", L"Rus/quillora_faq.htm#portable"},
      {GetLocalizationHowToURL, L"quillora_faq.shtml#howto_loc",
       L"quillora_faq.shtml#howto_loc_ru"},
  };
  EXPECT_EQ(IsUILanguageRussian(), 0);
  for (const Case& c : cases) EXPECT_EQ(c.getter(), kHost + c.english);
  SetUILanguageIsRussian(5);  // any non-zero value selects the Russian variants
  EXPECT_EQ(IsUILanguageRussian(), 1);
  for (const Case& c : cases) EXPECT_EQ(c.getter(), kHost + c.russian);

  for (auto getter : {GetVersionHistoryURL, GetSocialPageURL})
    EXPECT_EQ(getter().compare(0, kHost.size(), kHost), 0) << getter();
}

TEST_F(WebLinksTest, QuickStartCarriesVersionAndProduct) {
  SetWebLinkVersionTextSource([] { return std::wstring(L"  Quillora 1.50 build 7 "); });
  EXPECT_EQ(GetQuickStartURL(),
            kHost + L"home_qlr_qs.php?ver=Quillora_1.50_build_7&from_app=Quillora");
  SetWebLinkVersionTextSource([] { return std::wstring(L"   "); });
  EXPECT_EQ(GetQuickStartURL(), kHost + L"home_qlr_qs.php?ver=&from_app=Quillora");
  // Without a source the program's own product version is used; a test
  // program has none.
  SetWebLinkVersionTextSource(nullptr);
  EXPECT_EQ(GetQuickStartURL().find(kHost + L"home_qlr_qs.php?ver="), 0u);
}

TEST_F(WebLinksTest, SupportMailLink) {
  EXPECT_EQ(GetSupportMailAddress(), L"support@quillora.example");
  EXPECT_EQ(GetSupportMailLink(), L"mailto:support@quillora.example?subject=Quillora");
}

}  // namespace
