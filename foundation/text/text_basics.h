// Small text operations shared by the path, registry and phrase code.
#pragma once
#include <string>

// Decimal text of value.
std::wstring IntToStr(int value);
// printf-style text, cut at 1,023 characters.
std::wstring FormatText(const wchar_t* format, ...);
// Replaces every occurrence of from by to, left to right, without looking
// at replaced text again; returns the count. An empty from replaces nothing.
int ReplaceText(std::wstring& text, const std::wstring& from, const std::wstring& to);
// Removes the given characters at both ends.
std::wstring TrimChars(const std::wstring& text, const wchar_t* chars);
// Case-insensitive equality over the whole strings (ordinal, as the file
// system compares names).
bool EqualNoCase(const std::wstring& a, const std::wstring& b);
// True when every character is 7-bit ASCII (an empty text is).
bool IsAscii(const std::wstring& text);
