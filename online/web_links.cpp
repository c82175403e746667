#include "online/web_links.h"

#include <shellapi.h>

#include <algorithm>
#include <atomic>

#include "foundation/files/file_version.h"
#include "foundation/system/shell_open.h"
#include "online/online_test_seams.h"

namespace {

// One host for all of the product's own pages.
constexpr wchar_t kSite[] = L"https://www.quillora.example/";
constexpr wchar_t kSupportMail[] = L"support@quillora.example";
constexpr wchar_t kProductName[] = L"Quillora";
constexpr wchar_t kEnglishFaq[] = L"quillora_faq.shtml";
constexpr wchar_t kRussianFaq[] = L"Rus/quillora_faq.htm";

std::atomic<int> g_russian{0};
std::atomic<ProgramVersionTextSource> g_versionSource{nullptr};

std::wstring Site(const wchar_t* path) { return std::wstring(kSite) + path; }

std::wstring Trimmed(const std::wstring& text) {
  const wchar_t* blanks = L" \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::wstring::npos) return L"";
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::wstring BlanksToUnderscores(std::wstring text) {
  std::replace(text.begin(), text.end(), L' ', L'_');
  return text;
}

std::wstring ProgramVersionText() {
  ProgramVersionTextSource source = g_versionSource.load();
  if (source) return source();
  CFileVersionInfo info(static_cast<HMODULE>(nullptr));
  return info.Load() ? info.GetProductVersion() : std::wstring();
}

}  // namespace

int IsUILanguageRussian() { return g_russian.load(); }
void SetUILanguageIsRussian(int russian) { g_russian = russian ? 1 : 0; }
void SetWebLinkVersionTextSource(ProgramVersionTextSource source) { g_versionSource = source; }

std::wstring GetHomePageURL() { return Site(L"home_qlr.php"); }
std::wstring GetSupportMailAddress() { return kSupportMail; }
std::wstring GetSupportPageURL() { return Site(L"home_support.php"); }
std::wstring GetVersionHistoryURL() { return Site(L"download/version_history.php"); }
std::wstring GetForumURL() { return Site(L"home_forum.php"); }
std::wstring GetUpdateServiceSite() {
  std::wstring site = GetUpdateSiteOverride();
  return site.empty() ? std::wstring(kSite) : site;
}
std::wstring GetUpdateServiceURL() { return GetUpdateServiceSite() + L"Source/update_qlr.php"; }
std::wstring GetNewsFeedURL() {
  return GetUpdateServiceSite() + (IsUILanguageRussian() ? L"Rus/news_ru.xml" : L"news_en.xml");
}
std::wstring GetVideoPageURL() { return Site(L"qlr_video.shtml"); }
std::wstring GetBugReportFaqURL() {
  return IsUILanguageRussian() ? Site(kRussianFaq) + L"#report" : Site(kEnglishFaq) + L"#bug_report";
}
std::wstring GetQuickStartURL() {
  return Site(L"home_qlr_qs.php") + L"?ver=" + BlanksToUnderscores(Trimmed(ProgramVersionText())) +
         L"&from_app=" + BlanksToUnderscores(kProductName);
}
std::wstring GetFAQURL() { return Site(L"home_qlr_faq.php"); }
std::wstring GetPortableFaqURL() {
  return Site(IsUILanguageRussian() ? kRussianFaq : kEnglishFaq) + L"#portable";
}
std::wstring GetSocialPageURL() { return Site(L"community.php"); }
std::wstring GetSiteImageURL(const std::wstring& name) { return Site(L"images/") + name; }
std::wstring GetLocalizationHowToURL() {
  return Site(kEnglishFaq) + L"#" + (IsUILanguageRussian() ? L"howto_loc_ru" : L"howto_loc");
}

HINSTANCE OpenURL(HWND window, const std::wstring& address) {
  return reinterpret_cast<HINSTANCE>(
      ShellOpen(window, L"open", address.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED));
}

std::wstring GetSupportMailLink() {
  return L"mailto:" + GetSupportMailAddress() + L"?subject=" + BlanksToUnderscores(kProductName);
}

HINSTANCE SendMailToSupport(HWND window) { return OpenURL(window, GetSupportMailLink()); }
