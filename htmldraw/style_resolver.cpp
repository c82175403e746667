#include "htmldraw/style_resolver.h"

#include <cstring>

#include "htmldraw/markup_values.h"

namespace {

// The letters of the font tag's style attribute, each set by default or
// cleared after "-".
void ApplyFontStyleLetters(const std::wstring& letters, HtmlTextStyle& style) {
  bool set = true;
  for (wchar_t c : letters) {
    switch (c) {
      case L'+': set = true; continue;
      case L'-': set = false; continue;
      case L'b': style.fontWeight = set ? FW_BOLD : FW_NORMAL; break;
      case L'i': style.italic = set; break;
      case L'u': style.underline = set; break;
      case L's': style.strikeout = set; break;
      case L'o': style.overline = set; break;
      default: break;
    }
    set = true;
  }
}

}  // namespace

HtmlStyleResolver::HtmlStyleResolver() {
  m_colors.names = &m_names;
  m_colors.disabledColor = GetSysColor(COLOR_BTNSHADOW);
}

HtmlStyleResolver::~HtmlStyleResolver() { End(); }

void HtmlStyleResolver::Begin(HDC dc) {
  End();
  m_dc = dc;
  m_current = HtmlTextStyle();
  if (!m_colors.enabled) m_current.textColor = m_colors.disabledColor;
  m_stack.clear();
  ApplyRule(L"body");
  SelectStyle();
}

void HtmlStyleResolver::End() {
  if (m_dc && m_contextFont) SelectObject(m_dc, m_contextFont);
  m_contextFont = nullptr;
  m_dc = nullptr;
}

bool HtmlStyleResolver::ApplyRule(const std::wstring& name) {
  const std::wstring* rule = m_sheet.FindRule(name);
  if (!rule) return false;
  StyleLengthUnits units(m_dc);
  ApplyStyleDeclarations(*rule, m_current, m_colors, units);
  return true;
}

void HtmlStyleResolver::ApplyTag(const MarkupToken& token, bool hoveredLink) {
  if (token.kind != MarkupToken::kTag || !token.tag) return;
  if (!token.tag->IsObject()) {
    if (token.closing) Close(*token.tag); else Open(*token.tag, token.attributes, hoveredLink);
  }
  SelectStyle();
}

void HtmlStyleResolver::Open(const MarkupTag& tag, const std::wstring& attributes, bool hoveredLink) {
  if (m_stack.size() >= kMaxStackDepth) return;
  // The frame carries the tag's style name, so only the matching close pops it.
  m_current.name = tag.styleName;
  m_stack.push_back(m_current);
  switch (tag.id) {
    case kTagBold: m_current.fontWeight = m_current.fontWeight * 2 > FW_HEAVY ? FW_HEAVY : m_current.fontWeight * 2; break;
    case kTagItalic: m_current.italic = !m_current.italic; break;
    case kTagUnderline: m_current.underline = !m_current.underline; break;
    case kTagStrikeout: m_current.strikeout = !m_current.strikeout; break;
    case kTagFont: ApplyFontAttributes(attributes); break;
    case kTagLeft: m_current.horzAlign = kAlignLeft; break;
    case kTagCenter: m_current.horzAlign = kAlignCenter; break;
    case kTagRight: m_current.horzAlign = kAlignRight; break;
    case kTagJustify: m_current.horzAlign = kAlignJustify; break;
    case kTagBaseline: m_current.vertAlign = kAlignBaseline; break;
    case kTagTop: m_current.vertAlign = kAlignTop; break;
    case kTagVCenter: m_current.vertAlign = kAlignVCenter; break;
    case kTagBottom: m_current.vertAlign = kAlignBottom; break;
    case kTagNamedRule: ApplyRule(tag.styleName); break;
    case kTagSpan: {
      MarkupAttributeScanner scan(attributes);
      std::wstring name, value;
      while (scan.Next(name, value)) {
        if (name == L"class") ApplyRule(L"." + value);
      }
      break;
    }
    case kTagLink:
      ApplyLinkAttributes(attributes);
      ApplyRule(hoveredLink ? L"a:hover" : L"a:link");
      break;
    default: break;
  }
}

void HtmlStyleResolver::Close(const MarkupTag& tag) {
  if (!m_stack.empty() && m_stack.back().name == tag.styleName) {
    m_current = std::move(m_stack.back());
    m_stack.pop_back();
  }
  m_current.name.clear();
}

void HtmlStyleResolver::ApplyFontAttributes(const std::wstring& attributes) {
  MarkupAttributeScanner scan(attributes);
  std::wstring name, value;
  while (scan.Next(name, value)) {
    if (name == L"face") {
      if (!value.empty()) m_current.fontFamily = value;
    } else if (name == L"size") {
      StyleLengthUnits units(m_dc);
      m_current.fontSize = ParseStyleLength(value, m_current.fontSize, units, LengthKind::kFontSize);
    } else if (name == L"color") {
      m_current.textColor = m_colors.Resolve(value, m_current.textColor);
    } else if (name == L"style") {
      ApplyFontStyleLetters(value, m_current);
    } else if (name == L"weight") {
      m_current.fontWeight = ParseFontWeight(value);
    } else if (name == L"bkgnd") {
      ApplyTextBackground(value, m_current, m_colors);
    }
  }
}

void HtmlStyleResolver::ApplyLinkAttributes(const std::wstring& attributes) {
  // Without href or msg a link still is one: a msg link with an empty text.
  m_current.linkKind = kLinkMsg;
  m_current.linkTarget.clear();
  MarkupAttributeScanner scan(attributes);
  std::wstring name, value;
  while (scan.Next(name, value)) {
    if (name == L"href" || name == L"msg") {
      m_current.linkKind = name == L"href" ? kLinkHref : kLinkMsg;
      m_current.linkTarget = value;
    }
  }
}

void HtmlStyleResolver::Restore(const State& state) {
  if (m_stack.size() > state.depth) m_stack.resize(state.depth);
  m_current = state.current;
  SelectStyle();
}

void HtmlStyleResolver::SelectStyle() {
  LOGFONTW lf = StyleLogFont(m_current);
  // Most tags leave the font as it was; making the same font again is wasted.
  if (!m_font || memcmp(&lf, &m_fontSpec, sizeof(lf)) != 0) {
    HFONT font = CreateFontIndirectW(&lf);
    if (font) {
      if (m_dc) {
        HGDIOBJ old = SelectObject(m_dc, font);
        if (!m_contextFont) m_contextFont = old;
      }
      m_font.Reset(font);  // the previous font is no longer selected
      m_fontSpec = lf;
    }
  } else if (m_dc && !m_contextFont) {
    m_contextFont = SelectObject(m_dc, m_font.Get());
  }
  if (m_dc) {
    SetBkMode(m_dc, m_current.backgroundMode == kBackgroundOpaque ? OPAQUE : TRANSPARENT);
    SetTextColor(m_dc, m_current.textColor);
    SetBkColor(m_dc, m_current.backgroundColor);
  }
}
