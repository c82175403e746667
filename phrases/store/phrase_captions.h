// Caption texts for the phrase menu and the history entries in it.
#pragma once
#include <string>

// Trimmed (blanks, tabs, CR, LF, vertical tabs, backspaces), cut at the
// first line break from the third character on, at most maxChars
// characters followed by "…" when cut (-1: no limit), remaining breaks
// turned into blanks.
std::wstring NormalizeCaptionText(const std::wstring& text, int maxChars);

// Trimmed like the above; a text longer than maxChars is shortened in the
// middle, as a URL when it is one, else at a word boundary.
std::wstring ShortenHistoryCaption(const std::wstring& text, int maxChars);
