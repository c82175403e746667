// One-line captions for menus, tooltips and pane titles: line breaks and
// runs of blanks folded, the middle cut out of long texts and URLs.
#pragma once
#include <string>

// Folds line breaks and blank runs, trims pilcrows, blanks, tabs and CRs at
// the ends and, when the text is longer than maxLength, cuts its middle at a
// separator, putting an ellipsis there. True when the text changed.
bool ShortenTextForCaption(std::wstring& text, int maxLength);

// Shortens a long http, https or ftp URL to "head … tail", keeping the host
// part and the last path piece. True when the URL fits or was shortened;
// false (URL unchanged) when it has no scheme or no "/", "&" or "?".
bool ShortenUrlForCaption(std::wstring& url, int maxLength);

// Replaces every what by with, left to right without overlap (the scan goes
// on behind each replacement); returns the count.
size_t ReplaceAllText(std::wstring& text, const std::wstring& what, const std::wstring& with);

// Where to cut a text longer than maxLength: [start, end) is left out.
struct CutRange {
  size_t start = 0;
  size_t end = 0;
};
bool FindCutRange(const std::wstring& text, int maxLength, CutRange& range);

// The greatest position above 0 of a character of the set, or -1.
int FindLastOfAny(const std::wstring& text, const std::wstring& set);
