#include "editor/text/macro_highlight.h"

#include <richedit.h>
#include <richole.h>
#include <tom.h>

#include <vector>

#include "editor/text/com_ref.h"
#include "editor/text/look_plan.h"
#include "editor/text/look_stream.h"
#include "editor/text/rich_text_io.h"
#include "foundation/ui/rich_edit.h"
#include "phrases/macros/macro_table.h"

namespace {

bool g_highlightEnabled = true;

// Gives spans their look through one range and its font, reused: making a
// font object costs far more than reading or changing one. A span already
// looking right is left alone, so re-colouring unchanged text costs reads
// only. The font's changes stay out of the undo history where collection is
// suspended (see UndoPause).
class SpanPainter {
 public:
  // The colour text is drawn in: some rich edit versions report automatic
  // colour as the window-text colour.
  static long Drawn(long colour) {
    return colour == tomAutoColor ? static_cast<long>(::GetSysColor(COLOR_WINDOWTEXT)) : colour;
  }

  explicit SpanPainter(ITextDocument* document) {
    if (SUCCEEDED(document->Range(0, 0, m_range.Out())) && m_range) m_range->GetFont(m_font.Out());
  }
  bool Ready() const { return m_font.Get() != nullptr; }
  void Apply(LONG first, LONG last, const Look& look) {
    if (!Ready() || last <= first || FAILED(m_range->SetRange(first, last))) return;
    // Both read before either is changed: a read after a change is slower.
    long colour = tomUndefined, bold = tomUndefined;
    m_font->GetForeColor(&colour);
    if (look.bold != tomUndefined) m_font->GetBold(&bold);
    if (Drawn(colour) != Drawn(look.colour)) m_font->SetForeColor(look.colour);
    if (look.bold != tomUndefined && bold != look.bold) m_font->SetBold(look.bold);
  }

 private:
  ComRef<ITextRange> m_range;
  ComRef<ITextFont> m_font;
};

long DefaultTextColour(HWND control) {
  CHARFORMAT2W cf = {};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_COLOR;
  ::SendMessageW(control, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
  // The window-text colour is what automatic colour draws in: text reset to
  // automatic then needs no change.
  if ((cf.dwEffects & CFE_AUTOCOLOR) || cf.crTextColor == ::GetSysColor(COLOR_WINDOWTEXT)) return tomAutoColor;
  return static_cast<long>(cf.crTextColor);
}

// Ranges at least this long with at least this many runs of one look are
// streamed in one pass: colouring span by span makes the control lay its
// text out once per span.
constexpr LONG kStreamMinChars = 4096;
constexpr size_t kStreamMinRuns = 64;

// Each run of one look in from..to painted at once.
void PaintRuns(const LookPlan& plan, LONG from, LONG to, SpanPainter& painter) {
  for (LONG start = from; start < to;) {
    const Look& look = plan.looks[static_cast<size_t>(start - plan.first)];
    LONG end = start + 1;
    while (end < to && !(plan.looks[static_cast<size_t>(end - plan.first)] != look)) ++end;
    painter.Apply(start, end, look);
    start = end;
  }
}

size_t CountRuns(const LookPlan& plan, LONG from, LONG to) {
  size_t runs = from < to ? 1 : 0;
  for (LONG i = from + 1; i < to; ++i)
    if (plan.looks[static_cast<size_t>(i - plan.first)] != plan.looks[static_cast<size_t>(i - 1 - plan.first)]) ++runs;
  return runs;
}

// from..to of the plan; text holds the plan's characters ("" when unknown).
// Long parts are streamed in one pass; so is any part with many runs when
// streaming is allowed (the whole text is coloured, not just typed into).
void PaintPart(HWND control, const LookPlan& plan, const std::wstring& text, LONG from, LONG to, bool stream,
               SpanPainter& painter) {
  if (to <= from) return;
  if (!text.empty() && (stream || to - from >= kStreamMinChars) && CountRuns(plan, from, to) >= kStreamMinRuns) {
    LookPlan part;
    part.first = from;
    part.looks.assign(plan.looks.begin() + (from - plan.first), plan.looks.begin() + (to - plan.first));
    if (StreamLooks(control, part, text.substr(static_cast<size_t>(from - plan.first), static_cast<size_t>(to - from))))
      return;
  }
  PaintRuns(plan, from, to, painter);
}

struct KeywordPass {
  LookPlan* plan;
  long colour;
};

bool PlanKeyword(HWND, rich_text::FindMatch& match, void* context) {
  auto* pass = static_cast<KeywordPass*>(context);
  pass->plan->Set(match.start, match.end, pass->colour, tomUndefined);
  return true;
}

struct PairPass {
  LookPlan* plan;
  const MacroPair* pair;
  UINT flags;
  long colour;
  LONG last;
  bool reachesEnd;
  LONG textLength;
};

bool PlanPair(HWND control, rich_text::FindMatch& match, void* context) {
  auto* pass = static_cast<PairPass*>(context);
  const MacroPair& pair = *pass->pair;
  if (pair.closing.empty()) return true;
  LONG spanEnd = -1;
  CHARRANGE closing = {0, 0};
  if (rich_text::FindFirst(control, pair.closing, pass->flags, match.start, pass->last, &closing))
    spanEnd = closing.cpMax;
  else if (pair.closing == L"\r" && pass->reachesEnd)
    spanEnd = pass->textLength;
  if (spanEnd <= match.start) return true;
  pass->plan->Set(match.start, spanEnd, pass->colour, pair.bold ? tomTrue : tomUndefined);
  match.resumeAt = spanEnd;
  match.action |= rich_text::kFindResumeSet;
  return true;
}

// A pair closed by a line end runs to the end of the text only while the
// screen shows that end: known only once the text is in.
bool SchemeClosesAtLineEnd(const MacroScheme& scheme) {
  for (const MacroPairGroup& group : scheme.PairGroups)
    for (const MacroPair& pair : group.pairs)
      if (pair.closing == L"\r") return true;
  return false;
}

bool SchemeHasBoldPair(const MacroScheme& scheme) {
  for (const MacroPairGroup& group : scheme.PairGroups)
    for (const MacroPair& pair : group.pairs)
      if (pair.bold) return true;
  return false;
}

// Keeps the display still while the colours change: the object model's
// freeze, or redraw switched off where the freeze is missing.
class DisplayFreeze {
 public:
  DisplayFreeze(HWND control, ITextDocument* document) : m_control(control), m_document(document) {
    long count = 0;
    m_frozen = document->Freeze(&count) == S_OK;
    if (!m_frozen && (::GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE)) {
      // Redraw back on makes a window visible: only a visible one is stopped.
      ::SendMessageW(control, WM_SETREDRAW, FALSE, 0);
      m_redrawOff = true;
    }
  }
  ~DisplayFreeze() {
    long count = 0;
    if (m_frozen) m_document->Unfreeze(&count);
    if (m_redrawOff) {
      ::SendMessageW(m_control, WM_SETREDRAW, TRUE, 0);
      ::InvalidateRect(m_control, nullptr, FALSE);
    }
  }
  // Shows what is painted so far and keeps the display still again.
  void ShowNow() {
    if (!::IsWindowVisible(m_control)) return;
    long count = 0;
    if (m_frozen) {
      m_document->Unfreeze(&count);
      ::UpdateWindow(m_control);
      m_document->Freeze(&count);
    } else if (m_redrawOff) {
      ::SendMessageW(m_control, WM_SETREDRAW, TRUE, 0);
      ::InvalidateRect(m_control, nullptr, FALSE);
      ::UpdateWindow(m_control);
      ::SendMessageW(m_control, WM_SETREDRAW, FALSE, 0);
    }
  }
  DisplayFreeze(const DisplayFreeze&) = delete;
  DisplayFreeze& operator=(const DisplayFreeze&) = delete;

 private:
  HWND m_control;
  ITextDocument* m_document;
  bool m_frozen = false;
  bool m_redrawOff = false;
};

// The plan through the control's own searches: for schemes the copy of
// the text cannot serve.
void PlanBySearch(HWND control, const MacroScheme& scheme, LONG end, bool reachesEnd, LONG length, LookPlan& plan) {
  UINT caseFlag = scheme.CaseSensitive ? rich_text::kMatchCase : 0;
  for (const MacroKeywordGroup& group : scheme.KeywordGroups) {
    KeywordPass pass = {&plan, static_cast<long>(group.colour)};
    UINT flags = caseFlag | (group.wholeWord ? rich_text::kMatchWord : 0);
    for (const std::wstring& keyword : group.keywords)
      rich_text::FindAll(control, keyword, flags, plan.first, end, PlanKeyword, &pass);
  }
  for (const MacroPairGroup& group : scheme.PairGroups) {
    long colour = group.autoColour ? tomAutoColor : static_cast<long>(group.colour);
    for (const MacroPair& pair : group.pairs) {
      PairPass pass = {&plan, &pair, caseFlag, colour, end, reachesEnd, length};
      rich_text::FindAll(control, pair.opening, caseFlag, plan.first, end, PlanPair, &pass);
    }
  }
}

void PaintScheme(HWND control, ITextDocument* document, DisplayFreeze& freeze, const MacroScheme& scheme,
                 LONG first, LONG last, bool wholeText) {
  LONG length = RichEditCharCount(control);
  LONG end = last < 0 || last > length ? length : last;
  if (end <= first) return;
  Look base = {DefaultTextColour(control), SchemeHasBoldPair(scheme) ? tomFalse : tomUndefined};
  LONG visibleFirst = 0, visibleLast = 0;
  const bool visible = rich_text::GetVisibleRange(control, &visibleFirst, &visibleLast);
  const bool reachesEnd = visible && visibleLast >= length - 1;

  // The searches run on a copy of the text: one read instead of a search
  // of the control per macro name.
  LookPlan plan;
  std::wstring text = RangeText(control, first, end);
  if (static_cast<LONG>(text.size()) != end - first ||
      !PlanFromText(text, first, scheme, base, reachesEnd, length, &plan)) {
    text.clear();
    plan.first = first;
    plan.looks.assign(static_cast<size_t>(end - first), base);
    PlanBySearch(control, scheme, end, reachesEnd, length, plan);
  }

  // The visible part first: it is what the user waits for.
  LONG shownFirst = visible && visibleFirst > first ? visibleFirst : first;
  LONG shownEnd = visible && visibleLast + 1 < end ? visibleLast + 1 : end;
  if (shownEnd < shownFirst) shownEnd = shownFirst;
  SpanPainter painter(document);
  PaintPart(control, plan, text, shownFirst, shownEnd, wholeText, painter);
  if (shownEnd > shownFirst && (shownFirst - first) + (end - shownEnd) >= kStreamMinChars) freeze.ShowNow();
  PaintPart(control, plan, text, first, shownFirst, wholeText, painter);
  PaintPart(control, plan, text, shownEnd, end, wholeText, painter);
}

// Keeps the colours out of the undo history: the object model's suspension,
// or where that is missing an undo limit of 0 for the while (which keeps
// the history there is, and the redo steps too). A text that had no undo
// steps is left with none in any case.
class UndoPause {
 public:
  UndoPause(HWND control, ITextDocument* document)
      : m_control(control), m_document(document), m_couldUndo(::SendMessageW(control, EM_CANUNDO, 0, 0) != 0) {
    m_suspended = document->Undo(tomSuspend, nullptr) == S_OK;
    if (!m_suspended) ::SendMessageW(control, EM_SETUNDOLIMIT, 0, 0);
  }
  ~UndoPause() {
    // Resumed in any case: a suspension may hold though it answered S_FALSE.
    m_document->Undo(tomResume, nullptr);
    if (!m_suspended) ::SendMessageW(m_control, EM_SETUNDOLIMIT, kDefaultUndoLimit, 0);
    if (!m_couldUndo && ::SendMessageW(m_control, EM_CANUNDO, 0, 0))
      ::SendMessageW(m_control, EM_EMPTYUNDOBUFFER, 0, 0);
  }
  UndoPause(const UndoPause&) = delete;
  UndoPause& operator=(const UndoPause&) = delete;

 private:
  // The rich edit's own default.
  static constexpr WPARAM kDefaultUndoLimit = 100;
  HWND m_control;
  ITextDocument* m_document;
  bool m_couldUndo;
  bool m_suspended = false;
};

// Colours first..last; false when nothing was coloured (text selected, no
// object model).
bool Colour(HWND control, const MacroScheme& scheme, LONG first, LONG last, bool wholeText) {
  if (!control || !::IsWindow(control)) return false;
  if (::SendMessageW(control, EM_SELECTIONTYPE, 0, 0) != SEL_EMPTY) return false;
  const LPARAM quiet = ENM_CHANGE | ENM_PROTECTED;
  LPARAM mask = ::SendMessageW(control, EM_GETEVENTMASK, 0, 0);
  if (mask & quiet) ::SendMessageW(control, EM_SETEVENTMASK, 0, mask & ~quiet);
  WPARAM modified = ::SendMessageW(control, EM_GETMODIFY, 0, 0) ? TRUE : FALSE;
  bool readOnly = (::SendMessageW(control, EM_GETOPTIONS, 0, 0) & ECO_READONLY) != 0;
  if (readOnly) ::SendMessageW(control, EM_SETREADONLY, FALSE, 0);

  ITextDocument* raw = rich_text::GetTextDocument(control);
  if (raw) {
    ComRef<ITextDocument> document(raw);
    UndoPause undo(control, raw);
    DisplayFreeze freeze(control, raw);
    PaintScheme(control, raw, freeze, scheme, first < 0 ? 0 : first, last, wholeText);
  }

  if (readOnly) ::SendMessageW(control, EM_SETREADONLY, TRUE, 0);
  ::SendMessageW(control, EM_SETMODIFY, modified, 0);
  if (mask & quiet) ::SendMessageW(control, EM_SETEVENTMASK, 0, mask);
  return raw != nullptr;
}

}  // namespace

const MacroScheme& GetMacroScheme() {
  static MacroScheme scheme;
  if (!scheme.KeywordGroups.empty()) return scheme;
  MacroKeywordGroup keywords;
  keywords.colour = kMacroColour;
  // The prompt macro is found without its last character, so a question
  // typed between its braces does not hide it.
  const std::wstring prompt = MacroName(kMacroPromptText);
  for (const CMacroEntry& entry : *GetMacroList())
    keywords.keywords.push_back(entry.name == prompt ? prompt.substr(0, prompt.size() - 1) : entry.name);
  MacroPairGroup pairs;
  pairs.colour = kMacroColour;
  for (int i = 0; i < GetArgMacroCount(); ++i) {
    CArgMacroEntry entry = GetArgMacroEntry(i);
    pairs.pairs.push_back({entry.opening, entry.closing, true});
  }
  scheme.PairGroups.push_back(pairs);
  scheme.KeywordGroups.push_back(keywords);
  return scheme;
}

void ResetColours(HWND control, LONG first, LONG last) {
  if (!g_highlightEnabled) return;
  ComRef<ITextDocument> document(rich_text::GetTextDocument(control));
  if (!document) return;
  UndoPause undo(control, document.Get());
  LONG length = RichEditCharCount(control);
  SpanPainter painter(document.Get());
  painter.Apply(first, last < 0 || last > length ? length : last, {tomAutoColor, tomUndefined});
}

void HighlightAll(HWND control, const MacroScheme& scheme) {
  // Colouring the whole text gives every character its colour anew, which
  // is all the reset would do: it runs alone only where the colouring does
  // not (text selected).
  if (!Colour(control, scheme, 0, -1, true)) ResetColours(control, 0, -1);
}

void SetTextHighlighted(HWND control, const MacroScheme& scheme, const std::wstring& text) {
  if (!control || !::IsWindow(control)) return;
  // The control keeps a line end as one paragraph mark.
  std::wstring chars;
  chars.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    chars += text[i];
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
  }
  bool done = false;
  if (static_cast<LONG>(chars.size()) >= kStreamMinChars && !SchemeClosesAtLineEnd(scheme)) {
    if (RichEditCharCount(control) != 0) ::SetWindowTextW(control, L"");
    Look base = {DefaultTextColour(control), SchemeHasBoldPair(scheme) ? tomFalse : tomUndefined};
    LookPlan plan;
    const LONG length = static_cast<LONG>(chars.size());
    done = PlanFromText(chars, 0, scheme, base, false, length, &plan) && StreamNewText(control, plan, chars);
    CHARRANGE top = {0, 0};
    ::SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&top));
  }
  if (!done) {
    ::SetWindowTextW(control, text.c_str());
    HighlightAll(control, scheme);
  }
}

void HighlightVisible(HWND control, const MacroScheme& scheme) {
  LONG first = 0, last = 0;
  if (!rich_text::GetVisibleRange(control, &first, &last)) return;
  HighlightRange(control, scheme, first, last);
}

void HighlightRange(HWND control, const MacroScheme& scheme, LONG first, LONG last) {
  Colour(control, scheme, first, last, false);
}

void SetHighlightEnabled(bool enabled) { g_highlightEnabled = enabled; }
bool HighlightEnabled() { return g_highlightEnabled; }
