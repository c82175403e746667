#include "phrases/macros/macro_dates.h"

#include <initializer_list>

#include "foundation/localization/locale_names.h"
#include "foundation/system/system_helpers.h"
#include "foundation/text/date_helpers.h"
#include "foundation/text/text_basics.h"
#include "phrases/macros/macro_sources.h"

namespace {

constexpr int kDateChars = 100;
// No time marker, 24-hour form.
constexpr DWORD kTimeFlags = TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT;

SYSTEMTIME WithWeekday(const SYSTEMTIME& time) {
  SYSTEMTIME fixed = time;
  fixed.wDayOfWeek = static_cast<WORD>(GetDayOfWeek(time.wDay, time.wMonth, time.wYear));
  return fixed;
}

std::wstring Join(std::initializer_list<std::wstring> parts) {
  std::wstring text;
  for (const std::wstring& part : parts) {
    if (part.empty()) continue;
    if (!text.empty()) text += L", ";
    text += part;
  }
  return text;
}

std::wstring DatePart(const SYSTEMTIME& time) {
  return FormatLongDateWithoutWeekday(time, GetMacroUserLocale());
}
std::wstring WeekdayPart(const SYSTEMTIME& time) {
  return FormatWeekdayName(time, GetMacroUserLocale(), false);
}
std::wstring TimePart(const SYSTEMTIME& time) { return FormatTimeOfDay(time, GetMacroUserLocale()); }

}  // namespace

std::wstring FormatLongDate(const SYSTEMTIME& time, LCID locale) {
  SYSTEMTIME fixed = WithWeekday(time);
  wchar_t buffer[kDateChars] = {};
  if (GetDateFormatW(locale, DATE_LONGDATE, &fixed, nullptr, buffer, kDateChars) <= 0) return std::wstring();
  return buffer;
}

std::wstring FormatTimeOfDay(const SYSTEMTIME& time, LCID locale) {
  wchar_t buffer[kDateChars] = {};
  if (GetTimeFormatW(locale, kTimeFlags, &time, nullptr, buffer, kDateChars) <= 0) return std::wstring();
  return buffer;
}

std::wstring FormatLongDateWithoutWeekday(const SYSTEMTIME& time, LCID locale) {
  std::wstring date = FormatLongDate(time, locale);
  for (int day = 0; day < 7; ++day) ReplaceText(date, GetLocaleDayName(day, locale, false), L"");
  return TrimChars(date, L" ,");
}

std::wstring FormatWeekdayName(const SYSTEMTIME& time, LCID locale, bool abbreviated) {
  return GetLocaleDayName(GetDayOfWeek(time.wDay, time.wMonth, time.wYear), locale, abbreviated);
}

std::wstring FormatDateTimeText(const SYSTEMTIME& time) {
  return Join({DatePart(time), WeekdayPart(time), TimePart(time)});
}

std::wstring FormatDateTimeFull(const SYSTEMTIME& time) { return FormatDateTimeText(time); }

std::wstring GetBuildDateText(const std::wstring& stamp) {
  SYSTEMTIME time = {};
  if (!ParseBuildStamp(stamp, time)) return stamp;
  std::wstring text = FormatDateTimeFull(time);
  return text.empty() ? stamp : text;
}

std::wstring GetBuildDateText() { return GetBuildDateText(GetBuildStamp()); }

std::wstring FormatDateText(const SYSTEMTIME& time, bool weekday) {
  return Join({DatePart(time), weekday ? WeekdayPart(time) : std::wstring()});
}

std::wstring FormatDateTimeTextEx(const SYSTEMTIME& time, bool weekday) {
  return Join({DatePart(time), weekday ? WeekdayPart(time) : std::wstring(), TimePart(time)});
}

std::wstring FormatDateTimeMultiline(const SYSTEMTIME& time) {
  return TimePart(time) + L"\n\t\t\t" + FormatDateText(time, true);
}
