#include "foundation/localization/locale_names.h"

#include <algorithm>
#include <cwchar>

#include "foundation/system/handles.h"

namespace {

constexpr int kLocaleChars = 260;
constexpr int kGeoWorkChars = 1000;
constexpr int kGeoTextChars = 1999;

}  // namespace

std::wstring GetLocaleString(LCID locale, LCTYPE type) {
  wchar_t buffer[kLocaleChars] = {};
  if (GetLocaleInfoW(locale, type, buffer, kLocaleChars) <= 0) return std::wstring();
  buffer[kLocaleChars - 1] = L'\0';
  return buffer;
}

std::wstring GetLocaleDayName(int day, LCID locale, bool abbreviated) {
  if (day < 0 || day > 6) return std::wstring();
  // The locale tables count from Monday (1) to Sunday (7).
  int index = day == 0 ? 6 : day - 1;
  LCTYPE first = abbreviated ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1;
  return GetLocaleString(locale, first + index);
}

std::wstring GetLocaleMonthName(int month, LCID locale, bool abbreviated) {
  if (month < 1 || month > 12) return std::wstring();
  LCTYPE first = abbreviated ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1;
  return GetLocaleString(locale, first + month - 1);
}

bool GetUserGeoInfo(GEOTYPE type, wchar_t* buffer, int bufferChars) {
  if (!buffer || bufferChars <= 0) return false;
  // Older systems lack both functions.
  DynamicFunction<GEOID(WINAPI*)(GEOCLASS)> getUserGeoId(L"kernel32.dll", "GetUserGeoID");
  DynamicFunction<int(WINAPI*)(GEOID, GEOTYPE, LPWSTR, int, LANGID)> getGeoInfo(L"kernel32.dll",
                                                                                "GetGeoInfoW");
  if (!getUserGeoId || !getGeoInfo) return false;
  GEOID id = getUserGeoId.Get()(GEOCLASS_NATION);
  if (id == GEOID_NOT_AVAILABLE) return false;
  wchar_t work[kGeoWorkChars] = {};
  int k = getGeoInfo.Get()(id, type, work, kGeoWorkChars - 1, GetUserDefaultLangID());
  if (k <= 0) return false;
  work[kGeoWorkChars - 1] = L'\0';
  // The terminator goes inside the caller's buffer even when the value is
  // longer than it.
  size_t count = std::min(std::wcslen(work), static_cast<size_t>(bufferChars - 1));
  std::wmemcpy(buffer, work, count);
  buffer[count] = L'\0';
  return true;
}

std::wstring GetUserGeoInfoText(GEOTYPE type) {
  wchar_t buffer[kGeoTextChars] = {};
  if (!GetUserGeoInfo(type, buffer, kGeoTextChars)) return std::wstring();
  return buffer;
}

std::wstring GetGeoFriendlyName() { return GetUserGeoInfoText(GEO_FRIENDLYNAME); }

std::wstring GetGeoOfficialName() { return GetUserGeoInfoText(GEO_OFFICIALNAME); }

std::wstring GetGeoIsoCode(bool twoLetters) {
  return GetUserGeoInfoText(twoLetters ? GEO_ISO2 : GEO_ISO3);
}
