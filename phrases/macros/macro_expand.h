// Macro expansion of plain phrase texts. Names are replaced in the order of
// the macro list; text that was put in as a value is never searched again,
// so a clipboard or selection holding a macro name arrives as it was.
#pragma once
#include <windows.h>

#include <string>

#include "phrases/macros/macro_values.h"

// Replaces the macros of text and returns the number of replacements. The
// keyboard-layout macros are taken out and the layout of the last one handed
// out (0 for none); "%CURSOR_POS%" marks are removed and the caret steps from
// the end of the result to the first mark are handed out (line feeds after
// it do not count; 0 without a mark). "%TRIM_LEFT_ALLPROTS_FROM_SELTEXT%" in
// the text cuts leading "http://", "https://", "file://" and "ftp://" off the
// selected text. caretFromEnd, layout and cache may be null.
int ExpandPhraseMacros(std::wstring& text, const std::wstring& selectedText, const std::wstring& clipboardText,
                       int* caretFromEnd, HKL* layout, LCID locale, CMacroRequestCache* cache = nullptr);

// Removes every keyboard-layout macro; the layout of the last macro (in name
// order) that occurred, 0 when none did.
HKL TakeKeyboardLayoutMacro(std::wstring& text);
// The first two characters of the abbreviated language name of the layout
// that TakeKeyboardLayoutMacro would give; empty when none.
std::wstring GetLayoutMacroLanguageAbbrev(const std::wstring& text);

// With no selected or clipboard text, in the user's default locale.
std::wstring ExpandMacrosInText(const std::wstring& text);
// In the language of the target thread's keyboard layout; line breaks of
// the selected text become blanks (the text goes on a command line).
std::wstring ExpandTextForWindow(HWND target, const std::wstring& text, const std::wstring& selectedText,
                                 const std::wstring& clipboardText);

// The texts of one menu request, and the fixed values read for it once.
class CTwoStringRecord {
 public:
  // Keeps the selected text and a fresh copy of the clipboard text, and
  // starts a new request.
  void SetTexts(const std::wstring& selectedText);
  int ExpandWith(std::wstring& text, int* caretFromEnd, HKL* layout, LCID locale);

  std::wstring clipboardText;
  std::wstring selectedText;

 private:
  CMacroRequestCache m_cache;
};
