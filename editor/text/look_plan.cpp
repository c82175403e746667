#include "editor/text/look_plan.h"

#include <tom.h>

#include <algorithm>

#include "editor/text/macro_highlight.h"

namespace {

// The text in the case the search compares in (upper case unless the
// scheme matches case).
std::wstring Folded(const std::wstring& text, bool matchCase) {
  std::wstring folded = text;
  if (!matchCase && !folded.empty()) ::CharUpperBuffW(&folded[0], static_cast<DWORD>(folded.size()));
  return folded;
}

}  // namespace

void LookPlan::Set(LONG from, LONG to, long colour, long bold) {
  const LONG end = End();
  for (LONG i = from < first ? first : from; i < to && i < end; ++i) {
    Look& look = looks[static_cast<size_t>(i - first)];
    look.colour = colour;
    if (bold != tomUndefined) look.bold = bold;
  }
}

bool PlanFromText(const std::wstring& text, LONG first, const MacroScheme& scheme, const Look& base,
                  bool reachesEnd, LONG textLength, LookPlan* plan) {
  for (const MacroKeywordGroup& group : scheme.KeywordGroups)
    if (group.wholeWord) return false;
  plan->first = first;
  plan->looks.assign(text.size(), base);
  const bool matchCase = scheme.CaseSensitive;
  const std::wstring haystack = Folded(text, matchCase);

  // Every occurrence, overlapping ones too (the next search starts one
  // character after a match's start). A group's keywords all give its
  // colour, so one pass over the text per group finds them all: at each
  // place only the keywords starting with that character are tried.
  for (const MacroKeywordGroup& group : scheme.KeywordGroups) {
    std::vector<std::wstring> needles;
    for (const std::wstring& keyword : group.keywords)
      if (!keyword.empty()) needles.push_back(Folded(keyword, matchCase));
    std::sort(needles.begin(), needles.end());
    std::wstring starts;
    for (const std::wstring& needle : needles)
      if (starts.empty() || starts.back() != needle[0]) starts += needle[0];
    const long colour = static_cast<long>(group.colour);
    for (size_t at = 0; at < haystack.size(); ++at) {
      const wchar_t c = haystack[at];
      if (starts.find(c) == std::wstring::npos) continue;
      auto from = std::lower_bound(needles.begin(), needles.end(), std::wstring(1, c));
      for (auto needle = from; needle != needles.end() && (*needle)[0] == c; ++needle) {
        if (haystack.compare(at, needle->size(), *needle) != 0) continue;
        const LONG start = first + static_cast<LONG>(at);
        plan->Set(start, start + static_cast<LONG>(needle->size()), colour, tomUndefined);
      }
    }
  }

  // A pair spans from its opening text to the end of the first closing text
  // found from the opening's start; the next opening is looked for behind
  // that span.
  for (const MacroPairGroup& group : scheme.PairGroups) {
    const long colour = group.autoColour ? tomAutoColor : static_cast<long>(group.colour);
    for (const MacroPair& pair : group.pairs) {
      if (pair.opening.empty()) continue;
      const std::wstring opening = Folded(pair.opening, matchCase);
      const std::wstring closing = Folded(pair.closing, matchCase);
      size_t at = haystack.find(opening);
      while (at != std::wstring::npos) {
        size_t next = at + 1;
        if (!closing.empty()) {
          const size_t close = haystack.find(closing, at);
          LONG spanEnd = -1;
          if (close != std::wstring::npos)
            spanEnd = first + static_cast<LONG>(close + closing.size());
          else if (pair.closing == L"\r" && reachesEnd)
            spanEnd = textLength;
          const LONG start = first + static_cast<LONG>(at);
          if (spanEnd > start) {
            plan->Set(start, spanEnd, colour, pair.bold ? tomTrue : tomUndefined);
            next = static_cast<size_t>(spanEnd - first);
          }
        }
        at = next < haystack.size() ? haystack.find(opening, next) : std::wstring::npos;
      }
    }
  }
  return true;
}
