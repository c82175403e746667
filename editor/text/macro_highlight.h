// Colours the macros written in a plain phrase text (such as
// "%CLIPBOARD_TEXT%" or "%PROMPT_TEXT={question}%") through the Text
// Object Model: no undo step, no change notification, the modified flag and
// the read-only state left as they were.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct MacroKeywordGroup {
  std::vector<std::wstring> keywords;
  COLORREF colour = 0;
  bool wholeWord = false;
};

struct MacroPair {
  std::wstring opening;
  std::wstring closing;
  bool bold = false;
};

struct MacroPairGroup {
  std::vector<MacroPair> pairs;
  bool autoColour = false;
  COLORREF colour = 0;
};

struct MacroScheme {
  std::vector<MacroKeywordGroup> KeywordGroups;
  std::vector<MacroPairGroup> PairGroups;
  bool CaseSensitive = false;
};

// The colour of macros, RGB(255, 104, 32).
constexpr COLORREF kMacroColour = RGB(255, 104, 32);

// The process's scheme, built on first use from the macro table.
const MacroScheme& GetMacroScheme();

// Resets the colours of the whole text, then colours it.
void HighlightAll(HWND control, const MacroScheme& scheme);
// Sets text as the control's whole text and colours it as HighlightAll
// would; a long text goes in already coloured (laid out once, not twice).
// Runs within a LoadPause (load_pause.h), which keeps the notices, the
// drawing and the undo steps out; the modified flag is left to the caller.
void SetTextHighlighted(HWND control, const MacroScheme& scheme, const std::wstring& text);
// Colours the visible part only (after each change of the text).
void HighlightVisible(HWND control, const MacroScheme& scheme);
// Colours first..last (last -1: to the end); nothing while text is
// selected.
void HighlightRange(HWND control, const MacroScheme& scheme, LONG first, LONG last);
// The range's text colour back to automatic, while highlighting is enabled.
void ResetColours(HWND control, LONG first, LONG last);

void SetHighlightEnabled(bool enabled);
bool HighlightEnabled();
