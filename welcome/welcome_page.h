// The welcome page: which page file shows for a language, the values put
// into its placeholders, and the commands behind its links. Pure functions
// over texts and the file system, so the window only loads what they give.
#pragma once
#include <windows.h>

#include <string>

constexpr wchar_t kWelcomeEmbeddedLabel[] = L"Embedded (en)";
// Page files larger than this are not shown (the view gets an empty page).
constexpr size_t kWelcomePageMaxBytes = 16 * 1024 * 1024;

struct WelcomePageRecord {
  std::string text;      // UTF-8 bytes as read
  std::wstring baseUrl;  // empty: none
  std::wstring label;    // "HTML\de\welcome.html" or kWelcomeEmbeddedLabel
  bool fallback = false; // built-in page, or the page of a parent language
};

struct WelcomeFillRecord {
  std::wstring hotkeyBlock;
  std::wstring rssUrl;
  std::wstring languageBlock;
  std::wstring subscribeUrl;
};

struct WelcomeCommand {
  std::wstring program;
  std::wstring parameters;
};

// The folder that holds the HTML folder: the program folder, or its parent
// when it is a "Debug" or "Release" build folder. With a trailing backslash.
std::wstring GetWelcomeBaseFolder(const std::wstring& programFolder);
// "ru" for uk, be, kz, lv, lt and et; empty for every other prefix.
std::wstring GetWelcomeParentLanguage(const std::wstring& prefix);
// A prefix names a folder inside HTML only when it is a short plain name.
bool IsUsablePagePrefix(const std::wstring& prefix);

// Chooses the page for the prefix under baseFolder (with trailing
// backslash). builtInPage is the program's own page, used when no file is
// found.
WelcomePageRecord ChooseWelcomePage(const std::wstring& baseFolder, const std::wstring& prefix,
                                    const std::string& builtInPage);

// Characters that would end or bend an address ("%", "#", blanks, quotes,
// angle brackets) as %XX.
std::wstring QuoteUrlPath(const std::wstring& path);
std::wstring UnquoteUrlPath(const std::wstring& path);

// The hotkey block; areaRead false gives "<currentHotkey>: <unknown>".
std::wstring BuildHotkeyBlock(bool areaRead, UINT key, UINT modifiers, bool doubled,
                              const std::wstring& currentHotkey, const std::wstring& unknown,
                              const std::wstring& twice);
// The "Use: ..." line; empty for an empty label.
std::wstring BuildLanguageBlock(const std::wstring& label, bool fallback,
                                const std::wstring& baseFolder);
// "v.2.60 build 45 (stamp)" from a product version such as "2, 6, 0, 45";
// empty when productVersion is empty.
std::wstring BuildWelcomeVersionText(const std::wstring& productVersion, const std::wstring& stamp);

// Fills the placeholders of a UTF-8 page. versionText null: the version
// marker stays. The result is the page re-encoded when something was
// replaced, else the bytes as given.
std::string FillWelcomePage(const std::string& page, const WelcomeFillRecord& fill,
                            const std::wstring* versionText);

// The program a link starts, or false when the link is no command. A target
// that is a relative path is looked up in the page's folder (from baseUrl),
// never in the current folder; only an existing file counts.
bool ResolveWelcomeCommand(const std::wstring& href, const std::wstring& baseFolder,
                           const std::wstring& baseUrl, WelcomeCommand* out);
bool IsWebAddress(const std::wstring& href);
