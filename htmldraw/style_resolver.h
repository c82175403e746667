// The drawer's current text style and its style stack: reset at the start of
// a pass, changed by tags, style rules and attributes, and turned into the
// font and colours selected into the drawing context.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/system/handles.h"
#include "htmldraw/markup_lexer.h"
#include "htmldraw/named_colors.h"
#include "htmldraw/style_declarations.h"
#include "htmldraw/style_sheet.h"
#include "htmldraw/text_style.h"

class HtmlStyleResolver {
 public:
  // Deeper nesting than this opens no further frame: the tag is ignored, so a
  // text cannot grow the stack without bound.
  static constexpr size_t kMaxStackDepth = 256;

  HtmlStyleResolver();
  ~HtmlStyleResolver();
  HtmlStyleResolver(const HtmlStyleResolver&) = delete;
  HtmlStyleResolver& operator=(const HtmlStyleResolver&) = delete;

  void SetStyleSheet(const wchar_t* text) { m_sheet.SetStyleSheet(text); }
  void SetDefaultStyleSheet() { m_sheet.SetDefaultStyleSheet(); }
  const HtmlStyleSheet& Sheet() const { return m_sheet; }

  void SetEnabled(bool enabled) { m_colors.enabled = enabled; }
  bool IsEnabled() const { return m_colors.enabled; }
  void SetDisabledColor(COLORREF color) { m_colors.disabledColor = color; }
  COLORREF DisabledColor() const { return m_colors.disabledColor; }
  const NamedColorTable& Colors() const { return m_names; }
  // A colour value of an attribute (disabled: the disabled colour).
  COLORREF ResolveColor(const std::wstring& value, COLORREF current) const {
    return m_colors.Resolve(value, current);
  }

  // Start of a measure or draw pass on dc: defaults, an empty stack, the body
  // rule, and the font selected.
  void Begin(HDC dc);
  // End of the pass: the context gets its own font back.
  void End();

  // Applies the rule of that (case-insensitive) name; false when there is none.
  bool ApplyRule(const std::wstring& name);
  // A tag from the lexer; hoveredLink tells an opening a whether it is the
  // link under the cursor. The font is made anew afterwards.
  void ApplyTag(const MarkupToken& token, bool hoveredLink = false);

  const HtmlTextStyle& Current() const { return m_current; }
  HtmlTextStyle& Current() { return m_current; }
  size_t Depth() const { return m_stack.size(); }
  // The frame a matching closing tag would restore; null when none is open.
  const HtmlTextStyle* TopFrame() const { return m_stack.empty() ? nullptr : &m_stack.back(); }
  HFONT Font() const { return static_cast<HFONT>(m_font.Get()); }
  HDC Context() const { return m_dc; }

  // The current style and the stack depth, so that a table cell can take a
  // style of its own and leave no frame its text opened behind.
  struct State {
    HtmlTextStyle current;
    size_t depth;
  };
  State Save() const { return State{m_current, m_stack.size()}; }
  void Restore(const State& state);

  // Makes the font of the current style and selects it with the background
  // mode and the colours into the context.
  void SelectStyle();

 private:
  void Open(const MarkupTag& tag, const std::wstring& attributes, bool hoveredLink);
  void Close(const MarkupTag& tag);
  void ApplyFontAttributes(const std::wstring& attributes);
  void ApplyLinkAttributes(const std::wstring& attributes);

  NamedColorTable m_names;
  HtmlStyleSheet m_sheet;
  StyleColorContext m_colors;
  HtmlTextStyle m_current;
  std::vector<HtmlTextStyle> m_stack;
  HDC m_dc = nullptr;
  HGDIOBJ m_contextFont = nullptr;  // what the context held before our first font
  UniqueGdiObject m_font;
  LOGFONTW m_fontSpec = {};  // what m_font was made from
};
