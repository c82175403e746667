#include "editor/text/macro_highlight.h"

#include <richedit.h>
#include <richole.h>
#include <tom.h>

#include <vector>

#include "editor/text/com_ref.h"
#include "editor/text/rich_text_io.h"
#include "foundation/ui/rich_edit.h"
#include "phrases/macros/macro_table.h"

namespace {

bool g_highlightEnabled = true;

// How a character should look: its text colour and, unless tomUndefined,
// its boldness.
struct Look {
  long colour;
  long bold;
};

bool operator!=(const Look& a, const Look& b) { return a.colour != b.colour || a.bold != b.bold; }

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

// The look of every character of first..last, laid out before anything is
// painted.
struct LookPlan {
  LONG first;
  std::vector<Look> looks;

  void Set(LONG from, LONG to, long colour, long bold) {
    for (LONG i = from < first ? first : from; i < to && i - first < static_cast<LONG>(looks.size()); ++i) {
      Look& look = looks[static_cast<size_t>(i - first)];
      look.colour = colour;
      if (bold != tomUndefined) look.bold = bold;
    }
  }
  // Each run of one look painted at once.
  void Paint(SpanPainter& painter) const {
    size_t start = 0;
    for (size_t i = 1; i <= looks.size(); ++i) {
      if (i < looks.size() && !(looks[i] != looks[start])) continue;
      painter.Apply(first + static_cast<LONG>(start), first + static_cast<LONG>(i), looks[start]);
      start = i;
    }
  }
};

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
  DisplayFreeze(const DisplayFreeze&) = delete;
  DisplayFreeze& operator=(const DisplayFreeze&) = delete;

 private:
  HWND m_control;
  ITextDocument* m_document;
  bool m_frozen = false;
  bool m_redrawOff = false;
};

void PaintScheme(HWND control, ITextDocument* document, const MacroScheme& scheme, LONG first, LONG last) {
  LONG length = RichEditCharCount(control);
  LONG end = last < 0 || last > length ? length : last;
  if (end <= first) return;
  Look base = {DefaultTextColour(control), SchemeHasBoldPair(scheme) ? tomFalse : tomUndefined};
  LookPlan plan = {first, std::vector<Look>(static_cast<size_t>(end - first), base)};

  UINT caseFlag = scheme.CaseSensitive ? rich_text::kMatchCase : 0;
  for (const MacroKeywordGroup& group : scheme.KeywordGroups) {
    KeywordPass pass = {&plan, static_cast<long>(group.colour)};
    UINT flags = caseFlag | (group.wholeWord ? rich_text::kMatchWord : 0);
    for (const std::wstring& keyword : group.keywords)
      rich_text::FindAll(control, keyword, flags, first, end, PlanKeyword, &pass);
  }

  LONG visibleFirst = 0, visibleLast = 0;
  bool reachesEnd = rich_text::GetVisibleRange(control, &visibleFirst, &visibleLast) && visibleLast >= length - 1;
  for (const MacroPairGroup& group : scheme.PairGroups) {
    long colour = group.autoColour ? tomAutoColor : static_cast<long>(group.colour);
    for (const MacroPair& pair : group.pairs) {
      PairPass pass = {&plan, &pair, caseFlag, colour, end, reachesEnd, length};
      rich_text::FindAll(control, pair.opening, caseFlag, first, end, PlanPair, &pass);
    }
  }

  SpanPainter painter(document);
  plan.Paint(painter);
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
  ResetColours(control, 0, -1);
  HighlightRange(control, scheme, 0, -1);
}

void HighlightVisible(HWND control, const MacroScheme& scheme) {
  LONG first = 0, last = 0;
  if (!rich_text::GetVisibleRange(control, &first, &last)) return;
  HighlightRange(control, scheme, first, last);
}

void HighlightRange(HWND control, const MacroScheme& scheme, LONG first, LONG last) {
  if (!control || !::IsWindow(control)) return;
  if (::SendMessageW(control, EM_SELECTIONTYPE, 0, 0) != SEL_EMPTY) return;
  const LPARAM quiet = ENM_CHANGE | ENM_PROTECTED;
  LPARAM mask = ::SendMessageW(control, EM_GETEVENTMASK, 0, 0);
  if (mask & quiet) ::SendMessageW(control, EM_SETEVENTMASK, 0, mask & ~quiet);
  WPARAM modified = ::SendMessageW(control, EM_GETMODIFY, 0, 0) ? TRUE : FALSE;
  bool readOnly = (::SendMessageW(control, EM_GETOPTIONS, 0, 0) & ECO_READONLY) != 0;
  if (readOnly) ::SendMessageW(control, EM_SETREADONLY, FALSE, 0);

  if (ITextDocument* raw = rich_text::GetTextDocument(control)) {
    ComRef<ITextDocument> document(raw);
    UndoPause undo(control, raw);
    DisplayFreeze freeze(control, raw);
    PaintScheme(control, raw, scheme, first < 0 ? 0 : first, last);
  }

  if (readOnly) ::SendMessageW(control, EM_SETREADONLY, TRUE, 0);
  ::SendMessageW(control, EM_SETMODIFY, modified, 0);
  if (mask & quiet) ::SendMessageW(control, EM_SETEVENTMASK, 0, mask);
}

void SetHighlightEnabled(bool enabled) { g_highlightEnabled = enabled; }
bool HighlightEnabled() { return g_highlightEnabled; }
