// Code-page conversions between UTF-16 and 8-bit text, and case-insensitive
// comparison and search by the invariant locale's upper case.
#pragma once
#include <string>

// 8-bit text in the given code page -> UTF-16. A null or empty input, or a
// conversion the system refuses, gives the empty string.
std::wstring MultiByteToWide(const char* text, unsigned int codePage);
std::wstring AnsiToWide(const char* text);  // CP_ACP
std::wstring Utf8ToWide(const char* text);  // CP_UTF8
inline std::wstring Utf8ToWide(const std::string& text) { return Utf8ToWide(text.c_str()); }

// UTF-16 -> 8-bit text, without a default character.
std::string WideToMultiByte(const wchar_t* text, unsigned int codePage);
std::string WideToThreadAnsi(const wchar_t* text);  // CP_THREAD_ACP
std::string WideToUtf8(const wchar_t* text);        // CP_UTF8
inline std::string WideToUtf8(const std::wstring& text) { return WideToUtf8(text.c_str()); }

// The character upper-cased by the invariant locale; itself when that fails.
wchar_t ToUpperInvariant(wchar_t ch);
// 0 when equal, else the difference of the first pair of characters that
// differ (negative when a sorts first). Null counts as empty.
int CompareStringsW(const wchar_t* a, const wchar_t* b, bool caseSensitive);
// The whole text upper-cased by the invariant locale; empty on failure.
std::wstring MapStringUpperInvariant(const std::wstring& text);
// Position of needle in text at or after start, ignoring case; -1 when
// either is empty or there is no match.
int FindStringNoCase(const std::wstring& needle, const std::wstring& text, int start);
