// Addresses of the product's web site that the tray program opens or
// fetches, with the Russian or English variant chosen by the interface
// language, and the calls that open them in the user's browser.
#pragma once
#include <windows.h>

#include <string>

// The interface-language flag: 1 while the interface language is one of the
// Russian-speaking group, 0 otherwise (and before any language is loaded).
int IsUILanguageRussian();
void SetUILanguageIsRussian(int russian);

std::wstring GetHomePageURL();
std::wstring GetSupportMailAddress();
std::wstring GetSupportPageURL();
std::wstring GetVersionHistoryURL();
std::wstring GetForumURL();
// The update service and the feeds share one site, which tests may move.
std::wstring GetUpdateServiceSite();
std::wstring GetUpdateServiceURL();
std::wstring GetNewsFeedURL();
std::wstring GetVideoPageURL();
std::wstring GetBugReportFaqURL();
std::wstring GetQuickStartURL();
std::wstring GetFAQURL();
std::wstring GetPortableFaqURL();
std::wstring GetSocialPageURL();
std::wstring GetLocalizationHowToURL();
// An image of the site's "images/" folder (the update page's icons).
std::wstring GetSiteImageURL(const std::wstring& name);

// The program's version text as the quick-start address carries it. The
// text builder lives with the tray program's helpers, which hand it in at
// start; until then the product version of the program's own version block.
using ProgramVersionTextSource = std::wstring (*)();
void SetWebLinkVersionTextSource(ProgramVersionTextSource source);

// The shell's result of opening the address, maximised.
HINSTANCE OpenURL(HWND window, const std::wstring& address);
// Opens a new mail to the support address with the product as subject.
HINSTANCE SendMailToSupport(HWND window);
// The "mailto:" address SendMailToSupport opens.
std::wstring GetSupportMailLink();
