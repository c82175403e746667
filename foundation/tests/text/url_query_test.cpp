#include "foundation/text/url_query.h"

#include <gtest/gtest.h>

#include <cwctype>

#include "foundation/system/os_version.h"
#include "resources/version.h"

namespace {

const wchar_t kBase[] = L"http://127.0.0.1:8080/check.php";

HKL Layout(WORD language) { return reinterpret_cast<HKL>(static_cast<ULONG_PTR>(MAKELONG(language, language))); }

std::wstring ValueOf(const CUrlQuery& query, const std::wstring& name) {
  for (const auto& pair : query.GetParams()) {
    if (pair.name == name) return pair.value;
  }
  return L"<absent>";
}

TEST(UrlQueryTest, NoPairsGiveNoUrlAtAll) {
  CUrlQuery query(kBase);
  EXPECT_EQ(query.GetUrl(), L"");
}

TEST(UrlQueryTest, OnePairHasNoSeparator) {
  CUrlQuery query(kBase);
  query.AddParam(L"ver", L"1.0.0.1");
  EXPECT_EQ(query.GetUrl(), std::wstring(kBase) + L"?ver=1.0.0.1");
}

TEST(UrlQueryTest, PairsKeepTheirOrderAndOnlyBlanksAndPlusSignsChange) {
  CUrlQuery query(kBase);
  query.AddParam(L"winver", L"Windows 10 64x build 19045 ");
  query.AddParam(L"domain", L"", true);
  query.AddParam(L"country", L"United States", true);
  query.AddParam(L"languages", L"en+ru");
  query.AddParamInt(L"count", -42);
  query.AddParam(L"raw", L"a&b=c%d\u00E9/?#");
  query.AddParam(L"count", L"again");
  // Blanks become "_" when added; "+" only in the URL.
  EXPECT_EQ(ValueOf(query, L"winver"), L"Windows_10_64x_build_19045_");
  EXPECT_EQ(ValueOf(query, L"country"), L"[United_States]");
  EXPECT_EQ(ValueOf(query, L"languages"), L"en+ru");
  EXPECT_EQ(query.GetUrl(), std::wstring(kBase) +
                                L"?winver=Windows_10_64x_build_19045_&domain=[]"
                                L"&country=[United_States]&languages=en_ru&count=-42"
                                L"&raw=a&b=c%d\u00E9/?#&count=again");
}

TEST(UrlQueryTest, LanguagesOfKeyboardLayouts) {
  CUrlQuery query(kBase);
  query.AddLanguages({Layout(0x0409), Layout(0x0419), Layout(0x0407)});
  EXPECT_EQ(ValueOf(query, L"languages"), L"en+ru+de");
  EXPECT_EQ(query.GetUrl(), std::wstring(kBase) + L"?languages=en_ru_de");

  // Layouts without an ISO name are skipped, and none at all leaves the
  // value empty but still sends the name.
  CUrlQuery unnamed(kBase);
  unnamed.AddLanguages({Layout(0x7777), Layout(0x0419)});
  EXPECT_EQ(ValueOf(unnamed, L"languages"), L"ru");
  CUrlQuery none(kBase);
  none.AddLanguages(std::vector<HKL>{Layout(0x7777)});
  none.AddLanguages(std::vector<HKL>{});
  EXPECT_EQ(none.GetUrl(), std::wstring(kBase) + L"?languages=&languages=");

  CUrlQuery installed(kBase);
  installed.AddLanguages();
  std::wstring names = ValueOf(installed, L"languages");
  EXPECT_FALSE(names.empty());
  for (wchar_t ch : names) EXPECT_TRUE(std::iswlower(ch) || ch == L'+') << names;
}

TEST(UrlQueryTest, MachineFactsOfAFullRequest) {
  CUrlQuery query(kBase);
  ASSERT_TRUE(query.AddModuleVersion(L"ver"));
  query.AddWinVer();
  query.AddDomain();
  query.AddCountry();
  query.AddLanguages();
  query.AddRAM();
  query.AddScreen();

  std::vector<std::wstring> names;
  for (const auto& pair : query.GetParams()) names.push_back(pair.name);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"ver", L"winver", L"domain", L"country", L"languages", L"RAM",
                                              L"screen"}));
  EXPECT_EQ(ValueOf(query, L"ver"),
            std::to_wstring(QLR_VER_MAJOR) + L"." + std::to_wstring(QLR_VER_MINOR) + L"." +
                std::to_wstring(QLR_VER_PATCH) + L"." + std::to_wstring(QLR_VER_BUILD));
  std::wstring winver = ValueOf(query, L"winver");
  EXPECT_EQ(winver.find(L' '), std::wstring::npos);
  EXPECT_EQ(winver.rfind(L"Windows_", 0), 0u) << winver;
  EXPECT_NE(winver.find(L"_64x_build_"), std::wstring::npos) << winver;

  for (const wchar_t* name : {L"domain", L"country"}) {
    std::wstring value = ValueOf(query, name);  // bracketed, also when unknown
    ASSERT_GE(value.size(), 2u) << name;
    EXPECT_EQ(value.front(), L'[') << name;
    EXPECT_EQ(value.back(), L']') << name;
  }

  std::wstring ram = ValueOf(query, L"RAM");
  EXPECT_FALSE(ram.empty());
  EXPECT_EQ(ram.find(L' '), std::wstring::npos);
  EXPECT_EQ(ram.back(), L'B') << ram;

  int width = 0, height = 0;
  wchar_t close = 0;
  EXPECT_EQ(swscanf(ValueOf(query, L"screen").c_str(), L"[%dx%d%lc", &width, &height, &close), 3);
  EXPECT_EQ(close, L']');
  EXPECT_EQ(width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(height, GetSystemMetrics(SM_CYSCREEN));

  std::wstring url = query.GetUrl();
  EXPECT_EQ(url.find(L' '), std::wstring::npos);
  EXPECT_EQ(url.find(L'+'), std::wstring::npos);
}

}  // namespace
