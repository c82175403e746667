#include "editor/services/web_pages.h"

#include <atomic>

namespace {

constexpr wchar_t kSite[] = L"https://www.quillora.example";
constexpr wchar_t kRussianForum[] = L"https://forum.quillora-ru.example/";
constexpr wchar_t kAuthorsMail[] = L"support@quillora.example";

std::atomic<bool> g_russianPages{false};

std::wstring Site(const wchar_t* path) { return std::wstring(kSite) + path; }

struct CommandPage {
  UINT id;
  std::wstring (*address)();
};

const CommandPage kCommandPages[] = {
    {32781, GetHomePageAddress},
    {32795, GetSupportPageAddress},
    {32783, GetEnglishForumAddress},
    {kIdLinksOfficialForum, GetOfficialForumAddress},
    {32819, GetRussianForumAddress},
    {32806, GetNewsFeedAddress},
    {32812, GetMacroDocumentationAddress},
    {32776, GetLocalizeHowToAddress},
    {32827, GetVideoPageAddress},
    {32840, GetCommunityGroupAddress},
};

}  // namespace

bool GetRussianPages() { return g_russianPages.load(); }
void SetRussianPages(bool russian) { g_russianPages = russian; }

std::wstring GetHomePageAddress() { return Site(L"/home_qlr.php"); }
std::wstring GetSupportPageAddress() { return Site(L"/home_support.php"); }
std::wstring GetEnglishForumAddress() { return Site(L"/forum/index.php"); }
std::wstring GetOfficialForumAddress() { return Site(L"/home_forum.php"); }
std::wstring GetRussianForumAddress() { return kRussianForum; }
std::wstring GetNewsFeedAddress() { return Site(GetRussianPages() ? L"/Rus/news_ru.xml" : L"/news_en.xml"); }
std::wstring GetMacroDocumentationAddress() {
  return Site(GetRussianPages() ? L"/Rus/quillora_faq.htm#Macro" : L"/quillora.shtml#Macro");
}
std::wstring GetLocalizeHowToAddress() {
  return Site(L"/quillora_faq.shtml") + L"#" + (GetRussianPages() ? L"howto_loc_ru" : L"howto_loc");
}
std::wstring GetVideoPageAddress() { return Site(L"/qlr_video.shtml"); }
std::wstring GetCommunityGroupAddress() { return Site(L"/community.php"); }
std::wstring GetAuthorsMailAddress() { return kAuthorsMail; }

std::wstring GetCommandWebAddress(UINT commandId) {
  for (const CommandPage& page : kCommandPages)
    if (page.id == commandId) return page.address();
  return std::wstring();
}
