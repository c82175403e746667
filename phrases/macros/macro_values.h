// The value of every macro.
#pragma once
#include <windows.h>

#include <string>

// Values that stay the same through one request, read once: a menu expands
// every item's text with one cache.
class CMacroRequestCache {
 public:
  void Clear();
  const std::wstring& UserName();
  // kMacroVersion, kMacroVersionEditor or kMacroVersionDll.
  const std::wstring& Version(int id);

 private:
  bool m_haveUserName = false;
  std::wstring m_userName;
  bool m_haveVersion[3] = {};
  std::wstring m_version[3];
};

// The values of one expansion, each computed when first asked for. The
// clock is read once, so that every date macro of a text shows one moment.
class CMacroValues {
 public:
  // Without a cache the fixed values are read for this expansion alone.
  CMacroValues(const std::wstring& selectedText, const std::wstring& clipboardText, LCID locale,
               CMacroRequestCache* cache);
  CMacroValues(const CMacroValues&) = delete;
  CMacroValues& operator=(const CMacroValues&) = delete;

  // Empty for the caret mark, the layout macros and unknown ids.
  std::wstring Get(int id);

 private:
  const SYSTEMTIME& Now();

  const std::wstring& m_selected;
  const std::wstring& m_clipboard;
  LCID m_locale;
  CMacroRequestCache m_ownCache;
  CMacroRequestCache* m_cache;
  bool m_haveNow = false;
  SYSTEMTIME m_now = {};
};

// The URL at the start of the text (after blanks, tabs and line breaks) when
// it begins with "http://", "https://" or "ftp://", up to the first blank,
// tab or line break; with url false, the text after that URL (beginning with
// its separator), or the whole trimmed text when there is no URL.
std::wstring ExtractUrl(const std::wstring& text, bool url);

// The value of a fixed macro, the name compared without regard to case; any
// other name gives an empty text.
std::wstring GetMacroValue(const std::wstring& name, const std::wstring& selectedText,
                           const std::wstring& clipboardText, LCID locale);
// The same for a window: in the language of its thread's keyboard layout,
// with the clipboard's text and no selected text.
std::wstring GetMacroValue(const std::wstring& name, HWND window);

// The language of the keyboard layout of the window's thread as a locale;
// the user's default locale for no window.
LCID GetWindowLayoutLocale(HWND window);
// GetLocaleInfoW of the ISO 639 name (iso) or of the language's full name,
// at most 99 characters.
std::wstring GetLocaleLanguageName(LCID locale, bool iso);
