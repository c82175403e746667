#include "phrases/macros/macro_values.h"

#include <cwchar>

#include "foundation/files/file_version.h"
#include "foundation/localization/locale_names.h"
#include "foundation/system/os_version.h"
#include "foundation/text/number_words.h"
#include "foundation/text/text_basics.h"
#include "phrases/insertion/clipboard_ops.h"
#include "phrases/macros/macro_dates.h"
#include "phrases/macros/macro_sources.h"
#include "phrases/macros/macro_table.h"

namespace {

constexpr int kUserNameChars = 256;
constexpr int kLanguageNameChars = 100;

const wchar_t* const kUrlSchemes[] = {L"http://", L"https://", L"ftp://"};

std::wstring Decimal(int value, bool twoDigits) {
  wchar_t buffer[16];
  swprintf(buffer, 16, twoDigits ? L"%02d" : L"%d", value);
  return buffer;
}

std::wstring ReadUserName() {
  wchar_t buffer[kUserNameChars + 1] = {};
  DWORD size = kUserNameChars + 1;
  if (!GetUserNameW(buffer, &size)) return std::wstring();
  return buffer;
}

std::wstring ReadProductVersion(const std::wstring& path, bool ownModuleWhenEmpty) {
  if (path.empty() && !ownModuleWhenEmpty) return std::wstring();
  CFileVersionInfo info = path.empty() ? CFileVersionInfo(static_cast<HMODULE>(nullptr)) : CFileVersionInfo(path);
  if (!info.Load()) return std::wstring();
  return info.GetProductVersion();
}

std::wstring ChangeCase(std::wstring text, bool upper) {
  if (text.empty()) return text;
  DWORD n = static_cast<DWORD>(text.size());
  if (upper)
    CharUpperBuffW(&text[0], n);
  else
    CharLowerBuffW(&text[0], n);
  return text;
}

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
  size_t n = wcslen(prefix);
  return text.size() > n && EqualNoCase(text.substr(0, n), prefix);
}

int FindMacroIdNoCase(const std::wstring& name) {
  for (int id = 0; id < kFixedMacroCount; ++id)
    if (EqualNoCase(name, MacroName(id))) return id;
  return kMacroUnknown;
}

}  // namespace

void CMacroRequestCache::Clear() { *this = CMacroRequestCache(); }

const std::wstring& CMacroRequestCache::UserName() {
  if (!m_haveUserName) {
    m_userName = ReadUserName();
    m_haveUserName = true;
  }
  return m_userName;
}

const std::wstring& CMacroRequestCache::Version(int id) {
  int slot = id == kMacroVersionEditor ? 1 : id == kMacroVersionDll ? 2 : 0;
  if (!m_haveVersion[slot]) {
    CMacroVersionFiles files = GetMacroVersionFiles();
    const std::wstring& path = slot == 0 ? files.program : slot == 1 ? files.editor : files.coreDll;
    m_version[slot] = ReadProductVersion(path, slot == 0);
    m_haveVersion[slot] = true;
  }
  return m_version[slot];
}

CMacroValues::CMacroValues(const std::wstring& selectedText, const std::wstring& clipboardText, LCID locale,
                           CMacroRequestCache* cache)
    : m_selected(selectedText), m_clipboard(clipboardText), m_locale(locale), m_cache(cache ? cache : &m_ownCache) {}

const SYSTEMTIME& CMacroValues::Now() {
  if (!m_haveNow) {
    m_now = GetMacroLocalTime();
    m_haveNow = true;
  }
  return m_now;
}

std::wstring CMacroValues::Get(int id) {
  switch (id) {
    case kMacroClipboardText: return m_clipboard;
    case kMacroSelectedText: return m_selected;
    case kMacroDateTime: return FormatLongDate(Now(), m_locale) + L" " + FormatTimeOfDay(Now(), m_locale);
    case kMacroDate: return FormatLongDate(Now(), m_locale);
    case kMacroTime: return FormatTimeOfDay(Now(), m_locale);
    case kMacroDateExWd: return FormatLongDateWithoutWeekday(Now(), m_locale);
    case kMacroDateTimeExWd:
      return FormatLongDateWithoutWeekday(Now(), m_locale) + L" " + FormatTimeOfDay(Now(), m_locale);
    case kMacroUserName: return m_cache->UserName();
    case kMacroVersion:
    case kMacroVersionEditor:
    case kMacroVersionDll: return m_cache->Version(id);
    case kMacroDay: return Decimal(Now().wDay, false);
    case kMacroDay2: return Decimal(Now().wDay, true);
    case kMacroMonthName: return GetLocaleMonthName(Now().wMonth, m_locale, false);
    case kMacroMonthNumber: return Decimal(Now().wMonth, false);
    case kMacroMonthNumber2: return Decimal(Now().wMonth, true);
    case kMacroMonthNameAbbr: return GetLocaleMonthName(Now().wMonth, m_locale, true);
    case kMacroYear: return Decimal(Now().wYear, false);
    case kMacroYear2: return Decimal(Now().wYear % 100, true);
    case kMacroWeekdayName: return FormatWeekdayName(Now(), m_locale, false);
    case kMacroWeekdayNameAbbr: return FormatWeekdayName(Now(), m_locale, true);
    case kMacroKeyTab: return L"\t";
    case kMacroKeyEnter: return L"\r";
    case kMacroUrlFromSelText: return ExtractUrl(m_selected, true);
    case kMacroTextAfterUrl: return ExtractUrl(m_selected, false);
    case kMacroUrlFromClipboard: return ExtractUrl(m_clipboard, true);
    case kMacroWindowsVersion: return COSVersionInfo().GetOSDisplayName();
    case kMacroNumberCharsSelText: return m_selected.empty() ? std::wstring() : NumbersToWords(m_selected);
    case kMacroNumberCharsClipboard: return m_clipboard.empty() ? std::wstring() : NumbersToWords(m_clipboard);
    case kMacroUpperSelText: return ChangeCase(m_selected, true);
    case kMacroLowerSelText: return ChangeCase(m_selected, false);
    default: return std::wstring();  // caret mark, prompt, trim mark, layouts
  }
}

std::wstring ExtractUrl(const std::wstring& text, bool url) {
  if (text.empty()) return std::wstring();
  size_t start = text.find_first_not_of(L" \r\n\t");
  std::wstring trimmed = start == std::wstring::npos ? std::wstring() : text.substr(start);
  for (const wchar_t* scheme : kUrlSchemes) {
    if (!StartsWithNoCase(trimmed, scheme)) continue;
    size_t end = trimmed.find_first_of(L" \t\r\n", wcslen(scheme));
    if (end == std::wstring::npos) return url ? trimmed : std::wstring();
    return url ? trimmed.substr(0, end) : trimmed.substr(end);
  }
  return url ? std::wstring() : trimmed;
}

std::wstring GetMacroValue(const std::wstring& name, const std::wstring& selectedText,
                           const std::wstring& clipboardText, LCID locale) {
  int id = FindMacroIdNoCase(name);
  if (id == kMacroUnknown) return std::wstring();
  return CMacroValues(selectedText, clipboardText, locale, nullptr).Get(id);
}

std::wstring GetMacroValue(const std::wstring& name, HWND window) {
  int id = FindMacroIdNoCase(name);
  if (id == kMacroUnknown) return std::wstring();
  // Only the clipboard macros open the clipboard, which another program may hold.
  std::wstring clipboard;
  bool usesClipboard = id == kMacroClipboardText || id == kMacroUrlFromClipboard || id == kMacroNumberCharsClipboard;
  if (usesClipboard) {
    if (wchar_t* copy = GetClipboardTextCopy()) {
      clipboard = copy;
      FreeClipboardTextCopy(copy);
    }
  }
  std::wstring noSelection;
  return CMacroValues(noSelection, clipboard, GetWindowLayoutLocale(window), nullptr).Get(id);
}

LCID GetWindowLayoutLocale(HWND window) {
  if (!window) return GetMacroUserLocale();
  HKL layout = GetKeyboardLayout(GetWindowThreadProcessId(window, nullptr));
  return MAKELCID(LOWORD(reinterpret_cast<UINT_PTR>(layout)), SORT_DEFAULT);
}

std::wstring GetLocaleLanguageName(LCID locale, bool iso) {
  wchar_t buffer[kLanguageNameChars] = {};
  if (GetLocaleInfoW(locale, iso ? LOCALE_SISO639LANGNAME : LOCALE_SLANGUAGE, buffer, kLanguageNameChars) <= 0)
    return std::wstring();
  return buffer;
}
