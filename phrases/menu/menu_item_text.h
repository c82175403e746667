// Captions and tooltips of phrase items in the phrase menu: the title or a
// live preview of what the phrase inserts, with the caret position marked.
#pragma once
#include <windows.h>

#include <string>

class CPhraseNode;

constexpr const wchar_t kCaretMarker[] = L"{B43C2CC5-77A0-44dd-8DAA-8EAD133B41A3}";
constexpr int kPhraseTitleMax = 40;

// String ids of the menu texts.
constexpr UINT kIdsInsertPlainText = 162;
constexpr UINT kIdsInsertFormattedText = 163;
constexpr UINT kIdsExecuteApplication = 164;
constexpr UINT kIdsChars = 259;
constexpr UINT kIdsActivateLayout = 178;

// The macro engine as the menu sees it (CPhraseMenuMacros is the real one);
// without one, phrase texts are shown unexpanded.
class IMenuMacroExpander {
 public:
  virtual ~IMenuMacroExpander() = default;
  // Expands the macros of a plain text in place; the number of
  // replacements, the caret distance from the end in *caretFromEnd (-1 when
  // no caret macro was met).
  virtual int ExpandText(std::wstring& text, const std::wstring& selected, const std::wstring& clipboard,
                         LANGID lang, int* caretFromEnd) = 0;
  // Expands the macros of a formatted (RTF) text in place; *caret tells
  // whether a caret mark was met.
  virtual int ExpandRtf(std::wstring& rtf, const std::wstring& selected, const std::wstring& clipboard, LANGID lang,
                        bool* caret) = 0;
  // The keyboard layout the phrase text activates (its layout macro); 0
  // when none. A rich text is searched as the text it shows.
  virtual LANGID GetActivatedLayout(const std::wstring& text, bool rich) = 0;
  // True when the node's item texts come out the same for every request
  // (its text holds no macro whose value changes), so they may be kept on
  // the node. The answer may be remembered on the node.
  virtual bool IsRequestIndependent(CPhraseNode&) { return false; }
};

// The request's texts that item texts are built from.
struct CMenuTextInputs {
  std::wstring selectedText;
  std::wstring clipboardText;
  LANGID lang = 0;
  IMenuMacroExpander* macros = nullptr;
};

std::wstring BuildPhraseTitle(const CPhraseNode& node);
std::wstring BuildPhraseCaption(const CPhraseNode& node, const CMenuTextInputs& inputs, int* markerPosition);
std::wstring BuildPhraseToolTip(const CPhraseNode& node, const std::wstring& caption, const CMenuTextInputs& inputs,
                                std::wstring* expanded);
// Everything a phrase item shows: caption, tooltip (without the right-click
// line), expanded text, right-hand hint and caret-mark position.
struct CPhraseItemTexts {
  std::wstring caption;
  std::wstring toolTip;
  std::wstring expanded;
  std::wstring hint;
  int marker = -1;
};
// Built for the request, or taken from the node's caches when the expander
// says they do not depend on it (and filled there the first time).
CPhraseItemTexts GetPhraseItemTexts(CPhraseNode& node, const CMenuTextInputs& inputs);
std::wstring GetDataTypeWord(std::uint32_t dataType);
// "+" and the two-letter upper-case abbreviation of the layout's language;
// empty for 0.
std::wstring BuildLayoutHint(LANGID layout);
// A text shortened for a caption to at most maxChars characters.
std::wstring ShortenForMenu(const std::wstring& text, int maxChars);
// The localised string of id, kept until ForgetMenuStrings (called when a
// menu is built, so a new language shows in the next menu).
std::wstring MenuString(UINT id);
void ForgetMenuStrings();
