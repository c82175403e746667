#include "phrases/menu/menu_macros.h"

#include "foundation/ui/rich_edit_convert.h"
#include "phrases/macros/macro_expand.h"
#include "phrases/macros/macro_rich.h"
#include "phrases/store/phrase_node.h"

namespace {

LCID LocaleOf(LANGID lang) { return MAKELCID(lang, SORT_DEFAULT); }

}  // namespace

int CPhraseMenuMacros::ExpandText(std::wstring& text, const std::wstring& selected, const std::wstring& clipboard,
                                  LANGID lang, int* caretFromEnd) {
  // The menu puts a marker where the caret goes before it expands, so the
  // engine's caret count means something only for marks it met itself.
  bool hadCaret = text.find(L"%CURSOR_POS%") != std::wstring::npos;
  int caret = 0;
  HKL layout = nullptr;
  int replaced = ExpandPhraseMacros(text, selected, clipboard, &caret, &layout, LocaleOf(lang), &m_cache);
  if (caretFromEnd) *caretFromEnd = hadCaret ? caret : -1;
  return replaced;
}

int CPhraseMenuMacros::ExpandRtf(std::wstring& rtf, const std::wstring& selected, const std::wstring& clipboard,
                                 LANGID lang, bool* caret) {
  if (caret) *caret = rtf.find(kCaretMarker) != std::wstring::npos || rtf.find(L"%CURSOR_POS%") != std::wstring::npos;
  int steps = 0;
  HKL layout = nullptr;
  return ExpandMacrosInRichEdit(rtf, selected, clipboard, &steps, &layout, LocaleOf(lang), GetHiddenRichEdit(),
                                &m_cache);
}

LANGID CPhraseMenuMacros::GetActivatedLayout(const std::wstring& text, bool rich) {
  // In RTF a macro name may be split by control words or escapes; the text
  // the rich edit shows holds it whole.
  std::wstring copy = text;
  HKL layout = rich ? TakeKeyboardLayoutMacroRich(text) : TakeKeyboardLayoutMacro(copy);
  return LOWORD(reinterpret_cast<ULONG_PTR>(layout));
}

bool CPhraseMenuMacros::IsRequestIndependent(CPhraseNode& node) {
  // Fixed-value macros (user name, versions, caret, layout) give the same
  // texts every time; the answer stays on the node until its caches are
  // emptied.
  if (node.macroState == 0) node.macroState = PhraseHasChangingMacros(node) ? 1 : 2;
  return node.macroState == 2;
}
