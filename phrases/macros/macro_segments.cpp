#include "phrases/macros/macro_segments.h"

#include "foundation/text/convert.h"
#include "foundation/text/text_basics.h"
#include "phrases/macros/macro_table.h"

namespace {

bool EndsWithNoCase(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && EqualNoCase(text.substr(text.size() - tail.size()), tail);
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& head) {
  return text.size() >= head.size() && EqualNoCase(text.substr(0, head.size()), head);
}

// The earliest opening of any argument macro at or after from.
bool FindOpening(const std::wstring& text, size_t from, size_t& at, CArgMacroEntry& macro) {
  bool found = false;
  for (int i = 0; i < GetArgMacroCount(); ++i) {
    CArgMacroEntry entry = GetArgMacroEntry(i);
    int pos = FindStringNoCase(entry.opening, text, static_cast<int>(from));
    if (pos >= 0 && (!found || static_cast<size_t>(pos) < at)) {
      at = static_cast<size_t>(pos);
      macro = entry;
      found = true;
    }
  }
  return found;
}

CPhraseSegment SegmentOf(const std::wstring& piece) {
  for (int i = 0; i < GetArgMacroCount(); ++i) {
    CArgMacroEntry entry = GetArgMacroEntry(i);
    if (piece.size() >= entry.opening.size() + entry.closing.size() && StartsWithNoCase(piece, entry.opening) &&
        EndsWithNoCase(piece, entry.closing)) {
      size_t length = piece.size() - entry.opening.size() - entry.closing.size();
      return {CPhraseSegment::kArgument, piece.substr(entry.opening.size(), length)};
    }
  }
  return {CPhraseSegment::kPlain, piece};
}

}  // namespace

bool SplitPhraseSegments(const std::wstring& text, bool /*notRtf*/, std::vector<CPhraseSegment>& segments) {
  segments.clear();
  std::vector<std::wstring> pieces;
  size_t position = 0;
  for (;;) {
    size_t open = 0;
    CArgMacroEntry macro;
    if (!FindOpening(text, position, open, macro)) {
      if (position < text.size()) pieces.push_back(text.substr(position));
      break;
    }
    if (open > position) pieces.push_back(text.substr(position, open - position));
    int close = FindStringNoCase(macro.closing, text, static_cast<int>(open + macro.opening.size()));
    if (close < 0) {
      pieces.push_back(text.substr(open));
      break;
    }
    position = static_cast<size_t>(close) + macro.closing.size();
    pieces.push_back(text.substr(open, position - open));
  }
  for (const std::wstring& piece : pieces) segments.push_back(SegmentOf(piece));
  if (segments.empty()) segments.push_back({CPhraseSegment::kPlain, text});
  return true;
}
