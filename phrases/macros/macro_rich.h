// Macro expansion of formatted (RTF) phrase texts inside a rich edit
// control, keeping the text's formatting, and the macro tests of a phrase.
#pragma once
#include <windows.h>

#include <string>

#include "phrases/macros/macro_values.h"

class CPhraseNode;

// Loads the RTF or plain text into the control and replaces its macros
// there: each value takes the colour of the character before the name, and
// a value once put in is never searched again. Every "%CURSOR_POS%" is
// removed; the caret steps from the end are counted from the first one.
// When anything was replaced, text becomes the control's RTF. Returns the
// number of replacements (layout macros and caret marks included); 0, with
// the text unchanged, when the text cannot be loaded. The selected text is
// used as handed in.
int ExpandMacrosInRichEdit(std::wstring& text, const std::wstring& selectedText, const std::wstring& clipboardText,
                           int* caretFromEnd, HKL* layout, LCID locale, HWND edit,
                           CMacroRequestCache* cache = nullptr);

// The layout of the last keyboard-layout macro (in name order) in the RTF
// or plain text, read through the hidden converter control; 0 for none.
HKL TakeKeyboardLayoutMacroRich(const std::wstring& text);

// Whether the phrase's text holds a macro whose value may change between
// insertions. A recorded macro state (1 yes, 2 no) answers at once; an RTF
// text that cannot be loaded counts as changing.
bool PhraseHasChangingMacros(const CPhraseNode& phrase);
