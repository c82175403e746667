// The layout of flowing text: runs, wraps, tabs, breaks, rules, images and
// string resources, run once to measure (building the line list) and once per
// draw (reading it). Both passes take the same wrapping decisions, since they
// test the same positions against the same maximum width.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "foundation/system/handles.h"
#include "htmldraw/html_box_paint.h"
#include "htmldraw/html_flow_layout.h"
#include "htmldraw/markup_images.h"
#include "htmldraw/markup_values.h"

namespace {

bool IsBreakChar(wchar_t c) { return c != L'\0' && wcschr(L" -.,!:;)}]?", c) != nullptr; }

constexpr int kMaxImageSide = 2048;

int CountBlanks(const wchar_t* s, int n) { return static_cast<int>(std::count(s, s + n, L' ')); }

int Saturate(long long v) {
  return static_cast<int>(std::min<long long>(std::max<long long>(v, -CHtmlTextDrawer::kMaxExtent),
                                              CHtmlTextDrawer::kMaxExtent));
}

}  // namespace

SIZE HtmlFlowLayout::Run(const std::wstring& text, bool wrapInBody) {
  Metrics();
  m_lineTop = m_area.top;
  m_bottom = m_area.top;
  StartLine();
  std::wstring body = wrapInBody ? L"<body>" + text + L"</body>" : text;
  MarkupLexer lexer(body);
  MarkupToken token;
  while (!m_stopped && lexer.Next(token)) {
    if (token.kind == MarkupToken::kText) Text(token.text); else Tag(token);
  }
  if (!m_stopped && m_lineHasContent) EndLine(1, false);
  SetTextJustification(m_dc, 0, 0);
  return SIZE{m_widest, m_bottom - m_area.top};
}

void HtmlFlowLayout::Tag(const MarkupToken& token) {
  const MarkupTag& tag = *token.tag;
  bool hovered = false;
  if (tag.id == kTagLink && !token.closing) {
    ++m_ctx.link;
    hovered = m_ctx.link == d.m_hovered;
  }
  d.m_styles.ApplyTag(token, hovered);
  Metrics();
  if (!tag.IsObject() || token.closing) return;
  switch (tag.id) {
    case kTagBreak: EndLine(MarkupRepeatCount(token.attributes), false); break;
    case kTagTab: Tab(MarkupRepeatCount(token.attributes)); break;
    case kTagRule: Rule(token.attributes); break;
    case kTagBitmap:
    case kTagIcon:
    case kTagImageList: Image(token); break;
    case kTagString: StringResource(token.attributes); break;
    default: break;
  }
}

void HtmlFlowLayout::Text(std::wstring run) {
  ApplyTextTransform(run, d.m_styles.Current().textTransform);
  SetTextJustification(m_dc, 0, 0);
  size_t pos = 0;
  while (pos < run.size() && !m_stopped) {
    const int maxWidth = Room();
    const wchar_t* s = run.data() + pos;
    const int n = static_cast<int>(std::min<size_t>(run.size() - pos, 0x7FFFFFF));
    SIZE extent = {};
    const int room = std::max(0, maxWidth - m_lineX);
    // A long run is cut many times: measuring all of its rest for every cut
    // would be quadratic. A line holds about room characters, so a window a
    // little longer than that decides the cut whenever it does not all fit.
    int fit = 0;
    bool decided = false;
    if (maxWidth > 0 && n > room + 64) {
      SIZE ignored;
      GetTextExtentExPointW(m_dc, s, room + 64, room, &fit, nullptr, &ignored);
      decided = fit < room + 64;
    }
    if (!decided) {
      if (!GetTextExtentPoint32W(m_dc, s, n, &extent)) return;
      if (maxWidth <= 0 || m_lineX + extent.cx <= maxWidth) {
        Place(s, n, extent);
        return;
      }
      SIZE ignored;
      GetTextExtentExPointW(m_dc, s, n, room, &fit, nullptr, &ignored);
    }
    fit = std::min(std::max(fit, 0), n);
    // Just after the last break character whose prefix fits once its
    // trailing blanks are trimmed: blanks right after the fit count too.
    int from = fit;
    while (from < n && s[from] == L' ') ++from;
    int cut = 0;
    for (int i = from; i > 0; --i) {
      if (IsBreakChar(s[i - 1])) {
        cut = i;
        break;
      }
    }
    int used;
    if (cut > 0) {
      int keep = cut;
      while (keep > 0 && s[keep - 1] == L' ') --keep;
      if (keep > 0) {
        GetTextExtentPoint32W(m_dc, s, keep, &extent);
        Place(s, keep, extent);
      }
      used = cut;
    } else if (m_lineHasContent) {
      EndLine(1, true);  // the whole run tries the next line
      continue;
    } else if (DropBelowFloat()) {
      continue;
    } else {
      used = std::max(fit, 1);
      GetTextExtentPoint32W(m_dc, s, used, &extent);
      Place(s, used, extent);
    }
    EndLine(1, true);
    pos += static_cast<size_t>(used);
    while (pos < run.size() && run[pos] == L' ') ++pos;
  }
}

void HtmlFlowLayout::Place(const wchar_t* s, int n, SIZE extent) {
  const HtmlTextStyle& style = d.m_styles.Current();
  const int blanks = CountBlanks(s, n);
  if (m_measure) {
    m_line.align = style.horzAlign;
    m_line.blanks += blanks;
    m_line.height = std::max(m_line.height, static_cast<int>(m_tm.tmAscent));
    m_line.descent = std::max(m_line.descent, static_cast<int>(extent.cy - m_tm.tmAscent));
    m_lineHasContent = true;
    Advance(extent.cx, extent.cx);
    return;
  }
  int top = TopFor(m_tm.tmHeight, m_tm.tmAscent);
  int extra = 0;
  if (m_line.align == kAlignJustify && m_line.justify && blanks > 0 && m_justifyBlanks > 0) {
    extra = MulDiv(m_justifyExtra, std::min(blanks, m_justifyBlanks), m_justifyBlanks);
    m_justifyExtra -= extra;
    m_justifyBlanks -= std::min(blanks, m_justifyBlanks);
    SetTextJustification(m_dc, extra, blanks);
  }
  const int drawn = extent.cx + extra;
  const bool tiled = style.backgroundImage.compare(0, 5, L"file:") == 0 && d.m_styles.IsEnabled();
  if (tiled) TextBackground(style, RECT{m_drawX, top, m_drawX + drawn, top + extent.cy});
  TextOutW(m_dc, m_drawX, top, s, n);
  if (tiled && style.backgroundMode == kBackgroundOpaque) SetBkMode(m_dc, OPAQUE);
  if (extra) SetTextJustification(m_dc, 0, 0);
  if (style.overline) {
    RECT bar = {m_drawX, top, m_drawX + drawn, top + (style.fontWeight >= FW_BOLD ? 2 : 1)};
    UniqueGdiObject brush(CreateSolidBrush(style.textColor));
    if (brush) FillRect(m_dc, &bar, static_cast<HBRUSH>(brush.Get()));
  }
  if (InLink()) AddLink(m_drawX, top, drawn, extent.cy);
  m_lineHasContent = true;
  Advance(extent.cx, drawn);
}

// The text's background colour, then its image tiled over the run; the
// text is then drawn over them without a background of its own.
void HtmlFlowLayout::TextBackground(const HtmlTextStyle& style, const RECT& run) {
  if (style.backgroundMode == kBackgroundOpaque) {
    UniqueGdiObject brush(CreateSolidBrush(style.backgroundColor));
    if (brush) FillRect(m_dc, &run, static_cast<HBRUSH>(brush.Get()));
    SetBkMode(m_dc, TRANSPARENT);
  }
  BoxBackgroundImage image;
  image.file = style.backgroundImage.substr(5);
  const int repeat = style.backgroundRepeat;
  image.repeat = repeat == 1 ? BoxRepeat::kX : repeat == 2 ? BoxRepeat::kY : BoxRepeat::kBoth;
  DrawBoxBackgroundImage(m_dc, d.m_painter, run, 0, image);
}

void HtmlFlowLayout::Advance(int layoutWidth, int drawnWidth) {
  m_lineX = Saturate(static_cast<long long>(m_lineX) + layoutWidth);
  m_drawX = Saturate(static_cast<long long>(m_drawX) + drawnWidth);
  if (m_lineX >= CHtmlTextDrawer::kMaxExtent) m_stopped = true;
}

void HtmlFlowLayout::AddLink(int left, int top, int width, int height) {
  if (d.m_links.size() >= CHtmlTextDrawer::kMaxLinkAreas) return;
  const HtmlTextStyle& style = d.m_styles.Current();
  d.m_links.push_back(HtmlLinkArea{RECT{left, top, left + width, top + height}, style.linkKind, m_ctx.link,
                                   style.linkTarget});
}

int HtmlFlowLayout::TopFor(int height, int ascent) const {
  switch (d.m_styles.Current().vertAlign) {
    case kAlignTop: return m_lineTop;
    case kAlignVCenter: return m_lineTop + (m_line.height - height) / 2;
    case kAlignBottom: return m_lineTop + m_line.height - ascent;
    default: return m_lineTop + m_line.height - m_line.descent - ascent;
  }
}

void HtmlFlowLayout::EndLine(int count, bool wrapped) {
  count = std::max(count, 1);
  if (m_measure) {
    if (m_ctx.lines->size() >= CHtmlTextDrawer::kMaxLines) {
      m_stopped = true;
      return;
    }
    m_line.justify = wrapped ? 1 : 0;
    int height = m_line.height + m_line.descent;
    if (height == 0 && m_minHeight == 0) height = m_tm.tmHeight;
    m_line.height = std::max(height, m_minHeight);
    m_line.width = m_lineX;
    int width = Saturate(m_lineLeft + m_line.width + static_cast<long long>(m_line.percentSum) * m_widest / 100);
    m_ctx.lines->push_back(m_line);
    m_widest = std::max(m_widest, width);
  }
  m_bottom = Saturate(static_cast<long long>(m_lineTop) + m_line.height);
  m_lineTop = Saturate(static_cast<long long>(m_lineTop) + static_cast<long long>(m_line.height) * count);
  if (m_lineTop >= CHtmlTextDrawer::kMaxExtent) m_stopped = true;
  ++m_ctx.lineIndex;
  m_ctx.indent = 0;
  StartLine();
}

bool HtmlFlowLayout::BesideFloats() {
  long long left = 0, right = 0;
  for (const HtmlFloatArea& f : m_ctx.floats) {
    if (m_lineTop < f.rect.top || m_lineTop >= f.rect.bottom) continue;
    if (f.right) right = std::max<long long>(right, 0LL + m_area.right - f.rect.left);
    else left = std::max<long long>(left, 0LL + f.rect.right - m_area.left);
  }
  m_lineLeft = Saturate(left);
  m_lineRoom = Saturate(std::max(1LL, m_ctx.wrapWidth - left - right));
  m_availRoom = Saturate(std::max(0LL, m_avail - left - right));
  return m_ctx.wrapWidth > 0 && left + right >= m_ctx.wrapWidth;
}

bool HtmlFlowLayout::DropBelowFloat() {
  long long below = -1;
  for (const HtmlFloatArea& f : m_ctx.floats) {
    if (m_lineTop >= f.rect.top && m_lineTop < f.rect.bottom && (below < 0 || f.rect.bottom < below))
      below = f.rect.bottom;
  }
  if (below < 0) return false;
  m_lineTop = Saturate(below);
  m_bottom = std::max(m_bottom, m_lineTop);
  StartLine();  // the draw reads the same record again, lower down
  return true;
}

void HtmlFlowLayout::StartLine() {
  // Floats that fill the width leave no line beside them.
  if (BesideFloats() && DropBelowFloat()) return;
  m_lineX = m_ctx.indent;
  m_lineHasContent = false;
  m_minHeight = 0;
  m_drawX = Saturate(0LL + m_area.left + m_lineLeft + m_ctx.indent);
  if (m_measure) {
    m_line = HtmlLine();
    return;
  }
  if (m_ctx.lineIndex >= m_ctx.lines->size()) {  // what the measure did not lay out is not drawn
    m_stopped = true;
    return;
  }
  m_line = (*m_ctx.lines)[m_ctx.lineIndex];
  int width = Saturate(m_line.width + static_cast<long long>(m_line.percentSum) * m_availRoom / 100);
  if (m_line.align == kAlignCenter) m_drawX += (m_availRoom - width) / 2;
  if (m_line.align == kAlignRight) m_drawX += m_availRoom - width;
  m_justifyExtra = std::max(0, m_availRoom - m_line.width);
  m_justifyBlanks = m_line.blanks;
}

void HtmlFlowLayout::Tab(int count) {
  const int tab = std::max(1, d.m_tabWidth);
  long long next = (static_cast<long long>(m_lineX) / tab + 1) * tab + static_cast<long long>(count - 1) * tab;
  int step = Saturate(next - m_lineX);
  m_lineHasContent = true;
  Advance(step, step);
}

void HtmlFlowLayout::Rule(const std::wstring& attributes) {
  std::wstring width = L"100%", size, color;
  MarkupAttributeScanner scan(attributes);
  std::wstring name, value;
  while (scan.Next(name, value)) {
    if (name == L"width") width = value;
    else if (name == L"size") size = value;
    else if (name == L"color") color = value;
  }
  StyleLengthUnits units(m_dc);
  const int thickness = std::max(1, std::min(ParseStyleLength(size, 1, units), 1000));
  const bool percent = !width.empty() && width.back() == L'%';
  const int share = percent ? std::min(std::max(ParseLeadingInt(width.c_str()), 0), 100) : 0;
  const int pixels = percent ? 0 : ParseStyleLength(width, 0, units);
  m_lineHasContent = true;
  if (m_measure) {
    m_minHeight = std::max(m_minHeight, thickness + 8);
    if (percent) m_line.percentSum = std::min(m_line.percentSum + share, 100000);
    Advance(percent ? 1 : pixels, 0);
    return;
  }
  const int drawn = percent ? MulDiv(m_availRoom, share, 100) : pixels;
  const COLORREF colour = d.m_styles.ResolveColor(color, d.m_styles.Current().textColor);
  const int y = m_lineTop + m_line.height / 2;
  if (drawn > 0) d.m_painter.DrawLine(m_dc, m_drawX, y, m_drawX + drawn, y, colour, CEffectPainter::kBorderSolid, thickness);
  Advance(percent ? 1 : pixels, drawn);
}

void HtmlFlowLayout::StringResource(const std::wstring& attributes) {
  std::wstring id;
  MarkupAttributeScanner scan(attributes);
  std::wstring name, value;
  while (scan.Next(name, value)) {
    if (name == L"idres" || name == L"iddll") id = value;
  }
  uint32_t number = ParseUnsignedNumber(id);
  if (number == 0 || number > 0xFFFF) return;
  const wchar_t* text = nullptr;
  int len = LoadStringW(GetModuleHandleW(nullptr), number, reinterpret_cast<LPWSTR>(&text), 0);
  if (len <= 0 || !text) return;
  SIZE extent = {};
  if (GetTextExtentPoint32W(m_dc, text, len, &extent)) Place(text, len, extent);
}

void HtmlFlowLayout::Image(const MarkupToken& token) {
  const HtmlTagId tag = token.tag->id;
  MarkupImageAttributes a = ReadImageAttributes(token.attributes, d.m_styles.Colors());
  const bool hasSource = !a.idres.empty() || !a.file.empty() || !a.iddll.empty() || !a.handle.empty();
  StyleLengthUnits units(m_dc);
  // A text may ask for any size; images past kMaxImageSide are not made.
  auto drawnSize = [&](SIZE natural) {
    SIZE s{a.width.empty() ? natural.cx : ParseStyleLength(a.width, natural.cx, units),
           a.height.empty() ? natural.cy : ParseStyleLength(a.height, natural.cy, units)};
    if (s.cx > kMaxImageSide || s.cy > kMaxImageSide) s = SIZE{0, 0};
    return s;
  };

  MarkupImage image;
  SIZE size = {};
  int frames = 0, frameW = 0, frameH = 0;
  bool fromList = false;
  if (tag == kTagIcon) {
    size = drawnSize(SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)});
    if (size.cx <= 0 || size.cy <= 0 || !image.Load(tag, a, d.m_resourceModule, size.cx, size.cy)) return;
  } else if (tag == kTagBitmap || hasSource) {
    if (!image.Load(kTagBitmap, a, d.m_resourceModule, 0, 0)) return;
    SIZE natural = CEffectPainter::GetBitmapSize(image.Bitmap());
    if (tag == kTagImageList) {
      // A strip of cx x cy frames, read row by row.
      StyleLengthUnits plain(m_dc);
      frameW = a.cx.empty() ? 0 : ParseStyleLength(a.cx, 0, plain);
      frameH = a.cy.empty() ? 0 : ParseStyleLength(a.cy, 0, plain);
      if (a.cx.empty()) frameW = a.cy.empty() ? std::min(natural.cx, natural.cy) : frameH;
      if (a.cy.empty()) frameH = frameW;
      if (frameW <= 0 || frameH <= 0) return;
      frames = (natural.cx / frameW) * (natural.cy / frameH);
      natural = SIZE{frameW, frameH};
    }
    size = drawnSize(natural);
  } else {
    if (!d.m_imageList || d.m_iconWidth <= 0 || d.m_iconHeight <= 0) return;
    fromList = true;
    frames = ImageList_GetImageCount(d.m_imageList);
    size = drawnSize(SIZE{d.m_iconWidth, d.m_iconHeight});
  }
  if (size.cx <= 0 || size.cy <= 0) return;
  if (tag == kTagImageList && a.index >= frames) return;

  const bool shadowOn = d.m_shadowX != 0 || d.m_shadowY != 0;
  const UINT plainBits = ImageEffectBits(a.style, shadowOn, d.m_shadowSoft);
  const UINT hotBits = ImageEffectBits(a.hotStyle.empty() ? a.style : a.hotStyle, shadowOn, d.m_shadowSoft);
  // Room for a shadow that either style draws, so hovering moves nothing.
  const bool shadowRoom = ((plainBits | hotBits) & CEffectPainter::kEffectShadowMask) != 0;
  const int boxW = size.cx + (shadowRoom ? std::abs(d.m_shadowX) : 0);
  const int boxH = size.cy + (shadowRoom ? std::abs(d.m_shadowY) : 0);

  if (Room() > 0 && m_lineX + boxW > Room()) {
    // Beside a float an empty line first moves down past it.
    bool moved = true;
    while (moved && !m_lineHasContent && m_lineX + boxW > Room()) moved = DropBelowFloat();
    if (m_lineX + boxW > Room()) EndLine(1, true);
    if (m_stopped) return;
  }
  int frame = a.index;
  if (m_measure) {
    if (tag == kTagImageList && a.speed > 0 && m_ctx.collectAnimations && d.m_animations.size() < CHtmlTextDrawer::kMaxAnimations)
      d.m_animations.push_back(HtmlAnimation{a.index, frames, 0, a.speed});
    m_line.height = std::max(m_line.height, boxH);
    m_lineHasContent = true;
    Advance(boxW, boxW);
    return;
  }
  if (tag == kTagImageList && a.speed > 0) {
    size_t next = static_cast<size_t>(++m_ctx.animation);
    if (next < d.m_animations.size()) frame = d.m_animations[next].frame;
  }
  const bool hovered = InLink() && m_ctx.link == d.m_hovered;
  UINT effect = hovered ? hotBits : plainBits;
  const bool enabled = d.m_styles.IsEnabled();
  if (!enabled) effect = CEffectPainter::kEffectReplace | (effect & CEffectPainter::kEffectShadowMask);
  const COLORREF colour = enabled ? d.m_shadowColor : d.m_styles.DisabledColor();
  const int x = m_drawX, y = TopFor(boxH, boxH);
  CEffectPainter& p = d.m_painter;
  if (fromList) {
    HICON icon = ImageList_GetIcon(d.m_imageList, frame, ILD_NORMAL);
    if (icon) {
      p.DrawIcon(m_dc, x, y, size.cx, size.cy, icon, effect, shadowRoom, d.m_shadowX, d.m_shadowY,
                 d.m_shadowBlurX, d.m_shadowBlurY, colour);
      DestroyIcon(icon);
    }
  } else if (tag == kTagIcon) {
    p.DrawIcon(m_dc, x, y, size.cx, size.cy, image.Icon(), effect, shadowRoom, d.m_shadowX, d.m_shadowY,
               d.m_shadowBlurX, d.m_shadowBlurY, colour);
  } else if (tag == kTagImageList) {
    p.DrawStripFrame(m_dc, x, y, size.cx, size.cy, image.Bitmap(), frame, frameW, frameH, a.maskOn, a.mask,
                     effect, shadowRoom, d.m_shadowX, d.m_shadowY, d.m_shadowBlurX, d.m_shadowBlurY, colour);
  } else {
    p.DrawBitmap(m_dc, x, y, size.cx, size.cy, image.Bitmap(), a.maskOn, a.mask, effect, shadowRoom,
                 d.m_shadowX, d.m_shadowY, d.m_shadowBlurX, d.m_shadowBlurY, colour);
  }
  if (InLink()) AddLink(x, y, boxW, boxH);
  m_lineHasContent = true;
  Advance(boxW, boxW);
}
