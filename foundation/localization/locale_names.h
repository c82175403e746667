// Names from the locale tables: any locale value, day and month names, and
// the names of the user's geographic location.
#pragma once
#include <windows.h>

#include <string>

// GetLocaleInfoW of one value (at most 259 characters); empty on failure.
std::wstring GetLocaleString(LCID locale, LCTYPE type);
// day 0 = Sunday ... 6 = Saturday; any other day gives the empty string.
std::wstring GetLocaleDayName(int day, LCID locale, bool abbreviated);
// month 1 ... 12; any other month gives the empty string.
std::wstring GetLocaleMonthName(int month, LCID locale, bool abbreviated);

// One value of the user's nation (GetUserGeoID/GetGeoInfoW, looked up at run
// time) into buffer, cut to bufferChars - 1 characters and always
// terminated inside the buffer. False when unavailable.
bool GetUserGeoInfo(GEOTYPE type, wchar_t* buffer, int bufferChars);
std::wstring GetUserGeoInfoText(GEOTYPE type);
std::wstring GetGeoFriendlyName();
std::wstring GetGeoOfficialName();
std::wstring GetGeoIsoCode(bool twoLetters);
