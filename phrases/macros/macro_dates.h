// Date and time texts: the pieces the date macros give, and the joined date
// texts that captions, tooltips and the about box show.
#pragma once
#include <windows.h>

#include <string>

// The long date (DATE_LONGDATE) and the time in 24-hour form without a time
// marker, as the locale writes them; empty when the locale or the date is
// not valid.
std::wstring FormatLongDate(const SYSTEMTIME& time, LCID locale);
std::wstring FormatTimeOfDay(const SYSTEMTIME& time, LCID locale);
// The long date with every full weekday name of the locale taken out, and
// blanks and commas trimmed at both ends.
std::wstring FormatLongDateWithoutWeekday(const SYSTEMTIME& time, LCID locale);
// The weekday of the date's day, month and year (wDayOfWeek is not trusted).
std::wstring FormatWeekdayName(const SYSTEMTIME& time, LCID locale, bool abbreviated);

// In the user's default locale, the present parts joined with ", ":
// date (without weekday), weekday, time.
std::wstring FormatDateTimeText(const SYSTEMTIME& time);
std::wstring FormatDateTimeFull(const SYSTEMTIME& time);
// The build stamp's date and time in the user's format; the stamp itself
// when it cannot be read.
std::wstring GetBuildDateText();
std::wstring GetBuildDateText(const std::wstring& stamp);
// Date, and the weekday when asked for.
std::wstring FormatDateText(const SYSTEMTIME& time, bool weekday);
// Date, the weekday when asked for, and the time.
std::wstring FormatDateTimeTextEx(const SYSTEMTIME& time, bool weekday);
// The time, "\n\t\t\t", then date and weekday.
std::wstring FormatDateTimeMultiline(const SYSTEMTIME& time);
