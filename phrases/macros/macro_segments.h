// Cutting a phrase text at its macros with an argument: the prompt macros
// are asked one by one, the text between them is expanded as usual.
#pragma once
#include <string>
#include <vector>

struct CPhraseSegment {
  enum Kind { kPlain = 0, kArgument = 1 };
  int kind = kPlain;
  std::wstring text;  // the plain text, or the macro's argument
};

// The segments in text order (the argument macros found without regard to
// case). A text without such a macro is one plain segment; an opening
// without its closing stays plain text. The flag (whether the phrase is not
// RTF) does not change the result. Always true.
bool SplitPhraseSegments(const std::wstring& text, bool notRtf, std::vector<CPhraseSegment>& segments);
