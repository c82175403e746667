// Addresses of the maker's web pages that the editor's Help menu, its links
// toolbar and the phrase view open, and the language choice between the
// Russian and English variants of the pages that have both.
#pragma once
#include <windows.h>

#include <string>

// Set with the interface language: the Russian pages where there are some.
bool GetRussianPages();
void SetRussianPages(bool russian);

std::wstring GetHomePageAddress();           // 32781, links toolbar "Home Page"
std::wstring GetSupportPageAddress();        // 32795
std::wstring GetEnglishForumAddress();       // 32783 Forum In English
std::wstring GetOfficialForumAddress();      // links toolbar "Official Forum"
std::wstring GetRussianForumAddress();       // 32819
std::wstring GetNewsFeedAddress();           // 32806
std::wstring GetMacroDocumentationAddress(); // 32812
std::wstring GetLocalizeHowToAddress();      // 32776
std::wstring GetVideoPageAddress();          // 32827
std::wstring GetCommunityGroupAddress();     // 32840
std::wstring GetAuthorsMailAddress();        // 32782, without "mailto:"

// The links toolbar's own forum button: the menu's 32783 opens another page.
constexpr UINT kIdLinksOfficialForum = 32860;

// The web address a command opens; empty for a command without one (the
// mail command included).
std::wstring GetCommandWebAddress(UINT commandId);
