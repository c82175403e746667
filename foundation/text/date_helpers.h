// Dates met as text: the program's own build stamp and the publication date
// of a news item.
#pragma once
#include <windows.h>

#include <string>

// "Jan".."Dec" (ASCII case ignored) -> 1..12; anything else -> def.
int MonthFromName(const std::wstring& name, int def);

// The compile date and time of this build, "Mmm dd yyyy hh:mm:ss" (a
// single-digit day is preceded by a second blank).
std::wstring GetBuildStamp();

// Reads a stamp of the form above. The record is zeroed first.
bool ParseBuildStamp(const std::wstring& text, SYSTEMTIME& out);
bool ParseBuildDate(SYSTEMTIME& out);

// "5 Dec 2026 10:20:30 GMT" style dates (no leading weekday). The record is
// zeroed first; false for an empty text or an unknown month.
bool ParseRssDate(const wchar_t* text, SYSTEMTIME& out);
