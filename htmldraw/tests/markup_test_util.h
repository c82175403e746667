// Test helpers: a memory context to resolve styles on, and a walk over a
// markup text that records each text run with the style it is drawn in.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/system/handles.h"
#include "htmldraw/markup_lexer.h"
#include "htmldraw/markup_prepare.h"
#include "htmldraw/style_resolver.h"

namespace markuptest {

struct StyledRun {
  std::wstring text;  // after the style's text transform
  HtmlTextStyle style;
};

// A memory context compatible with the screen.
class MemoryContext {
 public:
  MemoryContext() : m_dc(CreateCompatibleDC(nullptr)) {}
  HDC Get() const { return m_dc.Get(); }

 private:
  UniqueMemoryDC m_dc;
};

// Prepares and lexes raw as a pass of the drawer does, applying every tag;
// runs are the texts between tags. The pass is ended before returning.
inline std::vector<StyledRun> WalkMarkup(HtmlStyleResolver& styles, HDC dc, const std::wstring& raw,
                                         bool multiLine = true) {
  std::vector<StyledRun> runs;
  std::wstring prepared = PrepareMarkupText(raw, multiLine);
  styles.Begin(dc);
  MarkupLexer lexer(prepared);
  MarkupToken token;
  while (lexer.Next(token)) {
    if (token.kind == MarkupToken::kText) {
      StyledRun run{token.text, styles.Current()};
      ApplyTextTransform(run.text, run.style.textTransform);
      runs.push_back(run);
    } else {
      styles.ApplyTag(token);
    }
  }
  styles.End();
  return runs;
}

// The texts of the runs joined: what the drawer would put on the screen.
inline std::wstring DrawnText(const std::vector<StyledRun>& runs) {
  std::wstring text;
  for (const StyledRun& r : runs) text += r.text;
  return text;
}

// Lexes a prepared text into a readable form: runs as they are, tags as
// [name attributes] or [/name].
inline std::wstring LexedForm(const std::wstring& prepared) {
  std::wstring out;
  MarkupLexer lexer(prepared);
  MarkupToken token;
  while (lexer.Next(token)) {
    if (token.kind == MarkupToken::kText) {
      out += token.text;
    } else {
      out += std::wstring(L"[") + (token.closing ? L"/" : L"") + token.tag->name;
      if (!token.attributes.empty()) out += L" " + token.attributes;
      out += L"]";
    }
  }
  return out;
}

}  // namespace markuptest
