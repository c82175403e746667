// Lexer of a prepared markup text (see markup_prepare.h) and the scanner of a
// tag's attribute text. Both work on the text in place and never read past
// its end, whatever it holds.
#pragma once
#include <cstddef>
#include <string>

#include "htmldraw/markup_tags.h"

// Blanks separate tag names, attributes, selectors and values; line breaks
// count too, since style sheets come as multi-line files.
inline bool IsMarkupBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
// Names of attributes, selectors and properties start with a letter, a digit
// or a dot.
bool IsMarkupNameChar(wchar_t c);

struct MarkupToken {
  enum Kind { kText, kTag };
  Kind kind = kText;
  // kText: the run to draw ("<<" already turned into "<").
  std::wstring text;
  // kTag: the table entry, whether it closes, and its attribute text (leading
  // blanks removed; it begins with "=" when the name ended at one).
  const MarkupTag* tag = nullptr;
  bool closing = false;
  std::wstring attributes;
};

class MarkupLexer {
 public:
  explicit MarkupLexer(const std::wstring& prepared) : m_text(prepared) {}
  MarkupLexer(std::wstring&&) = delete;  // the text must outlive the lexer

  // The next text run or known tag; false at the end. Tags the dialect does
  // not know are skipped with their closing forms.
  bool Next(MarkupToken& token);

 private:
  const std::wstring& m_text;
  size_t m_pos = 0;
  size_t m_noCloseFrom = std::wstring::npos;  // no ">" after this position
};

// The attributes of a tag's attribute text, one name and value at a time.
class MarkupAttributeScanner {
 public:
  explicit MarkupAttributeScanner(const std::wstring& attributes) : m_text(attributes) {}
  MarkupAttributeScanner(std::wstring&&) = delete;
  bool Next(std::wstring& name, std::wstring& value);

 private:
  const std::wstring& m_text;
  size_t m_pos = 0;
};

// Largest repeat count of br and t honoured: a text cannot ask the layout for
// millions of line breaks.
constexpr int kMaxMarkupRepeat = 100;

// The repeat count of br and t: the attribute text after its first character
// ("br=2" gives 2); empty, zero or negative counts as 1, at most
// kMaxMarkupRepeat.
int MarkupRepeatCount(const std::wstring& attributes);
