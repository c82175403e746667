// The look every character of a text range should have after macro
// highlighting, laid out before anything is painted: the searches run on a
// copy of the text, the painting then changes only what differs.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct MacroScheme;

// How a character should look: its text colour (tomAutoColor for the
// automatic one) and, unless tomUndefined, its boldness.
struct Look {
  long colour;
  long bold;
};

inline bool operator!=(const Look& a, const Look& b) { return a.colour != b.colour || a.bold != b.bold; }

struct LookPlan {
  LONG first = 0;
  std::vector<Look> looks;

  void Set(LONG from, LONG to, long colour, long bold);
  LONG End() const { return first + static_cast<LONG>(looks.size()); }
};

// The plan of first..first + text.size() for the scheme, searched in text
// (the range's characters) as the control's own search would find them.
// False when the scheme needs the control's search (whole-word groups).
// reachesEnd: the visible part reaches the end of the text (a pair closed
// by a line end then runs to textLength).
bool PlanFromText(const std::wstring& text, LONG first, const MacroScheme& scheme, const Look& base,
                  bool reachesEnd, LONG textLength, LookPlan* plan);
