#include "phrases/menu/menu_item_text.h"

#include <cwctype>
#include <map>

#include "foundation/localization/localized_strings.h"
#include "foundation/text/text_basics.h"
#include "foundation/text/text_helpers.h"
#include "foundation/ui/rich_edit_convert.h"
#include "phrases/store/phrase_node.h"

namespace {

const wchar_t kCursorMacro[] = L"%CURSOR_POS%";
const wchar_t kSelectedMacro[] = L"%SELECTED_TEXT%";
const wchar_t kClipboardMacro[] = L"%CLIPBOARD_TEXT%";

bool Contains(const std::wstring& text, const wchar_t* what) { return text.find(what) != std::wstring::npos; }

// Finds and removes the marker; its index or -1.
int TakeMarker(std::wstring& text) {
  size_t at = text.find(kCaretMarker);
  if (at == std::wstring::npos) return -1;
  ReplaceText(text, kCaretMarker, L"");
  return static_cast<int>(at);
}

}  // namespace

namespace {

// Strings of the menu being built: the same few ids are asked for every
// item, and a lookup goes through the language file.
thread_local std::map<UINT, std::wstring> t_strings;

}  // namespace

std::wstring MenuString(UINT id) {
  auto it = t_strings.find(id);
  if (it != t_strings.end()) return it->second;
  CLngString text;
  text.LoadString(id);
  t_strings[id] = text.Text();
  return text.Text();
}

void ForgetMenuStrings() { t_strings.clear(); }

std::wstring ShortenForMenu(const std::wstring& text, int maxChars) {
  std::wstring result = text;
  ShortenTextForCaption(result, maxChars);
  return result;
}

namespace {

LANGID ActivatedLayout(const CPhraseNode& node, const CMenuTextInputs& inputs) {
  if (!inputs.macros) return 0;
  return inputs.macros->GetActivatedLayout(node.data, node.DataType == kDataTypeRtf);
}

}  // namespace

std::wstring BuildPhraseTitle(const CPhraseNode& node) {
  std::wstring title = TrimChars(node.GetCaption(), L" \t\r\n");
  size_t lineBreak = title.find_first_of(L"\r\n");
  if (lineBreak != std::wstring::npos) title.resize(lineBreak);
  // Head and tail both tell phrases with a common beginning apart.
  ShortenTextForCaption(title, kPhraseTitleMax);
  return title;
}

std::wstring GetDataTypeWord(std::uint32_t dataType) {
  switch (dataType) {
    case kDataTypeText:
      return MenuString(kIdsInsertPlainText);
    case kDataTypeRtf:
      return MenuString(kIdsInsertFormattedText);
    case kDataTypeExec:
      return MenuString(kIdsExecuteApplication);
    default:
      return std::wstring();
  }
}

std::wstring BuildLayoutHint(LANGID layout) {
  if (!layout) return std::wstring();
  wchar_t name[16] = {};
  if (!GetLocaleInfoW(MAKELCID(layout, SORT_DEFAULT), LOCALE_SABBREVLANGNAME, name, 16)) return std::wstring();
  std::wstring hint = L"+";
  for (int i = 0; i < 2 && name[i]; ++i) hint += static_cast<wchar_t>(towupper(name[i]));
  return hint;
}

std::wstring BuildPhraseCaption(const CPhraseNode& node, const CMenuTextInputs& inputs, int* markerPosition) {
  *markerPosition = -1;
  if (node.GetUseTitleOnly()) return BuildPhraseTitle(node);

  std::wstring caption = node.GetCaption();
  if (Contains(node.data, kSelectedMacro))
    caption += L" [" + ShortenForMenu(inputs.selectedText, kPhraseTitleMax) + L"]";
  if (Contains(node.data, kClipboardMacro))
    caption += L" [" + ShortenForMenu(inputs.clipboardText, kPhraseTitleMax) + L"]";

  std::wstring text = node.data;
  ReplaceText(text, kCursorMacro, kCaretMarker);
  if (node.DataType == kDataTypeRtf) {
    bool caret = false;
    if (inputs.macros) inputs.macros->ExpandRtf(text, inputs.selectedText, inputs.clipboardText, inputs.lang, &caret);
    caption = RtfToPlainText(text);
    int at = TakeMarker(caption);
    if (at >= 0 && caret) *markerPosition = at;
    caption = ShortenForMenu(caption, kPhraseTitleMax);
  } else {
    int caretFromEnd = -1;
    int replaced = 0;
    if (inputs.macros)
      replaced = inputs.macros->ExpandText(text, inputs.selectedText, inputs.clipboardText, inputs.lang, &caretFromEnd);
    int at = TakeMarker(text);
    if (at >= 0)
      *markerPosition = at;
    else if (caretFromEnd >= 0 && caretFromEnd <= static_cast<int>(text.size()))
      *markerPosition = static_cast<int>(text.size()) - caretFromEnd;
    if (replaced > 0 && node.DataType == kDataTypeText) caption = text;
  }

  ReplaceText(caption, L"\r\n", L"\u00B6");
  ReplaceText(caption, L"\n", L"\u00B6");
  ReplaceText(caption, L"\r", L"\u00B6");
  ReplaceText(caption, L"\t", L"  ");
  if (caption.empty()) caption = BuildPhraseTitle(node);
  return ShortenForMenu(caption, kPhraseTitleMax);
}

std::wstring BuildPhraseToolTip(const CPhraseNode& node, const std::wstring& caption, const CMenuTextInputs& inputs,
                                std::wstring* expanded) {
  std::wstring tip = GetDataTypeWord(node.DataType) + L" \u00BB " + caption;
  std::wstring body = node.DataType == kDataTypeRtf ? RtfToPlainText(node.data) : node.data;
  if (!body.empty()) {
    int caret = -1;
    if (inputs.macros) inputs.macros->ExpandText(body, inputs.selectedText, inputs.clipboardText, inputs.lang, &caret);
    ReplaceText(body, kSelectedMacro, inputs.selectedText);
    ReplaceText(body, kClipboardMacro, inputs.clipboardText);
    if (node.DataType == kDataTypeText || node.DataType == kDataTypeRtf)
      tip += L"\n" + MenuString(kIdsChars) + L": " + IntToStr(static_cast<int>(body.size()));
    if (!body.empty()) tip += L"\r\n\r\n" + body;
  }
  if (expanded) *expanded = body;
  LANGID layout = ActivatedLayout(node, inputs);
  if (layout) {
    wchar_t name[128] = {};
    GetLocaleInfoW(MAKELCID(layout, SORT_DEFAULT), LOCALE_SLANGUAGE, name, 128);
    std::wstring upper = name;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
    tip += L"\r\n+ " + MenuString(kIdsActivateLayout) + L"   " + upper;
  }
  return tip;
}

CPhraseItemTexts GetPhraseItemTexts(CPhraseNode& node, const CMenuTextInputs& inputs) {
  CPhraseItemTexts texts;
  // A tooltip always holds the kind word and " \u00BB ", so an empty one
  // means nothing was kept yet.
  bool keep = inputs.macros && inputs.macros->IsRequestIndependent(node);
  if (keep && !node.secondTextCache.empty()) {
    texts.caption = node.firstTextCache;
    texts.toolTip = node.secondTextCache;
    texts.expanded = node.expandedTextCache;
    texts.hint = node.hintTextCache;
    texts.marker = node.markerCache;
    return texts;
  }
  texts.caption = BuildPhraseCaption(node, inputs, &texts.marker);
  texts.toolTip = BuildPhraseToolTip(node, texts.caption, inputs, &texts.expanded);
  texts.hint = BuildLayoutHint(ActivatedLayout(node, inputs));
  if (keep) {
    node.firstTextCache = texts.caption;
    node.secondTextCache = texts.toolTip;
    node.expandedTextCache = texts.expanded;
    node.hintTextCache = texts.hint;
    node.markerCache = texts.marker;
  }
  return texts;
}
