// Searching a text with one of the web search engines the user picks.
#pragma once
#include <windows.h>

#include <string>

// Web search engines by their fixed ids.
constexpr int kSearchEngineGoogle = 4;
constexpr int kSearchEngineYandex = 5;
constexpr int kSearchEngineMsdn = 6;
constexpr int kSearchEngineWikipedia = 7;

// The longest query a search address carries, in characters.
constexpr size_t kMaxSearchQueryChars = 2000;

// The text as a query value: UTF-8, percent-encoded except for letters,
// digits and "-._~", cut to maxChars without splitting an escape or a
// character. A lone surrogate is taken as U+FFFD.
std::wstring EncodeSearchQuery(const std::wstring& text, size_t maxChars = kMaxSearchQueryChars);

// The search address of the text for the engine; empty for any other id.
// Every line break becomes one blank before the text is encoded.
std::wstring BuildWebSearchAddress(const std::wstring& text, int engine);

// Opens the search address of the text through RunCommand, errors
// reported; false (and nothing opened) for an unknown engine.
bool SearchTextOnWeb(const std::wstring& text, int engine, HWND owner);
