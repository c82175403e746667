#include "phrases/macros/macro_values.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/files/file_version.h"
#include "foundation/system/os_version.h"
#include "phrases/insertion/clipboard_ops.h"
#include "phrases/macros/macro_dates.h"
#include "phrases/macros/macro_table.h"
#include "phrases/tests/macro_test_util.h"
#include "resources/version.h"
#include "tests/support/test_support.h"

using namespace macrotest;

namespace {

std::wstring Value(const wchar_t* name, LCID locale, const std::wstring& selected = L"",
                   const std::wstring& clipboard = L"") {
  return GetMacroValue(name, selected, clipboard, locale);
}

std::wstring SystemLongDate(const SYSTEMTIME& t, LCID locale) {
  wchar_t buffer[100] = {};
  GetDateFormatW(locale, DATE_LONGDATE, &t, nullptr, buffer, 100);
  return buffer;
}

bool HasWeekdayName(const std::wstring& text, LCID locale) {
  for (LCTYPE type = LOCALE_SDAYNAME1; type <= LOCALE_SDAYNAME7; ++type) {
    wchar_t name[80] = {};
    GetLocaleInfoW(locale, type, name, 80);
    if (name[0] && text.find(name) != std::wstring::npos) return true;
  }
  return false;
}

// "1, 0, 0, 1" -> "1.0.0.1": the product version as the version macros give it.
std::wstring OurProductVersion() {
  std::wstring text;
  for (const char* p = QLR_VER_TEXT; *p; ++p) {
    if (*p == ',') text += L'.';
    else if (*p != ' ') text += static_cast<wchar_t>(*p);
  }
  return text;
}

}  // namespace

class MacroValuesTest : public MacroTest {};

TEST_F(MacroValuesTest, NumericDatePartsFollowTheInjectedClock) {
  SYSTEMTIME november = MarchFifth();
  november.wYear = 2009;
  november.wMonth = 11;
  november.wDay = 28;
  struct {
    SYSTEMTIME now;
    const wchar_t* name;
    const wchar_t* expected;
  } cases[] = {
      {MarchFifth(), L"%DAY%", L"5"},          {MarchFifth(), L"%DAY2%", L"05"},
      {MarchFifth(), L"%MONTHNUMBER%", L"3"},  {MarchFifth(), L"%MONTHNUMBER2%", L"03"},
      {MarchFifth(), L"%YEAR%", L"2026"},      {MarchFifth(), L"%YEAR2%", L"26"},
      {november, L"%DAY%", L"28"},             {november, L"%DAY2%", L"28"},
      {november, L"%MONTHNUMBER2%", L"11"},    {november, L"%YEAR2%", L"09"},
      {MarchFifth(), L"%KEYPRESS_TAB%", L"\t"}, {MarchFifth(), L"%KEYPRESS_ENTER%", L"\r"},
      {MarchFifth(), L"%CURSOR_POS%", L""},    {MarchFifth(), L"%PROMPT_TEXT={}%", L""},
      {MarchFifth(), L"%TRIM_LEFT_ALLPROTS_FROM_SELTEXT%", L""},
  };
  for (const auto& c : cases) {
    Use(c.now, kEnglish, {});
    EXPECT_EQ(Value(c.name, kEnglish), c.expected) << c.name << " " << c.now.wYear;
  }
}

TEST_F(MacroValuesTest, NamesOfMonthsAndWeekdaysComeFromTheLocale) {
  struct {
    LCID locale;
    const wchar_t* month;
    const wchar_t* weekday;
  } cases[] = {
      {kEnglish, L"March", L"Thursday"},
      {kGerman, L"M\u00e4rz", L"Donnerstag"},
      {kRussian, L"\u041c\u0430\u0440\u0442", L"\u0447\u0435\u0442\u0432\u0435\u0440\u0433"},
  };
  for (const auto& c : cases) {
    // Month names of some locales begin in lower case.
    std::wstring month = Value(L"%MONTHNAME%", c.locale);
    ASSERT_FALSE(month.empty());
    EXPECT_EQ(lstrcmpiW(month.c_str(), c.month), 0) << month;
    EXPECT_EQ(lstrcmpiW(Value(L"%WEEKDAYNAME%", c.locale).c_str(), c.weekday), 0) << c.locale;
    std::wstring abbrMonth = Value(L"%MONTHNAME_ABBR%", c.locale);
    std::wstring abbrDay = Value(L"%WEEKDAYNAME_ABBR%", c.locale);
    EXPECT_FALSE(abbrMonth.empty());
    EXPECT_FALSE(abbrDay.empty());
    EXPECT_LE(abbrMonth.size(), month.size());
    EXPECT_LT(abbrDay.size(), std::wstring(c.weekday).size());
  }
}

TEST_F(MacroValuesTest, DatesAndTimesInTheGivenLocale) {
  const SYSTEMTIME now = MarchFifth();
  for (LCID locale : {kEnglish, kGerman, kRussian}) {
    SCOPED_TRACE(locale);
    std::wstring date = Value(L"%DATE%", locale);
    std::wstring time = Value(L"%TIME%", locale);
    std::wstring dateNoWeekday = Value(L"%DATE_EX_WD%", locale);
    SYSTEMTIME fixed = now;
    fixed.wDayOfWeek = 4;
    EXPECT_EQ(date, SystemLongDate(fixed, locale));
    EXPECT_NE(date.find(L"2026"), std::wstring::npos);
    // 24-hour form without a time marker.
    EXPECT_NE(time.find(L"14"), std::wstring::npos) << time;
    EXPECT_NE(time.find(L"07"), std::wstring::npos) << time;
    EXPECT_EQ(time.find(L"PM"), std::wstring::npos) << time;
    EXPECT_EQ(Value(L"%DATETIME%", locale), date + L" " + time);
    EXPECT_FALSE(HasWeekdayName(dateNoWeekday, locale)) << dateNoWeekday;
    ASSERT_FALSE(dateNoWeekday.empty());
    for (wchar_t end : {dateNoWeekday.front(), dateNoWeekday.back()}) {
      EXPECT_NE(end, L' ');
      EXPECT_NE(end, L',');
    }
    EXPECT_EQ(Value(L"%DATETIME_EX_WD%", locale), dateNoWeekday + L" " + time);
  }
  EXPECT_EQ(Value(L"%DATE_EX_WD%", kEnglish), L"March 5, 2026");
}

TEST_F(MacroValuesTest, UrlAtTheStartOfATextAndTheTextAfterIt) {
  struct {
    const wchar_t* text;
    const wchar_t* url;
    const wchar_t* after;
  } cases[] = {
      {L"https://page/c d", L"https://page/c", L" d"},
      {L"see x", L"", L"see x"},
      {L"", L"", L""},
      {L" \r\n\thttp://a.b/c", L"http://a.b/c", L""},
      {L"FTP://files/x\tnext", L"FTP://files/x", L"\tnext"},
      {L"http://", L"", L"http://"},  // a scheme alone is no URL
      {L"http://x\r\nline", L"http://x", L"\r\nline"},
      {L"file://x y", L"", L"file://x y"},
      {L"  plain words", L"", L"plain words"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtractUrl(c.text, true), c.url) << c.text;
    EXPECT_EQ(ExtractUrl(c.text, false), c.after) << c.text;
    EXPECT_EQ(Value(L"%URL_FROM_SELECTED_TEXT%", kEnglish, c.text), c.url);
    EXPECT_EQ(Value(L"%TEXT_AFTER_URL%", kEnglish, c.text), c.after);
    EXPECT_EQ(Value(L"%URL_FROM_CLIPBOARD%", kEnglish, L"", c.text), c.url);
  }
}

TEST_F(MacroValuesTest, NumberWordsAndCaseChangesOfTheTexts) {
  struct {
    const wchar_t* name;
    const wchar_t* selected;
    const wchar_t* clipboard;
    const wchar_t* expected;
  } cases[] = {
      {L"%NUMBERCHARS_SELTEXT%", L"a 21 b", L"7", L"a \u0434\u0432\u0430\u0434\u0446\u0430\u0442\u044c "
                                                   L"\u043e\u0434\u0438\u043d b"},
      {L"%NUMBERCHARS_SELTEXT%", L"", L"7", L""},
      {L"%NUMBERCHARS_SELTEXT%", L"none", L"", L"none"},
      {L"%NUMBERCHARS_CLIPBOARD%", L"1", L"0", L"\u043d\u043e\u043b\u044c"},
      {L"%NUMBERCHARS_CLIPBOARD%", L"1", L"", L""},
      {L"%UPPER_SELTEXT%", L"Hello \u043f\u0440\u0438\u0432\u0435\u0442 1", L"x",
       L"HELLO \u041f\u0420\u0418\u0412\u0415\u0422 1"},
      {L"%LOWER_SELTEXT%", L"Hello \u041f\u0420\u0418\u0412\u0415\u0422", L"X", L"hello \u043f\u0440\u0438\u0432\u0435\u0442"},
      {L"%UPPER_SELTEXT%", L"", L"x", L""},
      {L"%SELECTED_TEXT%", L"sel", L"clip", L"sel"},
      {L"%CLIPBOARD_TEXT%", L"sel", L"clip", L"clip"},
  };
  for (const auto& c : cases) EXPECT_EQ(Value(c.name, kEnglish, c.selected, c.clipboard), c.expected) << c.name;
}

TEST_F(MacroValuesTest, NamesAreLookedUpWithoutCaseAndUnknownNamesAreEmpty) {
  EXPECT_EQ(Value(L"%day2%", kEnglish), L"05");
  EXPECT_EQ(Value(L"%Year%", kEnglish), L"2026");
  EXPECT_EQ(Value(L"%NO_SUCH_MACRO%", kEnglish), L"");
  EXPECT_EQ(Value(L"DAY", kEnglish), L"");
  EXPECT_EQ(Value(L"", kEnglish), L"");
}

TEST_F(MacroValuesTest, SystemValues) {
  wchar_t user[257] = {};
  DWORD size = 257;
  ASSERT_TRUE(GetUserNameW(user, &size));
  EXPECT_EQ(Value(L"%WINDOWS_USERNAME%", kEnglish), user);
  std::wstring windows = Value(L"%WINDOWS_VERSION%", kEnglish);
  EXPECT_FALSE(windows.empty());
  EXPECT_EQ(windows, COSVersionInfo().GetOSDisplayName());
}

TEST_F(MacroValuesTest, VersionsComeFromTheProgramFilesVersionResources) {
  qlrtest::TempDir dir;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring editor = dir.File(L"QuilloraEditor.exe");
  const std::wstring dll = dir.File(L"Quillora.dll");
  const std::wstring bare = dir.File(L"NoResource.dll");
  ASSERT_TRUE(qlrtest::CopyFileTo(self, editor));
  ASSERT_TRUE(qlrtest::CopyFileTo(self, dll));
  ASSERT_TRUE(qlrtest::WriteBytes(bare, "MZ not a real program"));

  const std::wstring ours = OurProductVersion();
  ASSERT_EQ(ours, L"1.0.0.1");
  struct {
    CMacroVersionFiles files;
    const wchar_t* program;
    const wchar_t* editor;
    const wchar_t* dll;
  } cases[] = {
      {{L"", editor, dll}, ours.c_str(), ours.c_str(), ours.c_str()},
      {{bare, bare, L""}, L"", L"", L""},
      {{self, dir.File(L"missing.exe"), bare}, ours.c_str(), L"", L""},
  };
  for (const auto& c : cases) {
    SetMacroVersionFiles(c.files);
    EXPECT_EQ(Value(L"%QLR_VERSION%", kEnglish), c.program);
    EXPECT_EQ(Value(L"%QLR_VERSION_EDITOR%", kEnglish), c.editor);
    EXPECT_EQ(Value(L"%QLR_VERSION_DLL%", kEnglish), c.dll);
  }
}

TEST_F(MacroValuesTest, FixedValuesAreReadOncePerRequest) {
  qlrtest::TempDir dir;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring editor = dir.File(L"QuilloraEditor.exe");
  ASSERT_TRUE(qlrtest::CopyFileTo(self, editor));
  SetMacroVersionFiles({L"", editor, L""});

  std::wstring none;
  CMacroRequestCache request;
  EXPECT_EQ(CMacroValues(none, none, kEnglish, &request).Get(kMacroVersionEditor), OurProductVersion());
  // The file changes during the request: the request keeps what it read.
  ASSERT_TRUE(DeleteFileW(editor.c_str()));
  EXPECT_EQ(CMacroValues(none, none, kEnglish, &request).Get(kMacroVersionEditor), OurProductVersion());
  // A new request reads the file again; so does an expansion without a request.
  EXPECT_EQ(CMacroValues(none, none, kEnglish, nullptr).Get(kMacroVersionEditor), L"");
  request.Clear();
  EXPECT_EQ(CMacroValues(none, none, kEnglish, &request).Get(kMacroVersionEditor), L"");
}

TEST_F(MacroValuesTest, TheClockIsReadOnceAndOnlyForDateMacros) {
  std::wstring none;
  CMacroValues values(none, none, kEnglish, nullptr);
  EXPECT_EQ(values.Get(kMacroClipboardText), L"");
  EXPECT_EQ(values.Get(kMacroUserName).empty(), false);
  EXPECT_EQ(m_clockReads, 0);
  values.Get(kMacroDate);
  values.Get(kMacroTime);
  values.Get(kMacroYear);
  EXPECT_EQ(m_clockReads, 1);
}

TEST_F(MacroValuesTest, ValueForAWindowUsesItsLayoutLanguageAndTheClipboard) {
  HWND window = CreateWindowExW(0, L"STATIC", L"target", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  LCID layoutLocale = MAKELCID(LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))), SORT_DEFAULT);
  EXPECT_EQ(GetWindowLayoutLocale(window), layoutLocale);
  EXPECT_EQ(GetWindowLayoutLocale(nullptr), kEnglish);  // the injected user locale

  ASSERT_TRUE(PutTextOnClipboard(L"https://clip/page rest"));
  EXPECT_EQ(GetMacroValue(L"%CLIPBOARD_TEXT%", window), L"https://clip/page rest");
  EXPECT_EQ(GetMacroValue(L"%URL_FROM_CLIPBOARD%", window), L"https://clip/page");
  EXPECT_EQ(GetMacroValue(L"%SELECTED_TEXT%", window), L"");
  EXPECT_EQ(GetMacroValue(L"%DAY2%", window), L"05");
  EXPECT_EQ(GetMacroValue(L"%MONTHNAME%", window), Value(L"%MONTHNAME%", layoutLocale));
  EXPECT_EQ(GetMacroValue(L"%ACTIVATE_KL_EN%", window), L"");
  DestroyWindow(window);
}

TEST_F(MacroValuesTest, LanguageNamesOfALocale) {
  EXPECT_EQ(GetLocaleLanguageName(kEnglish, true), L"en");
  EXPECT_EQ(GetLocaleLanguageName(kGerman, true), L"de");
  std::wstring full = GetLocaleLanguageName(kGerman, false);
  EXPECT_NE(full.find(L"German"), std::wstring::npos) << full;
  EXPECT_EQ(GetLocaleLanguageName(0x12345678, true), L"");
}

TEST_F(MacroValuesTest, DateTextsJoinThePresentParts) {
  Use(MarchFifth(), kEnglish, {});
  const SYSTEMTIME t = MarchFifth();
  const std::wstring date = L"March 5, 2026";
  const std::wstring time = FormatTimeOfDay(t, kEnglish);
  ASSERT_FALSE(time.empty());
  EXPECT_EQ(FormatDateText(t, false), date);
  EXPECT_EQ(FormatDateText(t, true), date + L", Thursday");
  EXPECT_EQ(FormatDateTimeTextEx(t, false), date + L", " + time);
  EXPECT_EQ(FormatDateTimeTextEx(t, true), date + L", Thursday, " + time);
  EXPECT_EQ(FormatDateTimeText(t), date + L", Thursday, " + time);
  EXPECT_EQ(FormatDateTimeFull(t), FormatDateTimeText(t));
  EXPECT_EQ(FormatDateTimeMultiline(t), time + L"\n\t\t\t" + date + L", Thursday");
  // A date the locale cannot write leaves its parts out without doubled separators.
  SYSTEMTIME bad = t;
  bad.wMonth = 13;
  std::wstring text = FormatDateTimeText(bad);
  EXPECT_EQ(text.find(L", ,"), std::wstring::npos) << text;
  EXPECT_NE(text.substr(0, 2), L", ");
}
